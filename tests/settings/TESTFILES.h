// Temporary folders, whole-file helpers and a named pipe that breaks on cue,
// for the settings tests.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

// Unique per process and call: "<prefix><pid>_<n>".
inline std::string UniqueName(const std::string& strPrefix)
{
    static int s_iCounter = 0;
    return strPrefix + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++s_iCounter);
}

// A fresh folder under the temporary path, emptied and removed at the end.
class TempFolder {
public:
    TempFolder()
    {
        char achTemp[MAX_PATH];
        GetTempPathA(MAX_PATH, achTemp);
        m_strPath = UniqueName(std::string(achTemp) + "glim_settings_") + "\\";
        CreateDirectoryA(m_strPath.c_str(), nullptr);
    }
    ~TempFolder()
    {
        WIN32_FIND_DATAA fd;
        HANDLE hFind = FindFirstFileA((m_strPath + "*").c_str(), &fd);
        for (BOOL bMore = hFind != INVALID_HANDLE_VALUE; bMore; bMore = FindNextFileA(hFind, &fd)) {
            SetFileAttributesA((m_strPath + fd.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((m_strPath + fd.cFileName).c_str());
        }
        if (hFind != INVALID_HANDLE_VALUE) {
            FindClose(hFind);
        }
        RemoveDirectoryA(m_strPath.c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path(const char* lpszName) const { return m_strPath + lpszName; }

private:
    std::string m_strPath;
};

inline void WriteFileBytes(const std::string& strPath, const std::string& strBytes)
{
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD dwWritten = 0;
    WriteFile(hFile, strBytes.data(), static_cast<DWORD>(strBytes.size()), &dwWritten, nullptr);
    CloseHandle(hFile);
    ASSERT_EQ(dwWritten, strBytes.size()) << strPath;
}

inline std::string ReadFileBytes(const std::string& strPath)
{
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        return "<missing>";
    }
    std::string strBytes;
    char achChunk[65536];
    DWORD dwRead = 0;
    while (ReadFile(hFile, achChunk, sizeof(achChunk), &dwRead, nullptr) && dwRead > 0) {
        strBytes.append(achChunk, dwRead);
    }
    CloseHandle(hFile);
    return strBytes;
}

// A named pipe whose server end hangs up part-way, so that the file code on
// the client end meets a real ReadFile or WriteFile failure. (Wine honours no
// byte-range lock on reads, and a full disk cannot be had here.)
class BreakingPipe {
public:
    // The client reads strBytes; its next read fails.
    static std::unique_ptr<BreakingPipe> Feeding(const std::string& strBytes)
    {
        std::unique_ptr<BreakingPipe> pipe(new BreakingPipe(PIPE_ACCESS_OUTBOUND, 65536));
        pipe->Serve([strBytes](BreakingPipe& self) {
            DWORD dwWritten = 0;
            WriteFile(self.m_hPipe, strBytes.data(), static_cast<DWORD>(strBytes.size()), &dwWritten, nullptr);
            FlushFileBuffers(self.m_hPipe);  // returns once the client has taken it all
        });
        return pipe;
    }
    // Takes what the client writes until strUntil has arrived. Without a
    // buffer each write waits for the server, so the failure comes right there.
    static std::unique_ptr<BreakingPipe> Draining(const std::string& strUntil)
    {
        std::unique_ptr<BreakingPipe> pipe(new BreakingPipe(PIPE_ACCESS_INBOUND, 0));
        pipe->Serve([strUntil](BreakingPipe& self) {
            char achChunk[16];
            DWORD dwRead = 0;
            while (self.m_strReceived.find(strUntil) == std::string::npos &&
                   ReadFile(self.m_hPipe, achChunk, sizeof(achChunk), &dwRead, nullptr) && dwRead > 0) {
                self.m_strReceived.append(achChunk, dwRead);
            }
        });
        return pipe;
    }
    ~BreakingPipe()
    {
        if (m_thread.joinable()) {
            Finish();
        }
    }

    const char* Path() const { return m_strName.c_str(); }
    // Waits for the server end to hang up; what the client wrote. Should the
    // client never have come, a stand-in ends the server's wait (when the
    // client did come, the pipe is busy and the stand-in goes away).
    std::string Finish()
    {
        HANDLE hStandIn = CreateFileA(m_strName.c_str(), m_dwClientAccess, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (hStandIn != INVALID_HANDLE_VALUE) {
            CloseHandle(hStandIn);
        }
        m_thread.join();
        return m_strReceived;
    }

private:
    BreakingPipe(DWORD dwDirection, DWORD dwBuffer)
        : m_strName(UniqueName("\\\\.\\pipe\\glim_settings_")),
          m_dwClientAccess(dwDirection == PIPE_ACCESS_INBOUND ? GENERIC_WRITE : GENERIC_READ)
    {
        m_hPipe = CreateNamedPipeA(m_strName.c_str(), dwDirection, PIPE_TYPE_BYTE | PIPE_WAIT, 1, dwBuffer, dwBuffer,
                                   0, nullptr);
        EXPECT_NE(m_hPipe, INVALID_HANDLE_VALUE);
    }
    template <typename Work>
    void Serve(Work work)
    {
        m_thread = std::thread([this, work] {
            ConnectNamedPipe(m_hPipe, nullptr);
            work(*this);
            CloseHandle(m_hPipe);
        });
    }

    std::string m_strName;
    DWORD m_dwClientAccess;
    HANDLE m_hPipe;
    std::string m_strReceived;
    std::thread m_thread;
};

// Temporary folders, whole-file helpers and a named pipe that breaks on cue,
// for the settings tests.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

// A fresh folder under the temporary path, emptied and removed at the end.
class TempFolder {
public:
    TempFolder()
    {
        static int s_iCounter = 0;
        char achTemp[MAX_PATH];
        GetTempPathA(MAX_PATH, achTemp);
        m_strPath = std::string(achTemp) + "glim_settings_" + std::to_string(GetCurrentProcessId()) + "_" +
                    std::to_string(++s_iCounter) + "\\";
        CreateDirectoryA(m_strPath.c_str(), nullptr);
    }
    ~TempFolder()
    {
        WIN32_FIND_DATAA fd;
        HANDLE hFind = FindFirstFileA((m_strPath + "*").c_str(), &fd);
        if (hFind != INVALID_HANDLE_VALUE) {
            do {
                const std::string strFile = m_strPath + fd.cFileName;
                SetFileAttributesA(strFile.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(strFile.c_str());
            } while (FindNextFileA(hFind, &fd));
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
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE) << strPath;
    DWORD dwWritten = 0;
    WriteFile(hFile, strBytes.data(), static_cast<DWORD>(strBytes.size()), &dwWritten, nullptr);
    CloseHandle(hFile);
    ASSERT_EQ(dwWritten, strBytes.size());
}

inline std::string ReadFileBytes(const std::string& strPath)
{
    std::string strBytes;
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        return "<missing>";
    }
    char achChunk[65536];
    DWORD dwRead = 0;
    while (ReadFile(hFile, achChunk, sizeof(achChunk), &dwRead, nullptr) && dwRead > 0) {
        strBytes.append(achChunk, dwRead);
    }
    CloseHandle(hFile);
    return strBytes;
}

// A named pipe whose server end hangs up part-way, so that the file code on
// the client end sees a real ReadFile or WriteFile failure (Wine honours no
// byte-range lock on reads, and a full disk cannot be had here).
class BreakingPipe {
public:
    // The client reads strBytes; its next read fails.
    static std::unique_ptr<BreakingPipe> Feeding(const std::string& strBytes)
    {
        std::unique_ptr<BreakingPipe> pipe(new BreakingPipe(PIPE_ACCESS_OUTBOUND, 65536));
        BreakingPipe* pPipe = pipe.get();
        pPipe->m_thread = std::thread([pPipe, strBytes] {
            ConnectNamedPipe(pPipe->m_hPipe, nullptr);
            DWORD dwWritten = 0;
            WriteFile(pPipe->m_hPipe, strBytes.data(), static_cast<DWORD>(strBytes.size()), &dwWritten, nullptr);
            FlushFileBuffers(pPipe->m_hPipe);  // until the client has taken it all
            pPipe->HangUp();
        });
        return pipe;
    }
    // Takes what the client writes until strUntil has arrived, then hangs up.
    // Without a buffer every write waits for the server, so the failure
    // comes right after that point.
    static std::unique_ptr<BreakingPipe> Draining(const std::string& strUntil)
    {
        std::unique_ptr<BreakingPipe> pipe(new BreakingPipe(PIPE_ACCESS_INBOUND, 0));
        BreakingPipe* pPipe = pipe.get();
        pPipe->m_thread = std::thread([pPipe, strUntil] {
            ConnectNamedPipe(pPipe->m_hPipe, nullptr);
            char achChunk[16];
            DWORD dwRead = 0;
            while (pPipe->m_strReceived.find(strUntil) == std::string::npos &&
                   ReadFile(pPipe->m_hPipe, achChunk, sizeof(achChunk), &dwRead, nullptr) && dwRead > 0) {
                pPipe->m_strReceived.append(achChunk, dwRead);
            }
            pPipe->HangUp();
        });
        return pipe;
    }
    ~BreakingPipe()
    {
        if (m_thread.joinable()) {
            // The client never came: let the server's wait end.
            HANDLE hClient = CreateFileA(m_strName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (hClient != INVALID_HANDLE_VALUE) {
                CloseHandle(hClient);
            }
            m_thread.join();
        }
    }

    const char* Path() const { return m_strName.c_str(); }
    // Waits for the server end; what the client wrote.
    std::string Finish()
    {
        m_thread.join();
        return m_strReceived;
    }

private:
    BreakingPipe(DWORD dwDirection, DWORD dwBuffer)
    {
        static int s_iCounter = 0;
        m_strName = "\\\\.\\pipe\\glim_settings_" + std::to_string(GetCurrentProcessId()) + "_" +
                    std::to_string(++s_iCounter);
        m_hPipe = CreateNamedPipeA(m_strName.c_str(), dwDirection, PIPE_TYPE_BYTE | PIPE_WAIT, 1, dwBuffer, dwBuffer,
                                   0, nullptr);
        EXPECT_NE(m_hPipe, INVALID_HANDLE_VALUE);
    }
    void HangUp() { CloseHandle(m_hPipe); }

    std::string m_strName;
    HANDLE m_hPipe;
    std::string m_strReceived;
    std::thread m_thread;
};

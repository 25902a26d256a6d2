// A named pipe whose server end hangs up part-way, so that the file code on
// the client end meets a real ReadFile or WriteFile failure. (Wine honours no
// byte-range lock on reads, and a full disk cannot be had here.)
#pragma once

#include "tests/common/TEMPDIR.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

class BreakingPipe {
public:
    enum Direction { kFeeding, kDraining };

    // Feeding: the client reads strBytes and then its next read fails.
    // Draining: the server takes what the client writes until strBytes has
    // arrived; without a buffer each write waits for the server, so the
    // failure comes right there.
    BreakingPipe(Direction direction, const std::string& strBytes)
        : m_strName(UniqueName("\\\\.\\pipe\\glim_settings_")), m_bFeeding(direction == kFeeding)
    {
        const DWORD dwBuffer = m_bFeeding ? 65536 : 0;
        HANDLE hPipe = CreateNamedPipeA(m_strName.c_str(), m_bFeeding ? PIPE_ACCESS_OUTBOUND : PIPE_ACCESS_INBOUND,
                                        PIPE_TYPE_BYTE | PIPE_WAIT, 1, dwBuffer, dwBuffer, 0, nullptr);
        EXPECT_NE(hPipe, INVALID_HANDLE_VALUE);
        m_thread = std::thread([this, hPipe, strBytes] {
            ConnectNamedPipe(hPipe, nullptr);
            DWORD dwDone = 0;
            if (m_bFeeding) {
                WriteFile(hPipe, strBytes.data(), static_cast<DWORD>(strBytes.size()), &dwDone, nullptr);
                FlushFileBuffers(hPipe);  // returns once the client has taken it all
            }
            char achChunk[16];
            while (!m_bFeeding && m_strReceived.find(strBytes) == std::string::npos &&
                   ReadFile(hPipe, achChunk, sizeof(achChunk), &dwDone, nullptr) && dwDone > 0) {
                m_strReceived.append(achChunk, dwDone);
            }
            CloseHandle(hPipe);
        });
    }
    ~BreakingPipe()
    {
        if (m_thread.joinable()) {
            Finish();
        }
    }
    BreakingPipe(const BreakingPipe&) = delete;
    BreakingPipe& operator=(const BreakingPipe&) = delete;

    const char* Path() const { return m_strName.c_str(); }
    // Waits for the server end to hang up; what the client wrote. Should the
    // client never have come, a stand-in ends the server's wait (when the
    // client did come, the pipe is busy and the stand-in goes away).
    std::string Finish()
    {
        HANDLE hStandIn = CreateFileA(m_strName.c_str(), m_bFeeding ? GENERIC_READ : GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
        if (hStandIn != INVALID_HANDLE_VALUE) {
            CloseHandle(hStandIn);
        }
        m_thread.join();
        return m_strReceived;
    }

private:
    std::string m_strName;
    bool m_bFeeding;
    std::string m_strReceived;
    std::thread m_thread;  // last: starts when everything else is in place
};

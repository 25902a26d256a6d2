// Starts Glim as the soak run's debuggee, so that a fault is seen as it
// happens (Wine's own crash debugger cannot always attach) and reported with
// the faulting module and the code addresses on the faulting thread's stack.
#pragma once

#include "base/OWNERS.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class SoakWatch {
public:
    SoakWatch() = default;
    ~SoakWatch();
    SoakWatch(const SoakWatch&) = delete;
    SoakWatch& operator=(const SoakWatch&) = delete;

    // Starts the command line; false when it cannot be started.
    bool Start(const std::wstring& exe, std::wstring commandLine);
    HANDLE Process() const { return m_process.Get(); }
    DWORD Pid() const { return m_pid; }
    bool Crashed() const { return m_crashed; }
    // The fault: its code, module and offset, and the stack's code addresses.
    std::string Report() const;
    // Where every thread is now, for a window that stopped answering.
    std::string AllStacks() const;

private:
    void Loop(std::wstring exe, std::wstring commandLine);
    void OnException(const DEBUG_EVENT& event);
    std::string Place(DWORD64 address) const;
    std::string StackOf(HANDLE thread) const;

    struct Module {
        DWORD64 base = 0;
        DWORD64 size = 0;
        std::string name;
    };
    std::vector<Module> m_modules;
    std::vector<std::pair<DWORD, HANDLE>> m_threads;  // owned by the debug loop, closed by the system
    std::thread m_loop;
    CLSHandle m_process;
    CLSHandle m_started;  // signalled once the process is started or failed to start
    DWORD m_pid = 0;
    std::atomic<bool> m_crashed{false};
    mutable std::mutex m_lock;
    std::string m_report;
};

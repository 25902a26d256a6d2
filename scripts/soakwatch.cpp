#include "scripts/soakwatch.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace {

DWORD64 ImageSize(HANDLE process, DWORD64 base)
{
    IMAGE_DOS_HEADER dos{};
    IMAGE_NT_HEADERS nt{};  // the debuggee is built with the driver, for the same machine
    SIZE_T read = 0;
    auto* at = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(base));
    if (!ReadProcessMemory(process, at, &dos, sizeof(dos), &read) ||
        !ReadProcessMemory(process, at + dos.e_lfanew, &nt, sizeof(nt), &read)) {
        return 0;
    }
    return nt.OptionalHeader.SizeOfImage;
}

std::string FileName(HANDLE file)
{
    wchar_t path[MAX_PATH] = {};
    if (file == nullptr || GetFinalPathNameByHandleW(file, path, MAX_PATH, 0) == 0) {
        return "?";
    }
    std::wstring whole = path;
    std::wstring name = whole.substr(whole.find_last_of(L"\\/") + 1);
    return std::string(name.begin(), name.end());
}

}  // namespace

SoakWatch::~SoakWatch()
{
    if (m_process && WaitForSingleObject(m_process.Get(), 0) != WAIT_OBJECT_0) {
        TerminateProcess(m_process.Get(), 1);
    }
    if (m_loop.joinable()) {
        m_loop.join();
    }
}

bool SoakWatch::Start(const std::wstring& exe, std::wstring commandLine)
{
    m_started.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    // The thread that starts a debuggee is the one that must wait for its events.
    m_loop = std::thread(&SoakWatch::Loop, this, exe, std::move(commandLine));
    WaitForSingleObject(m_started.Get(), INFINITE);
    return m_pid != 0;
}

void SoakWatch::Loop(std::wstring exe, std::wstring commandLine)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                        nullptr, &startup, &started)) {
        SetEvent(m_started.Get());
        return;
    }
    CLSHandle thread(started.hThread);
    m_process.Reset(started.hProcess);
    m_pid = started.dwProcessId;
    SetEvent(m_started.Get());
    for (;;) {
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, INFINITE)) {
            return;
        }
        DWORD status = DBG_CONTINUE;
        std::unique_lock<std::mutex> hold(m_lock);
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT: {
            auto base = static_cast<DWORD64>(reinterpret_cast<std::uintptr_t>(event.u.CreateProcessInfo.lpBaseOfImage));
            m_modules.push_back({base, ImageSize(m_process.Get(), base), FileName(event.u.CreateProcessInfo.hFile)});
            m_threads.emplace_back(event.dwThreadId, event.u.CreateProcessInfo.hThread);
            CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        }
        case CREATE_THREAD_DEBUG_EVENT:
            m_threads.emplace_back(event.dwThreadId, event.u.CreateThread.hThread);
            break;
        case EXIT_THREAD_DEBUG_EVENT:
            m_threads.erase(std::remove_if(m_threads.begin(), m_threads.end(),
                                           [&](const auto& t) { return t.first == event.dwThreadId; }),
                            m_threads.end());
            break;
        case LOAD_DLL_DEBUG_EVENT: {
            auto base = static_cast<DWORD64>(reinterpret_cast<std::uintptr_t>(event.u.LoadDll.lpBaseOfDll));
            m_modules.push_back({base, ImageSize(m_process.Get(), base), FileName(event.u.LoadDll.hFile)});
            CloseHandle(event.u.LoadDll.hFile);
            break;
        }
        case EXCEPTION_DEBUG_EVENT:
            if (event.u.Exception.dwFirstChance == 0) {
                OnException(event);
                status = DBG_EXCEPTION_NOT_HANDLED;
            } else if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
                status = DBG_EXCEPTION_NOT_HANDLED;  // the program's own handlers come first
            }
            break;
        default:
            break;
        }
        hold.unlock();
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
            return;
        }
    }
}

std::string SoakWatch::Place(DWORD64 address) const
{
    for (const Module& module : m_modules) {
        if (address >= module.base && address < module.base + module.size) {
            char text[300];
            std::snprintf(text, sizeof(text), "%s+0x%llx", module.name.c_str(),
                          static_cast<unsigned long long>(address - module.base));
            return text;
        }
    }
    return {};
}

// Where the thread is and the return addresses on its stack that lie in
// loaded code (a scan: a few may be stale).
std::string SoakWatch::StackOf(HANDLE thread) const
{
    CONTEXT context{};
    context.ContextFlags = CONTEXT_FULL;
    if (!GetThreadContext(thread, &context)) {
        return "  (no context)\n";
    }
#ifdef _WIN64
    const DWORD64 at = context.Rip, top = context.Rsp;
#else
    const DWORD64 at = context.Eip, top = context.Esp;
#endif
    std::string stack = "  at " + Place(at) + "\n";
    std::vector<std::uintptr_t> words(2048);
    SIZE_T read = 0;
    ReadProcessMemory(m_process.Get(), reinterpret_cast<const void*>(static_cast<std::uintptr_t>(top)), words.data(),
                      words.size() * sizeof(words[0]), &read);
    int shown = 0;
    // Deep enough to reach Glim's own frames under a system DLL's paint or
    // enumeration, which is where a stall outside Glim's code is told apart.
    constexpr int kShownFrames = 120;
    for (std::size_t i = 0; i < read / sizeof(words[0]) && shown < kShownFrames; ++i) {
        std::string place = Place(words[i]);
        if (!place.empty()) {
            stack += "  " + place + "\n";
            ++shown;
        }
    }
    return stack;
}

std::string SoakWatch::AllStacks() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    std::string all;
    for (const auto& [id, thread] : m_threads) {
        SuspendThread(thread);
        all += "thread " + std::to_string(id) + ":\n" + StackOf(thread);
        ResumeThread(thread);
    }
    return all;
}

// An unhandled fault: where it happened and the faulting thread's stack.
void SoakWatch::OnException(const DEBUG_EVENT& event)
{
    const EXCEPTION_RECORD& record = event.u.Exception.ExceptionRecord;
    auto address = static_cast<DWORD64>(reinterpret_cast<std::uintptr_t>(record.ExceptionAddress));
    char head[200];
    std::snprintf(head, sizeof(head), "fault 0x%08lx at 0x%llx %s (thread %lu)\n", record.ExceptionCode,
                  static_cast<unsigned long long>(address), Place(address).c_str(), event.dwThreadId);
    std::string report = head;
    auto thread = std::find_if(m_threads.begin(), m_threads.end(),
                               [&](const auto& t) { return t.first == event.dwThreadId; });
    if (thread != m_threads.end()) {
        report += StackOf(thread->second);
    }
    m_report = report;  // the debug loop holds the lock
    m_crashed = true;
    TerminateProcess(m_process.Get(), record.ExceptionCode);
}

std::string SoakWatch::Report() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_report;
}

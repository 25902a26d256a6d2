// Windows face of the assertion helper: a message box captioned with the
// executable's file name, then the end of the process.
#include "base/WIDETEXT.h"

#include <windows.h>

#include <shlwapi.h>

#include <string>

[[noreturn]] void ShowAssertionAndExit(const std::string& message)
{
    // The longest path a module can have; static, as the stack may be what failed.
    static wchar_t path[32768];
    const wchar_t* caption = L"";
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    if (length != 0 && length < std::size(path)) {
        caption = PathFindFileNameW(path);
    }
    MessageBoxW(nullptr, WidenAnsi(message).c_str(), caption, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(3);
}

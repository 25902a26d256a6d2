// Windows face of the assertion helper: a message box captioned with the
// executable's file name, then the end of the process.
#include <windows.h>

#include <shlwapi.h>

#include <string>

[[noreturn]] void ShowAssertionAndExit(const std::string& message)
{
    char path[MAX_PATH] = "";
    const char* caption = "";
    if (GetModuleFileNameA(nullptr, path, sizeof(path)) != 0) {
        caption = PathFindFileNameA(path);
    }
    MessageBoxA(nullptr, message.c_str(), caption, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(3);
}

// glimctl: drives a running Glim from the scripts, the way a user's system would.
//   glimctl wait [seconds]  waits until the main window is shown and its message
//                           loop answers; prints its screen rectangle "x y w h"
//   glimctl close           asks the main window to close (WM_CLOSE), the
//                           orderly way that writes GLIM.INI
//   glimctl command ID      posts the menu command ID, as if chosen from the
//                           menu (a dialog it opens stays open for a screenshot)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND FindMainWindow()
{
    HWND hWnd = FindWindowA("GlimMainClass", nullptr);
    return hWnd != nullptr && IsWindowVisible(hWnd) ? hWnd : nullptr;
}

int Wait(int seconds)
{
    for (int tick = 0; tick < seconds * 10; ++tick) {
        HWND hWnd = FindMainWindow();
        DWORD_PTR answer = 0;
        if (hWnd != nullptr &&
            SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) != 0) {
            RECT rc{};
            GetWindowRect(hWnd, &rc);
            std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
            return 0;
        }
        Sleep(100);
    }
    std::fprintf(stderr, "glimctl: no main window after %d s\n", seconds);
    return 1;
}

int Post(UINT message, WPARAM wParam)
{
    HWND hWnd = FindWindowA("GlimMainClass", nullptr);
    if (hWnd == nullptr) {
        std::fprintf(stderr, "glimctl: no main window\n");
        return 1;
    }
    PostMessageA(hWnd, message, wParam, 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "wait") == 0) {
        return Wait(argc >= 3 ? std::atoi(argv[2]) : 30);
    }
    if (argc >= 2 && std::strcmp(argv[1], "close") == 0) {
        return Post(WM_CLOSE, 0);
    }
    if (argc >= 3 && std::strcmp(argv[1], "command") == 0) {
        return Post(WM_COMMAND, static_cast<WPARAM>(std::strtoul(argv[2], nullptr, 10)));
    }
    std::fprintf(stderr, "usage: glimctl wait [seconds] | close | command ID\n");
    return 2;
}

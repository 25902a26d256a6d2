// Entry point: one application object, created, run and deleted.
#include "app/WNDMAIN.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    auto* app = new CLSWndMain;
    if (hPrevInstance == nullptr && !app->Register(hInstance)) {
        // No window; the settings were not read, so they are not written either.
        delete app;
        return 0;
    }
    app->Create(hInstance, nCmdShow);
    app->ApplyCommandLine(lpCmdLine);
    const int result = app->Run();
    delete app;
    return result;
}

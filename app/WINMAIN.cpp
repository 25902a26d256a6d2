// Entry point: OLE for the thread, one application object, created, run and
// deleted. A start that fails says so and ends with a non-zero code.
#include "app/CMDLINE.h"
#include "app/WNDMAIN.h"

#include <ole2.h>

namespace {

constexpr int kStartFailed = 1;

int ReportStartFailure(const char* what)
{
    MessageBoxA(nullptr, what, "Glim", MB_OK | MB_ICONERROR);
    return kStartFailed;
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR, int nCmdShow)
{
    // Drag and drop, the picture loaders and help all need OLE on this
    // thread; it is given back only when it was had.
    if (FAILED(OleInitialize(nullptr))) {
        return ReportStartFailure("OLE を初期化できないため、Glim を起動できません。");
    }
    auto* app = new CLSWndMain;
    if (hPrevInstance == nullptr && !app->Register(hInstance)) {
        // No window; the settings were not read, so they are not written either.
        delete app;
        OleUninitialize();
        return 0;
    }
    if (!app->Create(hInstance, nCmdShow)) {
        delete app;
        OleUninitialize();
        return ReportStartFailure("ウィンドウを作成できないため、Glim を起動できません。");
    }
    // The wide command line: lpCmdLine has passed through code page 932, which
    // loses any name outside it.
    app->ApplyCommandLine(ArgumentsOf(GetCommandLineW()).c_str());
    const int result = app->Run();
    delete app;
    OleUninitialize();
    return result;
}

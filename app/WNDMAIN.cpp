// Start-up, message loop and shutdown of the application object.
#include "app/WNDMAIN.h"

#include "app/CMDLINE.h"
#include "window/HTMLHELP.h"
#include "resources/RESOURCE.h"

#include <htmlhelp.h>
#include <ole2.h>

char g_szSettingsPath[MAX_PATH] = "GLIM.INI";
char g_szHelpPath[MAX_PATH] = "GLIM.CHM";

namespace {

constexpr char kMainClassName[] = "GlimMainClass";
constexpr char kMainTitle[] = "Glim!";

// Resolves both paths beside the executable; bare names when the module path
// cannot be had or the result would not fit.
void ResolveSiblingPaths(HINSTANCE hInstance)
{
    char modulePath[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(hInstance, modulePath, sizeof(modulePath));
    if (length == 0 || length >= sizeof(modulePath)) {
        modulePath[0] = '\0';  // failed, or cut to the buffer
    }
    const char* source = modulePath[0] != '\0' ? modulePath : nullptr;
    BuildSiblingPath(source, "GLIM.INI", g_szSettingsPath, sizeof(g_szSettingsPath));
    BuildSiblingPath(source, "GLIM.CHM", g_szHelpPath, sizeof(g_szHelpPath));
}

}  // namespace

CLSWndMain::CLSWndMain()
{
    CallHtmlHelp(nullptr, nullptr, HH_INITIALIZE, reinterpret_cast<DWORD_PTR>(&m_dwHelpCookie));
    OleInitialize(nullptr);
}

CLSWndMain::~CLSWndMain()
{
    OleUninitialize();
    // The file is written once, after every window is gone, and only by a run
    // that read it: a start that failed early must not replace the user's
    // settings with the defaults.
    if (m_bSettingsLoaded) {
        m_settings.Save(g_szSettingsPath);
    }
    CallHtmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
    CallHtmlHelp(nullptr, nullptr, HH_UNINITIALIZE, m_dwHelpCookie);
}

bool CLSWndMain::Register(HINSTANCE hInstance)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &CLSWndBase::StaticWindowProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_GLIM));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszMenuName = MAKEINTRESOURCEA(IDM_MAIN);
    wc.lpszClassName = kMainClassName;
    if (RegisterClassExA(&wc) == 0) {
        return false;
    }
    ResolveSiblingPaths(hInstance);
    m_settings.Load(g_szSettingsPath);
    m_bSettingsLoaded = true;
    return true;
}

// The stored place as it can be shown now. The first WM_GETMINMAXINFO comes
// before the window is bound to this object, so the minimum size is applied
// here, not there; a place left on a monitor that is gone comes back on screen.
PaneRect CLSWndMain::StartPlacement() const
{
    PaneRect stored{m_settings.GetLeft(), m_settings.GetTop(), m_settings.GetWidth(), m_settings.GetHeight()};
    if (stored.x == CW_USEDEFAULT || stored.cx == CW_USEDEFAULT) {
        return stored;  // the system chooses the first place
    }
    const RECT want{stored.x, stored.y, stored.x + stored.cx, stored.y + stored.cy};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoA(MonitorFromRect(&want, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return stored;
    }
    const RECT& w = monitor.rcWork;
    const bool onAMonitor = MonitorFromRect(&want, MONITOR_DEFAULTTONULL) != nullptr;
    return PlaceMainWindow(stored, PaneRect{w.left, w.top, w.right - w.left, w.bottom - w.top}, onAMonitor,
                           kMinTrackSize);
}

bool CLSWndMain::Create(HINSTANCE hInstance, int nCmdShow)
{
    const PaneRect place = StartPlacement();
    // The framework binds the window to this object while it is created.
    HWND hWnd = CreateWindowExA(WS_EX_ACCEPTFILES, kMainClassName, kMainTitle, WS_OVERLAPPEDWINDOW, place.x,
                                place.y, place.cx, place.cy, nullptr, nullptr, hInstance,
                                static_cast<CLSWndBase*>(this));
    if (hWnd == nullptr) {
        return false;
    }
    ShowWindow(hWnd, m_settings.GetFlag(CLSGlimSettings::kMaximized) ? SW_SHOWMAXIMIZED : nCmdShow);
    UpdateWindow(hWnd);
    return true;
}

void CLSWndMain::ApplyCommandLine(const char* lpszCmdLine)
{
    std::string path = FirstArgument(lpszCmdLine);
    if (path.empty()) {
        const CLSTString& folder = m_settings.GetFlag(CLSGlimSettings::kShowLastFolder)
                                       ? m_settings.GetLastFolder()
                                       : m_settings.GetStartFolder();
        path = folder.GetString();
        if (path.size() > kMaxPathChars) {
            path.resize(kMaxPathChars);  // the path box holds no more
        }
    }
    if (path.empty() || m_hWnd == nullptr) {
        return;
    }
    SetDlgItemTextA(m_hWnd, kIdPathEdit, path.c_str());
    PostMessageA(m_hWnd, WM_COMMAND, kIdPathButton, 0);
}

int CLSWndMain::Run()
{
    HWND hWnd = m_hWnd;  // the object lets go of it when the window is destroyed
    if (hWnd == nullptr) {
        return 0;
    }
    auto hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hWnd, GWLP_HINSTANCE));
    HACCEL hAccel = LoadAcceleratorsA(hInstance, MAKEINTRESOURCEA(IDA_MAIN));
    MSG msg{};
    for (;;) {
        UpdateCopyButton();
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            break;
        }
        if (CallHtmlHelp(nullptr, nullptr, HH_PRETRANSLATEMESSAGE, reinterpret_cast<DWORD_PTR>(&msg)) !=
            nullptr) {
            continue;
        }
        // The find box takes its own keys before the accelerators, so that
        // Ctrl+C and Ctrl+A work in its text.
        if (m_clsFindBox.PreTranslate(&msg)) {
            continue;
        }
        if (hAccel != nullptr && TranslateAcceleratorA(hWnd, hAccel, &msg) != 0) {
            continue;
        }
        if (IsDialogMessageA(hWnd, &msg) != 0) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

// Start-up, message loop and shutdown of the application object.
#include "app/WNDMAIN.h"

#include "app/CMDLINE.h"
#include "window/HTMLHELP.h"
#include "resources/RESOURCE.h"

#include <htmlhelp.h>
#include <ole2.h>

std::wstring g_wsSettingsPath = L"GLIM.INI";
std::wstring g_wsHelpPath = L"GLIM.CHM";

namespace {

constexpr char kMainClassName[] = "GlimMainClass";
constexpr char kMainTitle[] = "Glim!";
// The longest path Windows handles, in UTF-16 units.
constexpr std::size_t kLongestPath = 32768;

// The executable's full path, however long; empty when it cannot be had.
// GetModuleFileNameW fills the buffer without saying how much it needs.
std::wstring ModulePath(HINSTANCE hInstance)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(hInstance, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= kLongestPath) {
            return {};  // cut: a wrong folder is worse than the current one
        }
        path.resize(path.size() * 2);
    }
}

// Resolves both paths beside the executable; bare names when the module path
// cannot be had.
void ResolveSiblingPaths(HINSTANCE hInstance)
{
    const std::wstring module = ModulePath(hInstance);
    g_wsSettingsPath = SiblingPath(module, L"GLIM.INI");
    g_wsHelpPath = SiblingPath(module, L"GLIM.CHM");
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
        m_settings.Save(g_wsSettingsPath.c_str());
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
    m_settings.Load(g_wsSettingsPath.c_str());
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

void CLSWndMain::ApplyCommandLine(const wchar_t* lpszArguments)
{
    std::wstring path = FirstArgument(lpszArguments);
    if (path.empty()) {
        path = m_settings.GetFlag(CLSGlimSettings::kShowLastFolder) ? m_settings.GetLastFolder()
                                                                     : m_settings.GetStartFolder();
    }
    if (path.empty() || m_hWnd == nullptr) {
        return;
    }
    SetDlgItemTextW(m_hWnd, kIdPathEdit, path.c_str());
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
        // Wide throughout: the path box and the find box are Unicode windows,
        // and a character typed into them must not pass through code page 932.
        // The ANSI windows get their messages converted by the system.
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
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
        if (hAccel != nullptr && TranslateAcceleratorW(hWnd, hAccel, &msg) != 0) {
            continue;
        }
        if (IsDialogMessageW(hWnd, &msg) != 0) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

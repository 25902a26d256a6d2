// The main window's messages: building and laying out the children, commands,
// drops, help, and capturing the window state when it is destroyed.
#include "app/WNDMAIN.h"

#include "app/HTMLHELP.h"
#include "resources/RESOURCE.h"

#include <commctrl.h>
#include <htmlhelp.h>
#include <shellapi.h>

namespace {

constexpr int kMinTrackSize = 250;

// Height of one line of the path box's font, as the edit control draws it.
int PathBoxTextHeight(HWND hwndEdit)
{
    HDC hdc = GetDC(hwndEdit);
    HGDIOBJ hOld = SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessageA(hwndEdit, WM_GETFONT, 0, 0)));
    TEXTMETRICA tm{};
    GetTextMetricsA(hdc, &tm);
    SelectObject(hdc, hOld);
    ReleaseDC(hwndEdit, hdc);
    return tm.tmHeight;
}

}  // namespace

LRESULT CLSWndMain::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:
        return OnCreate();
    case WM_SIZE:
        OnSize(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam))) {
            return 0;
        }
        break;
    case WM_HELP:
        OnHelp(reinterpret_cast<const HELPINFO*>(lParam));
        return 0;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    default:
        break;
    }
    return DefaultProc(hWnd, uMsg, wParam, lParam);
}

LRESULT CLSWndMain::OnCreate()
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    if (!InitCommonControlsEx(&icc)) {
        return -1;
    }
    CreatePathBox();
    SetFocus(GetDlgItem(m_hWnd, kIdPathEdit));
    return 0;
}

void CLSWndMain::CreatePathBox()
{
    auto hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(m_hWnd, GWLP_HINSTANCE));
    auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    HWND hwndEdit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, 0, m_hWnd,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdPathEdit)), hInstance,
                                    nullptr);
    SendMessageA(hwndEdit, WM_SETFONT, font, TRUE);
    HWND hwndButton = CreateWindowExA(0, "BUTTON", "表示(&I)", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                      0, 0, 0, 0, m_hWnd,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdPathButton)), hInstance,
                                      nullptr);
    SendMessageA(hwndButton, WM_SETFONT, font, TRUE);
}

void CLSWndMain::OnSize(int cx, int /*cy*/)
{
    if (IsIconic(m_hWnd)) {
        return;
    }
    HWND hwndEdit = GetDlgItem(m_hWnd, kIdPathEdit);
    const int h = PathBoxTextHeight(hwndEdit);
    const int e = 2 * GetSystemMetrics(SM_CYEDGE) + h;
    const int b = 2 * GetSystemMetrics(SM_CXEDGE) + 3 * h;
    MoveWindow(hwndEdit, 0, 0, cx - b, e, FALSE);
    MoveWindow(GetDlgItem(m_hWnd, kIdPathButton), cx - b, 0, b, e, TRUE);
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CLSWndMain::OnGetMinMaxInfo(MINMAXINFO* info)
{
    info->ptMinTrackSize.x = kMinTrackSize;
    info->ptMinTrackSize.y = kMinTrackSize;
}

bool CLSWndMain::OnCommand(int id)
{
    switch (id) {
    case IDM_EXIT:
        SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
        return true;
    case IDM_HELP_CONTENTS:
        CallHtmlHelp(m_hWnd, g_szHelpPath, HH_DISPLAY_TOC, 0);
        return true;
    default:
        return false;
    }
}

void CLSWndMain::OnHelp(const HELPINFO* info)
{
    const DWORD_PTR context = info != nullptr && info->iContextType == HELPINFO_MENUITEM ? 2000 : 2001;
    CallHtmlHelp(m_hWnd, g_szHelpPath, HH_HELP_CONTEXT, context);
}

void CLSWndMain::OnDropFiles(HDROP hDrop)
{
    char path[MAX_PATH] = "";
    DragQueryFileA(hDrop, 0, path, sizeof(path));
    DragFinish(hDrop);
    SetDlgItemTextA(m_hWnd, kIdPathEdit, path);
    SendDlgItemMessageA(m_hWnd, kIdPathButton, BM_CLICK, 0, 0);
}

void CLSWndMain::CaptureWindowPlacement()
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(m_hWnd, &wp)) {
        return;
    }
    // The restored rectangle is in work-area coordinates; the stored one is in
    // screen coordinates, as CreateWindowExA takes it.
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const RECT& r = wp.rcNormalPosition;
    m_settings.SetLeft(r.left + work.left);
    m_settings.SetTop(r.top + work.top);
    m_settings.SetWidth(r.right - r.left);
    m_settings.SetHeight(r.bottom - r.top);
    m_settings.SetFlag(CLSGlimSettings::kMaximized, wp.showCmd == SW_SHOWMAXIMIZED);
}

void CLSWndMain::OnDestroy()
{
    CaptureWindowPlacement();
    PostQuitMessage(0);
}

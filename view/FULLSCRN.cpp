// The keys of picture and media modes, and full-screen: the pane leaves its
// parent for a topmost popup over the whole screen and comes back on Enter,
// Esc, a double click or a request to close.
#include "view/WNDVIEW.h"

#include "view/MEDIALAY.h"

namespace {

constexpr DWORD kFullScreenExStyle = WS_EX_APPWINDOW | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

// One for the process, as there is one pane: the last single click on the
// media window.
MediaClick g_lastMediaClick{0, 0, 0};

PaneKey PaneKeyOf(UINT vk)
{
    switch (vk) {
    case VK_RETURN:
        return PaneKey::Enter;
    case VK_ESCAPE:
        return PaneKey::Escape;
    case VK_PRIOR:
        return PaneKey::PageUp;
    case VK_NEXT:
        return PaneKey::PageDown;
    case VK_HOME:
        return PaneKey::Home;
    case VK_END:
        return PaneKey::End;
    case VK_LEFT:
        return PaneKey::Left;
    case VK_RIGHT:
        return PaneKey::Right;
    case VK_UP:
        return PaneKey::Up;
    case VK_DOWN:
        return PaneKey::Down;
    default:
        return PaneKey::Other;
    }
}

}  // namespace

bool CLSWndView::IsPictureOrMediaMode()
{
    const DocumentKind mode = GetDisplayMode();
    return mode == DocumentKind::Image || mode == DocumentKind::Media;
}

// The arrows always belong to the pane. In picture and media modes Enter does
// too: the main window's dialog-style loop would otherwise turn it into a
// press of the path box's default button, and the pane would never see it.
LRESULT CLSWndView::OnGetDlgCode(const MSG* msg)
{
    LRESULT code = DLGC_WANTARROWS;
    if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && IsPictureOrMediaMode()) {
        code |= DLGC_WANTMESSAGE;
    }
    return code;
}

void CLSWndView::OnPaneKey(UINT vk)
{
    auto barState = [this](int bar, int unit) {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_RANGE | SIF_POS;
        if (!GetScrollInfo(m_hWnd, bar, &si)) {
            si.nMax = si.nPos = 0;
        }
        return BarState{si.nPos, si.nMax, unit};
    };
    RECT rc{};
    GetClientRect(m_hWnd, &rc);
    const KeyAction action =
        PlanPaneKey(PaneKeyOf(vk), GetKeyState(VK_CONTROL) < 0, m_bFullScreen, rc.bottom,
                    barState(SB_HORZ, HorizontalUnit()), barState(SB_VERT, VerticalUnit()));
    if (action.toggleFullScreen) {
        ToggleFullScreen();
        return;
    }
    if (action.dy != 0) {
        ScrollBy(SB_VERT, action.dy);
    }
    if (action.dx != 0) {
        ScrollBy(SB_HORZ, action.dx);
    }
}

bool CLSWndView::OnLButtonDblClk()
{
    if (!IsPictureOrMediaMode()) {
        return false;
    }
    ToggleFullScreen();
    return true;
}

// The media window takes its own clicks; the pane hears of them only through
// WM_PARENTNOTIFY, which carries no double click, so it pairs them itself.
bool CLSWndView::OnParentNotify(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != WM_LBUTTONDOWN) {
        return false;
    }
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    if (!IsMediaDoubleClick(g_lastMediaClick, GetTickCount(), x, y, GetDoubleClickTime())) {
        return false;
    }
    ToggleFullScreen();
    return true;
}

bool CLSWndView::ToggleFullScreen()
{
    if (m_hWnd == nullptr) {
        return m_bFullScreen;
    }
    m_bFullScreen = !m_bFullScreen;
    if (m_hWndParent != nullptr) {
        EnableWindow(m_hWndParent, m_bFullScreen ? FALSE : TRUE);
    }
    if (m_bFullScreen) {
        EnterFullScreen();
    } else {
        LeaveFullScreen();
    }
    return m_bFullScreen;
}

void CLSWndView::EnterFullScreen()
{
    const LONG_PTR style = (GetWindowLongPtrA(m_hWnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CHILD)) | WS_POPUP;
    SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);
    SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, kFullScreenExStyle);
    RECT rc{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    AdjustWindowRectEx(&rc, static_cast<DWORD>(style), FALSE, kFullScreenExStyle);
    SetParent(m_hWnd, nullptr);
    // The style bit alone does not lift a window above the others: the z-order
    // must be set too. The frame changed with the styles.
    SetWindowPos(m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    // Disabling the parent took the focus from the pane; Esc must reach it.
    SetForegroundWindow(m_hWnd);
    SetFocus(m_hWnd);
}

void CLSWndView::LeaveFullScreen()
{
    // Topmost is a place in the z-order, which the style bits do not undo.
    SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const LONG_PTR style = (GetWindowLongPtrA(m_hWnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD;
    SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);
    SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    SetParent(m_hWnd, m_hWndParent);
    SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    if (m_hWndParent == nullptr) {
        return;
    }
    SetForegroundWindow(m_hWndParent);
    SetFocus(m_hWnd);
    // The parent puts the pane back where its layout wants it.
    Relayout(m_hWndParent);
}

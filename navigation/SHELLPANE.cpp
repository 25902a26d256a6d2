// The container of a navigation pane.
#include "navigation/SHELLPANE.h"

#include "base/ASSERT.h"

#include <windowsx.h>

bool CLSWndShellPane::CreateWindows(HWND hWndParent, int id, DWORD exStyle, const char* controlClass, DWORD style)
{
    auto hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hWndParent, GWLP_HINSTANCE));
    auto hMenuId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    HWND hWndContainer = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_SIMPLE, 0, 0, 0,
                                         0, hWndParent, hMenuId, hInstance, nullptr);
    if (hWndContainer == nullptr) {
        return false;
    }
    m_hWndControl =
        CreateWindowExA(exStyle, controlClass, "", style, 0, 0, 0, 0, hWndContainer, hMenuId, hInstance, nullptr);
    if (m_hWndControl == nullptr) {
        DestroyWindow(hWndContainer);
        return false;
    }
    return Attach(hWndContainer);
}

void CLSWndShellPane::Move(int x, int y, int cx, int cy)
{
    MoveWindow(m_hWnd, x, y, cx, cy, TRUE);
    MoveWindow(m_hWndControl, 0, 0, cx, cy, TRUE);
}

LRESULT CLSWndShellPane::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_SETFOCUS:
        SetFocus(m_hWndControl);
        return 0;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_INITMENUPOPUP:
        if (OnMenuMessage(uMsg, wParam, lParam)) {
            return uMsg == WM_INITMENUPOPUP ? 0 : TRUE;
        }
        break;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        GLIM_ASSERT(hdr != nullptr);
        if (hdr->hwndFrom == m_hWndControl && OnNotify(hdr)) {
            return 0;
        }
        break;
    }
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == m_hWndControl &&
            OnContextMenu(reinterpret_cast<HWND>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
            return 0;
        }
        break;
    case WMU_WATCH_CHANGED:
        if (m_watcher.Accept(wParam, lParam)) {
            OnWatchChanged(lParam);
        }
        return 0;
    case WM_DESTROY:
        m_watcher.Stop();
        OnContainerDestroy();
        m_hWndControl = nullptr;
        break;
    default:
        if (OnPaneMessage(uMsg, wParam, lParam)) {
            return 0;
        }
        break;
    }
    return DefaultProc(hWnd, uMsg, wParam, lParam);
}

bool CLSWndShellPane::OnPaneMessage(UINT, WPARAM, LPARAM)
{
    return false;
}

bool CLSWndShellPane::OnMenuMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return m_pMenuHandler != nullptr && SUCCEEDED(m_pMenuHandler->HandleMenuMsg(uMsg, wParam, lParam));
}

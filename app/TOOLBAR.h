// CLSToolBar: the toolbar across the top of the main window (control 1024):
// the encoding and view-form groups, up one folder, copy, and two drop-down
// buttons that open pop-ups of the main menu. The main window presses the
// group buttons itself (TB_SETSTATE) when a choice changes.
#pragma once

#include <windows.h>

#include <commctrl.h>

class CLSToolBar {
public:
    static constexpr int kControlId = 1024;

    // False when the control cannot be made.
    bool Create(HWND hWndParent, HINSTANCE hInstance);
    HWND GetHandle() const noexcept { return m_hWnd; }

    // The toolbar's notifications that reach the main window: the drop-down
    // menus and the tooltip texts. True when handled.
    bool OnNotify(HWND hWndMain, const NMHDR* pnmh);
    // The Copy button follows the Copy menu item's rule, which the main
    // window applies.
    void EnableCopy(bool on);

private:
    void DropDown(HWND hWndMain, int idCommand);

    HWND m_hWnd = nullptr;
};

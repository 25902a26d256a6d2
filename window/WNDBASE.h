// CLSWndBase: binds a window object to its window and routes the window's
// messages to the object's virtual WindowProc. Every window class of ours
// registers StaticWindowProc and passes its object as the creation parameter.
#pragma once

#include <windows.h>

#include <string>

// The window's whole text in UTF-16, as the Unicode edits that hold names,
// paths and queries keep it.
std::wstring WindowTextWide(HWND hWnd);

class CLSWndBase {
public:
    CLSWndBase() noexcept = default;
    virtual ~CLSWndBase();
    CLSWndBase(const CLSWndBase&) = delete;
    CLSWndBase& operator=(const CLSWndBase&) = delete;

    // Handles one message; the base hands everything to DefaultProc.
    virtual LRESULT WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // Binds to an existing window, subclassing it when its procedure is not ours.
    bool Attach(HWND hWnd) noexcept;
    // Undoes Attach: the replaced procedure goes back, the user data is cleared.
    bool Detach() noexcept;
    // The handling of whatever the object does not handle itself.
    LRESULT DefaultProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) noexcept;

    static LRESULT CALLBACK StaticWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND GetHandle() const noexcept { return m_hWnd; }
    bool IsDialog() const noexcept { return m_bDialog; }

protected:
    HWND m_hWnd = nullptr;
    LONG_PTR m_lpPrevProc = 0;  // a WNDPROC, or a DLGPROC for a dialog
    bool m_bDialog = false;
};

// Asks a parent to lay its panes out again: WM_SIZE (SIZE_RESTORED) with the
// parent's current client size.
void Relayout(HWND hWndParent) noexcept;

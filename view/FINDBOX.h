// CLSFindBox: the modeless find box over the main window. It keeps the text,
// the case and the direction chosen, and a history of the last texts for the
// run, and hands each search to the preview pane.
#pragma once

#include "view/WNDVIEW.h"

#include <windows.h>

#include <string>
#include <vector>

class CLSFindBox {
public:
    static constexpr std::size_t kHistory = 16;

    explicit CLSFindBox(CLSWndView& view) : m_view(view) {}
    ~CLSFindBox();
    CLSFindBox(const CLSFindBox&) = delete;
    CLSFindBox& operator=(const CLSFindBox&) = delete;

    // Ctrl+F: opens the box owned by owner (or brings it forward) with the
    // pane's selection as its text, if it has one.
    void Show(HWND owner);
    // F3 and Shift+F3: the last text again, down or up; the box opens when
    // there is none yet.
    void FindAgain(HWND owner, bool forward);
    // The message loop's turn for the box: the keys of the dialog, F3 in it,
    // and Esc while a search runs. True when the message was used.
    bool PreTranslate(MSG* msg);

    HWND GetWindow() const { return m_hWnd; }
    const std::vector<std::u16string>& History() const { return m_history; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) noexcept;
    INT_PTR OnMessage(UINT uMsg, WPARAM wParam);
    void OnInitDialog();
    void OnFind(bool forward);
    void OnCancel();
    void OnTextChanged();
    std::u16string ReadText() const;
    void Remember(const std::u16string& text);
    void FillHistory();
    void Search(const std::u16string& text, bool forward);

    CLSWndView& m_view;
    HWND m_hWnd = nullptr;
    std::u16string m_text;
    std::vector<std::u16string> m_history;  // newest first
    bool m_bMatchCase = false;
    bool m_bForward = true;
};

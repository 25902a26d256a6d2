// CLSStatusBar: the status bar across the bottom of the main window (control
// 1031): a fixed help hint, the type of the selected item, the caret, the
// encoding and the file size. The main window decides when each changes.
#pragma once

#include "app/BARTEXT.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

class CLSStatusBar {
public:
    static constexpr int kControlId = 1031;

    // Creates the bar with its hint in part 0; the parts come with the first
    // layout pass. False when the control cannot be made.
    bool Create(HWND hWndParent);
    HWND GetHandle() const noexcept { return m_hWnd; }

    // Every layout pass, shown or not: the part edges from the client width
    // and the bar's height.
    void SetParts(int clientWidth, int barHeight);
    // Part 0: a passing text, such as a running search's progress; null or
    // empty puts the lasting text back.
    void SetHintText(const char* lpszText);
    // What part 0 shows when no passing text is up: lpszText (a followed
    // file's state), or for null or empty the help hint.
    void SetLastingText(const char* lpszText);
    void SetTypeText(const wchar_t* lpszType);
    // The 0-based caret that the content view reports.
    void SetCaretText(int line, int column);
    // The caret part with another text (a picture's size and zoom).
    void SetCaretPartText(const char* lpszText);
    void SetEncodingText(std::uint32_t encoding);
    // Empty for none: an item that does not exist, or a folder.
    void SetSizeText(std::optional<std::uint64_t> size);

private:
    // The width a text needs with the bar's font and the part's margins.
    int TextWidth(const char* lpszText) const;
    // Sets the text, widening its part first when the text needs more room
    // than any text it showed before; a part never narrows, so that it does
    // not jump back and forth as the caret moves.
    void SetWideningText(int part, int& width, const char* lpszText);

    void SetPartText(int part, const char* lpszText);

    HWND m_hWnd = nullptr;
    std::string m_strLasting;
    // The last layout, kept so that a wider part can be laid out at once.
    int m_iClientWidth = 0;
    int m_iBarHeight = 0;
    StatusWidths m_widths;
};

// What the size part shows for a file-system path: the file's 64-bit size, or
// none for a folder and for a path that names nothing.
std::optional<std::uint64_t> FileSizeOfPath(const std::wstring& path);

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
    // empty puts the help hint back.
    void SetHintText(const char* lpszText);
    void SetTypeText(const wchar_t* lpszType);
    // The 0-based caret that the content view reports.
    void SetCaretText(int line, int column);
    void SetEncodingText(std::uint32_t encoding);
    // Empty for none: an item that does not exist, or a folder.
    void SetSizeText(std::optional<std::uint64_t> size);

private:
    // The width the size text needs with the bar's font and the part's margins.
    int SizeTextWidth(const char* lpszText) const;

    void SetPartText(int part, const char* lpszText);

    HWND m_hWnd = nullptr;
    // The last layout, kept so that a wider size part can be laid out at once.
    int m_iClientWidth = 0;
    int m_iBarHeight = 0;
    int m_iSizeWidth = kStatusSizeWidth;
};

// What the size part shows for a file-system path: the file's 64-bit size, or
// none for a folder and for a path that names nothing.
std::optional<std::uint64_t> FileSizeOfPath(const std::wstring& path);

// The status bar control and the texts it is given.
#include "app/STATBAR.h"

#include "app/BARTEXT.h"
#include "base/OWNERS.h"
#include "base/WIDETEXT.h"

#include <commctrl.h>

#include <cstring>
#include <string>

bool CLSStatusBar::Create(HWND hWndParent)
{
    m_hWnd = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | SBARS_TOOLTIPS | SBARS_SIZEGRIP | CCS_BOTTOM, nullptr,
                                 hWndParent, kControlId);
    if (m_hWnd == nullptr) {
        return false;
    }
    SetHintText(nullptr);
    return true;
}

void CLSStatusBar::SetHintText(const char* lpszText)
{
    const char* lasting = m_strLasting.empty() ? "ヘルプを見るには F1 キーを押してください。" : m_strLasting.c_str();
    const bool passing = lpszText != nullptr && *lpszText != '\0';
    SendMessageA(m_hWnd, SB_SETTEXTA, 0 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(passing ? lpszText : lasting));
}

void CLSStatusBar::SetLastingText(const char* lpszText)
{
    m_strLasting = lpszText != nullptr ? lpszText : "";
    SetHintText(nullptr);
}

void CLSStatusBar::SetParts(int clientWidth, int barHeight)
{
    m_iClientWidth = clientWidth;
    m_iBarHeight = barHeight;
    int edges[kStatusPartCount];
    StatusPartEdges(clientWidth, barHeight, edges, m_widths);
    SendMessageA(m_hWnd, SB_SETPARTS, kStatusPartCount, reinterpret_cast<LPARAM>(edges));
}

void CLSStatusBar::SetPartText(int part, const char* lpszText)
{
    SendMessageA(m_hWnd, SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(lpszText));
}

// Wide: the shell names the types of files in the user's language, which
// need not be the ANSI code page's.
void CLSStatusBar::SetTypeText(const wchar_t* lpszType)
{
    SendMessageW(m_hWnd, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(lpszType));
}

void CLSStatusBar::SetCaretText(int line, int column)
{
    SetWideningText(2, m_widths.caret, CaretText(line, column).c_str());
}

void CLSStatusBar::SetCaretPartText(const char* lpszText)
{
    SetWideningText(2, m_widths.caret, lpszText);
}

void CLSStatusBar::SetEncodingText(std::uint32_t encoding)
{
    SetWideningText(3, m_widths.encoding, EncodingLabel(encoding));
}

void CLSStatusBar::SetSizeText(std::optional<std::uint64_t> size)
{
    SetWideningText(4, m_widths.size, size ? SizeText(*size).c_str() : "");
}

void CLSStatusBar::SetWideningText(int part, int& width, const char* lpszText)
{
    const int needed = TextWidth(lpszText);
    if (needed > width) {
        width = needed;
        SetParts(m_iClientWidth, m_iBarHeight);
    }
    SetPartText(part, lpszText);
}

int CLSStatusBar::TextWidth(const char* lpszText) const
{
    CLSWindowDC dc(m_hWnd);
    if (!dc) {
        return 0;
    }
    const auto font = reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    CLSSelectObject selected(dc.Get(), font);
    const char* digits = lpszText;
    while (*digits == '\t') {
        ++digits;  // the tabs only align the text
    }
    SIZE extent{};
    if (!GetTextExtentPoint32A(dc.Get(), digits, static_cast<int>(std::strlen(digits)), &extent)) {
        return 0;
    }
    int borders[3] = {};  // horizontal, vertical, between parts
    SendMessageA(m_hWnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    return extent.cx + 2 * (borders[0] + borders[2]) + 2 * GetSystemMetrics(SM_CXEDGE);
}

// GetFileAttributesExW rather than a find: a path with a wildcard in it must
// not report the size of some other file that happens to match.
std::optional<std::uint64_t> FileSizeOfPath(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(LongPathForm(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

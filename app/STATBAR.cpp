// The status bar control and the texts it is given.
#include "app/STATBAR.h"

#include "app/BARTEXT.h"

#include <commctrl.h>

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
    const bool hint = lpszText == nullptr || *lpszText == '\0';
    SendMessageA(m_hWnd, SB_SETTEXTA, 0 | SBT_NOBORDERS,
                 reinterpret_cast<LPARAM>(hint ? "ヘルプを見るには F1 キーを押してください。" : lpszText));
}

void CLSStatusBar::SetParts(int clientWidth, int barHeight)
{
    int edges[kStatusPartCount];
    StatusPartEdges(clientWidth, barHeight, edges);
    SendMessageA(m_hWnd, SB_SETPARTS, kStatusPartCount, reinterpret_cast<LPARAM>(edges));
}

void CLSStatusBar::SetPartText(int part, const char* lpszText)
{
    SendMessageA(m_hWnd, SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(lpszText));
}

void CLSStatusBar::SetTypeText(const char* lpszType)
{
    SetPartText(1, lpszType);
}

void CLSStatusBar::SetCaretText(int line, int column)
{
    SetPartText(2, CaretText(line, column).c_str());
}

void CLSStatusBar::SetEncodingText(std::uint32_t encoding)
{
    SetPartText(3, EncodingLabel(encoding));
}

void CLSStatusBar::SetSizeText(std::optional<std::uint64_t> size)
{
    SetPartText(4, size ? SizeText(*size).c_str() : "");
}

// GetFileAttributesExA rather than a find: a path with a wildcard in it must
// not report the size of some other file that happens to match.
std::optional<std::uint64_t> FileSizeOfPath(const char* lpszPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(lpszPath, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

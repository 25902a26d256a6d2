// The owning byte string: granule-sized buffers, range rules that never fail
// loudly, and a search that steps over Shift-JIS double-byte characters.
#include "settings/TSTRING.h"

#include "base/ASSERT.h"
#include "base/SHIFTJIS.h"

#include <shlwapi.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

int CLSTString::m_iClassCount = 0;

namespace {

// Lengths are 32-bit; anything that could not be sized in whole granules
// without overflowing is refused like any other allocation that cannot be met.
constexpr int kMaxLength = INT_MAX - 2 * CLSTString::kGranule;

int CheckedLength(const char* lpszText)
{
    const size_t length = std::strlen(lpszText);
    if (length > static_cast<size_t>(kMaxLength)) {
        throw std::bad_alloc();
    }
    return static_cast<int>(length);
}

}  // namespace

CLSTString::CLSTString() : m_lpszString(nullptr), m_iCapacity(0), m_iLength(0)
{
    Allocate(0);
    ++m_iClassCount;
}

CLSTString::CLSTString(const char* lpszText, int iStart, int iCount)
    : m_lpszString(nullptr), m_iCapacity(0), m_iLength(0)
{
    const int iTextLength = lpszText != nullptr ? CheckedLength(lpszText) : 0;
    if (lpszText == nullptr) {
        iStart = 0;
        iCount = 0;
    } else if (iCount == -1) {
        iCount = iTextLength - iStart;
    }
    if (iStart < 0 || iCount < 0 || iStart > iTextLength - iCount) {
        throw std::bad_alloc();
    }
    Allocate(iCount);
    if (iCount > 0) {
        std::memcpy(m_lpszString, lpszText + iStart, iCount);
    }
    m_lpszString[iCount] = '\0';
    m_iLength = iCount;
    ++m_iClassCount;
}

CLSTString::CLSTString(int iValue) : CLSTString()
{
    Append(iValue);
}

CLSTString::CLSTString(const CLSTString& other) : CLSTString(other.m_lpszString)
{
}

CLSTString::~CLSTString()
{
    GLIM_ASSERT(m_lpszString);
    std::free(m_lpszString);
    --m_iClassCount;
    GLIM_ASSERT(m_iClassCount >= 0);
}

CLSTString& CLSTString::operator=(const CLSTString& other)
{
    Assign(other);
    return *this;
}

CLSTString& CLSTString::operator=(const char* lpszText)
{
    Assign(lpszText);
    return *this;
}

void CLSTString::Allocate(int iLength)
{
    const int iCapacity = (iLength / kGranule + 1) * kGranule;
    m_lpszString = static_cast<char*>(std::malloc(iCapacity));
    if (m_lpszString == nullptr) {
        throw std::bad_alloc();
    }
    m_lpszString[0] = '\0';
    m_iCapacity = iCapacity;
}

void CLSTString::Resize(int iCapacity)
{
    char* lpNew = static_cast<char*>(std::realloc(m_lpszString, iCapacity));
    if (lpNew == nullptr) {
        // Giving memory back is only a courtesy: the old buffer still holds
        // the text, so a refused shrink is no failure.
        if (iCapacity < m_iCapacity) {
            return;
        }
        throw std::bad_alloc();
    }
    m_lpszString = lpNew;
    m_iCapacity = iCapacity;
}

void CLSTString::Reserve(int iLength)
{
    if (iLength < m_iLength) {
        iLength = m_iLength;
    }
    if (iLength > kMaxLength) {
        throw std::bad_alloc();
    }
    const int iCapacity = ((iLength + 1) / kGranule + 1) * kGranule;
    if (iCapacity != m_iCapacity) {
        Resize(iCapacity);
    }
}

void CLSTString::ReplaceBytes(int iStart, int iCount, const char* lpText, int iTextLength)
{
    if (iStart < 0 || iStart > m_iLength) {
        return;
    }
    if (iCount == -1) {
        iCount = m_iLength - iStart;
    }
    if (iCount < 0 || iCount > m_iLength - iStart) {
        return;
    }
    // A text taken from this very buffer would move or vanish under the
    // reallocation and the tail move: work from a copy.
    if (iTextLength > 0 && lpText >= m_lpszString && lpText < m_lpszString + m_iCapacity) {
        const CLSTString copy(lpText, 0, iTextLength);
        ReplaceBytes(iStart, iCount, copy.m_lpszString, iTextLength);
        return;
    }
    if (iTextLength > kMaxLength - (m_iLength - iCount)) {
        throw std::bad_alloc();
    }
    const int iNewLength = m_iLength - iCount + iTextLength;
    if (iTextLength > iCount) {
        Reserve(iNewLength);
    }
    std::memmove(m_lpszString + iStart + iTextLength, m_lpszString + iStart + iCount,
                 m_iLength - iStart - iCount + 1);
    if (iTextLength > 0) {
        std::memcpy(m_lpszString + iStart, lpText, iTextLength);
    }
    m_iLength = iNewLength;
    Reserve(m_iLength);
}

void CLSTString::Replace(int iStart, int iCount, const char* lpszText)
{
    ReplaceBytes(iStart, iCount, lpszText, lpszText != nullptr ? CheckedLength(lpszText) : 0);
}

void CLSTString::Assign(const char* lpszText)
{
    Replace(0, -1, lpszText);
}

void CLSTString::Assign(const CLSTString& other)
{
    if (&other != this) {
        Replace(0, -1, other.m_lpszString);
    }
}

void CLSTString::Append(const char* lpszText)
{
    Replace(m_iLength, 0, lpszText);
}

void CLSTString::Append(const CLSTString& other)
{
    ReplaceBytes(m_iLength, 0, other.m_lpszString, other.m_iLength);
}

void CLSTString::Append(const char* lpszText, int iCount)
{
    if (lpszText == nullptr || iCount <= 0) {
        return;
    }
    const void* lpNul = std::memchr(lpszText, '\0', iCount);
    const int iTake = lpNul != nullptr ? static_cast<int>(static_cast<const char*>(lpNul) - lpszText) : iCount;
    ReplaceBytes(m_iLength, 0, lpszText, iTake);
}

void CLSTString::Append(int iValue)
{
    char achNumber[16];
    std::snprintf(achNumber, sizeof(achNumber), "%d", iValue);
    Append(achNumber);
}

bool CLSTString::operator==(const char* lpszText) const
{
    return lstrcmpA(m_lpszString, lpszText != nullptr ? lpszText : "") == 0;
}

bool CLSTString::operator==(const CLSTString& other) const
{
    return *this == other.m_lpszString;
}

char CLSTString::CharAt(int iPos) const
{
    return iPos >= 0 && iPos < m_iLength ? m_lpszString[iPos] : '\0';
}

int CLSTString::Find(const char* lpszText, int iStart, char chEscape) const
{
    if (lpszText == nullptr || iStart < 0 || iStart >= m_iLength) {
        return -1;
    }
    const size_t textLength = std::strlen(lpszText);
    // A double-byte character is one step, so its trail byte (which may look
    // like "]" or "\") is never taken for a character of its own.
    const auto charSize = [this](int iPos) {
        return iPos < m_iLength - 1 && IsShiftJisPair(m_lpszString + iPos) ? 2 : 1;
    };
    int iPos = iStart;
    while (iPos < m_iLength) {
        const char* lpHere = m_lpszString + iPos;
        if (chEscape != '\0' && *lpHere == chEscape) {
            ++iPos;
            iPos += charSize(iPos);
            continue;
        }
        if (textLength <= static_cast<size_t>(m_iLength - iPos) && std::memcmp(lpHere, lpszText, textLength) == 0) {
            return iPos;
        }
        iPos += charSize(iPos);
    }
    return -1;
}

int CLSTString::Find(char ch, int iStart, char chEscape) const
{
    if (ch == '\0') {
        return -1;
    }
    const char achText[2] = {ch, '\0'};
    return Find(achText, iStart, chEscape);
}

CLSTString CLSTString::Mid(int iStart, int iCount) const
{
    if (iStart < 0 || iStart > m_iLength) {
        return CLSTString();
    }
    if (iCount == -1) {
        iCount = m_iLength - iStart;
    }
    if (iCount < 0 || iCount > m_iLength - iStart) {
        return CLSTString();
    }
    return CLSTString(m_lpszString, iStart, iCount);
}

void CLSTString::FromWindowText(HWND hWnd)
{
    m_lpszString[0] = '\0';
    m_iLength = 0;
    // No window (a control id that names none) has no text; Wine would hand
    // out some other window's text for a null handle.
    if (!IsWindow(hWnd)) {
        Reserve(0);
        return;
    }
    // The reported length may exceed the text (double-byte conversions), never
    // fall short of it; the length is taken from what actually arrived.
    Reserve(GetWindowTextLengthA(hWnd));
    if (GetWindowTextA(hWnd, m_lpszString, m_iCapacity) <= 0) {
        m_lpszString[0] = '\0';
    }
    m_lpszString[m_iCapacity - 1] = '\0';
    m_iLength = static_cast<int>(std::strlen(m_lpszString));
    Reserve(m_iLength);
}

void CLSTString::FromWindowText(HWND hDlg, int iControlId)
{
    FromWindowText(GetDlgItem(hDlg, iControlId));
}

namespace {

// One colour component: two hexadecimal digits read as "0x" plus the pair.
int HexPair(const char* lpPair)
{
    const char achText[5] = {'0', 'x', lpPair[0], lpPair[1], '\0'};
    int iValue = 0;
    return StrToIntExA(achText, STIF_SUPPORT_HEX, &iValue) ? iValue & 0xFF : 0;
}

}  // namespace

int CLSTString::ToInt() const
{
    if (m_iLength == 8 && m_lpszString[0] == '0' && (m_lpszString[1] == 'x' || m_lpszString[1] == 'X')) {
        // Colours are written red, green, blue; a COLORREF keeps red lowest.
        const int iRed = HexPair(m_lpszString + 2);
        const int iGreen = HexPair(m_lpszString + 4);
        const int iBlue = HexPair(m_lpszString + 6);
        return iRed + iGreen * 256 + iBlue * 65536;
    }
    int iValue = 0;
    return StrToIntExA(m_lpszString, STIF_SUPPORT_HEX, &iValue) ? iValue : 0;
}

CLSTString operator+(const CLSTString& left, const CLSTString& right)
{
    CLSTString result(left);
    result.Append(right);
    return result;
}

CLSTString operator+(const CLSTString& left, const char* lpszRight)
{
    CLSTString result(left);
    result.Append(lpszRight);
    return result;
}

// Font records: their keys in GLIM.INI, their defaults, and the LOGFONT they
// stand for.
#include "settings/GLIMFONT.h"

#include "base/SHIFTJIS.h"

#include <cstring>

namespace {

// Points are converted at the screen's vertical resolution; a DC that cannot
// be had must not turn every size into 0 or a division by zero.
int VerticalDpi(HWND hWnd)
{
    HWND hWndDC = hWnd != nullptr ? hWnd : GetDesktopWindow();
    HDC hDC = GetDC(hWndDC);
    int iDpi = 0;
    if (hDC != nullptr) {
        iDpi = GetDeviceCaps(hDC, LOGPIXELSY);
        ReleaseDC(hWndDC, hDC);
    }
    return iDpi > 0 ? iDpi : 96;
}

// Length of the longest prefix of at most iMax bytes that does not end in the
// middle of a double-byte character.
int FitFaceName(const char* lpszFace, int iMax)
{
    int iPos = 0;
    while (lpszFace[iPos] != '\0') {
        const int iStep = IsShiftJisPair(lpszFace + iPos) ? 2 : 1;
        if (iPos + iStep > iMax) {
            break;
        }
        iPos += iStep;
    }
    return iPos;
}

}  // namespace

CLSGlimFont::CLSGlimFont()
    : m_strFaceName("ＭＳ ゴシック"), m_iHeight(12), m_dwStyle(0), m_iCharSet(DEFAULT_CHARSET),
      m_iLineHeight(140), m_crTextColor(GetSysColor(COLOR_WINDOWTEXT)), m_crBackColor(GetSysColor(COLOR_WINDOW)),
      m_crSelectedTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT)), m_crSelectedBackColor(GetSysColor(COLOR_HIGHLIGHT)),
      m_bUseSystemColor(true)
{
}

CLSGlimFont::CLSGlimFont(int iHeight, DWORD dwStyle, int iCharSet, const char* lpszFaceName) : CLSGlimFont()
{
    m_iHeight = iHeight;
    m_dwStyle = dwStyle;
    m_iCharSet = iCharSet;
    m_strFaceName.Assign(lpszFaceName);
}

bool CLSGlimFont::ParseLine(const CLSTString& strKey, const CLSTString& strValue)
{
    struct NumberKey {
        const char* lpszKey;
        int CLSGlimFont::*piField;
    };
    struct StyleKey {
        const char* lpszKey;
        DWORD dwBit;
    };
    struct ColorKey {
        const char* lpszKey;
        COLORREF CLSGlimFont::*pcrField;
    };
    static const NumberKey kNumbers[] = {
        {"Height", &CLSGlimFont::m_iHeight},
        {"CharSet", &CLSGlimFont::m_iCharSet},
        {"LineHeight", &CLSGlimFont::m_iLineHeight},
    };
    static const StyleKey kStyles[] = {
        {"Bold", kBold}, {"Italic", kItalic}, {"Underline", kUnderline}, {"StrikeOut", kStrikeOut}};
    static const ColorKey kColors[] = {
        {"TextColor", &CLSGlimFont::m_crTextColor},
        {"BackColor", &CLSGlimFont::m_crBackColor},
        {"SelectedTextColor", &CLSGlimFont::m_crSelectedTextColor},
        {"SelectedBackColor", &CLSGlimFont::m_crSelectedBackColor},
    };

    if (strKey == "FaceName") {
        m_strFaceName.Assign(strValue);
        return true;
    }
    for (const NumberKey& key : kNumbers) {
        if (strKey == key.lpszKey) {
            this->*key.piField = strValue.ToInt();
            return true;
        }
    }
    for (const StyleKey& key : kStyles) {
        if (strKey == key.lpszKey) {
            m_dwStyle = strValue.ToInt() != 0 ? m_dwStyle | key.dwBit : m_dwStyle & ~key.dwBit;
            return true;
        }
    }
    for (const ColorKey& key : kColors) {
        if (strKey == key.lpszKey) {
            this->*key.pcrField = static_cast<COLORREF>(strValue.ToInt());
            return true;
        }
    }
    if (strKey == "UseSystemColor") {
        m_bUseSystemColor = strValue.ToInt() != 0;
        return true;
    }
    return false;
}

void CLSGlimFont::ToLogFont(HWND hWnd, LOGFONTA& lf) const
{
    std::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = -MulDiv(m_iHeight, VerticalDpi(hWnd), 72);
    lf.lfWeight = HasStyle(kBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = HasStyle(kItalic) ? 1 : 0;
    lf.lfUnderline = HasStyle(kUnderline) ? 1 : 0;
    lf.lfStrikeOut = HasStyle(kStrikeOut) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(m_iCharSet);
    // A name cut in the middle of a double-byte character would name no font.
    const int iFit = FitFaceName(m_strFaceName.GetString(), LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, m_strFaceName.GetString(), iFit);
}

void CLSGlimFont::FromLogFont(HWND hWnd, const LOGFONTA& lf)
{
    m_iHeight = -MulDiv(lf.lfHeight, 72, VerticalDpi(hWnd));
    m_dwStyle = 0;
    if (lf.lfWeight >= FW_BOLD) {
        m_dwStyle |= kBold;
    }
    if (lf.lfItalic != 0) {
        m_dwStyle |= kItalic;
    }
    if (lf.lfUnderline != 0) {
        m_dwStyle |= kUnderline;
    }
    if (lf.lfStrikeOut != 0) {
        m_dwStyle |= kStrikeOut;
    }
    m_iCharSet = lf.lfCharSet;
    // The face array need not be terminated when it is full.
    m_strFaceName.Assign(nullptr);
    m_strFaceName.Append(lf.lfFaceName, LF_FACESIZE);
}

HFONT CLSGlimFont::CreateFont(HWND hWnd) const
{
    LOGFONTA lf;
    ToLogFont(hWnd != nullptr ? hWnd : GetDesktopWindow(), lf);
    return CreateFontIndirectA(&lf);
}

COLORREF CLSGlimFont::EffectiveTextColor() const
{
    return m_bUseSystemColor ? GetSysColor(COLOR_WINDOWTEXT) : m_crTextColor;
}

COLORREF CLSGlimFont::EffectiveBackColor() const
{
    return m_bUseSystemColor ? GetSysColor(COLOR_WINDOW) : m_crBackColor;
}

COLORREF CLSGlimFont::EffectiveSelectedTextColor() const
{
    return m_bUseSystemColor ? GetSysColor(COLOR_HIGHLIGHTTEXT) : m_crSelectedTextColor;
}

COLORREF CLSGlimFont::EffectiveSelectedBackColor() const
{
    return m_bUseSystemColor ? GetSysColor(COLOR_HIGHLIGHT) : m_crSelectedBackColor;
}

bool CLSGlimTextSettings::ParseLine(const CLSTString& strKey, const CLSTString& strValue)
{
    if (strKey == "TabStop") {
        m_iTabStop = strValue.ToInt();
        return true;
    }
    return CLSGlimFont::ParseLine(strKey, strValue);
}

// CLSGlimFont: the font-and-colour record of the text and hex views (the
// [Binary] section), and CLSGlimTextSettings, the same plus the tab width (the
// [Text] section). Both are plain values copied between the settings, the
// settings dialog and the content view.
#pragma once

#include <windows.h>

#include "settings/PARSELINE.h"
#include "settings/TSTRING.h"

class CLSGlimFont : public CLSGlimSettingParseLine {
public:
    // Style bits.
    static constexpr DWORD kBold = 1;
    static constexpr DWORD kItalic = 2;
    static constexpr DWORD kUnderline = 4;
    static constexpr DWORD kStrikeOut = 8;

    // The defaults; the four colours are the system colours of this moment.
    CLSGlimFont();
    // The given font, everything else as the default.
    CLSGlimFont(int iHeight, DWORD dwStyle, int iCharSet, const char* lpszFaceName);

    bool ParseLine(const CLSTString& strKey, const CLSTString& strValue) override;

    // Height in points is converted with the vertical resolution of the
    // window's screen (the desktop's when hWnd is null).
    void ToLogFont(HWND hWnd, LOGFONTA& lf) const;
    void FromLogFont(HWND hWnd, const LOGFONTA& lf);
    // The caller owns the font. (<windows.h> maps the name to CreateFontA;
    // declarations and calls see the same macro.)
    HFONT CreateFont(HWND hWnd = nullptr) const;

    // The stored colour, or while UseSystemColor is on the system colour of
    // the moment of the call.
    COLORREF EffectiveTextColor() const;
    COLORREF EffectiveBackColor() const;
    COLORREF EffectiveSelectedTextColor() const;
    COLORREF EffectiveSelectedBackColor() const;

    const CLSTString& GetFaceName() const { return m_strFaceName; }
    void SetFaceName(const char* lpszFaceName) { m_strFaceName.Assign(lpszFaceName); }
    int GetHeight() const { return m_iHeight; }
    void SetHeight(int iHeight) { m_iHeight = iHeight; }
    DWORD GetStyle() const { return m_dwStyle; }
    void SetStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    bool HasStyle(DWORD dwBit) const { return (m_dwStyle & dwBit) != 0; }
    int GetCharSet() const { return m_iCharSet; }
    void SetCharSet(int iCharSet) { m_iCharSet = iCharSet; }
    int GetLineHeight() const { return m_iLineHeight; }
    void SetLineHeight(int iLineHeight) { m_iLineHeight = iLineHeight; }
    COLORREF GetTextColor() const { return m_crTextColor; }
    void SetTextColor(COLORREF cr) { m_crTextColor = cr; }
    COLORREF GetBackColor() const { return m_crBackColor; }
    void SetBackColor(COLORREF cr) { m_crBackColor = cr; }
    COLORREF GetSelectedTextColor() const { return m_crSelectedTextColor; }
    void SetSelectedTextColor(COLORREF cr) { m_crSelectedTextColor = cr; }
    COLORREF GetSelectedBackColor() const { return m_crSelectedBackColor; }
    void SetSelectedBackColor(COLORREF cr) { m_crSelectedBackColor = cr; }
    bool GetUseSystemColor() const { return m_bUseSystemColor; }
    void SetUseSystemColor(bool bUse) { m_bUseSystemColor = bUse; }

private:
    CLSTString m_strFaceName;
    int m_iHeight;
    DWORD m_dwStyle;
    int m_iCharSet;
    int m_iLineHeight;
    COLORREF m_crTextColor;
    COLORREF m_crBackColor;
    COLORREF m_crSelectedTextColor;
    COLORREF m_crSelectedBackColor;
    bool m_bUseSystemColor;
};

class CLSGlimTextSettings : public CLSGlimFont {
public:
    CLSGlimTextSettings() : m_iTabStop(4) {}

    // TabStop first, then the font keys.
    bool ParseLine(const CLSTString& strKey, const CLSTString& strValue) override;

    int GetTabStop() const { return m_iTabStop; }
    void SetTabStop(int iTabStop) { m_iTabStop = iTabStop; }

private:
    int m_iTabStop;  // in characters
};

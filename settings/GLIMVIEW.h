// The records of the picture view ([Image]) and the audio/video view ([Media]):
// plain values that the content view receives copies of.
#pragma once

#include <windows.h>

#include "settings/PARSELINE.h"
#include "settings/TSTRING.h"

#include <string>

class CLSGlimImageSettings : public CLSGlimSettingParseLine {
public:
    // The background is the system window colour of this moment.
    CLSGlimImageSettings();

    bool ParseLine(const CLSTString& strKey, const CLSTString& strValue) override;

    COLORREF GetBackColor() const { return m_crBackColor; }
    void SetBackColor(COLORREF cr) { m_crBackColor = cr; }
    // Percent: 25, 50, 100, 200 or 400; 0 fits the picture to the window.
    int GetZoom() const { return m_iZoom; }
    void SetZoom(int iZoom) { m_iZoom = iZoom; }
    // Kept whole outside Shift-JIS: GLIM.INI holds such a folder under an
    // extra UTF-8 key, as it holds the start folder.
    const std::wstring& GetSPIFolder() const { return m_wsSPIFolder; }
    void SetSPIFolder(const std::wstring& folder) { m_wsSPIFolder = folder; }
    bool GetUseSPI() const { return m_bUseSPI; }
    void SetUseSPI(bool bUse) { m_bUseSPI = bUse; }

private:
    COLORREF m_crBackColor;
    int m_iZoom;
    std::wstring m_wsSPIFolder;
    bool m_bUseSPI;
    bool m_bSPIFolderUtf8 = false;  // read from SPIFolderUtf8, which the plain key does not replace
};

class CLSGlimMediaSettings : public CLSGlimSettingParseLine {
public:
    CLSGlimMediaSettings() : m_crBackColor(RGB(0, 0, 0)), m_iZoom(100), m_bAutoPlay(false) {}

    bool ParseLine(const CLSTString& strKey, const CLSTString& strValue) override;

    COLORREF GetBackColor() const { return m_crBackColor; }
    void SetBackColor(COLORREF cr) { m_crBackColor = cr; }
    int GetZoom() const { return m_iZoom; }  // as the picture zoom
    void SetZoom(int iZoom) { m_iZoom = iZoom; }
    bool GetAutoPlay() const { return m_bAutoPlay; }
    void SetAutoPlay(bool bAutoPlay) { m_bAutoPlay = bAutoPlay; }

private:
    COLORREF m_crBackColor;
    int m_iZoom;
    bool m_bAutoPlay;
};

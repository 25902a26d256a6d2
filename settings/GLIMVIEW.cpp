// Keys of the [Image] and [Media] sections.
#include "settings/GLIMVIEW.h"

CLSGlimImageSettings::CLSGlimImageSettings()
    : m_crBackColor(GetSysColor(COLOR_WINDOW)), m_iZoom(100), m_strSPIFolder(), m_bUseSPI(false)
{
}

bool CLSGlimImageSettings::ParseLine(const CLSTString& strKey, const CLSTString& strValue)
{
    if (strKey == "BackColor") {
        m_crBackColor = static_cast<COLORREF>(strValue.ToInt());
    } else if (strKey == "Zoom") {
        m_iZoom = strValue.ToInt();
    } else if (strKey == "SPIFolder") {
        m_strSPIFolder.Assign(strValue);
    } else if (strKey == "UseSPI") {
        m_bUseSPI = strValue.ToInt() != 0;
    } else {
        return false;
    }
    return true;
}

bool CLSGlimMediaSettings::ParseLine(const CLSTString& strKey, const CLSTString& strValue)
{
    if (strKey == "BackColor") {
        m_crBackColor = static_cast<COLORREF>(strValue.ToInt());
    } else if (strKey == "Zoom") {
        m_iZoom = strValue.ToInt();
    } else if (strKey == "AutoPlay") {
        m_bAutoPlay = strValue.ToInt() != 0;
    } else {
        return false;
    }
    return true;
}

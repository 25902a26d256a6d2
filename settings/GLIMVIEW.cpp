// Keys of the [Image] and [Media] sections.
#include "settings/GLIMVIEW.h"

#include "base/WIDETEXT.h"

CLSGlimImageSettings::CLSGlimImageSettings()
    : m_crBackColor(GetSysColor(COLOR_WINDOW)), m_iZoom(100), m_wsSPIFolder(), m_bUseSPI(false)
{
}

bool CLSGlimImageSettings::ParseLine(const CLSTString& strKey, const CLSTString& strValue)
{
    if (strKey == "BackColor") {
        m_crBackColor = static_cast<COLORREF>(strValue.ToInt());
    } else if (strKey == "Zoom") {
        m_iZoom = strValue.ToInt();
    } else if (strKey == "SPIFolder" || strKey == "SPIFolderUtf8") {
        const std::string_view value(strValue.GetString(), static_cast<std::size_t>(strValue.GetLength()));
        const bool utf8 = strKey == "SPIFolderUtf8";
        if (utf8 || !m_bSPIFolderUtf8) {
            m_wsSPIFolder = utf8 ? WideOfUtf8(value) : WidenAnsi(value);
        }
        m_bSPIFolderUtf8 = m_bSPIFolderUtf8 || utf8;
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

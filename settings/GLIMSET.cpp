// Defaults of the settings and the keys of the [Window] and [General] sections.
#include "settings/GLIMSET.h"

#include "base/ASSERT.h"

CLSGlimSettings::CLSGlimSettings()
    : m_iLeft(CW_USEDEFAULT), m_iTop(CW_USEDEFAULT), m_iWidth(CW_USEDEFAULT), m_iHeight(CW_USEDEFAULT),
      m_dwFlags(kDefaultFlags), m_clsText(), m_clsBinary(), m_clsImage(), m_clsMedia(), m_strStartFolder(),
      m_strLastFolder(), m_iMaxMemFileSize(4 * 1024 * 1024), m_iFolderTreeWidth(200), m_iFileListHeight(150),
      m_iFileListStyle(2), m_aiColumnWidths{220, 70, 120, 120}
{
}

bool CLSGlimSettings::ParseLine(const CLSTString& strKey, const CLSTString& strValue)
{
    struct NumberKey {
        const char* lpszKey;
        int CLSGlimSettings::*piField;
    };
    struct FlagKey {
        const char* lpszKey;
        DWORD dwBit;
    };
    struct TextKey {
        const char* lpszKey;
        CLSTString CLSGlimSettings::*pstrField;
    };
    static const NumberKey kNumbers[] = {
        {"Left", &CLSGlimSettings::m_iLeft},
        {"Top", &CLSGlimSettings::m_iTop},
        {"Width", &CLSGlimSettings::m_iWidth},
        {"Height", &CLSGlimSettings::m_iHeight},
        {"FolderTreeWidth", &CLSGlimSettings::m_iFolderTreeWidth},
        {"FileListHeight", &CLSGlimSettings::m_iFileListHeight},
        {"FileListStyle", &CLSGlimSettings::m_iFileListStyle},
        {"MaxMemFileSize", &CLSGlimSettings::m_iMaxMemFileSize},
    };
    static const FlagKey kFlags[] = {
        {"Maximized", kMaximized},
        {"ShowToolBar", kShowToolBar},
        {"ShowStatusBar", kShowStatusBar},
        {"ShowFolderTree", kShowFolderTree},
        {"ShowLastFolder", kShowLastFolder},
        {"ShowFolderInFileList", kShowFolderInFileList},
        {"MonitorFolder", kMonitorFolder},
    };
    static const TextKey kTexts[] = {
        {"StartFolder", &CLSGlimSettings::m_strStartFolder},
        {"LastFolder", &CLSGlimSettings::m_strLastFolder},
    };

    for (const NumberKey& key : kNumbers) {
        if (strKey == key.lpszKey) {
            this->*key.piField = strValue.ToInt();
            return true;
        }
    }
    for (const FlagKey& key : kFlags) {
        if (strKey == key.lpszKey) {
            SetFlag(key.dwBit, strValue.ToInt() != 0);
            return true;
        }
    }
    for (const TextKey& key : kTexts) {
        if (strKey == key.lpszKey) {
            (this->*key.pstrField).Assign(strValue);
            return true;
        }
    }
    return false;
}

int CLSGlimSettings::GetColumnWidth(int iColumn) const
{
    GLIM_ASSERT(iColumn >= 0 && iColumn < kColumnCount);
    return m_aiColumnWidths[iColumn];
}

void CLSGlimSettings::SetColumnWidth(int iColumn, int iWidth)
{
    GLIM_ASSERT(iColumn >= 0 && iColumn < kColumnCount);
    m_aiColumnWidths[iColumn] = iWidth;
}

// Defaults of the settings and the keys of the [Window] and [General] sections.
#include "settings/GLIMSET.h"

#include "base/ASSERT.h"
#include "base/WIDETEXT.h"

CLSGlimSettings::CLSGlimSettings()
    : m_iLeft(CW_USEDEFAULT), m_iTop(CW_USEDEFAULT), m_iWidth(CW_USEDEFAULT), m_iHeight(CW_USEDEFAULT),
      m_dwFlags(kDefaultFlags), m_clsText(), m_clsBinary(), m_clsImage(), m_clsMedia(), m_wsStartFolder(),
      m_wsLastFolder(), m_iMaxMemFileSize(4 * 1024 * 1024), m_iFolderTreeWidth(200), m_iFileListHeight(150),
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
    struct FolderKey {
        const char* lpszKey;
        std::wstring CLSGlimSettings::*pwsField;
        bool CLSGlimSettings::*pbFromUtf8;
        bool bUtf8;
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
        {"FollowFile", kFollowFile},
    };
    static const FolderKey kFolders[] = {
        {"StartFolder", &CLSGlimSettings::m_wsStartFolder, &CLSGlimSettings::m_bStartFolderUtf8, false},
        {"StartFolderUtf8", &CLSGlimSettings::m_wsStartFolder, &CLSGlimSettings::m_bStartFolderUtf8, true},
        {"LastFolder", &CLSGlimSettings::m_wsLastFolder, &CLSGlimSettings::m_bLastFolderUtf8, false},
        {"LastFolderUtf8", &CLSGlimSettings::m_wsLastFolder, &CLSGlimSettings::m_bLastFolderUtf8, true},
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
    for (const FolderKey& key : kFolders) {
        if (!(strKey == key.lpszKey)) {
            continue;
        }
        const std::string_view value(strValue.GetString(), static_cast<std::size_t>(strValue.GetLength()));
        if (key.bUtf8) {
            this->*key.pwsField = WideOfUtf8(value);
            this->*key.pbFromUtf8 = true;
        } else if (!(this->*key.pbFromUtf8)) {
            this->*key.pwsField = WidenAnsi(value);
        }
        return true;
    }
    return false;
}

void StoredFolderForms(const std::wstring& folder, std::string& ansi, std::string& utf8)
{
    utf8.clear();
    if (AnsiOfWide(folder, ansi)) {
        return;
    }
    utf8 = Utf8OfWide(folder);
    // Up one folder at a time; a drive root keeps its backslash ("C:\").
    std::wstring nearer = folder;
    for (;;) {
        while (!nearer.empty() && nearer.back() == L'\\' && !(nearer.size() == 3 && nearer[1] == L':')) {
            nearer.pop_back();
        }
        const std::size_t slash = nearer.find_last_of(L'\\');
        if (slash == std::wstring::npos || nearer.size() <= 3) {
            ansi.clear();
            return;
        }
        nearer.resize(slash == 2 && nearer[1] == L':' ? 3 : slash);
        if (AnsiOfWide(nearer, ansi)) {
            return;
        }
    }
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

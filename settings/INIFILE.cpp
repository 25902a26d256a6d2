// Reading and writing GLIM.INI. The file is the program's own text format (not
// the system's profile functions): read once at start-up, rewritten whole from
// the model at the end, keys always in the same order.
#include "settings/GLIMSET.h"

#include "settings/READLINE.h"

#include <cstdio>
#include <string>

namespace {

void WriteSection(CLSFileWriteString& file, const char* lpszName)
{
    file.WriteChar('[');
    file.Write(lpszName);
    file.WriteLine("]");
}

void WriteKeyValue(CLSFileWriteString& file, const char* lpszKey, int iValue)
{
    file.Write(lpszKey);
    file.WriteChar('=');
    file.WriteLine(iValue);
}

void WriteKeyValue(CLSFileWriteString& file, const char* lpszKey, bool bOn)
{
    WriteKeyValue(file, lpszKey, bOn ? 1 : 0);
}

void WriteKeyValue(CLSFileWriteString& file, const char* lpszKey, const char* lpszText)
{
    file.Write(lpszKey);
    file.WriteChar('=');
    file.WriteLine(lpszText);
}

// The Shift-JIS key as older readers know it, and for a folder Shift-JIS
// cannot hold the same key with "Utf8" after it, which they skip.
void WriteFolder(CLSFileWriteString& file, const char* lpszKey, const std::wstring& folder)
{
    std::string ansi;
    std::string utf8;
    StoredFolderForms(folder, ansi, utf8);
    WriteKeyValue(file, lpszKey, ansi.c_str());
    if (!utf8.empty()) {
        file.Write(lpszKey);
        file.Write("Utf8=");
        file.WriteLine(utf8.c_str());
    }
}

// Red, green, blue in that order, as people write colours (a COLORREF keeps
// red in its low byte); always 8 bytes, which is how ToInt knows a colour.
void WriteKeyColor(CLSFileWriteString& file, const char* lpszKey, COLORREF cr)
{
    char achColor[16];
    std::snprintf(achColor, sizeof(achColor), "0x%02X%02X%02X", static_cast<unsigned>(GetRValue(cr)),
                  static_cast<unsigned>(GetGValue(cr)), static_cast<unsigned>(GetBValue(cr)));
    WriteKeyValue(file, lpszKey, static_cast<const char*>(achColor));
}

void WriteFontRecord(CLSFileWriteString& file, const CLSGlimFont& font)
{
    WriteKeyValue(file, "FaceName", font.GetFaceName().GetString());
    WriteKeyValue(file, "Height", font.GetHeight());
    WriteKeyValue(file, "Bold", font.HasStyle(CLSGlimFont::kBold));
    WriteKeyValue(file, "Italic", font.HasStyle(CLSGlimFont::kItalic));
    WriteKeyValue(file, "Underline", font.HasStyle(CLSGlimFont::kUnderline));
    WriteKeyValue(file, "StrikeOut", font.HasStyle(CLSGlimFont::kStrikeOut));
    WriteKeyValue(file, "CharSet", font.GetCharSet());
    WriteKeyValue(file, "LineHeight", font.GetLineHeight());
    WriteKeyColor(file, "TextColor", font.GetTextColor());
    WriteKeyColor(file, "BackColor", font.GetBackColor());
    WriteKeyColor(file, "SelectedTextColor", font.GetSelectedTextColor());
    WriteKeyColor(file, "SelectedBackColor", font.GetSelectedBackColor());
    WriteKeyValue(file, "UseSystemColor", font.GetUseSystemColor());
}

}  // namespace

CLSGlimSettingParseLine* CLSGlimSettings::SectionFor(const CLSTString& strName)
{
    // [Window] and [General] share one key set, so either header takes either
    // section's keys.
    if (strName == "Window" || strName == "General") {
        return this;
    }
    if (strName == "Text") {
        return &m_clsText;
    }
    if (strName == "Binary") {
        return &m_clsBinary;
    }
    if (strName == "Image") {
        return &m_clsImage;
    }
    if (strName == "Media") {
        return &m_clsMedia;
    }
    return nullptr;
}

bool CLSGlimSettings::Load(const wchar_t* lpszPath)
{
    CLSFileReadLine file;
    if (!file.Open(lpszPath)) {
        return false;
    }
    m_bStartFolderUtf8 = false;
    m_bLastFolderUtf8 = false;
    // A read that fails part-way leaves the settings as far as they were read:
    // the program starts with them rather than not at all. The line being read
    // when the failure came is not used, since it may be cut short.
    try {
        CLSGlimSettingParseLine* pSection = nullptr;
        CLSTString strLine;
        while (file.ReadLine(strLine)) {
            if (strLine.IsEmpty()) {
                continue;
            }
            const int iClose = strLine.CharAt(0) == '[' ? strLine.Find(']') : -1;
            if (iClose >= 0) {
                pSection = SectionFor(strLine.Mid(1, iClose - 1));
                continue;
            }
            const int iEquals = pSection != nullptr ? strLine.Find('=') : -1;
            if (iEquals >= 0) {
                pSection->ParseLine(strLine.Mid(0, iEquals), strLine.Mid(iEquals + 1));
            }
        }
    } catch (const CLSError&) {
        return false;
    }
    return true;
}

bool CLSGlimSettings::Save(const wchar_t* lpszPath) const
{
    CLSFileWriteString file;
    if (!file.Open(lpszPath, false)) {
        return false;
    }
    // Saving runs as the program ends; a failed write must not take the
    // shutdown with it. What was written stays, and nobody is told.
    try {
        WriteSection(file, "Window");
        WriteKeyValue(file, "Maximized", GetFlag(kMaximized));
        WriteKeyValue(file, "Left", m_iLeft);
        WriteKeyValue(file, "Top", m_iTop);
        WriteKeyValue(file, "Width", m_iWidth);
        WriteKeyValue(file, "Height", m_iHeight);
        WriteKeyValue(file, "FolderTreeWidth", m_iFolderTreeWidth);
        WriteKeyValue(file, "FileListHeight", m_iFileListHeight);
        WriteKeyValue(file, "FileListStyle", m_iFileListStyle);
        WriteKeyValue(file, "ShowToolBar", GetFlag(kShowToolBar));
        WriteKeyValue(file, "ShowStatusBar", GetFlag(kShowStatusBar));
        WriteKeyValue(file, "ShowFolderTree", GetFlag(kShowFolderTree));
        file.WriteLine();

        WriteSection(file, "General");
        WriteFolder(file, "StartFolder", m_wsStartFolder);
        WriteFolder(file, "LastFolder", m_wsLastFolder);
        WriteKeyValue(file, "ShowLastFolder", GetFlag(kShowLastFolder));
        WriteKeyValue(file, "ShowFolderInFileList", GetFlag(kShowFolderInFileList));
        WriteKeyValue(file, "MaxMemFileSize", m_iMaxMemFileSize);
        WriteKeyValue(file, "MonitorFolder", GetFlag(kMonitorFolder));
        WriteKeyValue(file, "FollowFile", GetFlag(kFollowFile));
        file.WriteLine();

        WriteSection(file, "Text");
        WriteFontRecord(file, m_clsText);
        WriteKeyValue(file, "TabStop", m_clsText.GetTabStop());
        file.WriteLine();

        WriteSection(file, "Binary");
        WriteFontRecord(file, m_clsBinary);
        file.WriteLine();

        WriteSection(file, "Image");
        WriteKeyColor(file, "BackColor", m_clsImage.GetBackColor());
        WriteKeyValue(file, "Zoom", m_clsImage.GetZoom());
        WriteKeyValue(file, "SPIFolder", m_clsImage.GetSPIFolder().GetString());
        WriteKeyValue(file, "UseSPI", m_clsImage.GetUseSPI());
        file.WriteLine();

        WriteSection(file, "Media");
        WriteKeyColor(file, "BackColor", m_clsMedia.GetBackColor());
        WriteKeyValue(file, "Zoom", m_clsMedia.GetZoom());
        WriteKeyValue(file, "AutoPlay", m_clsMedia.GetAutoPlay());
    } catch (const CLSError&) {
        return false;
    }
    return true;
}

// CLSGlimSettings: every persistent setting of the program, held by the main
// window for the whole run. Built with the defaults, filled from GLIM.INI by
// Load before the main window exists, and written back whole by Save at the
// orderly end. It takes the keys of the [Window] and [General] sections itself
// and hands the other sections to its records.
#pragma once

#include <windows.h>

#include "settings/GLIMFONT.h"
#include "settings/GLIMVIEW.h"
#include "settings/PARSELINE.h"
#include "settings/TSTRING.h"

#include <string>

// The two forms a folder is stored in: ansi for the Shift-JIS key (the folder
// itself, or when Shift-JIS cannot hold it the nearest folder above it that it
// can, or nothing) and utf8 for the extra key (empty when the Shift-JIS key
// holds the folder exactly, and the extra key is not written).
void StoredFolderForms(const std::wstring& folder, std::string& ansi, std::string& utf8);

class CLSGlimSettings : public CLSGlimSettingParseLine {
public:
    // Flag bits.
    static constexpr DWORD kMaximized = 1;
    static constexpr DWORD kShowToolBar = 2;
    static constexpr DWORD kShowStatusBar = 4;
    static constexpr DWORD kShowFolderTree = 8;
    static constexpr DWORD kShowLastFolder = 16;
    static constexpr DWORD kShowFolderInFileList = 32;
    static constexpr DWORD kMonitorFolder = 64;
    static constexpr DWORD kFollowFile = 128;  // the preview follows a file that grows
    static constexpr DWORD kDefaultFlags =
        kShowToolBar | kShowStatusBar | kShowFolderTree | kShowLastFolder | kMonitorFolder;

    static constexpr int kColumnCount = 4;  // name, size, type, modified

    // Every default; the system colours are read now.
    CLSGlimSettings();

    // Keys of [Window] and [General], accepted under either header.
    bool ParseLine(const CLSTString& strKey, const CLSTString& strValue) override;

    // Fills the settings from the file; keys it does not hold keep their
    // values. True when the file was read to its end; a file that cannot be
    // opened changes nothing, and one whose reading fails keeps the lines read
    // before the failure.
    bool Load(const wchar_t* lpszPath);
    // Rewrites the file whole. False when it cannot be opened for writing
    // (nothing is written) or a write fails (what was written stays).
    bool Save(const wchar_t* lpszPath) const;

    // Window placement, in pixels; CW_USEDEFAULT lets the system choose.
    int GetLeft() const { return m_iLeft; }
    void SetLeft(int iLeft) { m_iLeft = iLeft; }
    int GetTop() const { return m_iTop; }
    void SetTop(int iTop) { m_iTop = iTop; }
    int GetWidth() const { return m_iWidth; }
    void SetWidth(int iWidth) { m_iWidth = iWidth; }
    int GetHeight() const { return m_iHeight; }
    void SetHeight(int iHeight) { m_iHeight = iHeight; }

    DWORD GetFlags() const { return m_dwFlags; }
    bool GetFlag(DWORD dwBit) const { return (m_dwFlags & dwBit) != 0; }
    void SetFlag(DWORD dwBit, bool bOn) { m_dwFlags = bOn ? m_dwFlags | dwBit : m_dwFlags & ~dwBit; }

    const CLSGlimTextSettings& GetText() const { return m_clsText; }
    void SetText(const CLSGlimTextSettings& text) { m_clsText = text; }
    const CLSGlimFont& GetBinary() const { return m_clsBinary; }
    void SetBinary(const CLSGlimFont& binary) { m_clsBinary = binary; }
    const CLSGlimImageSettings& GetImage() const { return m_clsImage; }
    void SetImage(const CLSGlimImageSettings& image) { m_clsImage = image; }
    const CLSGlimMediaSettings& GetMedia() const { return m_clsMedia; }
    void SetMedia(const CLSGlimMediaSettings& media) { m_clsMedia = media; }

    // Folders as the shell names them. GLIM.INI keeps each in Shift-JIS as
    // before; one that Shift-JIS cannot hold is kept in an extra UTF-8 key
    // (StoredFolderForms), which wins over the Shift-JIS key when read.
    const std::wstring& GetStartFolder() const { return m_wsStartFolder; }
    void SetStartFolder(const std::wstring& folder) { m_wsStartFolder = folder; }
    const std::wstring& GetLastFolder() const { return m_wsLastFolder; }
    void SetLastFolder(const std::wstring& folder) { m_wsLastFolder = folder; }

    // Largest file, in bytes, read wholly into memory.
    int GetMaxMemFileSize() const { return m_iMaxMemFileSize; }
    void SetMaxMemFileSize(int iBytes) { m_iMaxMemFileSize = iBytes; }
    int GetFolderTreeWidth() const { return m_iFolderTreeWidth; }
    void SetFolderTreeWidth(int iWidth) { m_iFolderTreeWidth = iWidth; }
    int GetFileListHeight() const { return m_iFileListHeight; }
    void SetFileListHeight(int iHeight) { m_iFileListHeight = iHeight; }
    // 0 large icons, 1 small icons, 2 list, 3 details.
    int GetFileListStyle() const { return m_iFileListStyle; }
    void SetFileListStyle(int iStyle) { m_iFileListStyle = iStyle; }

    // Kept for the run only: every run starts with the defaults.
    int GetColumnWidth(int iColumn) const;
    void SetColumnWidth(int iColumn, int iWidth);

private:
    CLSGlimSettingParseLine* SectionFor(const CLSTString& strName);

    int m_iLeft;
    int m_iTop;
    int m_iWidth;
    int m_iHeight;
    DWORD m_dwFlags;
    CLSGlimTextSettings m_clsText;
    CLSGlimFont m_clsBinary;
    CLSGlimImageSettings m_clsImage;
    CLSGlimMediaSettings m_clsMedia;
    std::wstring m_wsStartFolder;
    std::wstring m_wsLastFolder;
    // Set while a file is read: the folder came from its UTF-8 key, which the
    // Shift-JIS key must not overwrite.
    bool m_bStartFolderUtf8 = false;
    bool m_bLastFolderUtf8 = false;
    int m_iMaxMemFileSize;
    int m_iFolderTreeWidth;
    int m_iFileListHeight;
    int m_iFileListStyle;
    int m_aiColumnWidths[kColumnCount];
};

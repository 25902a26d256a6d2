// CLSWndMain: the application object and the object of the main window. It
// owns the panes, the splitters and the settings for the whole run.
#pragma once

#include "app/MAINLAY.h"
#include "app/SEPARATR.h"
#include "app/STATBAR.h"
#include "app/TOOLBAR.h"
#include "window/WNDBASE.h"
#include "navigation/FILELIST.h"
#include "navigation/FOLDERTR.h"
#include "navigation/VOLUMES.h"
#include "settings/GLIMSET.h"
#include "settings/SETDLG.h"
#include "view/FINDBOX.h"
#include "view/WNDVIEW.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

// Paths of GLIM.INI and GLIM.CHM beside the executable (bare names until
// Register resolves them).
extern std::wstring g_wsSettingsPath;
extern std::wstring g_wsHelpPath;

// WMU_CARET_POS comes with the content view, the navigation messages with
// the folder tree and the file list, WMU_APPLY_SETTINGS with the settings
// dialog.

// Child window ids of the main window, in creation (and tab) order.
constexpr int kIdToolBar = CLSToolBar::kControlId;
constexpr int kIdFolderTree = 1025;
constexpr int kIdVerticalBar = 1026;
constexpr int kIdFileList = 1027;
constexpr int kIdHorizontalBar = 1028;
constexpr int kIdPathEdit = 1029;
constexpr int kIdPathButton = 1;
constexpr int kIdStatusBar = CLSStatusBar::kControlId;

class CLSWndMain : public CLSWndBase {
public:
    CLSWndMain();
    ~CLSWndMain() override;

    bool Register(HINSTANCE hInstance);
    bool Create(HINSTANCE hInstance, int nCmdShow);
    // The first of the arguments (the command line without the program name),
    // or else the stored folder, goes to the path box and is shown.
    void ApplyCommandLine(const wchar_t* lpszArguments);
    int Run();

    LRESULT WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    HWND GetMainWindow() const noexcept { return m_hWnd; }
    CLSGlimSettings& GetSettings() noexcept { return m_settings; }
    CLSWndView& GetView() noexcept { return m_clsView; }
    CLSWndFolderTree& GetFolderTree() noexcept { return m_clsFolderTree; }
    CLSWndFileList& GetFileList() noexcept { return m_clsFileList; }
    CLSWndSeparator& GetVerticalBar() noexcept { return m_clsVertical; }
    CLSWndSeparator& GetHorizontalBar() noexcept { return m_clsHorizontal; }
    CLSStatusBar& GetStatusBar() noexcept { return m_clsStatusBar; }
    const CLSVolumeNotices& GetVolumes() const noexcept { return m_clsVolumes; }
    // The caret last reported by the content view (0-based), for the status bar.
    int GetCaretLine() const noexcept { return m_iCaretLine; }
    int GetCaretColumn() const noexcept { return m_iCaretColumn; }

private:
    static constexpr int kMinTrackSize = 250;

    // Children and layout (WNDMSG.cpp).
    LRESULT OnCreate();
    void CreatePanes();
    void CreatePathBox();
    void OnSize(WPARAM wParam, LPARAM lParam);
    void Layout(int cx, int cy);
    int BarHeight(int id) const;
    int PathBoxTextHeight() const;
    void ToggleBar(int id, bool on);
    void ApplyListStyle(int style);
    void ApplySettings();
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnHelp(const HELPINFO* info);
    void OnDropFiles(HDROP hDrop);
    void OnDestroy();
    void CaptureWindowPlacement();
    PaneRect StartPlacement() const;
    void OnFolderSelected(LPCITEMIDLIST pidl);
    void CapturePanes();

    // Commands, menus, notifications, navigation (WNDCMD.cpp).
    bool OnCommand(int id);
    void OnInitMenu(HMENU hMenu);
    bool CanCopy() const;
    void UpdateCopyButton();
    bool OnNotify(const NMHDR* hdr);
    void OnCopy();
    void OnSelectAll();
    void OnRefresh();
    void OnEncoding(int id);
    void OnViewForm(int id);
    void OnZoom(int id);
    // WNDSTEP.cpp: zoom by steps, the neighbouring file, the encoding menu
    // from the status bar.
    void OnZoomStep(int id);
    void OnNeighbourFile(bool next);
    void OnStatusBarClick(const NMMOUSE* click);
    void OnListStyle(int id);
    void SetRadioGroup(int first, int last, int chosen);
    void CheckMenuRadio(HMENU hMenu, int first, int last, int chosen);
    void InitZoomItems(HMENU hMenu);
    void Navigate();
    // The path box's text, as typed (wide: the box is a Unicode edit).
    std::wstring PathBoxContents() const;
    // The item the desktop folder makes of a path; null when it names none.
    CLSItemIdList ParsePath(IShellFolder* desktop, std::wstring path) const;
    bool OpenBeyondTheShell(IShellFolder* desktop, const std::wstring& path);
    void SelectNavigatedItem(IShellFolder* desktop, LPCITEMIDLIST pidl);
    void ShowItem(LPCITEMIDLIST pidl);
    // The path box, the status bar's type and size, and the view for a file.
    void ShowFile(const std::wstring& path, const wchar_t* lpszTypeName);
    void OnCaretPos(int line, int column);
    void ShowCaretPart();
    bool ShowPictureStatus();
    void ShowEncoding();
    // Where a running search shows how far it has come (empty: it is over).
    void OnFindProgress(const char* text);
    void SetFollow(bool on);
    void OnFollowState(FollowState state);
    // The view read its file again (WNDCMD.cpp).
    void OnFileReread();
    // A volume Glim holds is about to go (WNDVOL.cpp): true when it was one.
    bool OnVolumeLeaving(WPARAM event, const DEV_BROADCAST_HDR* hdr);
    void HoldShownFileVolume();

    CLSVolumeNotices m_clsVolumes;  // before the panes, whose watchers borrow it
    CLSWndFolderTree m_clsFolderTree;
    CLSWndFileList m_clsFileList;
    CLSWndSeparator m_clsVertical;
    CLSWndSeparator m_clsHorizontal;
    CLSWndView m_clsView;
    CLSToolBar m_clsToolBar;
    CLSStatusBar m_clsStatusBar;
    CLSGlimSettings m_settings;
    CLSFindBox m_clsFindBox{m_clsView};
    int m_iCaretLine = 0;
    int m_iCaretColumn = 0;
    DWORD_PTR m_dwHelpCookie = 0;
    bool m_bSettingsLoaded = false;
    bool m_bFolderUnreadable = false;  // the status bar says the shown folder could not be opened
    bool m_bCopyEnabled = false;  // as the toolbar's Copy button was last set
};

// CLSWndMain: the application object and the object of the main window. It
// owns the panes and the settings for the whole run.
#pragma once

#include "app/STATBAR.h"
#include "app/TOOLBAR.h"
#include "app/WNDBASE.h"
#include "settings/GLIMSET.h"
#include "settings/SETDLG.h"
#include "view/WNDVIEW.h"

#include <windows.h>

#include <shellapi.h>

// Paths of GLIM.INI and GLIM.CHM beside the executable (bare names until
// Register resolves them).
extern char g_szSettingsPath[MAX_PATH];
extern char g_szHelpPath[MAX_PATH];

// WMU_WIDEST_LINE and WMU_CARET_POS come with the content view,
// WMU_APPLY_SETTINGS with the settings dialog.
constexpr UINT WMU_FOLDER_SELECTED = WM_APP + 11;
constexpr UINT WMU_FILE_SELECTED = WM_APP + 12;
constexpr UINT WMU_OPEN_FOLDER = WM_APP + 13;

// Child window ids of the main window.
constexpr int kIdToolBar = 1024;
constexpr int kIdPathEdit = 1029;
constexpr int kIdPathButton = 1;

class CLSWndMain : public CLSWndBase {
public:
    CLSWndMain();
    ~CLSWndMain() override;

    bool Register(HINSTANCE hInstance);
    bool Create(HINSTANCE hInstance, int nCmdShow);
    void ApplyCommandLine(const char* lpszCmdLine);
    int Run();

    LRESULT WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    HWND GetMainWindow() const noexcept { return m_hWndMain; }
    CLSGlimSettings& GetSettings() noexcept { return m_settings; }
    CLSWndView& GetView() noexcept { return m_clsView; }
    CLSStatusBar& GetStatusBar() noexcept { return m_clsStatusBar; }
    // The caret last reported by the content view (0-based), for the status bar.
    int GetCaretLine() const noexcept { return m_iCaretLine; }
    int GetCaretColumn() const noexcept { return m_iCaretColumn; }

private:
    LRESULT OnCreate();
    void OnSize(int cx, int cy);
    void OnDestroy();
    bool OnCommand(int id);
    void OnInitMenu(HMENU hMenu);
    void OnCopy();
    void OnSelectAll();
    void OnEncoding(int id);
    void OnViewForm(int id);
    void OnZoom(int id);
    void SetRadioGroup(int first, int last, int chosen);
    void CheckMenuRadio(HMENU hMenu, int first, int last, int chosen);
    void InitZoomItems(HMENU hMenu);
    void OpenPathBoxFile();
    void OnCaretPos(int line, int column);
    void ShowEncoding();
    void ApplySettings();
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnHelp(const HELPINFO* info);
    void OnDropFiles(HDROP hDrop);
    void CreatePathBox();
    void CaptureWindowPlacement();

    HWND m_hWndMain = nullptr;
    CLSGlimSettings m_settings;
    CLSWndView m_clsView;
    CLSToolBar m_clsToolBar;
    CLSStatusBar m_clsStatusBar;
    int m_iCaretLine = 0;
    int m_iCaretColumn = 0;
    DWORD_PTR m_dwHelpCookie = 0;
    bool m_bSettingsLoaded = false;
};

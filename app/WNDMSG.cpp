// The main window's messages: building and laying out the children, the bars
// and panes shown or hidden, drops, help, and the state captured when the
// window is destroyed.
#include "app/WNDMAIN.h"

#include "window/HTMLHELP.h"
#include "base/OWNERS.h"
#include "resources/RESOURCE.h"

#include <commctrl.h>
#include <htmlhelp.h>

namespace {

HMENU ControlId(int id)
{
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

}  // namespace

LRESULT CLSWndMain::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:
        return OnCreate();
    case WM_SIZE:
        OnSize(wParam, lParam);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam))) {
            return 0;
        }
        break;
    case WM_INITMENU:
        OnInitMenu(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_NOTIFY:
        if (OnNotify(reinterpret_cast<const NMHDR*>(lParam))) {
            return 0;
        }
        break;
    case WM_HELP:
        OnHelp(reinterpret_cast<const HELPINFO*>(lParam));
        return 0;
    case WM_DEVICECHANGE:
        SendDlgItemMessageA(hWnd, kIdFolderTree, uMsg, wParam, lParam);
        if (OnVolumeLeaving(wParam, reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam))) {
            return TRUE;  // nothing of ours stands in the way any more
        }
        break;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WMU_CARET_POS:
        OnCaretPos(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    case WMU_FOLDER_SELECTED:
        OnFolderSelected(reinterpret_cast<LPCITEMIDLIST>(lParam));
        return 0;
    case WMU_FILE_SELECTED:
        ShowItem(reinterpret_cast<LPCITEMIDLIST>(lParam));
        return 0;
    case WMU_OPEN_FOLDER:
        m_clsFolderTree.ShowFolder(reinterpret_cast<LPCITEMIDLIST>(lParam));
        return 0;
    case WMU_APPLY_SETTINGS:
        ApplySettings();
        return 0;
    case WMU_ENCODING_FOUND:
        ShowEncoding();
        return 0;
    case WMU_FILE_REREAD:
        OnFileReread();
        return 0;
    case WMU_FOLDER_CHANGED:
        m_clsView.RefreshIfChanged();  // a shown file that went says so at once
        return 0;
    case WMU_FIND_PROGRESS:
        OnFindProgress(reinterpret_cast<const char*>(lParam));
        return 0;
    case WMU_FOLLOW_STATE:
        OnFollowState(static_cast<FollowState>(wParam));
        return 0;
    default:
        break;
    }
    return DefaultProc(hWnd, uMsg, wParam, lParam);
}

// The children in creation order, which is also the tab order: the toolbar
// (1024) first, the status bar (1031) last.
LRESULT CLSWndMain::OnCreate()
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    if (!InitCommonControlsEx(&icc)) {
        return -1;
    }
    m_clsVolumes.SetWindow(m_hWnd);
    m_clsFolderTree.SetVolumeNotices(&m_clsVolumes);
    m_clsFileList.SetVolumeNotices(&m_clsVolumes);
    CreatePanes();
    ToggleBar(IDM_TOOLBAR, m_settings.GetFlag(CLSGlimSettings::kShowToolBar));
    ToggleBar(IDM_STATUSBAR, m_settings.GetFlag(CLSGlimSettings::kShowStatusBar));
    ToggleBar(IDM_FOLDERTREE, m_settings.GetFlag(CLSGlimSettings::kShowFolderTree));
    ApplyListStyle(m_settings.GetFileListStyle());
    SetFocus(GetDlgItem(m_hWnd, kIdFolderTree));
    ApplySettings();
    return 0;
}

void CLSWndMain::CreatePanes()
{
    m_clsToolBar.Create(m_hWnd, reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(m_hWnd, GWLP_HINSTANCE)));
    m_clsFolderTree.Create(m_hWnd, kIdFolderTree);
    m_clsVertical.Create(m_hWnd, kIdVerticalBar);
    m_clsVertical.SetOrientation(CLSWndSeparator::kVertical);
    m_clsVertical.SetPos(m_settings.GetFolderTreeWidth() + m_clsVertical.GetThickness() / 2);
    int widths[CLSWndFileList::kColumnCount];
    for (int i = 0; i < CLSWndFileList::kColumnCount; ++i) {
        widths[i] = m_settings.GetColumnWidth(i);
    }
    m_clsFileList.SetColumnWidths(widths);
    m_clsFileList.SetShowFolders(m_settings.GetFlag(CLSGlimSettings::kShowFolderInFileList));
    m_clsFileList.Create(m_hWnd, kIdFileList);
    m_clsHorizontal.Create(m_hWnd, kIdHorizontalBar);
    m_clsHorizontal.SetOrientation(CLSWndSeparator::kHorizontal);
    m_clsHorizontal.SetPos(m_settings.GetFileListHeight() + m_clsHorizontal.GetThickness() / 2);
    CreatePathBox();
    m_clsView.Create(m_hWnd, CLSWndView::kControlId);
    m_clsStatusBar.Create(m_hWnd);
}

void CLSWndMain::CreatePathBox()
{
    auto hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(m_hWnd, GWLP_HINSTANCE));
    auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    // A Unicode edit: it holds any name the shell gives, whatever the code page.
    HWND hwndEdit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                    0, 0, 0, 0, m_hWnd, ControlId(kIdPathEdit), hInstance, nullptr);
    SendMessageA(hwndEdit, WM_SETFONT, font, TRUE);
    HWND hwndButton = CreateWindowExA(0, "BUTTON", "表示(&I)", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                      0, 0, 0, 0, m_hWnd, ControlId(kIdPathButton), hInstance, nullptr);
    SendMessageA(hwndButton, WM_SETFONT, font, TRUE);
}

// The bars size themselves from the same message first.
void CLSWndMain::OnSize(WPARAM wParam, LPARAM lParam)
{
    SendDlgItemMessageA(m_hWnd, kIdToolBar, WM_SIZE, wParam, lParam);
    SendDlgItemMessageA(m_hWnd, kIdStatusBar, WM_SIZE, wParam, lParam);
    Layout(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

int CLSWndMain::BarHeight(int id) const
{
    HWND hWndBar = GetDlgItem(m_hWnd, id);
    if (hWndBar == nullptr || !IsWindowVisible(hWndBar)) {
        return 0;
    }
    RECT rc{};
    GetWindowRect(hWndBar, &rc);
    return rc.bottom - rc.top;
}

// The height of a line in the DC the path box gives, with that DC's own font:
// the box is sized for the system font, whichever font the edit draws with.
int CLSWndMain::PathBoxTextHeight() const
{
    CLSWindowDC dc(GetDlgItem(m_hWnd, kIdPathEdit));
    TEXTMETRICA tm{};
    if (!dc || !GetTextMetricsA(dc.Get(), &tm)) {
        return 0;
    }
    return tm.tmHeight;
}

void CLSWndMain::Layout(int cx, int cy)
{
    if (IsIconic(m_hWnd)) {
        return;
    }
    MainLayoutInput in;
    in.width = cx;
    in.height = cy;
    in.toolBar = BarHeight(kIdToolBar);
    in.statusBar = BarHeight(kIdStatusBar);
    m_clsStatusBar.SetParts(cx, in.statusBar);
    in.folderTree = m_settings.GetFlag(CLSGlimSettings::kShowFolderTree);
    in.thickness = m_clsVertical.GetThickness();
    in.textHeight = PathBoxTextHeight();
    in.edgeX = GetSystemMetrics(SM_CXEDGE);
    in.edgeY = GetSystemMetrics(SM_CYEDGE);
    MainLayout lay;
    MainSplitterLimits(in, lay);
    m_clsVertical.SetRange(lay.verticalMin, lay.verticalMax);
    m_clsVertical.SetSpan(lay.verticalTop, lay.verticalBottom);
    m_clsHorizontal.SetRange(lay.horizontalMin, lay.horizontalMax);
    MainPanes(in, m_clsVertical.GetPos(), m_clsHorizontal.GetPos(), lay);
    m_clsHorizontal.SetSpan(lay.horizontalLeft, lay.horizontalRight);
    if (in.folderTree) {
        m_clsFolderTree.Move(lay.tree.x, lay.tree.y, lay.tree.cx, lay.tree.cy);
    }
    m_clsFileList.Move(lay.list.x, lay.list.y, lay.list.cx, lay.list.cy);
    m_clsView.Move(lay.view.x, lay.view.y, lay.view.cx, lay.view.cy);
    ShowPictureStatus();  // a fitted picture's zoom follows the pane
    MoveWindow(GetDlgItem(m_hWnd, kIdPathEdit), lay.edit.x, lay.edit.y, lay.edit.cx, lay.edit.cy, FALSE);
    MoveWindow(GetDlgItem(m_hWnd, kIdPathButton), lay.button.x, lay.button.y, lay.button.cx, lay.button.cy, TRUE);
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CLSWndMain::ToggleBar(int id, bool on)
{
    struct Bar {
        int command;
        int control;
        DWORD flag;
    };
    static constexpr Bar kBars[] = {{IDM_TOOLBAR, kIdToolBar, CLSGlimSettings::kShowToolBar},
                                    {IDM_STATUSBAR, kIdStatusBar, CLSGlimSettings::kShowStatusBar},
                                    {IDM_FOLDERTREE, kIdFolderTree, CLSGlimSettings::kShowFolderTree}};
    for (const Bar& bar : kBars) {
        if (bar.command != id) {
            continue;
        }
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_STATE;
        mii.fState = on ? MFS_CHECKED : 0;
        SetMenuItemInfoA(GetMenu(m_hWnd), static_cast<UINT>(id), FALSE, &mii);
        m_settings.SetFlag(bar.flag, on);
        if (id == IDM_FOLDERTREE) {
            m_clsVertical.Show(on);
        }
        HWND hWndControl = GetDlgItem(m_hWnd, bar.control);
        if (hWndControl != nullptr) {
            ShowWindow(hWndControl, on ? SW_SHOW : SW_HIDE);
        }
        Relayout(m_hWnd);
    }
}

// A stored style outside 0..3 leaves the list as it was created.
void CLSWndMain::ApplyListStyle(int style)
{
    if (style >= 0 && style <= IDM_STYLE_DETAILS - IDM_STYLE_LARGE) {
        OnListStyle(IDM_STYLE_LARGE + style);
    }
}

void CLSWndMain::ApplySettings()
{
    m_clsView.ApplySettings(m_settings.GetText(), m_settings.GetBinary(), m_settings.GetImage(),
                            m_settings.GetMedia());
    m_clsView.Doc().SetMemoryLimit(static_cast<DWORD>(m_settings.GetMaxMemFileSize()));
    const bool monitor = m_settings.GetFlag(CLSGlimSettings::kMonitorFolder);
    m_clsFolderTree.SetMonitor(monitor);
    m_clsFileList.SetMonitor(monitor);
    m_clsFileList.SetShowFolders(m_settings.GetFlag(CLSGlimSettings::kShowFolderInFileList));
    SetFollow(m_settings.GetFlag(CLSGlimSettings::kFollowFile));
}

void CLSWndMain::OnGetMinMaxInfo(MINMAXINFO* info)
{
    info->ptMinTrackSize.x = kMinTrackSize;
    info->ptMinTrackSize.y = kMinTrackSize;
}

// The help of an open menu (2000), of the find box (2007), whose F1 reaches
// its owner here, or of the main window (2001).
void CLSWndMain::OnHelp(const HELPINFO* info)
{
    DWORD_PTR context = 2001;
    HWND box = m_clsFindBox.GetWindow();
    if (info != nullptr && info->iContextType == HELPINFO_MENUITEM) {
        context = 2000;
    } else if (info != nullptr && box != nullptr &&
               (info->hItemHandle == box || IsChild(box, static_cast<HWND>(info->hItemHandle)))) {
        context = 2007;
    }
    OpenHelp(m_hWnd, g_wsHelpPath.c_str(), HH_HELP_CONTEXT, context);
}

// Only the first of several dropped items is shown.
void CLSWndMain::OnDropFiles(HDROP hDrop)
{
    const UINT length = DragQueryFileW(hDrop, 0, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    path.resize(DragQueryFileW(hDrop, 0, path.data(), length + 1));
    DragFinish(hDrop);
    SetDlgItemTextW(m_hWnd, kIdPathEdit, path.c_str());
    SendDlgItemMessageA(m_hWnd, kIdPathButton, BM_CLICK, 0, 0);
}

void CLSWndMain::CaptureWindowPlacement()
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(m_hWnd, &wp)) {
        return;
    }
    // The restored rectangle is in work-area coordinates; the stored one is in
    // screen coordinates, as CreateWindowExA takes it.
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const RECT& r = wp.rcNormalPosition;
    m_settings.SetLeft(r.left + work.left);
    m_settings.SetTop(r.top + work.top);
    m_settings.SetWidth(r.right - r.left);
    m_settings.SetHeight(r.bottom - r.top);
    m_settings.SetFlag(CLSGlimSettings::kMaximized, wp.showCmd == SW_SHOWMAXIMIZED);
}

void CLSWndMain::CapturePanes()
{
    m_settings.SetLastFolder(m_clsFolderTree.GetSelectedPath());
    // A bar squeezed out of its range (the window was made too small to hold
    // it) keeps the stored place, which fits again at the next start.
    if (m_clsVertical.IsInRange()) {
        m_settings.SetFolderTreeWidth(m_clsVertical.GetPos() - m_clsVertical.GetThickness() / 2);
    }
    if (m_clsHorizontal.IsInRange()) {
        m_settings.SetFileListHeight(m_clsHorizontal.GetPos() - m_clsHorizontal.GetThickness() / 2);
    }
    const int* widths = m_clsFileList.GetColumnWidths();
    for (int i = 0; i < CLSWndFileList::kColumnCount; ++i) {
        m_settings.SetColumnWidth(i, widths[i]);
    }
}

// The panes end their watcher threads here, before the settings are saved.
void CLSWndMain::OnDestroy()
{
    CaptureWindowPlacement();
    CapturePanes();
    m_clsFolderTree.Destroy();
    m_clsFileList.Destroy();
    m_clsVolumes.Clear();
    m_clsVertical.Destroy();
    m_clsHorizontal.Destroy();
    m_clsView.Destroy();
    PostQuitMessage(0);
}

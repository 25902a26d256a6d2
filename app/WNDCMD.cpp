// The main window's command table, menu states, notification routing, and the
// navigation from the path box to the panes.
#include "app/WNDMAIN.h"

#include "app/ABOUT.h"
#include "app/CMDLINE.h"
#include "window/HTMLHELP.h"
#include "base/OWNERS.h"
#include "base/RESSTR.h"
#include "base/WIDETEXT.h"
#include "image/PICTZOOM.h"
#include "resources/RESOURCE.h"

#include <commctrl.h>
#include <htmlhelp.h>

#include <string>
#include <utility>

namespace {

// The list-view type of each icon-view command, 1222 to 1225.
constexpr DWORD kListStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};

void SetItemState(HMENU hMenu, int id, UINT state)
{
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STATE;
    mii.fState = state;
    SetMenuItemInfoA(hMenu, static_cast<UINT>(id), FALSE, &mii);
}

}  // namespace

bool CLSWndMain::OnCommand(int id)
{
    if (id >= IDM_ENC_AUTO && id <= IDM_ENC_UTF7) {
        OnEncoding(id);
    } else if (id >= IDM_VIEW_AUTO && id <= IDM_VIEW_HEX) {
        OnViewForm(id);
    } else if (id >= IDM_ZOOM_25 && id <= IDM_ZOOM_FIT) {
        OnZoom(id);
    } else if (id >= IDM_ZOOM_IN && id <= IDM_ZOOM_RESET) {
        OnZoomStep(id);
    } else if (id == IDM_NEXT_FILE || id == IDM_PREV_FILE) {
        OnNeighbourFile(id == IDM_NEXT_FILE);
    } else if (id >= IDM_STYLE_LARGE && id <= IDM_STYLE_DETAILS) {
        OnListStyle(id);
    } else if (id >= IDM_SORT_NAME && id <= IDM_SORT_DATE) {
        m_clsFileList.SortBy(id - IDM_SORT_NAME);
    } else {
        switch (id) {
        case IDC_NAVIGATE:
            Navigate();
            break;
        case IDM_EXIT:
            SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
            break;
        case IDM_COPY:
            OnCopy();
            break;
        case IDM_SELECTALL:
            OnSelectAll();
            break;
        case IDM_FIND:
            m_clsFindBox.Show(m_hWnd);
            break;
        case IDM_FIND_NEXT:
        case IDM_FIND_PREV:
            m_clsFindBox.FindAgain(m_hWnd, id == IDM_FIND_NEXT);
            break;
        case IDM_TOOLBAR:
            ToggleBar(id, !m_settings.GetFlag(CLSGlimSettings::kShowToolBar));
            break;
        case IDM_STATUSBAR:
            ToggleBar(id, !m_settings.GetFlag(CLSGlimSettings::kShowStatusBar));
            break;
        case IDM_FOLDERTREE:
            ToggleBar(id, !m_settings.GetFlag(CLSGlimSettings::kShowFolderTree));
            break;
        case IDM_UPFOLDER:
            m_clsFolderTree.GoUp();
            break;
        case IDM_REFRESH:
            OnRefresh();
            break;
        case IDM_FOLLOW:
            SetFollow(!m_settings.GetFlag(CLSGlimSettings::kFollowFile));
            break;
        case IDM_HELP_CONTENTS:
            OpenHelp(m_hWnd, g_wsHelpPath.c_str(), HH_DISPLAY_TOC, 0);
            break;
        case IDM_SETTINGS:
            ShowSettingsDialog(m_hWnd, m_settings, g_wsHelpPath.c_str());
            break;
        case IDM_ABOUT:
            ShowAboutBox(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(m_hWnd, GWLP_HINSTANCE)), m_hWnd);
            break;
        default:
            return false;
        }
    }
    return true;
}

void CLSWndMain::OnCopy()
{
    // The path box and the content view each copy their own selection.
    HWND hWndFocus = GetFocus();
    if (hWndFocus != nullptr) {
        SendMessageA(hWndFocus, WM_COPY, 0, 0);
    }
}

void CLSWndMain::OnSelectAll()
{
    const int focus = GetDlgCtrlID(GetFocus());
    if (focus == kIdPathEdit) {
        SendDlgItemMessageA(m_hWnd, kIdPathEdit, EM_SETSEL, 0, -1);
    } else if (focus == CLSWndView::kControlId) {
        m_clsView.SelectAll();
    }
}

void CLSWndMain::OnRefresh()
{
    const int focus = GetDlgCtrlID(GetFocus());
    if (focus == kIdFolderTree) {
        m_clsFolderTree.Refresh();
    } else if (focus == kIdFileList) {
        m_clsFileList.Refresh();
    } else if (focus == CLSWndView::kControlId) {
        m_clsView.Refresh();
    }
}

void CLSWndMain::OnEncoding(int id)
{
    m_clsView.SetEncoding(id == IDM_ENC_AUTO ? TextEncoding::Auto : static_cast<TextEncoding>(id - IDM_ENC_AUTO + 1));
    SetRadioGroup(IDM_ENC_AUTO, IDM_ENC_UTF7, id);
    ShowEncoding();
}

void CLSWndMain::OnViewForm(int id)
{
    m_clsView.SetViewMode(static_cast<ViewMode>(id - IDM_VIEW_AUTO));
    SetRadioGroup(IDM_VIEW_AUTO, IDM_VIEW_HEX, id);
    ShowEncoding();
}

// The zoom goes to the record of the mode shown, so that pictures and media
// keep zooms of their own, and is saved with the settings.
void CLSWndMain::OnZoom(int id)
{
    CheckMenuRadio(GetMenu(m_hWnd), IDM_ZOOM_25, IDM_ZOOM_FIT, id);
    const std::uint32_t zoom = ZoomOfMenuItem(id - IDM_ZOOM_25);
    switch (m_clsView.GetDisplayMode()) {
    case DocumentKind::Image: {
        CLSGlimImageSettings image = m_settings.GetImage();
        image.SetZoom(static_cast<int>(zoom));
        m_settings.SetImage(image);
        m_clsView.SetImageZoom(zoom);
        ShowCaretPart();
        break;
    }
    case DocumentKind::Media: {
        CLSGlimMediaSettings media = m_settings.GetMedia();
        media.SetZoom(static_cast<int>(zoom));
        m_settings.SetMedia(media);
        m_clsView.SetMediaZoom(zoom);
        break;
    }
    default:
        break;
    }
}

void CLSWndMain::OnListStyle(int id)
{
    const int style = id - IDM_STYLE_LARGE;
    m_clsFileList.SetViewStyle(kListStyles[style]);
    m_settings.SetFileListStyle(style);
    CheckMenuRadio(GetMenu(m_hWnd), IDM_STYLE_LARGE, IDM_STYLE_DETAILS, id);
}

void CLSWndMain::CheckMenuRadio(HMENU hMenu, int first, int last, int chosen)
{
    for (int id = first; id <= last; ++id) {
        SetItemState(hMenu, id, id == chosen ? MFS_CHECKED : 0);
    }
}

void CLSWndMain::SetRadioGroup(int first, int last, int chosen)
{
    CheckMenuRadio(GetMenu(m_hWnd), first, last, chosen);
    HWND hWndToolBar = GetDlgItem(m_hWnd, kIdToolBar);
    if (hWndToolBar == nullptr) {
        return;
    }
    for (int id = first; id <= last; ++id) {
        const WORD state = id == chosen ? TBSTATE_ENABLED | TBSTATE_PRESSED : TBSTATE_ENABLED;
        SendMessageA(hWndToolBar, TB_SETSTATE, static_cast<WPARAM>(id), MAKELPARAM(state, 0));
    }
}

// Copy, Select all and Refresh follow the control that has the focus; the
// accelerators of grayed items do nothing. The preview refreshes what it
// shows, a file or the line saying why it could not be opened; the path box
// has nothing to refresh.
void CLSWndMain::OnInitMenu(HMENU hMenu)
{
    const UINT copy = CanCopy() ? 0 : MFS_GRAYED;
    UINT selectAll = MFS_GRAYED;
    UINT refresh = MFS_GRAYED;
    const int focus = GetDlgCtrlID(GetFocus());
    if (focus == kIdFolderTree || focus == kIdFileList) {
        refresh = 0;
    } else if (focus == kIdPathEdit) {
        selectAll = 0;
    } else if (focus == CLSWndView::kControlId) {
        selectAll = 0;
        const bool shown = m_clsView.GetDisplayMode() != DocumentKind::None || !m_clsView.GetOpenFailure().empty();
        refresh = shown ? 0 : MFS_GRAYED;
    }
    SetItemState(hMenu, IDM_COPY, copy);
    SetItemState(hMenu, IDM_SELECTALL, selectAll);
    SetItemState(hMenu, IDM_REFRESH, refresh);
    InitZoomItems(hMenu);
}

// Whether the control with the focus has a selection to copy: the path box or
// the preview.
bool CLSWndMain::CanCopy() const
{
    const int focus = GetDlgCtrlID(GetFocus());
    if (focus == kIdPathEdit) {
        DWORD start = 0;
        DWORD end = 0;
        SendDlgItemMessageA(m_hWnd, kIdPathEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                            reinterpret_cast<LPARAM>(&end));
        return start != end;
    }
    return focus == CLSWndView::kControlId && m_clsView.HasSelection();
}

// The Copy button, like the menu item, follows focus and selection; both
// change without telling the main window, so the message loop sets the button
// before it takes each message (a few calls; the button is only touched when
// its state changes).
void CLSWndMain::UpdateCopyButton()
{
    const bool on = CanCopy();
    if (on != m_bCopyEnabled) {
        m_bCopyEnabled = on;
        m_clsToolBar.EnableCopy(on);
    }
}

// The zoom items show the zoom of the mode shown; text and hex have none.
void CLSWndMain::InitZoomItems(HMENU hMenu)
{
    int zoom = 0;
    switch (m_clsView.GetDisplayMode()) {
    case DocumentKind::Image:
        zoom = m_settings.GetImage().GetZoom();
        break;
    case DocumentKind::Media:
        zoom = m_settings.GetMedia().GetZoom();
        break;
    default:
        for (int id = IDM_ZOOM_25; id <= IDM_ZOOM_FIT; ++id) {
            SetItemState(hMenu, id, MFS_GRAYED);  // also clears the check
        }
        return;
    }
    const int checked = IDM_ZOOM_25 + MenuItemOfZoom(static_cast<std::uint32_t>(zoom));
    CheckMenuRadio(hMenu, IDM_ZOOM_25, IDM_ZOOM_FIT, checked);
}

// The toolbar's drop-downs and tooltips are the toolbar's own. Backspace in
// the file list goes up; the list's other notifications end here too.
bool CLSWndMain::OnNotify(const NMHDR* hdr)
{
    if (hdr == nullptr) {
        return false;
    }
    if (m_clsToolBar.OnNotify(m_hWnd, hdr)) {
        return true;
    }
    if (hdr->idFrom == static_cast<UINT_PTR>(kIdStatusBar) && hdr->code == NM_CLICK) {
        OnStatusBarClick(reinterpret_cast<const NMMOUSE*>(hdr));
        return true;
    }
    if (hdr->idFrom != static_cast<UINT_PTR>(kIdFileList)) {
        return false;
    }
    if (hdr->code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN*>(hdr)->wVKey == VK_BACK) {
        m_clsFolderTree.GoUp();
    }
    return true;
}

// The desktop folder parses the typed text; the tree goes to the deepest
// folder on the way, which makes the list show it, and the list selects the
// named item, which opens it. The focus comes back to the path box.
void CLSWndMain::Navigate()
{
    std::wstring path = PathBoxText(PathBoxContents());
    CLSComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Address()))) {
        return;
    }
    CLSItemIdList pidl = ParsePath(desktop.Get(), path);
    if (pidl) {
        m_clsFolderTree.ShowFolder(pidl.Get());
        SelectNavigatedItem(desktop.Get(), pidl.Get());
    } else if (!OpenBeyondTheShell(desktop.Get(), path)) {
        MessageBoxA(m_hWnd, "ファイルが見つかりません。", "Glim!", MB_ICONERROR);
    }
    SetFocus(GetDlgItem(m_hWnd, kIdPathEdit));
}

CLSItemIdList CLSWndMain::ParsePath(IShellFolder* desktop, std::wstring path) const
{
    CLSItemIdList pidl;
    if (path.empty() ||
        FAILED(desktop->ParseDisplayName(m_hWnd, nullptr, path.data(), nullptr, pidl.Address(), nullptr))) {
        return CLSItemIdList();
    }
    return pidl;
}

// The shell names nothing longer than MAX_PATH, but the file functions reach
// such a file in the extended form: the tree goes to the deepest folder the
// shell can name, and the file is shown from its path. A folder that long
// cannot be listed, and the user is told so. False when nothing is there.
bool CLSWndMain::OpenBeyondTheShell(IShellFolder* desktop, const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.size() < MAX_PATH || !GetFileAttributesExW(LongPathForm(path).c_str(), GetFileExInfoStandard, &data)) {
        return false;
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        MessageBoxA(m_hWnd, "パスが長すぎるため、このフォルダは開けません。", "Glim!", MB_ICONERROR);
        return true;
    }
    CLSItemIdList folder;
    for (std::size_t end = path.rfind(L'\\'); !folder && end != std::wstring::npos && end > 0;
         end = path.rfind(L'\\', end - 1)) {
        folder = ParsePath(desktop, path.substr(0, end));
    }
    if (folder) {
        m_clsFolderTree.ShowFolder(folder.Get());
    }
    // The type goes by the name alone, which the shell takes at any depth.
    ShowFile(path, m_clsFileList.TypeName(path, FILE_ATTRIBUTE_NORMAL).c_str());
    return true;
}

// A file typed in the folder already shown may be newer than the list (the
// watcher is off, or has not caught up yet): the list is read again once
// before the file is given up. A folder typed as such needs no second look.
void CLSWndMain::SelectNavigatedItem(IShellFolder* desktop, LPCITEMIDLIST pidl)
{
    if (m_clsFileList.SelectItem(pidl)) {
        return;
    }
    LPCITEMIDLIST shown = m_clsFolderTree.GetSelectedIdList();
    if (shown == nullptr || HRESULT_CODE(desktop->CompareIDs(0, shown, pidl)) == 0) {
        return;
    }
    m_clsFileList.Refresh();
    m_clsFileList.SelectItem(pidl);
}

// The path box, the content view and the status bar's type, size and
// encoding follow the item. An item outside the file system has a type but
// no path and no size.
// A folder that cannot be opened leaves the list empty and says why; the
// next one that opens takes the word back.
void CLSWndMain::OnFolderSelected(LPCITEMIDLIST pidl)
{
    const bool opened = m_clsFileList.ShowFolder(pidl);
    if (!opened) {
        m_clsStatusBar.SetHintText(LoadResourceString(IDS_FOLDER_UNREADABLE).c_str());
    } else if (m_bFolderUnreadable) {
        m_clsStatusBar.SetHintText(nullptr);
    }
    m_bFolderUnreadable = !opened;
}

void CLSWndMain::ShowItem(LPCITEMIDLIST pidl)
{
    if (pidl == nullptr) {
        return;
    }
    // The path and type as the list knows them, without asking the shell again.
    const std::wstring path = m_clsFileList.PathOfItem(pidl);
    ShowFile(path, m_clsFileList.TypeName(path, FILE_ATTRIBUTE_NORMAL).c_str());
}

void CLSWndMain::ShowFile(const std::wstring& path, const wchar_t* lpszTypeName)
{
    SetDlgItemTextW(m_hWnd, kIdPathEdit, path.c_str());
    m_clsStatusBar.SetTypeText(lpszTypeName);
    m_clsStatusBar.SetSizeText(!path.empty() ? FileSizeOfPath(path) : std::nullopt);
    m_clsView.OpenFile(path);
    HoldShownFileVolume();
    ShowEncoding();
    ShowCaretPart();
}

std::wstring CLSWndMain::PathBoxContents() const
{
    return WindowTextWide(GetDlgItem(m_hWnd, kIdPathEdit));
}

void CLSWndMain::OnCaretPos(int line, int column)
{
    m_iCaretLine = line;
    m_iCaretColumn = column;
    ShowCaretPart();
}

void CLSWndMain::ShowCaretPart()
{
    if (!ShowPictureStatus()) {
        m_clsStatusBar.SetCaretText(m_iCaretLine, m_iCaretColumn);
    }
}

// A picture has no caret: its size and zoom take the caret's part. False
// when no picture is shown.
bool CLSWndMain::ShowPictureStatus()
{
    int width = 0;
    int height = 0;
    int percent = 0;
    if (!m_clsView.GetPictureStatus(width, height, percent)) {
        return false;
    }
    m_clsStatusBar.SetCaretPartText(PictureText(width, height, percent).c_str());
    return true;
}

void CLSWndMain::ShowEncoding()
{
    m_clsStatusBar.SetEncodingText(static_cast<std::uint32_t>(m_clsView.GetEffectiveEncoding()));
}

// A running search's progress takes the status bar's first part; the hint
// comes back when it is over.
void CLSWndMain::OnFindProgress(const char* text)
{
    m_clsStatusBar.SetHintText(text);
}

// Following is remembered in GLIM.INI and checked in the menu; the view says
// when it follows and when it pauses.
void CLSWndMain::SetFollow(bool on)
{
    m_settings.SetFlag(CLSGlimSettings::kFollowFile, on);
    CheckMenuItem(GetMenu(m_hWnd), IDM_FOLLOW, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    m_clsView.SetFollow(on);
}

void CLSWndMain::OnFollowState(FollowState state)
{
    const UINT id = state == FollowState::Following ? IDS_FOLLOWING : IDS_FOLLOW_PAUSED;
    m_clsStatusBar.SetLastingText(state == FollowState::Off ? nullptr : LoadResourceString(id).c_str());
}

// The view read its file again: the size part and the file's row follow it;
// a file that is gone has no size.
void CLSWndMain::OnFileReread()
{
    const std::wstring path = m_clsView.Doc().GetPath();
    if (path.empty()) {
        return;
    }
    const bool open = m_clsView.GetOpenFailure().empty();
    m_clsStatusBar.SetSizeText(open ? std::optional(m_clsView.Doc().GetFileSize()) : std::nullopt);
    CLSComPtr<IShellFolder> desktop;
    if (open && SUCCEEDED(SHGetDesktopFolder(desktop.Address()))) {
        if (const CLSItemIdList pidl = ParsePath(desktop.Get(), path); pidl) {
            m_clsFileList.UpdateItem(pidl.Get());
        }
    }
}

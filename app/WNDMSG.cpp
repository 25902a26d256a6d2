// The main window's messages: building and laying out the children, commands,
// drops, help, and capturing the window state when it is destroyed.
#include "app/WNDMAIN.h"

#include "app/ABOUT.h"
#include "app/HTMLHELP.h"
#include "image/PICTZOOM.h"
#include "resources/RESOURCE.h"

#include <commctrl.h>
#include <htmlhelp.h>
#include <shellapi.h>

#include <utility>

namespace {

constexpr int kMinTrackSize = 250;

// Height of one line of the path box's font, as the edit control draws it.
int PathBoxTextHeight(HWND hwndEdit)
{
    HDC hdc = GetDC(hwndEdit);
    HGDIOBJ hOld = SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessageA(hwndEdit, WM_GETFONT, 0, 0)));
    TEXTMETRICA tm{};
    GetTextMetricsA(hdc, &tm);
    SelectObject(hdc, hOld);
    ReleaseDC(hwndEdit, hdc);
    return tm.tmHeight;
}

}  // namespace

LRESULT CLSWndMain::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:
        return OnCreate();
    case WM_SIZE:
        OnSize(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
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
    case WM_HELP:
        OnHelp(reinterpret_cast<const HELPINFO*>(lParam));
        return 0;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_INITMENU:
        OnInitMenu(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_NOTIFY:
        if (m_clsToolBar.OnNotify(m_hWnd, reinterpret_cast<const NMHDR*>(lParam))) {
            return 0;
        }
        break;
    case WMU_CARET_POS:
        OnCaretPos(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    case WMU_APPLY_SETTINGS:
        ApplySettings();
        return 0;
    default:
        break;
    }
    return DefaultProc(hWnd, uMsg, wParam, lParam);
}

LRESULT CLSWndMain::OnCreate()
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    if (!InitCommonControlsEx(&icc)) {
        return -1;
    }
    auto hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(m_hWnd, GWLP_HINSTANCE));
    m_clsToolBar.Create(m_hWnd, hInstance);  // first: the creation order is the tab order
    CreatePathBox();
    m_clsView.Create(m_hWnd, CLSWndView::kControlId);
    m_clsStatusBar.Create(m_hWnd);
    SetFocus(GetDlgItem(m_hWnd, kIdPathEdit));
    ApplySettings();
    return 0;
}

void CLSWndMain::ApplySettings()
{
    m_clsView.ApplySettings(m_settings.GetText(), m_settings.GetBinary(), m_settings.GetImage(),
                            m_settings.GetMedia());
    m_clsView.SetMemoryLimit(static_cast<DWORD>(m_settings.GetMaxMemFileSize()));
}

void CLSWndMain::CreatePathBox()
{
    auto hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(m_hWnd, GWLP_HINSTANCE));
    auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    HWND hwndEdit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, 0, m_hWnd,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdPathEdit)), hInstance,
                                    nullptr);
    SendMessageA(hwndEdit, WM_SETFONT, font, TRUE);
    HWND hwndButton = CreateWindowExA(0, "BUTTON", "表示(&I)", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                      0, 0, 0, 0, m_hWnd,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdPathButton)), hInstance,
                                      nullptr);
    SendMessageA(hwndButton, WM_SETFONT, font, TRUE);
}

void CLSWndMain::OnSize(int cx, int cy)
{
    // The bars place themselves along their edges first; the panes take the rest.
    SendMessageA(m_clsToolBar.GetHandle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(cx, cy));
    SendMessageA(m_clsStatusBar.GetHandle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(cx, cy));
    const int tb = m_clsToolBar.VisibleHeight();
    const int sb = m_clsStatusBar.VisibleHeight();
    if (IsIconic(m_hWnd)) {
        return;
    }
    HWND hwndEdit = GetDlgItem(m_hWnd, kIdPathEdit);
    const int h = PathBoxTextHeight(hwndEdit);
    const int e = 2 * GetSystemMetrics(SM_CYEDGE) + h;
    const int b = 2 * GetSystemMetrics(SM_CXEDGE) + 3 * h;
    m_clsStatusBar.SetParts(cx, sb);
    // Until the panes of the navigation arrive the content view takes the
    // client area below the path box.
    m_clsView.Move(0, tb + e, cx, cy - sb - tb - e);
    MoveWindow(hwndEdit, 0, tb, cx - b, e, FALSE);
    MoveWindow(GetDlgItem(m_hWnd, kIdPathButton), cx - b, tb, b, e, TRUE);
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CLSWndMain::OnGetMinMaxInfo(MINMAXINFO* info)
{
    info->ptMinTrackSize.x = kMinTrackSize;
    info->ptMinTrackSize.y = kMinTrackSize;
}

bool CLSWndMain::OnCommand(int id)
{
    if (id >= IDM_ENC_AUTO && id <= IDM_ENC_UTF7) {
        OnEncoding(id);
        return true;
    }
    if (id >= IDM_VIEW_AUTO && id <= IDM_VIEW_HEX) {
        OnViewForm(id);
        return true;
    }
    if (id >= IDM_ZOOM_25 && id <= IDM_ZOOM_FIT) {
        OnZoom(id);
        return true;
    }
    switch (id) {
    case IDC_NAVIGATE:
        OpenPathBoxFile();
        return true;
    case IDM_COPY:
        OnCopy();
        return true;
    case IDM_SELECTALL:
        OnSelectAll();
        return true;
    case IDM_EXIT:
        SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
        return true;
    case IDM_HELP_CONTENTS:
        CallHtmlHelp(m_hWnd, g_szHelpPath, HH_DISPLAY_TOC, 0);
        return true;
    case IDM_SETTINGS:
        ShowSettingsDialog(m_hWnd, m_settings, g_szHelpPath);
        return true;
    case IDM_ABOUT:
        ShowAboutBox(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(m_hWnd, GWLP_HINSTANCE)), m_hWnd);
        return true;
    default:
        return false;
    }
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

void CLSWndMain::CheckMenuRadio(HMENU hMenu, int first, int last, int chosen)
{
    for (int id = first; id <= last; ++id) {
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_STATE;
        mii.fState = id == chosen ? MFS_CHECKED : 0;
        SetMenuItemInfoA(hMenu, static_cast<UINT>(id), FALSE, &mii);
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

void CLSWndMain::OnInitMenu(HMENU hMenu)
{
    // Copy, Select all and Refresh follow the control that has the focus;
    // the accelerators of grayed items do nothing.
    UINT copy = MFS_GRAYED;
    UINT selectAll = MFS_GRAYED;
    const UINT refresh = MFS_GRAYED;
    const int focus = GetDlgCtrlID(GetFocus());
    if (focus == kIdPathEdit) {
        DWORD start = 0;
        DWORD end = 0;
        SendDlgItemMessageA(m_hWnd, kIdPathEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                            reinterpret_cast<LPARAM>(&end));
        copy = start != end ? 0 : MFS_GRAYED;
        selectAll = 0;
    } else if (focus == CLSWndView::kControlId) {
        copy = m_clsView.HasSelection() ? 0 : MFS_GRAYED;
        selectAll = 0;
    }
    const std::pair<int, UINT> states[] = {{IDM_COPY, copy}, {IDM_SELECTALL, selectAll}, {IDM_REFRESH, refresh}};
    for (const auto& [id, state] : states) {
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_STATE;
        mii.fState = state;
        SetMenuItemInfoA(hMenu, static_cast<UINT>(id), FALSE, &mii);
    }
    InitZoomItems(hMenu);
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
            MENUITEMINFOA mii{};
            mii.cbSize = sizeof(mii);
            mii.fMask = MIIM_STATE;
            mii.fState = MFS_GRAYED;  // also clears the check
            SetMenuItemInfoA(hMenu, static_cast<UINT>(id), FALSE, &mii);
        }
        return;
    }
    const int checked = IDM_ZOOM_25 + MenuItemOfZoom(static_cast<std::uint32_t>(zoom));
    CheckMenuRadio(hMenu, IDM_ZOOM_25, IDM_ZOOM_FIT, checked);
}

void CLSWndMain::OpenPathBoxFile()
{
    // Until the folder panes can navigate, the path box names a file to show.
    char path[MAX_PATH] = "";
    GetDlgItemTextA(m_hWnd, kIdPathEdit, path, sizeof(path));
    SHFILEINFOA info{};
    SHGetFileInfoA(path, 0, &info, sizeof(info), SHGFI_TYPENAME);
    m_clsStatusBar.SetTypeText(info.szTypeName);
    m_clsStatusBar.SetSizeText(FileSizeOfPath(path));
    m_clsView.OpenFile(path);
    ShowEncoding();
}

void CLSWndMain::OnCaretPos(int line, int column)
{
    m_iCaretLine = line;
    m_iCaretColumn = column;
    m_clsStatusBar.SetCaretText(line, column);
}

void CLSWndMain::ShowEncoding()
{
    m_clsStatusBar.SetEncodingText(static_cast<std::uint32_t>(m_clsView.GetEffectiveEncoding()));
}

void CLSWndMain::OnHelp(const HELPINFO* info)
{
    const DWORD_PTR context = info != nullptr && info->iContextType == HELPINFO_MENUITEM ? 2000 : 2001;
    CallHtmlHelp(m_hWnd, g_szHelpPath, HH_HELP_CONTEXT, context);
}

void CLSWndMain::OnDropFiles(HDROP hDrop)
{
    char path[MAX_PATH] = "";
    DragQueryFileA(hDrop, 0, path, sizeof(path));
    DragFinish(hDrop);
    SetDlgItemTextA(m_hWnd, kIdPathEdit, path);
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

void CLSWndMain::OnDestroy()
{
    CaptureWindowPlacement();
    m_clsView.Destroy();
    PostQuitMessage(0);
}

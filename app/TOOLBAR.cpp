// The toolbar's buttons, its drop-down menus and its tooltips.
#include "app/TOOLBAR.h"

#include "resources/RESOURCE.h"

namespace {

constexpr int kOwnImageCount = 11;  // the images of bitmap 521
constexpr int kImageAuto = 0;
constexpr int kImageText = 8;
constexpr int kImageDump = 9;
constexpr int kImageUpFolder = 10;

constexpr TBBUTTON Button(int image, int id, BYTE state = TBSTATE_ENABLED, BYTE style = BTNS_BUTTON)
{
    TBBUTTON button{};
    button.iBitmap = image;
    button.idCommand = id;
    button.fsState = state;
    button.fsStyle = style;
    return button;
}

constexpr TBBUTTON Separator()
{
    return Button(0, 0, 0, BTNS_SEP);
}

// The buttons whose images come with bitmap 521. The encodings' images are
// 0..7 in command order; automatic view form shares image 0 with automatic
// encoding.
constexpr TBBUTTON kOwnButtons[] = {
    Button(kImageAuto, IDM_ENC_AUTO, TBSTATE_ENABLED | TBSTATE_PRESSED),
    Button(1, IDM_ENC_SJIS),
    Button(2, IDM_ENC_JIS),
    Button(3, IDM_ENC_EUC),
    Button(4, IDM_ENC_UTF16LE),
    Button(5, IDM_ENC_UTF16BE),
    Button(6, IDM_ENC_UTF8),
    Button(7, IDM_ENC_UTF7),
    Separator(),
    Button(kImageAuto, IDM_VIEW_AUTO, TBSTATE_ENABLED | TBSTATE_PRESSED),
    Button(kImageText, IDM_VIEW_TEXT),
    Button(kImageDump, IDM_VIEW_HEX),
    Separator(),
    Button(kImageUpFolder, IDM_UPFOLDER),
    Separator(),
};

// Commands whose tooltip is the string resource of the same number.
bool HasTooltip(UINT_PTR id)
{
    return id == IDM_COPY || (id >= IDM_ENC_AUTO && id <= IDM_VIEW_HEX) || id == IDM_ICONVIEW ||
           id == IDM_ARRANGE || id == IDM_UPFOLDER;
}

template <typename DispInfo>
void AnswerTooltip(HWND hWndMain, DispInfo* info)
{
    info->hinst = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hWndMain, GWLP_HINSTANCE));
    info->lpszText = reinterpret_cast<decltype(info->lpszText)>(info->hdr.idFrom);
}

// First index of a bitmap of the common controls once added to the toolbar.
int AddSystemImages(HWND hWnd, UINT_PTR bitmapId)
{
    TBADDBITMAP add{HINST_COMMCTRL, bitmapId};
    const LRESULT first = SendMessageA(hWnd, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&add));
    return first < 0 ? 0 : static_cast<int>(first);
}

}  // namespace

bool CLSToolBar::Create(HWND hWndParent, HINSTANCE hInstance)
{
    m_hWnd = CreateToolbarEx(hWndParent, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT, kControlId,
                             kOwnImageCount, hInstance, IDB_TOOLBAR, kOwnButtons,
                             sizeof(kOwnButtons) / sizeof(kOwnButtons[0]), 0, 0, 16, 16, sizeof(TBBUTTON));
    if (m_hWnd == nullptr) {
        return false;
    }
    const int standard = AddSystemImages(m_hWnd, IDB_STD_SMALL_COLOR);
    const int view = AddSystemImages(m_hWnd, IDB_VIEW_SMALL_COLOR);
    // Copy starts disabled: nothing is selected yet.
    TBBUTTON more[] = {
        Button(standard + STD_COPY, IDM_COPY, 0),
        Separator(),
        Button(view + VIEW_LIST, IDM_ICONVIEW, TBSTATE_ENABLED, BTNS_DROPDOWN),
        Button(view + VIEW_SORTTYPE, IDM_ARRANGE, TBSTATE_ENABLED, BTNS_DROPDOWN),
    };
    SendMessageA(m_hWnd, TB_ADDBUTTONSA, sizeof(more) / sizeof(more[0]), reinterpret_cast<LPARAM>(more));
    return true;
}

bool CLSToolBar::OnNotify(HWND hWndMain, const NMHDR* pnmh)
{
    if (pnmh->idFrom == kControlId && pnmh->code == TBN_DROPDOWN) {
        DropDown(hWndMain, reinterpret_cast<const NMTOOLBARA*>(pnmh)->iItem);
        return true;
    }
    // The tooltip asks with the button's command as idFrom. The instance and a
    // resource number answer both forms of the question alike, but the two
    // records place the instance at different offsets.
    if (!HasTooltip(pnmh->idFrom)) {
        return false;
    }
    if (pnmh->code == TTN_NEEDTEXTA) {
        AnswerTooltip(hWndMain, reinterpret_cast<NMTTDISPINFOA*>(const_cast<NMHDR*>(pnmh)));
        return true;
    }
    if (pnmh->code == TTN_NEEDTEXTW) {
        AnswerTooltip(hWndMain, reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(pnmh)));
        return true;
    }
    return false;
}

void CLSToolBar::EnableCopy(bool on)
{
    SendMessageA(m_hWnd, TB_ENABLEBUTTON, IDM_COPY, MAKELPARAM(on ? TRUE : FALSE, 0));
}

// The pop-up is the main menu's own, so its checkmarks are the menu's; the
// chosen command runs through the main window like a menu command.
void CLSToolBar::DropDown(HWND hWndMain, int idCommand)
{
    RECT rc{};
    SendMessageA(m_hWnd, TB_GETRECT, static_cast<WPARAM>(idCommand), reinterpret_cast<LPARAM>(&rc));
    MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_SUBMENU;
    if (!GetMenuItemInfoA(GetMenu(hWndMain), static_cast<UINT>(idCommand), FALSE, &mii) || mii.hSubMenu == nullptr) {
        return;
    }
    SendMessageA(m_hWnd, TB_SETSTATE, static_cast<WPARAM>(idCommand), MAKELPARAM(TBSTATE_ENABLED | TBSTATE_PRESSED, 0));
    // The button's tooltip, shown while the mouse rested on it, would lie
    // over the menu's first item: it goes, and stays away while the menu is up.
    HWND hWndTip = reinterpret_cast<HWND>(SendMessageA(m_hWnd, TB_GETTOOLTIPS, 0, 0));
    if (hWndTip != nullptr) {
        SendMessageA(hWndTip, TTM_ACTIVATE, FALSE, 0);
        ShowWindow(hWndTip, SW_HIDE);
    }
    TPMPARAMS tpm{};
    tpm.cbSize = sizeof(tpm);
    tpm.rcExclude = rc;
    const BOOL chosen = TrackPopupMenuEx(mii.hSubMenu, TPM_RETURNCMD | TPM_VERTICAL, rc.left, rc.bottom, hWndMain, &tpm);
    if (hWndTip != nullptr) {
        SendMessageA(hWndTip, TTM_ACTIVATE, TRUE, 0);
    }
    SendMessageA(m_hWnd, TB_SETSTATE, static_cast<WPARAM>(idCommand), MAKELPARAM(TBSTATE_ENABLED, 0));
    if (chosen != 0) {
        SendMessageA(hWndMain, WM_COMMAND, static_cast<WPARAM>(chosen), 0);
    }
}

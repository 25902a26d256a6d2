// The settings pages' shared handling: messages, change marking, numeric
// fields, colour buttons, the folder, font and colour choosers, help and the
// report of a value out of range.
#include "settings/SETPAGE.h"

#include "window/HTMLHELP.h"
#include "window/WNDBASE.h"
#include "base/OWNERS.h"
#include "settings/NUMFIELD.h"
#include "settings/SETDLG.h"
#include "settings/TSTRING.h"

#include <commctrl.h>
#include <commdlg.h>
#include <htmlhelp.h>
#include <imm.h>
#include <prsht.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <string>

int g_iSettingsStartPage = 0;
const wchar_t* g_lpszSettingsHelpPath = L"";

namespace {

// Shared by every colour chooser of the run; not saved.
COLORREF g_acrCustomColours[16];

constexpr UINT kBrowseFlags = 0x50;  // new dialog style with an edit box

CLSGlimSettings* SettingsOf(HWND hDlg)
{
    return reinterpret_cast<CLSGlimSettings*>(GetWindowLongPtrA(hDlg, DWLP_USER));
}

void SetResult(HWND hDlg, LONG_PTR result)
{
    SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, result);
}

bool IsCheckBox(HWND hWndButton)
{
    const LONG_PTR type = GetWindowLongPtrA(hWndButton, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_AUTOCHECKBOX || type == BS_CHECKBOX;
}

// The parsing name of an absolute item list, as the shell gives it; empty
// when it has none.
std::wstring ParsingName(IShellFolder* desktop, LPCITEMIDLIST pidl)
{
    STRRET str{};
    LPWSTR text = nullptr;
    if (FAILED(desktop->GetDisplayNameOf(pidl, SHGDN_FORPARSING, &str)) ||
        FAILED(StrRetToStrW(&str, pidl, &text)) || text == nullptr) {
        return {};
    }
    std::wstring name = text;
    CoTaskMemFree(text);
    return name;
}

// The swatch: the right end of the button, three times as wide as it is high.
void DrawColourSwatch(const DRAWITEMSTRUCT& dis, COLORREF colour)
{
    RECT swatch = dis.rcItem;
    const int height = swatch.bottom - swatch.top;
    swatch.left = swatch.right - 3 * height > swatch.left ? swatch.right - 3 * height : swatch.left;
    if ((dis.itemState & ODS_DISABLED) != 0) {
        DrawFrameControl(dis.hDC, &swatch, DFC_BUTTON, DFCS_BUTTONPUSH);
        return;
    }
    const bool pressed = (dis.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(dis.hDC, &swatch, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    if (pressed) {
        OffsetRect(&swatch, 1, 1);
    }
    InflateRect(&swatch, -3, -3);
    if ((dis.itemState & ODS_FOCUS) != 0) {
        DrawFocusRect(dis.hDC, &swatch);
    }
    InflateRect(&swatch, -1, -1);
    CLSBrushOwner brush(CreateSolidBrush(colour));
    CLSSelectObject select(dis.hDC, brush.Get());
    Rectangle(dis.hDC, swatch.left, swatch.top, swatch.right, swatch.bottom);
}

void DrawColourLabel(const DRAWITEMSTRUCT& dis)
{
    char label[64] = "";
    GetWindowTextA(dis.hwndItem, label, sizeof(label));
    const bool disabled = (dis.itemState & ODS_DISABLED) != 0;
    SetTextColor(dis.hDC, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    SetBkMode(dis.hDC, TRANSPARENT);
    RECT rc = dis.rcItem;
    DrawTextA(dis.hDC, label, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

}  // namespace

INT_PTR CLSSettingsPage::HandleMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (uMsg) {
    case WM_INITDIALOG: {
        auto* settings = reinterpret_cast<CLSGlimSettings*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        SetWindowLongPtrA(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(settings));
        m_bFilling = true;
        OnInit(hDlg, *settings);
        if (EnableRuleBox() != 0) {
            ApplyEnableRule(hDlg, IsChecked(hDlg, EnableRuleBox()));
        }
        m_bFilling = false;
        return TRUE;
    }
    case WM_COMMAND:
        OnCommand(hDlg, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        OnNotify(hDlg, reinterpret_cast<const NMHDR*>(lParam));
        return TRUE;
    case WM_HELP:
        ShowHelp(hDlg);
        return TRUE;
    case WM_DRAWITEM:
        return OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    default:
        return FALSE;
    }
}

void CLSSettingsPage::OnCommand(HWND hDlg, int id, int code)
{
    if (m_bFilling) {
        return;
    }
    HWND hWndControl = GetDlgItem(hDlg, id);
    if (code == EN_CHANGE) {
        MarkChanged(hDlg);
    } else if (code == EN_SETFOCUS && IsNumericField(id)) {
        OnNumericFocus(hDlg, id);
    } else if (code == BN_CLICKED && IsCheckBox(hWndControl)) {
        MarkChanged(hDlg);
        if (id == EnableRuleBox()) {
            ApplyEnableRule(hDlg, IsChecked(hDlg, id));
        }
    } else if (code == BN_CLICKED && ColourSlot(id) != nullptr) {
        OnColourButton(hDlg, id);
    } else if (code == BN_CLICKED) {
        OnButton(hDlg, id);
    }
}

void CLSSettingsPage::OnNotify(HWND hDlg, const NMHDR* pnmh)
{
    CLSGlimSettings* settings = SettingsOf(hDlg);
    switch (pnmh->code) {
    case PSN_SETACTIVE:
        if (settings != nullptr) {
            g_iSettingsStartPage = m_iIndex;
        }
        SetResult(hDlg, 0);
        break;
    case PSN_APPLY:
        if (settings == nullptr) {
            SetResult(hDlg, PSNRET_NOERROR);
        } else if (OnApply(hDlg, *settings)) {
            SetResult(hDlg, PSNRET_NOERROR);
            SendMessageA(GetParent(GetParent(hDlg)), WMU_APPLY_SETTINGS, 0, 0);
        }
        break;
    case PSN_HELP:
        ShowHelp(hDlg);
        break;
    default:
        break;
    }
}

// Typing replaces the number: the input method off, the text selected once
// the focus has settled.
void CLSSettingsPage::OnNumericFocus(HWND hDlg, int id)
{
    HWND hWndEdit = GetDlgItem(hDlg, id);
    if (HIMC himc = ImmGetContext(hWndEdit); himc != nullptr) {
        ImmSetOpenStatus(himc, FALSE);
        ImmReleaseContext(hWndEdit, himc);
    }
    PostMessageA(hWndEdit, EM_SETSEL, 0, -1);
}

void CLSSettingsPage::OnColourButton(HWND hDlg, int id)
{
    COLORREF* slot = ColourSlot(id);
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = hDlg;
    cc.rgbResult = *slot;
    cc.lpCustColors = g_acrCustomColours;
    cc.Flags = CC_RGBINIT;
    if (!ChooseColorA(&cc)) {
        return;
    }
    *slot = cc.rgbResult;
    MarkChanged(hDlg);
    InvalidateRect(GetDlgItem(hDlg, id), nullptr, FALSE);
}

bool CLSSettingsPage::OnDrawItem(const DRAWITEMSTRUCT* pdis)
{
    const COLORREF* slot = ColourSlot(static_cast<int>(pdis->CtlID));
    if (slot == nullptr) {
        return false;
    }
    DrawColourSwatch(*pdis, *slot);
    DrawColourLabel(*pdis);
    return true;
}

void CLSSettingsPage::ShowHelp(HWND hDlg) const
{
    OpenHelp(hDlg, g_lpszSettingsHelpPath, HH_HELP_CONTEXT, m_dwHelpContext);
}

bool CLSSettingsPage::ReadRange(HWND hDlg, int id, const char* lpszName, int iMin, int iMax,
                                std::uint32_t& value) const
{
    CLSTString text;
    text.FromWindowText(hDlg, id);
    value = ReadFieldNumber(text.GetString());
    if (value >= static_cast<std::uint32_t>(iMin) && value <= static_cast<std::uint32_t>(iMax)) {
        return true;
    }
    HWND hWndSheet = GetParent(hDlg);
    MessageBoxA(hWndSheet, RangeMessage(lpszName, iMin, iMax).c_str(), "Glim!", MB_ICONWARNING | MB_OK);
    SendMessageA(hWndSheet, PSM_SETCURSELID, 0, m_iTemplateId);
    SetResult(hDlg, PSNRET_INVALID_NOCHANGEPAGE);
    return false;
}

void CLSSettingsPage::MarkChanged(HWND hDlg)
{
    SendMessageA(GetParent(hDlg), PSM_CHANGED, reinterpret_cast<WPARAM>(hDlg), 0);
}

std::wstring CLSSettingsPage::FieldText(HWND hDlg, int id)
{
    return WindowTextWide(GetDlgItem(hDlg, id));
}

bool CLSSettingsPage::IsChecked(HWND hDlg, int id)
{
    return IsDlgButtonChecked(hDlg, id) == BST_CHECKED;
}

void CLSSettingsPage::Check(HWND hDlg, int id, bool bOn)
{
    CheckDlgButton(hDlg, id, bOn ? BST_CHECKED : BST_UNCHECKED);
}

void CLSSettingsPage::SetUpDown(HWND hDlg, int id, int iMin, int iMax, int iPos)
{
    SendDlgItemMessageA(hDlg, id, UDM_SETRANGE32, static_cast<WPARAM>(iMin), iMax);
    SendDlgItemMessageA(hDlg, id, UDM_SETPOS32, 0, iPos);
}

void CLSSettingsPage::RunFolderChooser(HWND hDlg, int idEdit, UINT idPrompt)
{
    wchar_t prompt[256] = L"";
    LoadStringW(GetModuleHandleA(nullptr), idPrompt, prompt, 256);
    CLSComPtr<IMalloc> malloc;
    CLSComPtr<IShellFolder> desktop;
    if (FAILED(SHGetMalloc(malloc.Address())) || FAILED(SHGetDesktopFolder(desktop.Address()))) {
        return;
    }
    BROWSEINFOW bi{};
    bi.hwndOwner = hDlg;
    bi.lpszTitle = prompt;
    bi.ulFlags = kBrowseFlags;
    LPITEMIDLIST pidl = SHBrowseForFolderW(&bi);
    if (pidl == nullptr) {
        return;
    }
    const std::wstring name = ParsingName(desktop.Get(), pidl);
    if (!name.empty()) {
        SetDlgItemTextW(hDlg, idEdit, name.c_str());
    }
    malloc->Free(pidl);
}

bool CLSSettingsPage::RunFontChooser(HWND hDlg, CLSGlimFont& font)
{
    LOGFONTA lf;
    font.ToLogFont(hDlg, lf);
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof(cf);
    cf.hwndOwner = hDlg;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_NOVERTFONTS;
    cf.nFontType = SCREEN_FONTTYPE;
    if (!ChooseFontA(&cf)) {
        return false;
    }
    font.FromLogFont(hDlg, lf);
    return true;
}

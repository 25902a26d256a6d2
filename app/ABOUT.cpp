// The About box: three fonts of its own, the link's colour, cursor and click,
// and centring over the main window inside the work area.
#include "app/ABOUT.h"

#include "window/PLACEBOX.h"
#include "base/GLIMVER.h"
#include "base/OWNERS.h"
#include "resources/RESOURCE.h"
#include "settings/GLIMFONT.h"

#include <shellapi.h>

const char kGlimWebPage[] = "http://www.example.jp/glim/";

namespace {

constexpr int kIdTitle = 1024;
constexpr int kIdVersion = 1025;
constexpr int kIdLine = 1026;
constexpr int kIdLink = 1027;

// Made when the box opens, deleted when it closes.
CLSFontOwner g_titleFont;
CLSFontOwner g_textFont;
CLSFontOwner g_linkFont;

void CreateFonts(HWND hDlg)
{
    g_titleFont.Reset(CLSGlimFont(28, 0, ANSI_CHARSET, "Times New Roman").CreateFont(hDlg));
    g_textFont.Reset(CLSGlimFont(12, 0, SHIFTJIS_CHARSET, "MS UI Gothic").CreateFont(hDlg));
    g_linkFont.Reset(CLSGlimFont(9, CLSGlimFont::kUnderline, SHIFTJIS_CHARSET, "MS UI Gothic").CreateFont(hDlg));
}

void DeleteFonts()
{
    g_titleFont.Reset();
    g_textFont.Reset();
    g_linkFont.Reset();
}

// A font that could not be made leaves the control with the dialog's font.
void SetControlFont(HWND hDlg, int id, const CLSFontOwner& font)
{
    if (font) {
        SendDlgItemMessageA(hDlg, id, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    }
}

void CentreOverParent(HWND hDlg)
{
    RECT work{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        return;  // stays where the resource put it
    }
    RECT box{};
    RECT parent{};
    GetWindowRect(hDlg, &box);
    HWND hWndParent = GetParent(hDlg);
    if (hWndParent == nullptr || !GetWindowRect(hWndParent, &parent)) {
        parent = work;
    }
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    const BoxPoint at = CentreInWorkArea({parent.left, parent.top, parent.right, parent.bottom}, width, height,
                                         {work.left, work.top, work.right, work.bottom});
    MoveWindow(hDlg, at.x, at.y, width, height, TRUE);
}

void OnInitDialog(HWND hDlg)
{
    CreateFonts(hDlg);
    SetDlgItemTextA(hDlg, kIdVersion, "Version " GLIM_VERSION_STRING);
    SetDlgItemTextA(hDlg, kIdLink, kGlimWebPage);
    SetControlFont(hDlg, kIdTitle, g_titleFont);
    SetControlFont(hDlg, kIdVersion, g_textFont);
    SetControlFont(hDlg, kIdLine, g_textFont);
    // Some static controls select their own font after asking for the colour,
    // which would drop the underline chosen there: the link carries it too.
    SetControlFont(hDlg, kIdLink, g_linkFont);
    CentreOverParent(hDlg);
}

bool OnSetCursor(HWND hDlg, HWND hWndUnder)
{
    if (hWndUnder != GetDlgItem(hDlg, kIdLink)) {
        return false;
    }
    auto hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hDlg, GWLP_HINSTANCE));
    SetCursor(LoadCursorA(hInstance, MAKEINTRESOURCEA(IDC_LINKHAND)));
    SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, TRUE);
    return true;
}

// The link is drawn blue over the dialog's own background, in the underlined
// font, which the static control puts back after painting.
INT_PTR OnCtlColorStatic(HWND hDlg, HDC hdc, HWND hWndStatic)
{
    if (hWndStatic != GetDlgItem(hDlg, kIdLink)) {
        return FALSE;
    }
    SetTextColor(hdc, RGB(0, 0, 255));
    SetBkMode(hdc, TRANSPARENT);
    if (g_linkFont) {
        SelectObject(hdc, g_linkFont.Get());
    }
    return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
}

bool OnCommand(HWND hDlg, int id)
{
    switch (id) {
    case IDOK:
    case IDCANCEL:
        EndDialog(hDlg, 1);
        return true;
    case kIdLink:
        // A failure to open the page shows nothing: the box is no browser.
        ShellExecuteA(hDlg, nullptr, kGlimWebPage, nullptr, nullptr, SW_SHOW);
        return true;
    default:
        return false;
    }
}

}  // namespace

INT_PTR CALLBACK AboutDialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        OnInitDialog(hDlg);
        return TRUE;
    case WM_SETCURSOR:
        return OnSetCursor(hDlg, reinterpret_cast<HWND>(wParam)) ? TRUE : FALSE;
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(hDlg, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
        return OnCommand(hDlg, LOWORD(wParam)) ? TRUE : FALSE;
    case WM_DESTROY:
        DeleteFonts();
        return TRUE;
    default:
        return FALSE;
    }
}

void ShowAboutBox(HINSTANCE hInstance, HWND hWndParent)
{
    DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_ABOUT), hWndParent, AboutDialogProc, 0);
}

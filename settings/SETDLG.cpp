// The settings sheet: five pages over the one settings object, starting on
// the page shown last in this run.
#include "settings/SETDLG.h"

#include "settings/SETPAGE.h"

#include <commctrl.h>
#include <prsht.h>

namespace {

// One procedure per page, each bound to its page object.
template <CLSSettingsPage& (*Page)()>
INT_PTR CALLBACK PageProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return Page().HandleMessage(hDlg, uMsg, wParam, lParam);
}

struct PageEntry {
    CLSSettingsPage& (*page)();
    DLGPROC proc;
};

constexpr PageEntry kPages[] = {
    {GeneralPage, PageProc<GeneralPage>},
    {TextPage, PageProc<TextPage>},
    {BinaryPage, PageProc<BinaryPage>},
    {ImagePage, PageProc<ImagePage>},
    {MediaPage, PageProc<MediaPage>},
};
constexpr int kPageCount = sizeof(kPages) / sizeof(kPages[0]);

}  // namespace

void ShowSettingsDialog(HWND hWndMain, CLSGlimSettings& settings, const wchar_t* lpszHelpPath)
{
    g_lpszSettingsHelpPath = lpszHelpPath;
    auto hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hWndMain, GWLP_HINSTANCE));
    // The wide sheet makes its pages' edits Unicode, so that a folder outside
    // the ANSI code page is shown and taken as it is.
    PROPSHEETPAGEW pages[kPageCount]{};
    for (int i = 0; i < kPageCount; ++i) {
        pages[i].dwSize = sizeof(pages[i]);
        pages[i].dwFlags = PSP_HASHELP;
        pages[i].hInstance = hInstance;
        pages[i].pszTemplate = MAKEINTRESOURCEW(kPages[i].page().GetTemplateId());
        pages[i].pfnDlgProc = kPages[i].proc;
        pages[i].lParam = reinterpret_cast<LPARAM>(&settings);
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_HASHELP;
    header.hwndParent = hWndMain;
    header.hInstance = hInstance;
    header.pszCaption = L"設定";
    header.nPages = kPageCount;
    header.nStartPage = static_cast<UINT>(g_iSettingsStartPage);
    header.ppsp = pages;
    PropertySheetW(&header);
}

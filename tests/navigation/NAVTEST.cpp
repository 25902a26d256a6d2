// Support of the navigation tests.
#include "NAVTEST.h"

#include "base/OWNERS.h"
#include "base/WIDETEXT.h"

#include <commctrl.h>

PaneHost::PaneHost()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = &PaneHost::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "GlimPaneHost";
    RegisterClassA(&wc);
    m_hWnd = CreateWindowExA(0, "GlimPaneHost", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                             nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

PaneHost::~PaneHost()
{
    DestroyWindow(m_hWnd);
}

LRESULT CALLBACK PaneHost::Proc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto* host = reinterpret_cast<PaneHost*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    auto pidl = reinterpret_cast<LPCITEMIDLIST>(lParam);
    if (host != nullptr && uMsg == WMU_FOLDER_SELECTED) {
        host->selectedFolder = AnsiPathOf(pidl);
        if (host->list != nullptr) {
            host->list->ShowFolder(pidl);
        }
        return 0;
    }
    if (host != nullptr && uMsg == WMU_FILE_SELECTED) {
        host->selectedFile = AnsiPathOf(pidl);
        return 0;
    }
    if (host != nullptr && uMsg == WMU_OPEN_FOLDER) {
        host->openedFolder = AnsiPathOf(pidl);
        return 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

CLSItemIdList IdListOf(const std::wstring& path)
{
    CLSComPtr<IShellFolder> desktop;
    CLSItemIdList pidl;
    std::wstring text = path;
    if (SUCCEEDED(SHGetDesktopFolder(desktop.Address()))) {
        desktop->ParseDisplayName(nullptr, nullptr, text.data(), nullptr, pidl.Address(), nullptr);
    }
    return pidl;
}

CLSItemIdList IdListOf(const std::string& path)
{
    return IdListOf(WidenAnsi(path));
}

namespace {

// Lossy on purpose: the narrow helpers serve tests whose names fit the code page.
std::string AnsiText(const std::wstring& wide)
{
    std::string ansi(wide.size() * 2, '\0');
    ansi.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                                             ansi.data(), static_cast<int>(ansi.size()), nullptr,
                                                             nullptr)));
    return ansi;
}

}  // namespace

std::string AnsiPathOf(LPCITEMIDLIST pidl)
{
    return AnsiText(PathOfIdList(pidl));
}

std::vector<std::wstring> WideColumnTexts(HWND hWndList, int column)
{
    std::vector<std::wstring> texts;
    const int count = static_cast<int>(SendMessageW(hWndList, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[1024] = L"";
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 1024;
        SendMessageW(hWndList, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        texts.emplace_back(text);
    }
    return texts;
}

std::vector<std::string> ColumnTexts(HWND hWndList, int column)
{
    std::vector<std::string> texts;
    for (const std::wstring& wide : WideColumnTexts(hWndList, column)) {
        texts.push_back(AnsiText(wide));
    }
    return texts;
}

// Support of the navigation tests.
#include "NAVTEST.h"

#include "base/OWNERS.h"

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

CLSItemIdList IdListOf(const std::string& path)
{
    CLSComPtr<IShellFolder> desktop;
    CLSItemIdList pidl;
    wchar_t wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(SHGetDesktopFolder(desktop.Address()))) {
        desktop->ParseDisplayName(nullptr, nullptr, wide, nullptr, pidl.Address(), nullptr);
    }
    return pidl;
}

std::string AnsiPathOf(LPCITEMIDLIST pidl)
{
    char path[MAX_PATH] = "";
    if (pidl == nullptr || !SHGetPathFromIDListA(pidl, path)) {
        return {};
    }
    return path;
}

std::vector<std::string> ColumnTexts(HWND hWndList, int column)
{
    std::vector<std::string> texts;
    const int count = static_cast<int>(SendMessageA(hWndList, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[MAX_PATH] = "";
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        SendMessageA(hWndList, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        texts.emplace_back(text);
    }
    return texts;
}

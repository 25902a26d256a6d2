// Lazy binding to HtmlHelpW. The library stays loaded for the rest of the
// process: help windows and the message pre-translation live in it.
#include "window/HTMLHELP.h"

#include "base/RESSTR.h"
#include "resources/RESOURCE.h"

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

HtmlHelpFunction HtmlHelpEntry() noexcept
{
    static HtmlHelpFunction entry = [] {
        HMODULE library = LoadLibraryA("hhctrl.ocx");
        if (library == nullptr) {
            return HtmlHelpFunction{};
        }
        return reinterpret_cast<HtmlHelpFunction>(
            reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpW")));
    }();
    return entry;
}

}  // namespace

HWND CallHtmlHelp(HWND hwndCaller, const wchar_t* file, UINT command, DWORD_PTR data) noexcept
{
    HtmlHelpFunction entry = HtmlHelpEntry();
    return entry != nullptr ? entry(hwndCaller, file, command, data) : nullptr;
}

void OpenHelp(HWND owner, const wchar_t* file, UINT command, DWORD_PTR data)
{
    if (CallHtmlHelp(owner, file, command, data) == nullptr && GetFileAttributesW(file) == INVALID_FILE_ATTRIBUTES) {
        MessageBoxA(owner, LoadResourceString(IDS_HELP_MISSING).c_str(), "Glim!", MB_ICONINFORMATION);
    }
}

// The HTML Help control, taken from hhctrl.ocx at run time so that glim.exe
// starts on a system where the control is missing: calls then do nothing.
#pragma once

#include <windows.h>

// HtmlHelpW(hwndCaller, file, command, data); the file is a path; null when the control is absent.
HWND CallHtmlHelp(HWND hwndCaller, const wchar_t* file, UINT command, DWORD_PTR data) noexcept;

// The help the user asked for (F1, a ヘルプ button, the contents): when it
// cannot be shown because the file is not there, a box says where it belongs,
// where the control alone would show nothing at all.
void OpenHelp(HWND owner, const wchar_t* file, UINT command, DWORD_PTR data);

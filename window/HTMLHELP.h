// The HTML Help control, taken from hhctrl.ocx at run time so that glim.exe
// starts on a system where the control is missing: calls then do nothing.
#pragma once

#include <windows.h>

// HtmlHelpW(hwndCaller, file, command, data); the file is a path; null when the control is absent.
HWND CallHtmlHelp(HWND hwndCaller, const wchar_t* file, UINT command, DWORD_PTR data) noexcept;

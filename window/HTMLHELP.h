// The HTML Help control, taken from hhctrl.ocx at run time so that glim.exe
// starts on a system where the control is missing: calls then do nothing.
#pragma once

#include <windows.h>

// HtmlHelpA(hwndCaller, file, command, data); null when the control is absent.
HWND CallHtmlHelp(HWND hwndCaller, const char* file, UINT command, DWORD_PTR data) noexcept;

// The About box (dialog 606): the program's name, version and web page, the
// address drawn as a link that opens in the default browser.
#pragma once

#include <windows.h>

// The address the link shows and opens.
extern const char kGlimWebPage[];

// Modal over hWndParent; returns when the box is closed.
void ShowAboutBox(HINSTANCE hInstance, HWND hWndParent);

// The dialog procedure, for callers that open the box themselves (tests).
INT_PTR CALLBACK AboutDialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

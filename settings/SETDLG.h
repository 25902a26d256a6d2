// The settings dialog: a modal property sheet of five pages over the main
// window. Each page that was shown and applies without error writes its values
// into the settings object and sends WMU_APPLY_SETTINGS to the main window,
// which puts them to use at once; GLIM.INI is written at the end of the run.
#pragma once

#include <windows.h>

#include "settings/GLIMSET.h"

// Sent by each applied page to the sheet's owner; no parameters.
constexpr UINT WMU_APPLY_SETTINGS = WM_APP + 14;

// Returns when the sheet is closed. helpPath is GLIM.CHM, opened at the
// shown page's topic by F1 and by the Help button.
void ShowSettingsDialog(HWND hWndMain, CLSGlimSettings& settings, const wchar_t* lpszHelpPath);

// The shell's own context menu for one item, as the folder tree and the file
// list show it.
#pragma once

#include <windows.h>

#include <shlobj.h>

// Builds the menu of child (relative to folder), tracks it at the screen
// point, owned by hWndContainer, and invokes the chosen command with
// hWndOwner as owner. handler points at the menu's IContextMenu2 while the
// menu is up, so that the container can pass it the owner-drawn messages.
// False when the shell offers no menu.
bool TrackShellMenu(IShellFolder* folder, LPCITEMIDLIST child, HWND hWndOwner, HWND hWndContainer, POINT screen,
                    IContextMenu2*& handler);

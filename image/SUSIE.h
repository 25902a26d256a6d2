// The calling interface of Susie image plug-ins as this program uses it. The
// plug-ins export these by their plain names with the platform's standard
// calling convention; 64-bit plug-ins take pointer-sized offsets and user data.
#pragma once

#include <windows.h>

// Progress report during GetPicture; the program passes none.
using SusieProgress = int(WINAPI*)(int done, int total, LONG_PTR userData);

// filename: the file's path; header: its first 4096 bytes, zero-padded.
// Non-zero when the plug-in can read the file.
using SusieIsSupported = int(WINAPI*)(LPCSTR filename, void* header);

// source: a path (flag 0) or a memory block; offset: where the picture starts.
// On success (0) the plug-in returns a BITMAPINFO and the pixel bits in two
// local memory handles that the caller frees.
using SusieGetPicture = int(WINAPI*)(LPCSTR source, LONG_PTR offset, unsigned int flag,
                                     HLOCAL* info, HLOCAL* bits, SusieProgress progress,
                                     LONG_PTR userData);

// Bytes of the file that IsSupported is shown.
constexpr DWORD kSusieHeaderBytes = 4096;

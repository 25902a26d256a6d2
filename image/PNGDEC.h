// The PNG decoder's Windows step: the decoded block becomes a device-dependent
// bitmap for the caller's device context.
#pragma once

#include <windows.h>

#include <cstddef>

// chunks: the file's bytes after its 8-byte signature. Returns a bitmap owned
// by the caller, composited over background; null on any failure.
HBITMAP DecodePng(HDC dc, const BYTE* chunks, size_t size, COLORREF background);

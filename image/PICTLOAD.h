// The picture loading chain: system loader, then the PNG decoder, then the
// Susie plug-ins; the first that succeeds gives the bitmap.
#pragma once

#include <windows.h>

#include <objidl.h>

// Reads the picture from the stream (positioned at its start) and returns a
// device-dependent bitmap compatible with dc, composited over background; null
// when no loader recognises it. pluginFolder is null when plug-ins are off.
HBITMAP LoadPicture(IStream* stream, HDC dc, COLORREF background, const wchar_t* pluginFolder,
                    const wchar_t* path);

// The system's picture loader (OleLoadPicture), rendered over background.
HBITMAP LoadOlePicture(IStream* stream, HDC dc, COLORREF background);

// The built-in PNG decoder over the whole stream.
HBITMAP LoadPngPicture(IStream* stream, HDC dc, COLORREF background);

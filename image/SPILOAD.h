// Pictures read by Susie plug-ins from a folder: each library is loaded, asked,
// and freed at once; the first that makes a picture wins.
#pragma once

#include <windows.h>

#include <objidl.h>

// Shows the plug-ins in folder the first 4096 bytes of the stream (zero-padded)
// and the file's path; null when none reads the file. The 64-bit program also
// tries the 64-bit plug-ins (*.sph), after the *.spi ones.
HBITMAP LoadPluginPicture(HDC dc, const char* folder, const char* path, IStream* stream);

// True when the bitmap description a plug-in returned fits the blocks it came
// in: its colour table inside infoSize bytes and its pixels inside bitsSize.
bool PluginBitmapFits(const BITMAPINFOHEADER& header, SIZE_T infoSize, SIZE_T bitsSize);

// Pictures read by Susie plug-ins from a folder: each library is loaded, asked,
// and freed at once; the first that makes a picture wins.
#pragma once

#include <windows.h>

#include <objidl.h>

#include <string>

// Shows the plug-ins in folder the first 4096 bytes of the stream (zero-padded)
// and the file's path; null when none reads the file. The 64-bit program also
// tries the 64-bit plug-ins (*.sph), after the *.spi ones. The plug-ins are
// found and loaded by their wide paths; the file goes to them as PluginPathOf
// says, and no plug-in is asked about a file that has no such path.
HBITMAP LoadPluginPicture(HDC dc, const wchar_t* folder, const wchar_t* path, IStream* stream);

// The ANSI path a plug-in is given for the file: its own, else its short
// (8.3) name, whichever the ANSI code page says exactly in fewer than
// MAX_PATH bytes; false when neither does, for a plug-in must never read a
// file with a cut or stand-in name (another file, or none).
bool PluginPathOf(const std::wstring& path, std::string& ansi);

// True when the bitmap description a plug-in returned fits the blocks it came
// in: its colour table inside infoSize bytes and its pixels inside bitsSize.
bool PluginBitmapFits(const BITMAPINFOHEADER& header, SIZE_T infoSize, SIZE_T bitsSize);

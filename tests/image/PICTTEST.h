// What the picture tests share: pictures opened the way the program opens
// them, a bitmap's pixels read back, and a writer of small PPM files.
#pragma once

#include "tests/common/TEMPDIR.h"
#include "tests/image/PNGWRITE.h"

#include <windows.h>

#include <string>
#include <vector>

// The pixels of a bitmap, top row first, as 0xRRGGBB; width 0 for none.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;
    uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

Pixels ReadPixels(HBITMAP bitmap);
// Reads the bitmap back and deletes it.
Pixels TakePixels(HBITMAP bitmap);

// The picture of the file as the document shows it: the whole loading chain
// through the document's stream, held in memory; width 0 when it is no picture.
// pluginFolder null: plug-ins off.
Pixels OpenPicture(const std::wstring& path, const wchar_t* pluginFolder, COLORREF background = RGB(255, 255, 255));

// A binary PPM (P6) of the picture given as 0xRRGGBB values.
Bytes MakePpm(int width, int height, const std::vector<uint32_t>& rgb);

// The picture tests' helpers: pictures opened as documents, bitmaps read back,
// and the PPM files that only the test plug-in reads.
#include "tests/image/PICTTEST.h"

#include "base/WIDEN.h"
#include "document/FILESTRM.h"
#include "image/PICTLOAD.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

Pixels ReadPixels(HBITMAP bitmap)
{
    Pixels pixels;
    if (bitmap == nullptr) {
        return pixels;
    }
    BITMAP info = {};
    GetObjectA(bitmap, sizeof(info), &info);
    pixels.width = info.bmWidth;
    pixels.height = info.bmHeight;
    BITMAPINFO request = {};  // top row first
    request.bmiHeader = {sizeof(BITMAPINFOHEADER), info.bmWidth, -info.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> bgrx(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), bgrx.data(), &request, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    for (uint32_t v : bgrx) {
        pixels.rgb.push_back(v & 0xFFFFFF);  // the 32-bit DIB stores blue first: 0x00RRGGBB
    }
    return pixels;
}

Pixels TakePixels(HBITMAP bitmap)
{
    Pixels pixels = ReadPixels(bitmap);
    DeleteObject(bitmap);
    return pixels;
}

Pixels OpenPicture(const std::wstring& path, const wchar_t* pluginFolder, COLORREF background)
{
    CLSFileStream doc;
    EXPECT_TRUE(doc.Open(path));
    EXPECT_TRUE(doc.IsInMemory());
    HDC dc = GetDC(nullptr);
    const Pixels pixels = TakePixels(LoadPicture(&doc, dc, background, pluginFolder, path.c_str()));
    ReleaseDC(nullptr, dc);
    return pixels;
}

Bytes MakePpm(int width, int height, const std::vector<uint32_t>& rgb)
{
    const std::string head = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    Bytes out(head.begin(), head.end());
    for (uint32_t c : rgb) {
        out.insert(out.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)});
    }
    return out;
}

// DecodePng: the pure decoder's bitmap block handed to CreateDIBitmap.
#include "image/PNGDEC.h"

#include "image/PNGCORE.h"

static_assert(sizeof(BITMAPINFOHEADER) == kDibHeaderBytes, "the block starts with the header");
static_assert(sizeof(RGBQUAD) * kDibColourEntries == kDibColourTableBytes,
              "the colour table follows it");

HBITMAP DecodePng(HDC dc, const BYTE* chunks, size_t size, COLORREF background)
{
    CLSDibBlock block;
    if (!DecodePngBlock(chunks, size, background, block)) {
        return nullptr;
    }
    const auto* info = reinterpret_cast<const BITMAPINFO*>(block.Data());
    return CreateDIBitmap(dc, &info->bmiHeader, CBM_INIT, block.Bits(), info, DIB_RGB_COLORS);
}

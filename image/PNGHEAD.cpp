// IHDR, PLTE and tRNS: the picture's description, checked before any pixel.
#include "image/PNGHEAD.h"

#include <algorithm>

namespace {

bool DepthAllowed(unsigned colourType, unsigned depth)
{
    switch (colourType) {
    case kPngGrey:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case kPngPalette:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case kPngRgb:
    case kPngGreyAlpha:
    case kPngRgbAlpha:
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

unsigned ChannelsOf(unsigned colourType)
{
    switch (colourType) {
    case kPngRgb:
        return 3;
    case kPngGreyAlpha:
        return 2;
    case kPngRgbAlpha:
        return 4;
    default:
        return 1;
    }
}

}  // namespace

bool ReadPngHeader(const PngChunk& chunk, PngImage& image)
{
    if (chunk.length != 13) {
        return false;
    }
    const uint8_t* d = chunk.data;
    const uint32_t width = PngBigEndian32(d);
    const uint32_t height = PngBigEndian32(d + 4);
    const unsigned depth = d[8];
    const unsigned colourType = d[9];
    const unsigned compression = d[10];
    const unsigned filter = d[11];
    const unsigned interlace = d[12];
    if (compression != 0 || filter != 0 || interlace > 1 || !DepthAllowed(colourType, depth)) {
        return false;
    }
    // PNG limits both sides to 1 .. 2^31 - 1; a bitmap header holds them signed.
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
        return false;
    }
    image.width = width;
    image.height = height;
    image.bitDepth = static_cast<uint16_t>(depth);
    image.colourType = static_cast<uint16_t>(colourType);
    image.interlace = static_cast<uint8_t>(interlace);
    image.bitsPerPixel = static_cast<uint16_t>(depth * ChannelsOf(colourType));
    return true;
}

bool ReadPngPalette(const PngChunk& chunk, PngImage& image)
{
    if (chunk.length == 0 || chunk.length % 3 != 0) {
        return false;
    }
    const uint32_t count = std::min<uint32_t>(chunk.length / 3, 256);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* rgb = chunk.data + 3 * i;
        image.palette[i][0] = rgb[2];
        image.palette[i][1] = rgb[1];
        image.palette[i][2] = rgb[0];
        image.palette[i][3] = 0;
    }
    image.paletteCount = static_cast<uint16_t>(count);
    return true;
}

void ReadPngTransparency(const PngChunk& chunk, PngImage& image)
{
    const uint8_t* d = chunk.data;
    // Up to 8 bits a sample is one byte, and only the key's low byte counts:
    // writers fill the high byte as they please.
    const uint16_t mask = image.bitDepth <= 8 ? 0x00FF : 0xFFFF;
    switch (image.colourType) {
    case kPngGrey:
        if (chunk.length >= 2) {
            image.hasKey = true;
            image.keyGrey = PngBigEndian16(d) & mask;
        }
        break;
    case kPngRgb:
        if (chunk.length >= 6) {
            image.hasKey = true;
            image.keyRed = PngBigEndian16(d) & mask;
            image.keyGreen = PngBigEndian16(d + 2) & mask;
            image.keyBlue = PngBigEndian16(d + 4) & mask;
        }
        break;
    case kPngPalette: {
        const uint32_t count = std::min<uint32_t>(chunk.length, 256);
        std::copy(d, d + count, image.alpha);
        image.transparencyCount = static_cast<uint16_t>(count);
        break;
    }
    default:
        break;  // alpha pictures carry their own transparency
    }
}

// The PNG decoder's working record: what IHDR, PLTE and tRNS said about the
// picture. Pure: no Windows headers.
#pragma once

#include <cstdint>

// Colour types of the PNG header.
enum PngColourType : uint16_t {
    kPngGrey = 0,
    kPngRgb = 2,
    kPngPalette = 3,
    kPngGreyAlpha = 4,
    kPngRgbAlpha = 6,
};

struct PngImage {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t interlace = 0;      // 0 none, 1 Adam7
    uint16_t bitDepth = 0;      // bits per sample: 1, 2, 4, 8 or 16
    uint16_t colourType = 0;
    uint16_t bitsPerPixel = 0;  // of the stored pixels, before any conversion

    // PLTE as colour-table entries (blue, green, red, 0). Entries past 256
    // have no place in a bitmap's colour table and are not kept.
    uint16_t paletteCount = 0;
    uint8_t palette[256][4] = {};

    // tRNS of a palette picture: alpha of entries 0 .. transparencyCount - 1.
    uint16_t transparencyCount = 0;
    uint8_t alpha[256] = {};

    // tRNS of a grey or RGB picture: the colour key's sample values, the low
    // byte of each for depths up to 8, all 16 bits for 16-bit pictures. A
    // pixel is transparent when its samples equal the key exactly; so a key
    // beyond a 1- to 4-bit depth's range matches nothing.
    bool hasKey = false;
    uint16_t keyGrey = 0;
    uint16_t keyRed = 0;
    uint16_t keyGreen = 0;
    uint16_t keyBlue = 0;
};

// Bytes of one stored row of width pixels (without the filter byte), in 64 bits.
inline uint64_t PngRowBytes(uint32_t width, unsigned bitsPerPixel)
{
    return (uint64_t{width} * bitsPerPixel + 7) / 8;
}

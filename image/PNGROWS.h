// Turning unfiltered PNG rows into bitmap rows, and the bitmap's colour table.
// Pure: no Windows headers.
#pragma once

#include "image/PNGIMAGE.h"

#include <cstddef>
#include <cstdint>

// What a row conversion needs besides the two rows.
struct PngRowContext {
    const PngImage* image = nullptr;
    size_t sourceBytes = 0;  // bytes of a stored row
    uint8_t background[3] = {};  // blue, green, red
};

// Converts one stored row (without its filter byte) into one bitmap row.
using PngRowConverter = void (*)(const PngRowContext& context, const uint8_t* source,
                                 uint8_t* dest);

// Bits per pixel of the bitmap: 2-bit pictures become 4-bit, colour and alpha
// pictures 24-bit, 16-bit grey 8-bit (24-bit when it has a colour key, which
// compares all 16 bits and so cannot live in the 256 grey levels).
unsigned PngOutputBits(const PngImage& image);

PngRowConverter ChoosePngRowConverter(const PngImage& image);

PngRowContext MakePngRowContext(const PngImage& image, uint32_t background);

// Writes the 256-entry colour table (blue, green, red, 0) and returns the number
// of entries the bitmap declares: all its pixels can index; 0 for 24 bits.
uint32_t FillPngColourTable(const PngImage& image, uint32_t background, uint8_t* table);

// The integer blend of a sample over the background by alpha.
inline uint8_t BlendPng(unsigned value, unsigned background, unsigned alpha)
{
    return static_cast<uint8_t>((value * alpha + (255 - alpha) * background) / 255);
}

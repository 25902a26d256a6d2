// Row conversions by colour type and depth, chosen once per picture so that
// the per-pixel loops carry no decisions.
#include "image/PNGROWS.h"

#include <cstring>

namespace {

void CopyRow(const PngRowContext& context, const uint8_t* source, uint8_t* dest)
{
    std::memcpy(dest, source, context.sourceBytes);
}

// Two 2-bit pixels per nibble become two 4-bit pixels per byte.
void WidenTwoBitRow(const PngRowContext& context, const uint8_t* source, uint8_t* dest)
{
    const size_t outBytes = (size_t{context.image->width} + 1) / 2;
    for (size_t i = 0; i < outBytes; ++i) {
        const unsigned nibble = (i % 2 == 0) ? source[i / 2] >> 4 : source[i / 2] & 0x0F;
        dest[i] = static_cast<uint8_t>((nibble >> 2) << 4 | (nibble & 3));
    }
}

void GreySixteenRow(const PngRowContext& context, const uint8_t* source, uint8_t* dest)
{
    const uint32_t width = context.image->width;
    for (uint32_t x = 0; x < width; ++x) {
        dest[x] = source[2 * x];
    }
}

void GreySixteenKeyedRow(const PngRowContext& context, const uint8_t* source, uint8_t* dest)
{
    const PngImage& image = *context.image;
    for (uint32_t x = 0; x < image.width; ++x, source += 2, dest += 3) {
        if ((unsigned{source[0]} << 8 | source[1]) == image.keyGrey) {
            std::memcpy(dest, context.background, 3);
        } else {
            dest[0] = dest[1] = dest[2] = source[0];
        }
    }
}

// RGB: the first byte of each sample is its value (the high byte of 16 bits).
template <unsigned SampleBytes>
void RgbRow(const PngRowContext& context, const uint8_t* source, uint8_t* dest)
{
    const uint32_t width = context.image->width;
    for (uint32_t x = 0; x < width; ++x, source += 3 * SampleBytes, dest += 3) {
        dest[0] = source[2 * SampleBytes];
        dest[1] = source[SampleBytes];
        dest[2] = source[0];
    }
}

template <unsigned SampleBytes>
unsigned FullSample(const uint8_t* p)
{
    return SampleBytes == 2 ? unsigned{p[0]} << 8 | p[1] : p[0];
}

template <unsigned SampleBytes>
void RgbKeyedRow(const PngRowContext& context, const uint8_t* source, uint8_t* dest)
{
    const PngImage& image = *context.image;
    for (uint32_t x = 0; x < image.width; ++x, source += 3 * SampleBytes, dest += 3) {
        const bool transparent = FullSample<SampleBytes>(source) == image.keyRed &&
                                 FullSample<SampleBytes>(source + SampleBytes) == image.keyGreen &&
                                 FullSample<SampleBytes>(source + 2 * SampleBytes) == image.keyBlue;
        if (transparent) {
            std::memcpy(dest, context.background, 3);
        } else {
            dest[0] = source[2 * SampleBytes];
            dest[1] = source[SampleBytes];
            dest[2] = source[0];
        }
    }
}

template <unsigned SampleBytes>
void GreyAlphaRow(const PngRowContext& context, const uint8_t* source, uint8_t* dest)
{
    const uint32_t width = context.image->width;
    const uint8_t* bg = context.background;
    for (uint32_t x = 0; x < width; ++x, source += 2 * SampleBytes, dest += 3) {
        const unsigned grey = source[0];
        const unsigned alpha = source[SampleBytes];
        dest[0] = BlendPng(grey, bg[0], alpha);
        dest[1] = BlendPng(grey, bg[1], alpha);
        dest[2] = BlendPng(grey, bg[2], alpha);
    }
}

template <unsigned SampleBytes>
void RgbAlphaRow(const PngRowContext& context, const uint8_t* source, uint8_t* dest)
{
    const uint32_t width = context.image->width;
    const uint8_t* bg = context.background;
    for (uint32_t x = 0; x < width; ++x, source += 4 * SampleBytes, dest += 3) {
        const unsigned alpha = source[3 * SampleBytes];
        dest[0] = BlendPng(source[2 * SampleBytes], bg[0], alpha);
        dest[1] = BlendPng(source[SampleBytes], bg[1], alpha);
        dest[2] = BlendPng(source[0], bg[2], alpha);
    }
}

void PutEntry(uint8_t* entry, uint8_t blue, uint8_t green, uint8_t red)
{
    entry[0] = blue;
    entry[1] = green;
    entry[2] = red;
    entry[3] = 0;
}

void FillGreyTable(const PngImage& image, const uint8_t* background, uint8_t* table)
{
    const uint32_t count = image.bitDepth >= 8 ? 256 : 1u << image.bitDepth;
    for (uint32_t i = 0; i < count; ++i) {
        const auto level = static_cast<uint8_t>(i * 255 / (count - 1));
        PutEntry(table + 4 * i, level, level, level);
    }
    // Up to 8 bits the key is a pixel value, so one table entry stands for it.
    if (image.hasKey && image.bitDepth <= 8 && image.keyGrey < count) {
        PutEntry(table + 4 * image.keyGrey, background[0], background[1], background[2]);
    }
}

void FillPaletteTable(const PngImage& image, const uint8_t* background, uint8_t* table)
{
    std::memcpy(table, image.palette, 4 * size_t{image.paletteCount});
    const unsigned blended =
        image.transparencyCount < image.paletteCount ? image.transparencyCount : image.paletteCount;
    for (unsigned i = 0; i < blended; ++i) {
        uint8_t* entry = table + 4 * i;
        const unsigned alpha = image.alpha[i];
        PutEntry(entry, BlendPng(entry[0], background[0], alpha),
                 BlendPng(entry[1], background[1], alpha), BlendPng(entry[2], background[2], alpha));
    }
}

}  // namespace

unsigned PngOutputBits(const PngImage& image)
{
    if (image.bitsPerPixel == 2) {
        return 4;
    }
    switch (image.colourType) {
    case kPngRgb:
    case kPngGreyAlpha:
    case kPngRgbAlpha:
        return 24;
    case kPngGrey:
        if (image.bitDepth == 16) {
            return image.hasKey ? 24 : 8;
        }
        return image.bitsPerPixel;
    default:
        return image.bitsPerPixel;
    }
}

PngRowConverter ChoosePngRowConverter(const PngImage& image)
{
    const bool wide = image.bitDepth == 16;
    switch (image.colourType) {
    case kPngRgb:
        if (image.hasKey) {
            return wide ? RgbKeyedRow<2> : RgbKeyedRow<1>;
        }
        return wide ? RgbRow<2> : RgbRow<1>;
    case kPngGreyAlpha:
        return wide ? GreyAlphaRow<2> : GreyAlphaRow<1>;
    case kPngRgbAlpha:
        return wide ? RgbAlphaRow<2> : RgbAlphaRow<1>;
    default:
        break;
    }
    if (wide) {
        return image.hasKey ? GreySixteenKeyedRow : GreySixteenRow;
    }
    return image.bitsPerPixel == 2 ? WidenTwoBitRow : CopyRow;
}

PngRowContext MakePngRowContext(const PngImage& image, uint32_t background)
{
    PngRowContext context;
    context.image = &image;
    context.sourceBytes = static_cast<size_t>(PngRowBytes(image.width, image.bitsPerPixel));
    context.background[0] = static_cast<uint8_t>(background >> 16);  // blue
    context.background[1] = static_cast<uint8_t>(background >> 8);   // green
    context.background[2] = static_cast<uint8_t>(background);        // red
    return context;
}

uint32_t FillPngColourTable(const PngImage& image, uint32_t background, uint8_t* table)
{
    const PngRowContext context = MakePngRowContext(image, background);
    const unsigned bits = PngOutputBits(image);
    if (bits == 24) {
        return 0;
    }
    if (image.colourType == kPngPalette) {
        FillPaletteTable(image, context.background, table);
    } else {
        FillGreyTable(image, context.background, table);
    }
    // Every index the pixels can hold has its entry, black where the picture
    // defines none, so that a pixel beyond a short palette never sends GDI
    // past the table it was given.
    return 1u << bits;
}

// The image data step of the PNG decoder: inflate, unfilter, de-interlace and
// convert straight into the bitmap block. Pure: no Windows headers.
#pragma once

#include "image/DIBBLOCK.h"
#include "image/PNGCHUNK.h"
#include "image/PNGIMAGE.h"

#include <cstdint>

// Bytes of the inflated image data (filter bytes included), over all Adam7
// passes for an interlaced picture; computed in 64 bits.
uint64_t PngDataSize(const PngImage& image);

// Decodes the IDAT run that begins with first (already taken from chunks) into
// a newly allocated block, composited over background (red in the low byte).
// Leaves chunks after the run. False, with the block empty, on any failure.
bool DecodePngPixels(const PngImage& image, uint32_t background, CLSPngChunks& chunks,
                     const PngChunk& first, CLSDibBlock& block);

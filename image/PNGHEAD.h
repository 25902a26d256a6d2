// Readers of the chunks that describe a PNG picture: IHDR, PLTE and tRNS.
// Pure: no Windows headers.
#pragma once

#include "image/PNGCHUNK.h"
#include "image/PNGIMAGE.h"

// Validates and stores the header; false for any combination PNG does not allow.
bool ReadPngHeader(const PngChunk& chunk, PngImage& image);

// Stores the palette; false for an empty one or a length not a multiple of 3.
bool ReadPngPalette(const PngChunk& chunk, PngImage& image);

// Stores the transparency by colour type. A key chunk too short for its colour
// type carries no usable key and is ignored, as tRNS is for types 4 and 6.
void ReadPngTransparency(const PngChunk& chunk, PngImage& image);

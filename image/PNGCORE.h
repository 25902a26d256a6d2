// The PNG decoder without Windows: the chunks of a PNG file, after its 8-byte
// signature, become one device-independent bitmap block, composited over a
// background colour. It never reads past the input and fails cleanly on any
// malformed or oversized picture.
#pragma once

#include "image/DIBBLOCK.h"

#include <cstddef>
#include <cstdint>

// background is a colour reference: red in the low byte, then green, then blue.
// On success the block holds the header, the 256-entry colour table and the
// rows bottom-up; on failure it is empty.
bool DecodePngBlock(const uint8_t* chunks, size_t size, uint32_t background, CLSDibBlock& block);

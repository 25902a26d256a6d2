// Undoing the PNG row filters. Pure: no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>

// Restores one row of n bytes in place. prev is the previous row of the same
// pass, all zero for the first; bytesPerPixel is at least 1. Filter types
// above 4 leave the row as it is, like type 0.
void UnfilterPngRow(unsigned filter, uint8_t* row, const uint8_t* prev, size_t n,
                    unsigned bytesPerPixel);

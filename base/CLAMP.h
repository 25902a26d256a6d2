// The one saturating narrowing of the program: 64-bit arithmetic (pixel
// offsets, zoomed sizes, row counts) brought back into an int without wrapping.
#pragma once

#include <climits>
#include <cstdint>

// v limited to [lo, hi]; the bounds default to the whole int range.
constexpr int SaturateToInt(std::int64_t v, int lo = INT_MIN, int hi = INT_MAX) noexcept
{
    return v > hi ? hi : (v < lo ? lo : static_cast<int>(v));
}

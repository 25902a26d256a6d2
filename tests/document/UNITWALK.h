// The line index rule itself, as the reference the scanner is checked against
// (in the tests and the fuzz run): one unit per read, a unit being 1 byte or 2
// for UTF-16 (a half unit at the end reads with a zero other byte); a CR takes
// the LF after it into its break. Pure: builds natively too.
#pragma once

#include "document/ENCODING.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::uint32_t> WalkOneUnitAtATime(const std::uint8_t* bytes, std::size_t size,
                                                     TextEncoding encoding)
{
    const std::size_t unit = encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be ? 2 : 1;
    std::size_t pos = 0;
    auto read = [&](unsigned* value) -> std::size_t {
        const std::size_t got = size - pos < unit ? size - pos : unit;
        const unsigned b0 = got > 0 ? bytes[pos] : 0, b1 = got > 1 ? bytes[pos + 1] : 0;
        *value = unit == 1 ? b0 : encoding == TextEncoding::Utf16Be ? (b0 << 8 | b1) : (b1 << 8 | b0);
        pos += got;
        return got;
    };
    std::vector<std::uint32_t> offsets = {0};
    unsigned u = 0;
    while (read(&u) != 0) {
        if (u == 0x0D) {
            unsigned next = 0;
            const std::size_t more = read(&next);
            if (more != 0 && next != 0x0A) {
                pos -= more;  // not part of the break: read again
            }
        }
        if (u == 0x0A || u == 0x0D) {
            offsets.push_back(static_cast<std::uint32_t>(pos));
        }
    }
    return offsets;
}

inline std::vector<std::uint32_t> WalkOneUnitAtATime(const std::string& bytes, TextEncoding encoding)
{
    return WalkOneUnitAtATime(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), encoding);
}

// Fuzz target: JIS and EUC-JP lines into Shift-JIS, in a block of exactly the
// room callers give (the line and one byte for the terminator).
#include "document/SJISCONV.h"

#include "base/SHIFTJIS.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::size_t n = size - 1;
    auto* line = static_cast<unsigned char*>(std::malloc(n + 1));
    std::memcpy(line, data + 1, n);
    line[n] = 0x55;
    const std::size_t out = (data[0] & 1) != 0 ? EucToShiftJis(line, n) : JisToShiftJis(line, n);
    // Never longer than the input, always terminated, and no lead byte left
    // without its trail byte.
    if (out > n || line[out] != 0) {
        std::abort();
    }
    for (std::size_t i = 0; i < out; ++i) {
        const unsigned char b = line[i];
        if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
            if (i + 1 >= out || !IsShiftJisPair(line + i)) {
                std::abort();
            }
            ++i;
        }
    }
    std::free(line);
    return 0;
}

// Fuzz target: the encoding detector over any sample. The first byte picks how
// much of the rest is the sample; the bytes after it stand for the rest of a
// file in memory, which always ends with a 0 byte. ASan sees every read past
// the block.
#include "document/DETECT.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::size_t fileSize = size - 1;
    auto* file = static_cast<unsigned char*>(std::malloc(fileSize + 1));
    std::memcpy(file, data + 1, fileSize);
    file[fileSize] = 0;
    const std::size_t sample = data[0] == 0xFF ? fileSize : fileSize * data[0] / 255;
    const TextEncoding found = DetectEncoding(file, sample);
    if (found == TextEncoding::Auto || static_cast<std::uint32_t>(found) > 8) {
        std::abort();
    }
    std::free(file);
    return 0;
}

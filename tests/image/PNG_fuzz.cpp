// Fuzz target of the PNG decoder core: any bytes either decode into a
// consistent bitmap block or fail, without reading outside the input.
#include "image/PNGCORE.h"

#include <cstdio>
#include <cstdlib>

namespace {

uint32_t Le32(const uint8_t* p)
{
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "inconsistent block: %s\n", what);
        std::abort();
    }
}

}  // namespace

// The first three bytes are the background colour, the rest the chunks.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3) {
        return 0;
    }
    const uint32_t background = uint32_t{data[0]} | uint32_t{data[1]} << 8 | uint32_t{data[2]} << 16;
    CLSDibBlock block;
    if (!DecodePngBlock(data + 3, size - 3, background, block)) {
        Require(block.Empty(), "a failed decode leaves a block");
        return 0;
    }
    const uint8_t* h = block.Data();
    const unsigned bits = block.BitCount();
    Require(Le32(h) == 40, "header size");
    Require(Le32(h + 4) == block.Width() && Le32(h + 8) == block.Height(), "size");
    Require(bits == 1 || bits == 4 || bits == 8 || bits == 24, "bit count");
    Require(Le32(h + 32) == (bits == 24 ? 0u : 1u << bits), "colours used");
    Require(block.Size() == kDibHeaderBytes + kDibColourTableBytes + block.Stride() * block.Height(), "block size");
    // Touch every row so that ASan sees the whole block is ours.
    unsigned sum = 0;
    for (uint32_t y = 0; y < block.Height(); ++y) {
        const uint8_t* row = block.TopDownRow(y);
        sum += row[0] + row[block.Stride() - 1];
    }
    volatile unsigned sink = sum;
    (void)sink;
    return 0;
}

// Rows are inflated and unfiltered one at a time and converted while still in
// the cache; only an interlaced picture needs a whole-picture buffer, to gather
// its seven passes.
#include "image/PNGPIXEL.h"

#include "image/PNGFILT.h"
#include "image/PNGINFL.h"
#include "image/PNGROWS.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

struct Adam7Pass {
    uint32_t rowStart, columnStart, rowStep, columnStep;
};

constexpr Adam7Pass kAdam7[7] = {
    {0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4}, {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1},
};

// A deflate stream cannot expand its input more than 1032 times (a 258-byte
// match in two bits), so image data needing more than that cannot be complete:
// such a picture fails before its buffers are allocated.
constexpr uint64_t kMaxInflateRatio = 1032;

uint32_t PassExtent(uint32_t size, uint32_t start, uint32_t step)
{
    return start < size ? (size - start + step - 1) / step : 0;
}

// A zeroed working buffer that frees itself.
class ZeroBuffer {
public:
    explicit ZeroBuffer(size_t size) : m_pb(static_cast<uint8_t*>(std::calloc(size, 1))) {}
    ~ZeroBuffer() { std::free(m_pb); }
    ZeroBuffer(const ZeroBuffer&) = delete;
    ZeroBuffer& operator=(const ZeroBuffer&) = delete;
    uint8_t* Get() const { return m_pb; }

private:
    uint8_t* m_pb;
};

// Reads and unfilters the next row into cur (filter byte first); prev holds the
// row before it in the same pass.
bool NextRow(CLSPngInflater& inflater, uint8_t* cur, const uint8_t* prev, size_t rowBytes,
             unsigned bytesPerPixel)
{
    if (!inflater.Read(cur, rowBytes + 1)) {
        return false;
    }
    UnfilterPngRow(cur[0], cur + 1, prev + 1, rowBytes, bytesPerPixel);
    cur[0] = 0;
    return true;
}

// Places the pixels of one pass row into their image row.
void ScatterPassRow(const uint8_t* source, uint8_t* dest, uint32_t columns, const Adam7Pass& pass,
                    unsigned bitsPerPixel)
{
    if (bitsPerPixel >= 8) {
        const size_t bytes = bitsPerPixel / 8;
        for (uint32_t j = 0; j < columns; ++j) {
            const size_t column = pass.columnStart + size_t{j} * pass.columnStep;
            std::memcpy(dest + column * bytes, source + j * bytes, bytes);
        }
        return;
    }
    const unsigned mask = (1u << bitsPerPixel) - 1;
    for (uint32_t j = 0; j < columns; ++j) {
        const size_t sourceBit = size_t{j} * bitsPerPixel;
        const unsigned value = (source[sourceBit / 8] >> (8 - bitsPerPixel - sourceBit % 8)) & mask;
        const size_t destBit = (pass.columnStart + size_t{j} * pass.columnStep) * bitsPerPixel;
        dest[destBit / 8] |= static_cast<uint8_t>(value << (8 - bitsPerPixel - destBit % 8));
    }
}

class PixelDecoder {
public:
    PixelDecoder(const PngImage& image, uint32_t background, CLSPngInflater& inflater,
                 CLSDibBlock& block)
        : m_image(image),
          m_context(MakePngRowContext(image, background)),
          m_convert(ChoosePngRowConverter(image)),
          m_inflater(inflater),
          m_block(block),
          m_rowBytes(static_cast<size_t>(PngRowBytes(image.width, image.bitsPerPixel))),
          m_bytesPerPixel((image.bitsPerPixel + 7) / 8u)
    {
    }

    bool Straight();
    bool Interlaced();

private:
    const PngImage& m_image;
    PngRowContext m_context;
    PngRowConverter m_convert;
    CLSPngInflater& m_inflater;
    CLSDibBlock& m_block;
    size_t m_rowBytes;
    unsigned m_bytesPerPixel;
};

bool PixelDecoder::Straight()
{
    ZeroBuffer rows(2 * (m_rowBytes + 1));
    if (rows.Get() == nullptr) {
        return false;
    }
    uint8_t* prev = rows.Get();
    uint8_t* cur = prev + m_rowBytes + 1;
    for (uint32_t y = 0; y < m_image.height; ++y) {
        if (!NextRow(m_inflater, cur, prev, m_rowBytes, m_bytesPerPixel)) {
            return false;
        }
        m_convert(m_context, cur + 1, m_block.TopDownRow(y));
        std::swap(prev, cur);
    }
    return true;
}

bool PixelDecoder::Interlaced()
{
    ZeroBuffer picture(size_t{m_image.height} * m_rowBytes);
    ZeroBuffer rows(2 * (m_rowBytes + 1));
    if (picture.Get() == nullptr || rows.Get() == nullptr) {
        return false;
    }
    for (const Adam7Pass& pass : kAdam7) {
        const uint32_t columns = PassExtent(m_image.width, pass.columnStart, pass.columnStep);
        const uint32_t passRows = PassExtent(m_image.height, pass.rowStart, pass.rowStep);
        if (columns == 0 || passRows == 0) {
            continue;  // small pictures leave some passes empty: no data at all
        }
        const size_t passBytes = static_cast<size_t>(PngRowBytes(columns, m_image.bitsPerPixel));
        uint8_t* prev = rows.Get();
        uint8_t* cur = prev + passBytes + 1;
        std::memset(prev, 0, passBytes + 1);
        for (uint32_t k = 0; k < passRows; ++k) {
            if (!NextRow(m_inflater, cur, prev, passBytes, m_bytesPerPixel)) {
                return false;
            }
            const size_t y = pass.rowStart + size_t{k} * pass.rowStep;
            ScatterPassRow(cur + 1, picture.Get() + y * m_rowBytes, columns, pass,
                           m_image.bitsPerPixel);
            std::swap(prev, cur);
        }
    }
    for (uint32_t y = 0; y < m_image.height; ++y) {
        m_convert(m_context, picture.Get() + size_t{y} * m_rowBytes, m_block.TopDownRow(y));
    }
    return true;
}

}  // namespace

uint64_t PngDataSize(const PngImage& image)
{
    if (image.interlace == 0) {
        return uint64_t{image.height} * (1 + PngRowBytes(image.width, image.bitsPerPixel));
    }
    uint64_t total = 0;
    for (const Adam7Pass& pass : kAdam7) {
        const uint32_t columns = PassExtent(image.width, pass.columnStart, pass.columnStep);
        const uint32_t rows = PassExtent(image.height, pass.rowStart, pass.rowStep);
        if (columns != 0 && rows != 0) {
            total += uint64_t{rows} * (1 + PngRowBytes(columns, image.bitsPerPixel));
        }
    }
    return total;
}

bool DecodePngPixels(const PngImage& image, uint32_t background, CLSPngChunks& chunks,
                     const PngChunk& first, CLSDibBlock& block)
{
    const uint64_t compressed = first.length + chunks.RunLength(kChunkIDAT);
    const uint64_t needed = PngDataSize(image);
    // The whole-picture buffer of an interlaced picture is at most this size too.
    if (needed > compressed * kMaxInflateRatio || needed > SIZE_MAX / 4) {
        return false;
    }
    if (!block.Allocate(image.width, image.height, PngOutputBits(image))) {
        return false;
    }
    CLSPngInflater inflater(chunks, first);
    PixelDecoder decoder(image, background, inflater, block);
    const bool ok = image.interlace == 0 ? decoder.Straight() : decoder.Interlaced();
    inflater.SkipRestOfRun();
    if (!ok) {
        block.Free();
    }
    return ok;
}

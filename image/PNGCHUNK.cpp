// The chunk walk: each chunk is checked to lie wholly inside the input.
#include "image/PNGCHUNK.h"

namespace {

constexpr size_t kChunkFrame = 12;  // length, type and CRC around the data

}  // namespace

bool CLSPngChunks::ChunkAt(size_t pos, PngChunk& chunk, size_t& next) const
{
    if (pos > m_cbSize || m_cbSize - pos < kChunkFrame) {
        return false;
    }
    const uint8_t* p = m_pbData + pos;
    const uint32_t length = PngBigEndian32(p);
    if (length > m_cbSize - pos - kChunkFrame) {
        return false;
    }
    chunk.length = length;
    chunk.type = PngBigEndian32(p + 4);
    chunk.data = p + 8;
    next = pos + kChunkFrame + length;
    return true;
}

bool CLSPngChunks::Next(PngChunk& chunk)
{
    size_t next = 0;
    if (!ChunkAt(m_cbPos, chunk, next)) {
        return false;
    }
    m_cbPos = next;
    return true;
}

bool CLSPngChunks::PeekType(uint32_t& type) const
{
    PngChunk chunk;
    size_t next = 0;
    if (!ChunkAt(m_cbPos, chunk, next)) {
        return false;
    }
    type = chunk.type;
    return true;
}

uint64_t CLSPngChunks::RunLength(uint32_t type) const
{
    uint64_t total = 0;
    size_t pos = m_cbPos;
    PngChunk chunk;
    size_t next = 0;
    while (ChunkAt(pos, chunk, next) && chunk.type == type) {
        total += chunk.length;
        pos = next;
    }
    return total;
}

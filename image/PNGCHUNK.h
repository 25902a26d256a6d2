// Walks the chunks of a PNG held in memory without ever reading past its end.
// Pure: no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>

// A chunk type as the 32-bit big-endian value of its four letters.
constexpr uint32_t PngChunkType(const char (&name)[5])
{
    return uint32_t{static_cast<uint8_t>(name[0])} << 24 |
           uint32_t{static_cast<uint8_t>(name[1])} << 16 |
           uint32_t{static_cast<uint8_t>(name[2])} << 8 | uint32_t{static_cast<uint8_t>(name[3])};
}

constexpr uint32_t kChunkIHDR = PngChunkType("IHDR");
constexpr uint32_t kChunkPLTE = PngChunkType("PLTE");
constexpr uint32_t kChunkIDAT = PngChunkType("IDAT");
constexpr uint32_t kChunkIEND = PngChunkType("IEND");
constexpr uint32_t kChunkTRNS = PngChunkType("tRNS");

struct PngChunk {
    uint32_t type = 0;
    uint32_t length = 0;
    const uint8_t* data = nullptr;
};

inline uint32_t PngBigEndian32(const uint8_t* p)
{
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

inline uint16_t PngBigEndian16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

class CLSPngChunks {
public:
    // bytes: the file after its 8-byte signature. CRCs are not checked.
    CLSPngChunks(const uint8_t* bytes, size_t size) : m_pbData(bytes), m_cbSize(size) {}

    // Takes the next chunk; false when no whole chunk (length, type, data and
    // CRC) is left, the position then staying where it was.
    bool Next(PngChunk& chunk);

    // The type of the next whole chunk, without taking it; false when none.
    bool PeekType(uint32_t& type) const;

    // Total data length of the run of consecutive chunks of one type starting
    // at the next chunk, counting whole chunks only.
    uint64_t RunLength(uint32_t type) const;

private:
    bool ChunkAt(size_t pos, PngChunk& chunk, size_t& next) const;

    const uint8_t* m_pbData;
    size_t m_cbSize;
    size_t m_cbPos = 0;
};

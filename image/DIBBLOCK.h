// One device-independent bitmap in a single zeroed block: the 40-byte header,
// a colour table of 256 entries, then the rows bottom-up, each padded to 4 bytes.
// Pure: the layout is written byte by byte, so it builds without <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kDibHeaderBytes = 40;
constexpr size_t kDibColourEntries = 256;
constexpr size_t kDibColourTableBytes = kDibColourEntries * 4;

// No picture of ours needs a bigger block; a header claiming more is refused
// before anything is allocated instead of taking the machine's memory.
constexpr uint64_t kDibMaxBytes = uint64_t{1} << 30;

class CLSDibBlock {
public:
    CLSDibBlock() = default;
    ~CLSDibBlock();
    CLSDibBlock(const CLSDibBlock&) = delete;
    CLSDibBlock& operator=(const CLSDibBlock&) = delete;
    CLSDibBlock(CLSDibBlock&& other) noexcept;
    CLSDibBlock& operator=(CLSDibBlock&& other) noexcept;

    // Allocates the zeroed block for width x height pixels of bitCount bits and
    // fills the header; false (and empty) when the size is out of reach.
    bool Allocate(uint32_t width, uint32_t height, unsigned bitCount);
    void Free();

    // Stores the number of colour-table entries in use (the header's colours-used field).
    void SetColoursUsed(uint32_t count);

    bool Empty() const { return m_pbBlock == nullptr; }
    const uint8_t* Data() const { return m_pbBlock; }
    size_t Size() const { return m_cbBlock; }
    uint32_t Width() const { return m_uWidth; }
    uint32_t Height() const { return m_uHeight; }
    unsigned BitCount() const { return m_uBitCount; }
    size_t Stride() const { return m_cbStride; }

    uint8_t* ColourTable() { return m_pbBlock + kDibHeaderBytes; }
    const uint8_t* ColourTable() const { return m_pbBlock + kDibHeaderBytes; }
    const uint8_t* Bits() const { return m_pbBlock + kDibHeaderBytes + kDibColourTableBytes; }

    // Row y of the picture counted from the top (the block stores the bottom row first).
    uint8_t* TopDownRow(uint32_t y);
    const uint8_t* TopDownRow(uint32_t y) const;

    // Bytes of one row of width pixels at bitCount bits, padded to 4 bytes.
    static uint64_t StrideFor(uint32_t width, unsigned bitCount);

private:
    uint8_t* m_pbBlock = nullptr;
    size_t m_cbBlock = 0;
    size_t m_cbStride = 0;
    uint32_t m_uWidth = 0;
    uint32_t m_uHeight = 0;
    unsigned m_uBitCount = 0;
};

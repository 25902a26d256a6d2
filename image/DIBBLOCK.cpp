// The bitmap block: allocation with its size computed in 64 bits, and the header.
#include "image/DIBBLOCK.h"

#include "base/ASSERT.h"

#include <cstdlib>
#include <utility>

namespace {

void PutLe16(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void PutLe32(uint8_t* p, uint32_t v)
{
    PutLe16(p, v & 0xFFFF);
    PutLe16(p + 2, v >> 16);
}

}  // namespace

CLSDibBlock::~CLSDibBlock()
{
    Free();
}

CLSDibBlock::CLSDibBlock(CLSDibBlock&& other) noexcept
{
    *this = std::move(other);
}

CLSDibBlock& CLSDibBlock::operator=(CLSDibBlock&& other) noexcept
{
    if (this != &other) {
        Free();
        m_pbBlock = std::exchange(other.m_pbBlock, nullptr);
        m_cbBlock = std::exchange(other.m_cbBlock, 0);
        m_cbStride = std::exchange(other.m_cbStride, 0);
        m_uWidth = std::exchange(other.m_uWidth, 0);
        m_uHeight = std::exchange(other.m_uHeight, 0);
        m_uBitCount = std::exchange(other.m_uBitCount, 0);
    }
    return *this;
}

uint64_t CLSDibBlock::StrideFor(uint32_t width, unsigned bitCount)
{
    return ((uint64_t{width} * bitCount + 31) & ~uint64_t{31}) / 8;
}

bool CLSDibBlock::Allocate(uint32_t width, uint32_t height, unsigned bitCount)
{
    Free();
    // The header's width and height are signed; a negative height would turn
    // the rows upside down, so both must stay positive.
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
        return false;
    }
    const uint64_t stride = StrideFor(width, bitCount);
    const uint64_t total = kDibHeaderBytes + kDibColourTableBytes + stride * height;
    if (stride > kDibMaxBytes || total > kDibMaxBytes) {
        return false;
    }
    m_pbBlock = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(total), 1));
    if (m_pbBlock == nullptr) {
        return false;
    }
    m_cbBlock = static_cast<size_t>(total);
    m_cbStride = static_cast<size_t>(stride);
    m_uWidth = width;
    m_uHeight = height;
    m_uBitCount = bitCount;

    uint8_t* h = m_pbBlock;
    PutLe32(h + 0, kDibHeaderBytes);  // size of the header
    PutLe32(h + 4, width);
    PutLe32(h + 8, height);           // positive: bottom-up
    PutLe16(h + 12, 1);               // planes
    PutLe16(h + 14, bitCount);
    // Compression BI_RGB (0), image size, resolutions and colours used stay 0.
    return true;
}

void CLSDibBlock::SetColoursUsed(uint32_t count)
{
    PutLe32(m_pbBlock + 32, count);
}

void CLSDibBlock::Free()
{
    std::free(m_pbBlock);
    m_pbBlock = nullptr;
    m_cbBlock = 0;
    m_cbStride = 0;
    m_uWidth = m_uHeight = 0;
    m_uBitCount = 0;
}

uint8_t* CLSDibBlock::TopDownRow(uint32_t y)
{
    GLIM_ASSERT(y < m_uHeight);
    return m_pbBlock + kDibHeaderBytes + kDibColourTableBytes + m_cbStride * (m_uHeight - 1 - y);
}

const uint8_t* CLSDibBlock::TopDownRow(uint32_t y) const
{
    GLIM_ASSERT(y < m_uHeight);
    return m_pbBlock + kDibHeaderBytes + kDibColourTableBytes + m_cbStride * (m_uHeight - 1 - y);
}

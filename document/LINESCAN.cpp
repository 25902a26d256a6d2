// Line index builder. The search for break bytes runs 32 bytes at a time where
// SSE2 is there; only the units that hold CR or LF are looked at one by one.
#include "document/LINESCAN.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr unsigned kLf = 0x0A;
constexpr unsigned kCr = 0x0D;
constexpr std::size_t kBlock = 64;

// One bit for each byte of p[0..length) (length at most 64) that is CR or LF.
std::uint64_t BreakMask(const unsigned char* p, std::size_t length)
{
#if defined(__SSE2__)
    if (length == kBlock) {
        const __m128i lf = _mm_set1_epi8(static_cast<char>(kLf));
        const __m128i cr = _mm_set1_epi8(static_cast<char>(kCr));
        std::uint64_t mask = 0;
        for (int i = 0; i < 4; ++i) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
            const unsigned bits = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr))));
            mask |= static_cast<std::uint64_t>(bits) << (16 * i);
        }
        return mask;
    }
#endif
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (p[i] == kLf || p[i] == kCr) {
            mask |= std::uint64_t(1) << i;
        }
    }
    return mask;
}

int LowestBit(std::uint64_t mask)
{
    return __builtin_ctzll(mask);
}

}  // namespace

CLSLineScanner::CLSLineScanner(vector<std::uint32_t>& index, TextEncoding detected)
    : m_index(index),
      m_unitSize(detected == TextEncoding::Utf16Le || detected == TextEncoding::Utf16Be ? 2 : 1),
      m_bigEndian(detected == TextEncoding::Utf16Be)
{
}

void CLSLineScanner::Feed(const unsigned char* data, std::size_t n)
{
    if (n == 0) {
        return;
    }
    if (m_hasCarry) {
        const unsigned char unit[2] = {m_carry, data[0]};
        m_hasCarry = false;
        ScanPiece(unit, 2);  // m_offset does not count the carried byte yet
        m_offset += 2;
        ++data;
        --n;
    }
    const std::size_t whole = n - n % m_unitSize;
    ScanPiece(data, whole);
    m_offset += static_cast<std::uint32_t>(whole);
    if (whole != n) {
        m_hasCarry = true;
        m_carry = data[n - 1];
    }
}

void CLSLineScanner::Finish()
{
    if (m_hasCarry) {
        // A half unit at the very end reads as a unit whose other byte is 0.
        m_hasCarry = false;
        const unsigned unit = m_bigEndian ? m_carry << 8 : m_carry;
        m_offset += 1;
        bool settled = false;
        if (m_pendingCr) {
            m_pendingCr = false;
            settled = unit == kLf;
            Append(settled ? m_offset : m_crEnd);
        }
        if (!settled && unit == kLf) {
            Append(m_offset);
        } else if (!settled && unit == kCr) {
            m_pendingCr = true;
            m_crEnd = m_offset;
        }
    }
    if (m_pendingCr) {
        // CR at the end of the file: the look-ahead read nothing.
        m_pendingCr = false;
        Append(m_crEnd);
    }
}

// Whole units; m_offset is the file offset of data[0]. Only the bytes that are
// CR or LF are looked at; for UTF-16 such a byte must be the low byte of its
// unit and the high byte must be 0.
void CLSLineScanner::ScanPiece(const unsigned char* data, std::size_t length)
{
    if (length == 0) {
        return;
    }
    const std::size_t unit = m_unitSize;
    const std::size_t lowByte = unit == 2 && m_bigEndian ? 1 : 0;
    std::size_t settled = 0;  // bytes before this have been dealt with
    if (m_pendingCr) {
        m_pendingCr = false;
        if (UnitAt(data) == kLf) {
            Append(m_offset + static_cast<std::uint32_t>(unit));
            settled = unit;
        } else {
            Append(m_crEnd);
        }
    }
    for (std::size_t block = 0; block < length; block += kBlock) {
        const std::size_t blockLength = length - block < kBlock ? length - block : kBlock;
        for (std::uint64_t mask = BreakMask(data + block, blockLength); mask != 0; mask &= mask - 1) {
            const std::size_t pos = block + static_cast<std::size_t>(LowestBit(mask));
            if (pos < settled) {
                continue;
            }
            if (unit == 2 && (pos % 2 != lowByte || data[pos ^ 1] != 0)) {
                continue;
            }
            const std::size_t end = pos - pos % unit + unit;
            if (data[pos] == kLf) {
                Append(m_offset + static_cast<std::uint32_t>(end));
                settled = end;
            } else if (end + unit <= length) {
                const bool crLf = UnitAt(data + end) == kLf;
                settled = crLf ? end + unit : end;
                Append(m_offset + static_cast<std::uint32_t>(settled));
            } else {
                // The look-ahead lies in the next piece.
                m_pendingCr = true;
                m_crEnd = m_offset + static_cast<std::uint32_t>(end);
                settled = end;
            }
        }
    }
}

unsigned CLSLineScanner::UnitAt(const unsigned char* unit) const
{
    if (m_unitSize == 1) {
        return unit[0];
    }
    return m_bigEndian ? (unit[0] << 8) | unit[1] : unit[0] | (unit[1] << 8);
}

void CLSLineScanner::Append(std::uint32_t offset)
{
    // Grow by half again rather than by 16 items: a big file has millions of
    // lines, and step-wise growth would copy the index over and over.
    if (m_index.size() == m_index.capacity()) {
        m_index.reserve(m_index.capacity() + m_index.capacity() / 2);
    }
    m_index.push_back(offset);
}

// Line index builder. The search for break bytes runs 32 bytes at a time where
// SSE2 is there; only the units that hold CR or LF are looked at one by one.
#include "document/LINESCAN.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr unsigned kLf = 0x0A;
constexpr unsigned kCr = 0x0D;

// First byte in [p, end) that is CR or LF, or end.
const unsigned char* FindBreakByte(const unsigned char* p, const unsigned char* end)
{
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8(static_cast<char>(kLf));
    const __m128i cr = _mm_set1_epi8(static_cast<char>(kCr));
    while (end - p >= 32) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
        const unsigned ma = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(a, lf), _mm_cmpeq_epi8(a, cr))));
        const unsigned mb = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(b, lf), _mm_cmpeq_epi8(b, cr))));
        const unsigned mask = ma | (mb << 16);
        if (mask != 0) {
            return p + __builtin_ctz(mask);
        }
        p += 32;
    }
#endif
    for (; p < end; ++p) {
        if (*p == kLf || *p == kCr) {
            return p;
        }
    }
    return end;
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
    if (m_unitSize == 1) {
        ScanBytes(data, n);
        m_offset += static_cast<std::uint32_t>(n);
        return;
    }
    if (m_hasCarry) {
        const unsigned char unit[2] = {m_carry, data[0]};
        m_hasCarry = false;
        ScanUnits(unit, 1);  // m_offset does not count the carried byte yet
        m_offset += 2;
        ++data;
        --n;
    }
    const std::size_t units = n / 2;
    ScanUnits(data, units);
    m_offset += static_cast<std::uint32_t>(units * 2);
    if (n % 2 != 0) {
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
        if (unit == kLf || unit == kCr) {
            OnBreakUnit(unit, m_offset);
        } else {
            OnOtherUnit();
        }
    }
    if (m_pendingCr) {
        // CR at the end of the file: the look-ahead read nothing.
        m_pendingCr = false;
        Append(m_crEnd);
    }
}

// 1-byte units. m_offset is the file offset of data[0].
void CLSLineScanner::ScanBytes(const unsigned char* data, std::size_t n)
{
    const unsigned char* p = data;
    const unsigned char* const end = data + n;
    while (p < end) {
        const unsigned char* hit = FindBreakByte(p, end);
        if (hit != p) {
            OnOtherUnit();
        }
        if (hit == end) {
            return;
        }
        OnBreakUnit(*hit, m_offset + static_cast<std::uint32_t>(hit - data) + 1);
        p = hit + 1;
    }
}

// 2-byte units. m_offset is the file offset of data[0].
void CLSLineScanner::ScanUnits(const unsigned char* data, std::size_t units)
{
    std::size_t j = 0;
    while (j < units) {
        const std::size_t k = NextBreakUnit(data, j, units);
        if (k != j) {
            OnOtherUnit();
        }
        if (k == units) {
            return;
        }
        OnBreakUnit(UnitAt(data + k * 2), m_offset + static_cast<std::uint32_t>((k + 1) * 2));
        j = k + 1;
    }
}

// Index of the first unit at or after from whose value is CR or LF.
std::size_t CLSLineScanner::NextBreakUnit(const unsigned char* data, std::size_t from,
                                          std::size_t units) const
{
    const unsigned char* const end = data + units * 2;
    const unsigned char* p = data + from * 2;
    const std::size_t lowByte = m_bigEndian ? 1 : 0;
    while (p < end) {
        const unsigned char* hit = FindBreakByte(p, end);
        if (hit == end) {
            break;
        }
        const std::size_t pos = static_cast<std::size_t>(hit - data);
        if (pos % 2 == lowByte && data[pos ^ 1] == 0) {
            return pos / 2;
        }
        p = hit + 1;
    }
    return units;
}

unsigned CLSLineScanner::UnitAt(const unsigned char* unit) const
{
    return m_bigEndian ? (unit[0] << 8) | unit[1] : unit[0] | (unit[1] << 8);
}

// A CR or LF unit that ends at the given offset.
void CLSLineScanner::OnBreakUnit(unsigned unit, std::uint32_t end)
{
    if (m_pendingCr) {
        m_pendingCr = false;
        if (unit == kLf) {
            Append(end);  // CR LF: one break
            return;
        }
        Append(m_crEnd);  // a lone CR; this unit is a break of its own
    }
    if (unit == kLf) {
        Append(end);
    } else {
        m_pendingCr = true;
        m_crEnd = end;
    }
}

// Any other unit (or run of units): a CR before it was a lone CR.
void CLSLineScanner::OnOtherUnit()
{
    if (m_pendingCr) {
        m_pendingCr = false;
        Append(m_crEnd);
    }
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

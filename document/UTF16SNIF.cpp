// UTF-16 without a mark: each byte order is read as units and judged by what
// text is made of. Binaries fail on controls (a zero unit, the small values of
// headers and sound samples), on surrogates that do not pair and on units that
// no text uses; text in a byte encoding read in pairs fails on its spaces and
// punctuation, which land among such units half of the time.
#include "document/UTF16SNIF.h"

#include <cstdint>

namespace {

enum class Unit {
    Ascii,    // tab, breaks and the printable ASCII characters
    Cjk,      // kana, kanji, hangul, CJK punctuation and full-width forms
    Letter,   // the other scripts that text commonly holds
    Symbol,   // punctuation, arrows, box drawing and the like
    Odd,      // assigned or not, hardly ever seen in text
    Invalid,  // never text: controls, noncharacters, lone surrogates
};

struct Range {
    std::uint32_t first;
    std::uint32_t last;
    Unit kind;
};

// In ascending order; units between the ranges are Odd.
constexpr Range kRanges[] = {
    {0x0000, 0x0008, Unit::Invalid},  {0x0009, 0x000A, Unit::Ascii},   {0x000B, 0x000B, Unit::Invalid},
    {0x000C, 0x000D, Unit::Ascii},    {0x000E, 0x001F, Unit::Invalid}, {0x0020, 0x007E, Unit::Ascii},
    {0x007F, 0x009F, Unit::Invalid},  {0x00A0, 0x024F, Unit::Letter},  {0x0370, 0x052F, Unit::Letter},
    {0x0590, 0x06FF, Unit::Letter},   {0x0E00, 0x0E7F, Unit::Letter},  {0x1E00, 0x1EFF, Unit::Letter},
    {0x2000, 0x205F, Unit::Symbol},   {0x20A0, 0x20CF, Unit::Symbol},  {0x2100, 0x23FF, Unit::Symbol},
    {0x2460, 0x24FF, Unit::Symbol},   {0x2500, 0x27BF, Unit::Symbol},  {0x3000, 0x30FF, Unit::Cjk},
    {0x3100, 0x31FF, Unit::Cjk},      {0x3200, 0x33FF, Unit::Symbol},  {0x3400, 0x4DBF, Unit::Cjk},
    {0x4E00, 0x9FFF, Unit::Cjk},      {0xAC00, 0xD7A3, Unit::Cjk},     {0xD800, 0xDFFF, Unit::Invalid},
    {0xF900, 0xFAFF, Unit::Cjk},      {0xFE30, 0xFE4F, Unit::Symbol},  {0xFEFF, 0xFEFF, Unit::Symbol},
    {0xFF01, 0xFFEF, Unit::Cjk},      {0xFFFE, 0xFFFF, Unit::Invalid},
};

Unit Classify(std::uint32_t u)
{
    for (const Range& r : kRanges) {
        if (u < r.first) {
            return Unit::Odd;
        }
        if (u <= r.last) {
            return r.kind;
        }
    }
    return Unit::Odd;
}

bool IsHighSurrogate(std::uint32_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}

bool IsLowSurrogate(std::uint32_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

// What the sample is made of when read in one byte order.
struct Tally {
    std::size_t units = 0;
    std::size_t ascii = 0;
    std::size_t cjk = 0;
    std::size_t odd = 0;
    std::size_t lowBytesAbove7F = 0;  // the low bytes of the units
    bool invalid = false;

    // Text, and a text with evidence of its own: ASCII units (at least one in
    // a hundred, so that a stray zero byte in other text is none), or nearly
    // all units East Asian with the low bytes spread as theirs are (a text in
    // a byte encoding read in pairs keeps them below 0x80).
    bool IsText() const
    {
        if (invalid || units == 0 || odd * 50 > units) {
            return false;
        }
        const bool asciiEvidence = ascii > 0 && ascii * 100 >= units;
        const bool cjkEvidence = cjk * 10 >= units * 9 && lowBytesAbove7F * 10 >= units;
        return asciiEvidence || cjkEvidence;
    }
};

Tally Read(const unsigned char* d, std::size_t n, bool bigEndian)
{
    Tally t;
    const std::size_t count = n / 2;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char lo = bigEndian ? d[2 * i + 1] : d[2 * i];
        const unsigned char hi = bigEndian ? d[2 * i] : d[2 * i + 1];
        const std::uint32_t u = static_cast<std::uint32_t>(hi) << 8 | lo;
        ++t.units;
        if (lo >= 0x80) {
            ++t.lowBytesAbove7F;
        }
        if (IsHighSurrogate(u)) {
            // A pair is one character outside the basic plane (emoji, rare
            // kanji); the sample may end between its two halves.
            if (i + 1 == count) {
                break;
            }
            const std::uint32_t next = bigEndian ? (static_cast<std::uint32_t>(d[2 * i + 2]) << 8 | d[2 * i + 3])
                                                 : (static_cast<std::uint32_t>(d[2 * i + 3]) << 8 | d[2 * i + 2]);
            if (!IsLowSurrogate(next)) {
                t.invalid = true;
                return t;
            }
            ++i;
            ++t.cjk;
            continue;
        }
        switch (Classify(u)) {
        case Unit::Ascii:
            ++t.ascii;
            break;
        case Unit::Cjk:
            ++t.cjk;
            break;
        case Unit::Odd:
            ++t.odd;
            break;
        case Unit::Invalid:
            t.invalid = true;
            return t;
        case Unit::Letter:
        case Unit::Symbol:
            break;
        }
    }
    return t;
}

}  // namespace

TextEncoding SniffUtf16(const unsigned char* d, std::size_t n)
{
    // The sample is all of a short file, or an even number of bytes: an odd
    // count is a file that cannot be made of 16-bit units.
    if (n % 2 != 0) {
        return TextEncoding::Auto;
    }
    const Tally le = Read(d, n, false);
    const Tally be = Read(d, n, true);
    const bool leText = le.IsText();
    const bool beText = be.IsText();
    if (leText != beText) {
        return leText ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
    }
    if (!leText) {
        return TextEncoding::Auto;
    }
    // Both read as text (a short sample): the order whose zero bytes are the
    // high halves of ASCII characters, then the one with more East Asian text.
    if (le.ascii != be.ascii) {
        return le.ascii > be.ascii ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
    }
    if (le.cjk != be.cjk) {
        return le.cjk > be.cjk ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
    }
    return TextEncoding::Auto;
}

// Character column layout. Characters are read from the start of what is
// given before the row: Shift-JIS and EUC-JP fall into step at the first byte
// that cannot lead a pair (every such byte ends a character), UTF-8 at the
// first byte that is no continuation, UTF-16 reads from an even offset, and
// JIS takes its state from the escapes and starts each line in ASCII, as text
// mode does.
#include "view/HEXCHARS.h"

#include "base/SHIFTJIS.h"
#include "document/SJISCONV.h"

namespace {

constexpr unsigned char kEsc = 0x1B;
// GETA MARK, which text mode shows for the JIS X 0212 kanji of EUC-JP.
constexpr std::uint32_t kGeta = 0x81AC;

struct Char {
    std::size_t length;
    HexCharCell cell;
};

bool InRange(unsigned b, unsigned lo, unsigned hi)
{
    return b >= lo && b <= hi;
}

Char Dot(std::size_t length)
{
    return Char{length, HexCharCell{}};
}

Char ShiftJis(std::uint32_t code, std::size_t length)
{
    return Char{length, HexCharCell{HexCellKind::Glyph, 1, true, code}};
}

// C0 and C1 controls, DEL and the byte-order mark draw nothing useful.
Char Unicode(std::uint32_t code, std::size_t length)
{
    if (code < 0x20 || InRange(code, 0x7F, 0x9F) || code == 0xFEFF) {
        return Dot(length);
    }
    return Char{length, HexCharCell{HexCellKind::Glyph, 1, false, code}};
}

Char NextShiftJis(const unsigned char* p, std::size_t left)
{
    const unsigned char b = p[0];
    if (b < 0x20 || b == 0x7F) {
        return Dot(1);
    }
    if (b < 0x80 || InRange(b, 0xA1, 0xDF)) {
        return ShiftJis(b, 1);
    }
    if (left >= 2 && IsShiftJisPair(p)) {
        return ShiftJis(b << 8 | p[1], 2);
    }
    return Dot(1);
}

Char NextEuc(const unsigned char* p, std::size_t left)
{
    const unsigned char b = p[0];
    if (b < 0x80) {
        return NextShiftJis(p, left);
    }
    if (b == 0x8E && left >= 2 && InRange(p[1], 0xA1, 0xDF)) {
        return ShiftJis(p[1], 2);
    }
    if (b == 0x8F && left >= 3 && InRange(p[1], 0xA1, 0xFE) && InRange(p[2], 0xA1, 0xFE)) {
        return ShiftJis(kGeta, 3);
    }
    if (InRange(b, 0xA1, 0xFE) && left >= 2 && InRange(p[1], 0xA1, 0xFE)) {
        unsigned char pair[2];
        JisPairToShiftJis(b & 0x7F, p[1] & 0x7F, pair);
        return ShiftJis(pair[0] << 8 | pair[1], 2);
    }
    return Dot(1);
}

Char NextJis(const unsigned char* p, std::size_t left, JisState& state)
{
    const unsigned char b = p[0];
    if (b == kEsc) {
        const std::size_t escape = JisEscape(p, left, &state);
        return Dot(escape != 0 ? escape : 1);
    }
    if (b == '\n' || b == '\r') {
        state = JisState::Ascii;
        return Dot(1);
    }
    if (state == JisState::Kanji && left >= 2 && InRange(b, 0x21, 0x7E) && InRange(p[1], 0x21, 0x7E)) {
        unsigned char pair[2];
        JisPairToShiftJis(b, p[1], pair);
        return ShiftJis(pair[0] << 8 | pair[1], 2);
    }
    if (state == JisState::Katakana && InRange(b, 0x21, 0x5F)) {
        return ShiftJis(b + 0x80, 1);
    }
    return NextShiftJis(p, left);
}

// Well-formed UTF-8 of one to four bytes; anything else is a dot a byte.
Char NextUtf8(const unsigned char* p, std::size_t left)
{
    const unsigned char b = p[0];
    if (b < 0x80) {
        return Unicode(b, 1);
    }
    std::size_t length = InRange(b, 0xC2, 0xDF) ? 2 : InRange(b, 0xE0, 0xEF) ? 3 : InRange(b, 0xF0, 0xF4) ? 4 : 0;
    if (length == 0 || left < length) {
        return Dot(1);
    }
    std::uint32_t code = b & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            return Dot(1);
        }
        code = code << 6 | (p[i] & 0x3F);
    }
    constexpr std::uint32_t kShortest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kShortest[length] || InRange(code, 0xD800, 0xDFFF) || code > 0x10FFFF) {
        return Dot(1);
    }
    return Unicode(code, length);
}

// A unit, or a surrogate pair of two; a surrogate without its partner is a
// dot over its two bytes, so that the units after it stay in step.
Char NextUtf16(const unsigned char* p, std::size_t left, bool bigEndian)
{
    if (left < 2) {
        return Dot(1);
    }
    const auto unitAt = [&](std::size_t i) {
        return bigEndian ? std::uint32_t(p[i] << 8 | p[i + 1]) : std::uint32_t(p[i + 1] << 8 | p[i]);
    };
    const std::uint32_t unit = unitAt(0);
    if (!InRange(unit, 0xD800, 0xDFFF)) {
        return Unicode(unit, 2);
    }
    if (unit <= 0xDBFF && left >= 4 && InRange(unitAt(2), 0xDC00, 0xDFFF)) {
        return Unicode(0x10000 + ((unit - 0xD800) << 10) + (unitAt(2) - 0xDC00), 4);
    }
    return Dot(2);
}

Char NextChar(const unsigned char* p, std::size_t left, TextEncoding encoding, JisState& state)
{
    switch (encoding) {
    case TextEncoding::Euc:
        return NextEuc(p, left);
    case TextEncoding::Jis:
        return NextJis(p, left, state);
    case TextEncoding::Utf8:
        return NextUtf8(p, left);
    case TextEncoding::Utf16Le:
        return NextUtf16(p, left, false);
    case TextEncoding::Utf16Be:
        return NextUtf16(p, left, true);
    default:
        return NextShiftJis(p, left);
    }
}

}  // namespace

void LayOutHexChars(const unsigned char* row, std::size_t before, std::size_t count, std::size_t after,
                    TextEncoding encoding, HexCharCell* out)
{
    const unsigned char* start = row - before;
    const std::size_t end = before + count;
    const std::size_t total = end + after;
    JisState state = JisState::Ascii;
    const bool utf16 = encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
    for (std::size_t i = utf16 ? before % 2 : 0; i < end;) {
        const Char c = NextChar(start + i, total - i, encoding, state);
        const std::size_t next = i + c.length;
        std::size_t cell = i < before ? before : i;
        if (i >= before) {
            out[cell - before] = c.cell;
            out[cell - before].cells = static_cast<std::uint8_t>((next < end ? next : end) - i);
            ++cell;
        }
        for (; cell < next && cell < end; ++cell) {
            out[cell - before] = HexCharCell{HexCellKind::Continuation, 1, false, 0};
        }
        i = next;
    }
}

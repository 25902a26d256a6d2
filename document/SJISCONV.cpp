// JIS and EUC-JP into Shift-JIS. Every JIS line starts in ASCII state. Bytes
// that are not converted are copied as they are, save a lone Shift-JIS lead
// byte, which becomes '?': the code page would swallow the byte after it
// (often the line's own break).
#include "document/SJISCONV.h"

#include "base/SHIFTJIS.h"

namespace {

constexpr unsigned char kEsc = 0x1B;
constexpr unsigned char kUnknown = '?';
// GETA MARK, the customary stand-in for a kanji that Shift-JIS lacks.
constexpr unsigned char kGeta[2] = {0x81, 0xAC};

bool InRange(unsigned char b, unsigned lo, unsigned hi)
{
    return b >= lo && b <= hi;
}

bool IsJisByte(unsigned char b)
{
    return InRange(b, 0x21, 0x7E);
}

bool IsShiftJisLead(unsigned char b)
{
    return InRange(b, 0x81, 0x9F) || InRange(b, 0xE0, 0xFC);
}

// Copies the unconverted byte at bytes[i] (and its partner, when it is the
// lead of a whole Shift-JIS pair) to bytes[out]; returns the bytes taken.
std::size_t CopyUnconverted(unsigned char* bytes, std::size_t i, std::size_t n, std::size_t& out)
{
    const unsigned char b = bytes[i];
    if (!IsShiftJisLead(b)) {
        bytes[out++] = b;
        return 1;
    }
    if (i + 1 < n && IsShiftJisPair(bytes + i)) {
        bytes[out++] = b;
        bytes[out++] = bytes[i + 1];
        return 2;
    }
    bytes[out++] = kUnknown;
    return 1;
}

enum class JisState { Ascii, Kanji, Katakana };

// Length of the escape sequence at e that switches state (0 for none) and the
// state it selects. ESC $ @ (the 1978 set) is read as JIS X 0208 too, and the
// revision announcement ESC & @ is dropped: both otherwise leave the ESC and
// its letters in the text of a file that was recognised as JIS.
std::size_t JisEscape(const unsigned char* e, std::size_t left, JisState* state)
{
    if (left >= 3 && e[1] == '$' && (e[2] == 'B' || e[2] == '@')) {
        *state = JisState::Kanji;
        return 3;
    }
    if (left >= 3 && e[1] == '(' && (e[2] == 'B' || e[2] == 'H' || e[2] == 'J')) {
        *state = JisState::Ascii;
        return 3;
    }
    if (left >= 3 && e[1] == '(' && e[2] == 'I') {
        *state = JisState::Katakana;
        return 3;
    }
    if (left >= 3 && e[1] == '&' && e[2] == '@') {
        return 3;
    }
    return 0;
}

}  // namespace

void JisPairToShiftJis(unsigned char j1, unsigned char j2, unsigned char* out)
{
    const unsigned lead = ((j1 - 0x21u) >> 1) + (j1 < 0x5F ? 0x81u : 0xC1u);
    unsigned trail;
    if ((j1 & 1) != 0) {
        trail = j2 + 0x1Fu;
        if (trail >= 0x7F) {
            ++trail;
        }
    } else {
        trail = j2 + 0x7Eu;
    }
    out[0] = static_cast<unsigned char>(lead);
    out[1] = static_cast<unsigned char>(trail);
}

std::size_t JisToShiftJis(unsigned char* bytes, std::size_t n)
{
    JisState state = JisState::Ascii;
    std::size_t out = 0;
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = bytes[i];
        if (b == kEsc) {
            const std::size_t skip = JisEscape(bytes + i, n - i, &state);
            if (skip != 0) {
                i += skip;
                continue;
            }
        }
        if (state == JisState::Kanji && i + 1 < n && IsJisByte(b) && IsJisByte(bytes[i + 1])) {
            JisPairToShiftJis(b, bytes[i + 1], bytes + out);
            out += 2;
            i += 2;
            continue;
        }
        if (state == JisState::Katakana && InRange(b, 0x21, 0x5F)) {
            bytes[out++] = static_cast<unsigned char>(b + 0x80);
            ++i;
        } else {
            // Controls and the line break stay as they are, in any state.
            i += CopyUnconverted(bytes, i, n, out);
        }
    }
    bytes[out] = 0;
    return out;
}

std::size_t EucToShiftJis(unsigned char* bytes, std::size_t n)
{
    std::size_t out = 0;
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = bytes[i];
        const unsigned char b1 = i + 1 < n ? bytes[i + 1] : 0;
        const unsigned char b2 = i + 2 < n ? bytes[i + 2] : 0;
        if (b == 0x8E && InRange(b1, 0xA1, 0xDF)) {
            bytes[out++] = b1;
            i += 2;
        } else if (b == 0x8F && InRange(b1, 0xA1, 0xFE) && InRange(b2, 0xA1, 0xFE)) {
            // JIS X 0212 has no Shift-JIS form.
            bytes[out++] = kGeta[0];
            bytes[out++] = kGeta[1];
            i += 3;
        } else if (InRange(b, 0xA1, 0xFE) && InRange(b1, 0xA1, 0xFE)) {
            JisPairToShiftJis(b & 0x7F, b1 & 0x7F, bytes + out);
            out += 2;
            i += 2;
        } else {
            i += CopyUnconverted(bytes, i, n, out);
        }
    }
    bytes[out] = 0;
    return out;
}

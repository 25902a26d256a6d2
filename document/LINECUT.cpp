// Pieces of a long line: where they may be cut in each encoding, their
// decoding from a known state, and the cells of a character.
#include "document/LINECUT.h"

#include "base/SHIFTJIS.h"
#include "document/LINEDEC.h"
#include "document/SJISCONV.h"

#include <cstring>


namespace {

constexpr unsigned char kEsc = 0x1B;

bool InRange(unsigned b, unsigned lo, unsigned hi)
{
    return b >= lo && b <= hi;
}

bool IsBase64(unsigned char b)
{
    return InRange(b, 'A', 'Z') || InRange(b, 'a', 'z') || InRange(b, '0', '9') || b == '+' || b == '/';
}

// Bytes of the character at b[i] as the Shift-JIS decoding takes it: a whole
// pair, else one byte.
std::size_t ShiftJisStep(const unsigned char* b, std::size_t i)
{
    return IsShiftJisPair(b + i) ? 2 : 1;
}

// Shift-JIS and EUC: a byte below 0x40 is neither a lead nor a trail byte, so
// a character always starts after it; most text has one near any cut. Pure
// double-byte text has none, and is walked from the piece's start instead.
std::size_t CutAfterLowByte(const unsigned char* b, std::size_t n)
{
    const std::size_t stop = n > 256 ? n - 256 : 0;
    for (std::size_t i = n; i > stop; --i) {
        if (b[i - 1] < 0x40) {
            return i;
        }
    }
    return 0;
}

// The walks stop short of the last bytes rather than guess whether a
// character or an escape there is complete; the rest starts the next piece.
std::size_t WalkShiftJis(const unsigned char* b, std::size_t n)
{
    std::size_t i = 0;
    while (n - i >= 3) {
        i += ShiftJisStep(b, i);
    }
    return i;
}

// As EucToShiftJis pairs the bytes.
std::size_t WalkEuc(const unsigned char* b, std::size_t n)
{
    std::size_t i = 0;
    while (n - i >= 3) {
        const unsigned char c = b[i];
        if (c == 0x8E && InRange(b[i + 1], 0xA1, 0xDF)) {
            i += 2;
        } else if (c == 0x8F && InRange(b[i + 1], 0xA1, 0xFE) && InRange(b[i + 2], 0xA1, 0xFE)) {
            i += 3;
        } else if (InRange(c, 0xA1, 0xFE) && InRange(b[i + 1], 0xA1, 0xFE)) {
            i += 2;
        } else {
            i += ShiftJisStep(b, i);
        }
    }
    return i;
}

// As JisToShiftJis reads the bytes, keeping the shift state.
std::size_t WalkJis(const unsigned char* b, std::size_t n, unsigned char* state)
{
    auto shift = static_cast<JisState>(*state);
    std::size_t i = 0;
    while (n - i >= 3) {
        const unsigned char c = b[i];
        if (c == kEsc) {
            const std::size_t skip = JisEscape(b + i, n - i, &shift);
            if (skip != 0) {
                i += skip;
                continue;
            }
        }
        if (shift == JisState::Kanji && InRange(c, 0x21, 0x7E) && InRange(b[i + 1], 0x21, 0x7E)) {
            i += 2;
        } else if (shift == JisState::Katakana && InRange(c, 0x21, 0x5F)) {
            ++i;
        } else {
            i += ShiftJisStep(b, i);
        }
    }
    *state = static_cast<unsigned char>(shift);
    return i;
}

std::size_t CutUtf8(const unsigned char* b, std::size_t n)
{
    std::size_t k = n - 1;
    while (k > 0 && n - k < 4 && (b[k] & 0xC0) == 0x80) {
        --k;
    }
    const unsigned lead = b[k];
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 1;
    return k + length > n ? k : n;
}

unsigned Utf16Unit(const unsigned char* p, bool bigEndian)
{
    return bigEndian ? (p[0] << 8 | p[1]) : (p[0] | p[1] << 8);
}

// Whole units, and never between the two halves of a surrogate pair.
std::size_t CutUtf16(const unsigned char* b, std::size_t n, bool bigEndian)
{
    std::size_t cut = n & ~std::size_t{1};
    if (cut >= 4 && InRange(Utf16Unit(b + cut - 2, bigEndian), 0xD800, 0xDBFF)) {
        cut -= 2;
    }
    return cut;
}

// Outside a base64 run anywhere; inside one only after a multiple of 8
// base64 characters (48 bits, three whole units) and before more of them, so
// that the next piece can begin the run again with a '+'.
std::size_t CutUtf7(const unsigned char* b, std::size_t n, unsigned char* state)
{
    bool inRun = *state != 0;
    std::size_t group = 0;
    std::size_t safe = 0;
    unsigned char safeState = *state;
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = b[i];
        if (!inRun) {
            if (c == '+') {
                if (i + 1 >= n) {
                    break;
                }
                if (b[i + 1] == '-') {
                    i += 2;
                } else {
                    inRun = true;
                    group = 0;
                    ++i;
                    continue;
                }
            } else {
                ++i;
            }
            safe = i;
            safeState = 0;
        } else if (IsBase64(c)) {
            ++i;
            if (++group % 8 == 0 && i < n && IsBase64(b[i])) {
                safe = i;
                safeState = 1;
            }
        } else {
            inRun = false;
            if (c == '-') {
                ++i;
            }
            safe = i;
            safeState = 0;
        }
    }
    *state = safeState;
    return safe;
}

}  // namespace

int CellsOfUnit(WCHAR unit)
{
    static const struct {
        WCHAR first;
        WCHAR last;
        unsigned char cells;
    } kRanges[] = {
        {0x00A7, 0x00A8, 2}, {0x00B0, 0x00B1, 2}, {0x00B4, 0x00B4, 2}, {0x00B6, 0x00B6, 2},
        {0x00D7, 0x00D7, 2}, {0x00F7, 0x00F7, 2}, {0x0391, 0x03C9, 2}, {0x0401, 0x0451, 2},
        {0x1100, 0x115F, 2}, {0x2010, 0x2312, 2}, {0x2460, 0x26FF, 2}, {0x2E80, 0x303E, 2},
        {0x3041, 0x4DBF, 2}, {0x4E00, 0xA4CF, 2}, {0xAC00, 0xD7A3, 2}, {0xD800, 0xDBFF, 2},
        {0xDC00, 0xDFFF, 0}, {0xF900, 0xFAFF, 2}, {0xFE30, 0xFE4F, 2}, {0xFF01, 0xFF60, 2},
        {0xFFE0, 0xFFE6, 2},
    };
    if (unit < 0xA7) {
        return 1;
    }
    for (const auto& r : kRanges) {
        if (unit < r.first) {
            return 1;
        }
        if (unit <= r.last) {
            return r.cells;
        }
    }
    return 1;
}

std::size_t PieceCut(const unsigned char* bytes, std::size_t n, TextEncoding encoding, unsigned char state,
                     unsigned char* after)
{
    *after = 0;
    if (n == 0) {
        return 0;
    }
    switch (encoding) {
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        return CutUtf16(bytes, n, encoding == TextEncoding::Utf16Be);
    case TextEncoding::Utf8:
        return CutUtf8(bytes, n);
    case TextEncoding::Utf7:
        *after = state;
        return CutUtf7(bytes, n, after);
    case TextEncoding::Jis:
        *after = state;
        return WalkJis(bytes, n, after);
    case TextEncoding::Euc: {
        const std::size_t low = CutAfterLowByte(bytes, n);
        return low != 0 ? low : WalkEuc(bytes, n);
    }
    default: {
        const std::size_t low = CutAfterLowByte(bytes, n);
        return low != 0 ? low : WalkShiftJis(bytes, n);
    }
    }
}

void DecodePiece(const unsigned char* bytes, std::size_t n, TextEncoding encoding, unsigned char state,
                 std::vector<WCHAR>& out)
{
    const std::size_t at = out.size();
    if (IsUtf16(encoding)) {
        const bool bigEndian = encoding == TextEncoding::Utf16Be;
        // As a whole line decodes: an odd last byte is a unit with a zero
        // high byte in little-endian order, and is dropped in big-endian.
        const std::size_t units = bigEndian ? n / 2 : (n + 1) / 2;
        out.resize(at + units);
        for (std::size_t k = 0; k < units; ++k) {
            const unsigned char pair[2] = {bytes[2 * k], 2 * k + 1 < n ? bytes[2 * k + 1] : static_cast<unsigned char>(0)};
            out[at + k] = static_cast<WCHAR>(Utf16Unit(pair, bigEndian));
        }
        return;
    }
    // A piece that begins inside a JIS shift or a UTF-7 run gets the escape
    // or the '+' that put the decoder there.
    const char* prefix = "";
    if (encoding == TextEncoding::Jis && state == static_cast<unsigned char>(JisState::Kanji)) {
        prefix = "\x1B$B";
    } else if (encoding == TextEncoding::Jis && state == static_cast<unsigned char>(JisState::Katakana)) {
        prefix = "\x1B(I";
    } else if (encoding == TextEncoding::Utf7 && state != 0) {
        prefix = "+";
    }
    std::vector<unsigned char> buffer(prefix, prefix + std::strlen(prefix));
    buffer.insert(buffer.end(), bytes, bytes + n);
    std::size_t count = buffer.size();
    buffer.resize(count + kLinePadding, 0);
    if (encoding == TextEncoding::Jis) {
        count = JisToShiftJis(buffer.data(), count);
    } else if (encoding == TextEncoding::Euc) {
        count = EucToShiftJis(buffer.data(), count);
    }
    out.resize(at + count + 2);
    const int written = count != 0 ? MultiByteToWideChar(CodePageOf(encoding), 0, reinterpret_cast<const char*>(buffer.data()),
                                                         static_cast<int>(count), out.data() + at,
                                                         static_cast<int>(count + 2))
                                   : 0;
    out.resize(at + static_cast<std::size_t>(written > 0 ? written : 0));
}

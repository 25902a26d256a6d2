// One long line read piece by piece: where pieces may be cut in each
// encoding, their decoding from a known state, and the checkpoints that let
// any column or x be found from the one piece around it.
#include "document/LINEMAP.h"

#include "base/SHIFTJIS.h"
#include "document/LINEDEC.h"
#include "document/SJISCONV.h"

#include <algorithm>

namespace {

constexpr unsigned char kEsc = 0x1B;

bool InRange(unsigned b, unsigned lo, unsigned hi)
{
    return b >= lo && b <= hi;
}

bool IsUtf16(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
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

// Printable ASCII decodes to itself in every byte encoding, one cell a
// byte, outside a JIS shift and in any encoding but UTF-7 (where '+' starts
// a run): such a piece, the common one in a minified script or a dump, is
// counted without decoding it.
bool IsPlainAscii(const unsigned char* b, std::size_t n, TextEncoding encoding, unsigned char state)
{
    if (IsUtf16(encoding) || encoding == TextEncoding::Utf7 || state != 0) {
        return false;
    }
    unsigned char outside = 0;
    for (std::size_t i = 0; i < n; ++i) {
        outside |= static_cast<unsigned char>((b[i] - 0x20u) & 0xFFu) >= 0x5Fu ? 1 : 0;
    }
    return outside == 0;
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
    std::vector<unsigned char> buffer(prefix, prefix + std::char_traits<char>::length(prefix));
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

CLSLineMap::CLSLineMap(std::uint64_t bytes, TextEncoding encoding, bool firstLine, int tabCells,
                       std::size_t pieceBytes)
    : m_ullBytes(bytes), m_enc(encoding), m_bFirstLine(firstLine), m_iTabCells(tabCells > 0 ? tabCells : 1),
      m_nPieceBytes(pieceBytes < 16 ? 16 : pieceBytes)
{
    m_points.push_back(Checkpoint{0, 0, 0, 0});
    m_bComplete = bytes == 0;
}

std::uint64_t CLSLineMap::Advance(std::uint64_t cells, WCHAR unit) const
{
    if (unit == L'\t') {
        return cells + m_iTabCells - cells % static_cast<std::uint64_t>(m_iTabCells);
    }
    return cells + static_cast<std::uint64_t>(CellsOfUnit(unit));
}

void CLSLineMap::SkipByteOrderMark(const LineByteReader& read)
{
    m_bMarkChecked = true;
    if (!m_bFirstLine) {
        return;
    }
    unsigned char head[3] = {};
    DWORD got = 0;
    if (!read(0, head, static_cast<DWORD>(std::min<std::uint64_t>(m_ullBytes, 3)), &got)) {
        return;
    }
    std::uint64_t mark = 0;
    if (m_enc == TextEncoding::Utf8 && got >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) {
        mark = 3;
    } else if (m_enc == TextEncoding::Utf16Le && got >= 2 && head[0] == 0xFF && head[1] == 0xFE) {
        mark = 2;
    } else if (m_enc == TextEncoding::Utf16Be && got >= 2 && head[0] == 0xFE && head[1] == 0xFF) {
        mark = 2;
    }
    m_points[0].byte = mark;
    m_bComplete = mark >= m_ullBytes;
}

bool CLSLineMap::ReadNextPiece(const LineByteReader& read)
{
    if (!m_bMarkChecked) {
        SkipByteOrderMark(read);
        if (m_bComplete) {
            return true;
        }
    }
    const Checkpoint from = Frontier();
    const std::uint64_t left = m_ullBytes - from.byte;
    const std::size_t want = left < m_nPieceBytes ? static_cast<std::size_t>(left) : m_nPieceBytes;
    m_bytes.resize(want);
    DWORD got = 0;
    if (!read(from.byte, m_bytes.data(), static_cast<DWORD>(want), &got) || got != want) {
        return false;
    }
    if (IsPlainAscii(m_bytes.data(), want, m_enc, from.state)) {
        m_points.push_back(Checkpoint{from.byte + want, from.unit + want, from.cells + want, 0});
        m_bComplete = want == left;
        return true;
    }
    unsigned char state = from.state;
    std::size_t cut = want;
    if (want < left) {
        cut = PieceCut(m_bytes.data(), want, m_enc, from.state, &state);
        if (cut == 0) {
            cut = want;
            state = from.state;
        }
    }
    m_cachedUnits.clear();
    DecodePiece(m_bytes.data(), cut, m_enc, from.state, m_cachedUnits);
    m_nCachedPiece = m_points.size() - 1;
    Checkpoint to{from.byte + cut, from.unit, from.cells, state};
    for (const WCHAR unit : m_cachedUnits) {
        if (unit == 0 || unit == L'\r' || unit == L'\n') {
            m_bComplete = true;  // the break, or U+0000, where a short line's text ends too
            break;
        }
        to.cells = Advance(to.cells, unit);
        ++to.unit;
    }
    m_cachedUnits.resize(static_cast<std::size_t>(to.unit - from.unit));
    if (to.byte >= m_ullBytes) {
        m_bComplete = true;
    }
    m_points.push_back(to);
    return true;
}

template <class Reached>
bool CLSLineMap::ReadOnUntil(const LineByteReader& read, Reached&& reached)
{
    while (!m_bComplete && !reached(Frontier())) {
        if (!ReadNextPiece(read)) {
            return false;
        }
    }
    return true;
}

bool CLSLineMap::ReadOn(const LineByteReader& read, std::size_t pieces)
{
    for (std::size_t i = 0; i < pieces && !m_bComplete; ++i) {
        if (!ReadNextPiece(read)) {
            return false;
        }
    }
    return true;
}

void CLSLineMap::Adopt(const std::vector<LineCheckpoint>& points, bool complete)
{
    if (m_bComplete || points.size() <= m_points.size()) {
        return;
    }
    // The pieces both have read are the same pieces: the cached one stays.
    m_points.insert(m_points.end(), points.begin() + static_cast<std::ptrdiff_t>(m_points.size()), points.end());
    m_points.front() = points.front();
    m_bMarkChecked = true;
    m_bComplete = complete;
}

const std::vector<WCHAR>* CLSLineMap::PieceUnits(const LineByteReader& read, std::size_t i)
{
    if (i == m_nCachedPiece) {
        return &m_cachedUnits;
    }
    const Checkpoint& from = m_points[i];
    const Checkpoint& to = m_points[i + 1];
    const auto n = static_cast<std::size_t>(to.byte - from.byte);
    m_bytes.resize(n);
    DWORD got = 0;
    if (!read(from.byte, m_bytes.data(), static_cast<DWORD>(n), &got) || got != n) {
        return nullptr;
    }
    m_nCachedPiece = SIZE_MAX;
    m_cachedUnits.clear();
    DecodePiece(m_bytes.data(), n, m_enc, from.state, m_cachedUnits);
    m_cachedUnits.resize(static_cast<std::size_t>(to.unit - from.unit));
    m_nCachedPiece = i;
    return &m_cachedUnits;
}

// Among the pieces read (the frontier is no piece), the last one that starts
// at or before the column or x.
std::size_t CLSLineMap::PieceOfColumn(std::uint64_t column) const
{
    const auto end = m_points.end() - 1;
    const auto it = std::upper_bound(m_points.begin(), end, column,
                                     [](std::uint64_t c, const Checkpoint& p) { return c < p.unit; });
    return static_cast<std::size_t>(it - m_points.begin()) - 1;
}

std::size_t CLSLineMap::PieceOfCells(std::uint64_t cells) const
{
    const auto end = m_points.end() - 1;
    const auto it = std::upper_bound(m_points.begin(), end, cells,
                                     [](std::uint64_t c, const Checkpoint& p) { return c < p.cells; });
    return static_cast<std::size_t>(it - m_points.begin()) - 1;
}

bool CLSLineMap::CellsOfColumn(const LineByteReader& read, std::uint64_t column, std::uint64_t* cells)
{
    if (!ReadOnUntil(read, [column](const Checkpoint& p) { return p.unit > column; })) {
        return false;
    }
    if (column >= Frontier().unit) {
        *cells = Frontier().cells;
        return true;
    }
    const std::size_t i = PieceOfColumn(column);
    const std::vector<WCHAR>* units = PieceUnits(read, i);
    if (units == nullptr) {
        return false;
    }
    std::uint64_t x = m_points[i].cells;
    for (std::uint64_t k = 0; k < column - m_points[i].unit; ++k) {
        x = Advance(x, (*units)[static_cast<std::size_t>(k)]);
    }
    *cells = x;
    return true;
}

bool CLSLineMap::ColumnAtCells(const LineByteReader& read, std::uint64_t cells, std::uint64_t* column)
{
    if (!ReadOnUntil(read, [cells](const Checkpoint& p) { return p.cells > cells; })) {
        return false;
    }
    if (cells >= Frontier().cells) {
        *column = Frontier().unit;
        return true;
    }
    const std::size_t i = PieceOfCells(cells);
    const std::vector<WCHAR>* units = PieceUnits(read, i);
    if (units == nullptr) {
        return false;
    }
    std::uint64_t x = m_points[i].cells;
    std::uint64_t c = m_points[i].unit;
    for (const WCHAR unit : *units) {
        const std::uint64_t next = Advance(x, unit);
        if (next > cells) {
            break;
        }
        x = next;
        ++c;
    }
    *column = c;
    return true;
}

bool CLSLineMap::Length(const LineByteReader& read, std::uint64_t* units)
{
    if (!ReadOnUntil(read, [](const Checkpoint&) { return false; })) {
        return false;
    }
    *units = Frontier().unit;
    return true;
}

bool CLSLineMap::HasColumn(const LineByteReader& read, std::uint64_t column, bool* has)
{
    if (!ReadOnUntil(read, [column](const Checkpoint& p) { return p.unit > column; })) {
        return false;
    }
    *has = Frontier().unit > column;
    return true;
}

bool CLSLineMap::Window(const LineByteReader& read, std::uint64_t fromCells, std::uint64_t toCells, LineWindow* window)
{
    window->units.clear();
    if (!ReadOnUntil(read, [toCells](const Checkpoint& p) { return p.cells > toCells; })) {
        return false;
    }
    if (fromCells >= Frontier().cells) {
        window->firstColumn = Frontier().unit;
        window->firstCells = Frontier().cells;
        return true;
    }
    std::size_t i = PieceOfCells(fromCells);
    const std::vector<WCHAR>* units = PieceUnits(read, i);
    if (units == nullptr) {
        return false;
    }
    std::uint64_t x = m_points[i].cells;
    std::size_t k = 0;
    while (k < units->size() && Advance(x, (*units)[k]) <= fromCells) {
        x = Advance(x, (*units)[k++]);
    }
    window->firstColumn = m_points[i].unit + k;
    window->firstCells = x;
    while (x <= toCells) {
        if (k == units->size()) {
            if (++i + 1 >= m_points.size()) {
                break;
            }
            units = PieceUnits(read, i);
            if (units == nullptr) {
                return false;
            }
            k = 0;
            continue;
        }
        window->units.push_back((*units)[k]);
        x = Advance(x, (*units)[k++]);
    }
    return true;
}

bool CLSLineMap::Units(const LineByteReader& read, std::uint64_t first, std::uint64_t count, std::wstring* text)
{
    text->clear();
    const std::uint64_t end = first + count;
    if (!ReadOnUntil(read, [end](const Checkpoint& p) { return p.unit >= end; })) {
        return false;
    }
    if (first >= Frontier().unit) {
        return true;
    }
    for (std::size_t i = PieceOfColumn(first); i + 1 < m_points.size() && m_points[i].unit < end; ++i) {
        const std::vector<WCHAR>* units = PieceUnits(read, i);
        if (units == nullptr) {
            return false;
        }
        const std::uint64_t from = std::max(first, m_points[i].unit) - m_points[i].unit;
        const std::uint64_t to = std::min<std::uint64_t>(end - m_points[i].unit, units->size());
        text->append(units->data() + from, units->data() + to);
    }
    return true;
}

std::uint64_t CLSLineMap::EstimatedCells() const
{
    const Checkpoint& f = Frontier();
    if (m_bComplete) {
        return f.cells;
    }
    if (f.byte == 0 || f.cells == 0) {
        return m_ullBytes;
    }
    return f.cells + static_cast<std::uint64_t>(static_cast<double>(m_ullBytes - f.byte) * f.cells / f.byte);
}

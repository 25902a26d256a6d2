// One long line read piece by piece: the checkpoints that let any column or
// x be found from the one piece around it.
#include "document/LINEMAP.h"

#include <algorithm>

namespace {

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

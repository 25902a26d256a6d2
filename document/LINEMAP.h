// CLSLineMap: one long line read in pieces. Decoding and measuring a line of
// hundreds of megabytes whole for every paint, click or key costs seconds and
// memory twice its size; the map instead walks the line once, piece by piece,
// as far as anything has asked, and keeps where each piece starts: its byte,
// its first column, its x in cells and the decoder's state there. Any column
// or x is then found by decoding the one piece around it.
//
// x is counted in cells: a half-width character is one cell, a full-width one
// (by its character class) two, a tab reaches the next stop. Measuring with
// the font would need every character before a position; cells need only
// the characters themselves, and they are exact for the fixed-pitch fonts
// the view uses (and the view draws long lines at these very positions).
#pragma once

#include "document/ENCODING.h"
#include "document/LINECUT.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Reads n bytes at offset (from the line's first byte) into `into`; the
// bytes actually read go to *got. False when the read fails.
using LineByteReader = std::function<bool(std::uint64_t offset, unsigned char* into, DWORD n, DWORD* got)>;

// Where a piece of a line starts: its byte, its first column, its x in
// cells, and the decoder's state there.
struct LineCheckpoint {
    std::uint64_t byte;
    std::uint64_t unit;
    std::uint64_t cells;
    unsigned char state;
};

// Units of a window of a line and where it starts.
struct LineWindow {
    std::uint64_t firstColumn = 0;
    std::uint64_t firstCells = 0;
    std::vector<WCHAR> units;
};

class CLSLineMap {
public:
    static constexpr std::size_t kPieceBytes = 64 * 1024;

    // bytes: the line's span, or more when its end is not known yet: the
    // line ends at its first CR, LF or U+0000 (which its span holds only as
    // its break, or as where a short line's text ends too); firstLine: a
    // byte-order mark may start it; tabCells: cells from one tab stop to the next (at
    // least 1). The piece size is for the tests.
    CLSLineMap(std::uint64_t bytes, TextEncoding encoding, bool firstLine, int tabCells,
               std::size_t pieceBytes = kPieceBytes);

    // Each of these reads on as far as it must; false when a read fails.
    // Columns beyond the line are held to its end.
    bool CellsOfColumn(const LineByteReader& read, std::uint64_t column, std::uint64_t* cells);
    // The largest column whose x is at or before cells.
    bool ColumnAtCells(const LineByteReader& read, std::uint64_t cells, std::uint64_t* column);
    // Units of the line: the whole line is read once.
    bool Length(const LineByteReader& read, std::uint64_t* units);
    // Whether the line has a unit at column (reads no further than that).
    bool HasColumn(const LineByteReader& read, std::uint64_t column, bool* has);
    // The units that lie in x fromCells..toCells: the first one starts at or
    // before fromCells, the last one reaches toCells or ends the line.
    bool Window(const LineByteReader& read, std::uint64_t fromCells, std::uint64_t toCells, LineWindow* window);
    // count units from column first on (fewer at the end of the line).
    bool Units(const LineByteReader& read, std::uint64_t first, std::uint64_t count, std::wstring* text);

    // The width in cells: exact once the line has been read through, else
    // the part read so far and the rest at the same cells per byte.
    std::uint64_t EstimatedCells() const;
    bool IsComplete() const { return m_bComplete; }

    // For a copy of the map read on on another thread: up to pieces more,
    // and what it has found, which a map of the same line made the same way
    // takes over with Adopt (the checkpoints past its own).
    bool ReadOn(const LineByteReader& read, std::size_t pieces);
    const std::vector<LineCheckpoint>& Checkpoints() const { return m_points; }
    void Adopt(const std::vector<LineCheckpoint>& points, bool complete);

private:
    using Checkpoint = LineCheckpoint;
    template <class Reached>
    bool ReadOnUntil(const LineByteReader& read, Reached&& reached);
    bool ReadNextPiece(const LineByteReader& read);
    void SkipByteOrderMark(const LineByteReader& read);
    bool ReadPiece(const LineByteReader& read, std::size_t i, std::size_t* n);
    const std::vector<WCHAR>* PieceUnits(const LineByteReader& read, std::size_t i);
    std::size_t PieceOfColumn(std::uint64_t column) const;
    std::size_t PieceOfCells(std::uint64_t cells) const;
    std::uint64_t Advance(std::uint64_t cells, WCHAR unit) const;
    const Checkpoint& Frontier() const { return m_points.back(); }

    std::uint64_t m_ullBytes;
    TextEncoding m_enc;
    bool m_bFirstLine;
    int m_iTabCells;
    std::size_t m_nPieceBytes;
    // Where each piece read so far starts; the last entry is where reading
    // stands, and once the line is complete, its end.
    std::vector<Checkpoint> m_points;
    bool m_bComplete = false;
    bool m_bMarkChecked = false;
    std::vector<unsigned char> m_bytes;
    // The piece decoded last: paints and clicks come back to the same one.
    std::size_t m_nCachedPiece = SIZE_MAX;
    std::vector<WCHAR> m_cachedUnits;
};

// Hex mode: rows of 16 bytes read straight through the document's cursor (one
// read a paint, nothing cached), the character column in the encoding in use,
// and clicks on the pairs.
#include "view/WNDVIEW.h"

#include "base/CLAMP.h"
#include "base/OWNERS.h"
#include "document/LINEDEC.h"
#include "view/HEXCHARS.h"
#include "view/HEXLAY.h"
#include "view/LOWLINE.h"
#include "view/TEXTLAY.h"

#include <memory>
#include <new>

namespace {

// The text of one cell's character: a blank for the rest of a character from
// the row before, a dot where nothing can be drawn, else the character (two
// units beyond the basic plane). Returns the units written.
UINT CellText(const HexCharCell& cell, WCHAR* out)
{
    out[0] = L'.';
    if (cell.kind == HexCellKind::Continuation) {
        out[0] = L' ';
        return 1;
    }
    if (cell.kind == HexCellKind::Dot) {
        return 1;
    }
    if (cell.shiftJis) {
        const char bytes[2] = {static_cast<char>(cell.code >> 8), static_cast<char>(cell.code)};
        const bool pair = cell.code > 0xFF;
        // A pair the code page lacks stays a dot rather than the default character.
        if (MultiByteToWideChar(CodePageOf(TextEncoding::ShiftJis), MB_ERR_INVALID_CHARS, pair ? bytes : bytes + 1,
                                pair ? 2 : 1, out, 2) != 1) {
            out[0] = L'.';
        }
        return 1;
    }
    if (cell.code >= 0x10000) {
        out[0] = static_cast<WCHAR>(0xD800 + ((cell.code - 0x10000) >> 10));
        out[1] = static_cast<WCHAR>(0xDC00 + (cell.code & 0x3FF));
        return 2;
    }
    out[0] = static_cast<WCHAR>(cell.code);
    return 1;
}

// The character column of one row, each character advancing over its cells.
void DrawHexChars(HDC hdc, int x, int y, const RECT& box, const HexCharCell* cells, int count, int cellWidth,
                  const CLSLowLine& lowLine)
{
    WCHAR text[2 * kHexBytesPerRow];
    INT advances[2 * kHexBytesPerRow] = {};
    UINT n = 0;
    for (int i = 0; i < count;) {
        const int span = cells[i].kind == HexCellKind::Continuation ? 1 : cells[i].cells;
        const UINT units = CellText(cells[i], text + n);
        advances[n] = span * cellWidth;
        n += units;
        i += span;
    }
    ExtTextOutW(hdc, x, y, ETO_OPAQUE, &box, text, n, advances);
    lowLine.Draw(hdc, x, y, text, static_cast<int>(n), advances);
}

}  // namespace

// All rows of the update are read at once, with the bytes the character
// column wants to see before the first and after the last.
void CLSWndView::PaintHex(HDC hdc, const RECT& rc)
{
    const Metrics m = GetMetrics();
    const int cw = m.cellWidth;
    const COLORREF crText = m_clsBinary.EffectiveTextColor();
    const COLORREF crBack = m_clsBinary.EffectiveBackColor();
    const COLORREF crSelText = m_clsBinary.EffectiveSelectedTextColor();
    const COLORREF crSelBack = m_clsBinary.EffectiveSelectedBackColor();
    SetTextColor(hdc, crText);
    SetBkColor(hdc, crBack);

    const int x0 = -GetScrollPos32(SB_HORZ) * cw;
    const int xBytes = x0 + HexOffsetExtraCells(Doc().GetFileSize()) * cw;
    long long row = GetScrollPos32(SB_VERT) + static_cast<long long>(rc.top / m.rowHeight);
    int y = m.rowHeight * (rc.top / m.rowHeight);
    const long long rowLimit = LineCount();
    if (row < 0 || row >= rowLimit) {
        if (row == rowLimit && y <= rc.bottom) {
            PaintEndNotice(hdc, x0, y);
        }
        return;
    }
    const std::uint64_t first = static_cast<std::uint64_t>(row) * kHexBytesPerRow;
    const std::uint64_t lead = first < kHexCharsBefore ? first : kHexCharsBefore;
    const std::size_t rows = rc.bottom >= y ? static_cast<std::size_t>((rc.bottom - y) / m.rowHeight) + 1 : 0;
    const std::size_t want = static_cast<std::size_t>(lead) + rows * kHexBytesPerRow + kHexCharsAfter;
    if (want > MAXDWORD || !Doc().SeekTo(first - lead)) {
        return;
    }
    std::unique_ptr<unsigned char[]> bytes(new (std::nothrow) unsigned char[want]);
    DWORD got = 0;
    if (!bytes || !Doc().ReadBytes(bytes.get(), static_cast<DWORD>(want), &got)) {
        return;
    }
    const TextEncoding encoding = GetEffectiveEncoding();
    const OrderedSelection sel = Selection();
    const CLSLowLine lowLine(hdc);
    for (std::size_t at = static_cast<std::size_t>(lead); y <= rc.bottom && at < got && row < rowLimit;
         at += kHexBytesPerRow) {
        const unsigned char* data = bytes.get() + at;
        const int count = static_cast<int>(got - at < kHexBytesPerRow ? got - at : kHexBytesPerRow);
        char offset[kHexOffsetRoom];
        const int offsetLength = FormatHexOffset(static_cast<std::uint64_t>(row), offset);
        TextOutA(hdc, x0, y, offset, offsetLength);

        const int top = y - (m.rowHeight - m.fontHeight) / 2;
        RECT band{xBytes + kHexFirstPairCell * cw, top, xBytes + (kHexFirstPairCell + 3) * cw, top + m.rowHeight};
        for (int i = 0; i < count; ++i) {
            // Consecutive selected bytes make one band, also across the gap
            // between the halves.
            const bool selected = IsInSelection(ViewPos{i, SaturateToInt(row)}, sel);
            SetTextColor(hdc, selected ? crSelText : crText);
            SetBkColor(hdc, selected ? crSelBack : crBack);
            char pair[2];
            FormatHexPair(data[i], pair);
            ExtTextOutA(hdc, xBytes + HexPairCell(i) * cw, y, ETO_OPAQUE, &band, pair, 2, nullptr);
            OffsetRect(&band, 3 * cw, 0);
        }
        SetTextColor(hdc, crText);
        SetBkColor(hdc, crBack);
        HexCharCell cells[kHexBytesPerRow];
        const std::size_t behind = got - at - count;
        LayOutHexChars(data, at < kHexCharsBefore ? at : kHexCharsBefore, count,
                       behind < kHexCharsAfter ? behind : kHexCharsAfter, encoding, cells);
        const RECT chars{xBytes + kHexCharCell * cw, top, xBytes + (kHexCharCell + count) * cw, top + m.rowHeight};
        DrawHexChars(hdc, chars.left, y, chars, cells, count, cw, lowLine);
        y += m.rowHeight;
        ++row;
    }
    if (y <= rc.bottom && row == rowLimit) {
        PaintEndNotice(hdc, x0, y);
    }
}

bool CLSWndView::HexColumnToPoint(int column, int row, long long& x, long long& y)
{
    if (column < 0 || row < 0) {
        return false;
    }
    const Metrics m = GetMetrics();
    x = HexColumnX(column, m.cellWidth) + static_cast<long long>(HexOffsetExtraCells(Doc().GetFileSize())) * m.cellWidth;
    y = static_cast<long long>(row) * m.rowHeight;
    return true;
}

bool CLSWndView::HexPointToColumn(long long x, long long y, ViewPos& pos)
{
    const Metrics m = GetMetrics();
    HexPos hex{};
    x -= static_cast<long long>(HexOffsetExtraCells(Doc().GetFileSize())) * m.cellWidth;
    if (!::HexPointToColumn(x, y, m.cellWidth, m.rowHeight, Doc().GetFileSize(), hex)) {
        return false;
    }
    pos = ViewPos{hex.column, hex.row};
    return true;
}

// Text mode: the rows of the decoded lines with tabs expanded and the selection
// highlighted, and the conversions between caret positions and pixels. Lines
// come decoded from the cache of the lines shown; a line too long for that is
// read in pieces around what is shown and laid out in cells (CLSLineMap).
#include "view/WNDVIEW.h"

#include "view/LOWLINE.h"
#include "view/TEXTLAY.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Width of a run of text without tabs in the font selected into hdc.
auto RunWidthOn(HDC hdc, const WCHAR* text)
{
    return [hdc, text](int first, int count) {
        SIZE size{};
        GetTextExtentPoint32W(hdc, text + first, count, &size);
        return static_cast<int>(size.cx);
    };
}

// Draws what LayoutRow lays out: each run with an opaque band from the end of
// the previous run, so tab gaps take the colour of the run after them. With
// advances, each unit takes exactly its advance instead of the font's own.
class CLSRowPainter {
public:
    CLSRowPainter(HDC hdc, const WCHAR* text, int y, int bandTop, int bandBottom, const CLSGlimFont& colors,
                  const CLSLowLine& lowLine, const INT* advances = nullptr)
        : m_hdc(hdc), m_text(text), m_advances(advances), m_y(y), m_top(bandTop), m_bottom(bandBottom),
          m_lowLine(lowLine),
          m_crText(colors.EffectiveTextColor()), m_crBack(colors.EffectiveBackColor()),
          m_crSelText(colors.EffectiveSelectedTextColor()), m_crSelBack(colors.EffectiveSelectedBackColor())
    {
    }

    int Width(int first, int count)
    {
        if (m_advances == nullptr) {
            return RunWidthOn(m_hdc, m_text)(first, count);
        }
        long long width = 0;
        for (int k = first; k < first + count; ++k) {
            width += m_advances[k];
        }
        return SaturateToInt(width);
    }

    void Text(int first, int count, int x, int bandLeft, int bandRight, bool selected)
    {
        SetTextColor(m_hdc, selected ? m_crSelText : m_crText);
        SetBkColor(m_hdc, selected ? m_crSelBack : m_crBack);
        // A run that is scrolled out to the left can have a band that ends
        // before it begins; GDI would not fill such a band either way.
        RECT band{bandLeft, m_top, bandRight < bandLeft ? bandLeft : bandRight, m_bottom};
        const INT* advances = m_advances != nullptr ? m_advances + first : nullptr;
        ExtTextOutW(m_hdc, x, m_y, ETO_OPAQUE, &band, m_text + first, static_cast<UINT>(count), advances);
        m_lowLine.Draw(m_hdc, x, m_y, m_text + first, count, advances);
    }

    void Fill(int left, int right)
    {
        SetBkColor(m_hdc, m_crSelBack);
        RECT band{left, m_top, right, m_bottom};
        ExtTextOutW(m_hdc, 0, 0, ETO_OPAQUE, &band, nullptr, 0, nullptr);
    }

    void RestoreNormal()
    {
        SetTextColor(m_hdc, m_crText);
        SetBkColor(m_hdc, m_crBack);
    }

private:
    HDC m_hdc;
    const WCHAR* m_text;
    const INT* m_advances;
    int m_y;
    int m_top;
    int m_bottom;
    const CLSLowLine& m_lowLine;
    COLORREF m_crText;
    COLORREF m_crBack;
    COLORREF m_crSelText;
    COLORREF m_crSelBack;
};

// The advance of a half-width character in the font selected into hdc: the
// unit of tab stops, and of the cells long lines are laid out in.
int FontCharWidth(HDC hdc, int fontHeight)
{
    SIZE digit{};
    return GetTextExtentPoint32W(hdc, L"0", 1, &digit) && digit.cx > 0 ? digit.cx : CellWidth(fontHeight);
}

// The tab width of the font selected into hdc: the stops are counted in
// half-width characters as the font draws them.
int FontTabWidth(HDC hdc, int fontHeight, int tabStop)
{
    return TabWidth(FontCharWidth(hdc, fontHeight), tabStop);
}

}  // namespace

void CLSWndView::PaintText(HDC hdc, const RECT& rc)
{
    const Metrics m = GetMetrics();
    const int charWidth = FontCharWidth(hdc, m.fontHeight);
    const int tabWidth = TabWidth(charWidth, m_clsText.GetTabStop());
    SetTextColor(hdc, m_clsText.EffectiveTextColor());
    SetBkColor(hdc, m_clsText.EffectiveBackColor());

    // Far into a long line the origin is billions of pixels to the left.
    const long long lineX0 = -static_cast<long long>(GetScrollPos32(SB_HORZ)) * m.cellWidth;
    const int x0 = SaturateToInt(lineX0);
    long long line = GetScrollPos32(SB_VERT) + static_cast<long long>(rc.top / m.rowHeight);
    int y = m.rowHeight * (rc.top / m.rowHeight);
    const OrderedSelection sel = Selection();
    int widest = 0;
    while (y <= rc.bottom && line >= 0 && line <= static_cast<long long>(UINT32_MAX)) {
        const int row = line > INT32_MAX ? INT32_MAX : static_cast<int>(line);
        const RowSelection rs = SelectionOnRow(row, sel.s.line, sel.s.column, sel.e.line, sel.e.column);
        LineByteReader read;
        int width = 0;
        bool endUnknown = false;
        if (CLSLineMap* map = LongLine(line, &read)) {
            const LongRow longRow{*map, read, charWidth, tabWidth};
            width = DrawLongLine(hdc, lineX0, y, longRow, rs.start, rs.end, rc);
            // The rows after a line that reaches past the start read so far
            // wait for the count; its notice paints them.
            endUnknown = Doc().IsLineIndexBuilding() && line + 1 >= KnownLineCount();
        } else {
            const CLSDecodedLine& text = ShownLine(line);
            if (!text) {
                break;
            }
            width = DrawLine(hdc, x0, y, text.Text(), text.Length(), tabWidth, rs.start, rs.end, rc.right);
        }
        if (width > widest) {
            widest = width;
        }
        ++line;
        y += m.rowHeight;
        if (endUnknown) {
            break;
        }
    }
    if (y <= rc.bottom && Doc().IsLineIndexReady() && line == Doc().GetLineCount()) {
        PaintEndNotice(hdc, x0, y);
    }
    // The horizontal range grows from what was painted instead of measuring
    // the whole file; it only grows until the next open or view-form change.
    if (widest > m_iWidestLine && m.cellWidth > 0) {
        m_iWidestLine = widest;
        PostMessageA(m_hWnd, WMU_WIDEST_LINE, 0, widest / m.cellWidth);
    }
}

int CLSWndView::DrawLine(HDC hdc, int x0, int y, const WCHAR* text, int length, int tabWidth, int selStart,
                         int selEnd, int clipRight)
{
    const Metrics m = GetMetrics();
    // The glyphs sit at the top of their row; the highlight band is centred on them.
    const int top = y - (m.rowHeight - m.fontHeight) / 2;
    const CLSLowLine lowLine(hdc);
    CLSRowPainter painter(hdc, text, y, top, top + m.rowHeight, m_clsText, lowLine);
    const int width = LayoutRow(text, length, x0, tabWidth, selStart, selEnd, painter, clipRight);
    painter.RestoreNormal();
    return width;
}

// Only the units in rc are decoded and drawn, at their cells; the width is
// the line's, as far as it is known.
int CLSWndView::DrawLongLine(HDC hdc, long long x0, int y, const LongRow& row, int selStart, int selEnd, const RECT& rc)
{
    const long long left = std::max<long long>(0, rc.left - x0);
    const long long right = rc.right - x0;
    LineWindow window;
    const auto fromCells = static_cast<std::uint64_t>(left / row.charWidth);
    if (!row.map.Window(row.read, fromCells, static_cast<std::uint64_t>(right / row.charWidth) + 1, &window)) {
        return 0;
    }
    const int n = static_cast<int>(window.units.size());
    std::vector<INT> advances(window.units.size());
    for (int k = 0; k < n; ++k) {
        advances[k] = CellsOfUnit(window.units[k]) * row.charWidth;
    }
    auto local = [&window, n](int column) {
        const long long c = static_cast<long long>(column) - static_cast<long long>(window.firstColumn);
        return c < 0 ? 0 : (c > n ? n : static_cast<int>(c));
    };
    const Metrics m = GetMetrics();
    const int top = y - (m.rowHeight - m.fontHeight) / 2;
    const CLSLowLine lowLine(hdc);
    CLSRowPainter painter(hdc, window.units.data(), y, top, top + m.rowHeight, m_clsText, lowLine, advances.data());
    const long long startX = x0 + static_cast<long long>(window.firstCells) * row.charWidth;
    LayoutRowFrom(window.units.data(), n, x0, startX, row.tabWidth, local(selStart), selEnd == -1 ? -1 : local(selEnd),
                  painter, rc.right);
    painter.RestoreNormal();
    return SaturateToInt(static_cast<long long>(row.map.EstimatedCells()) * row.charWidth);
}

int CLSWndView::MeasureColumns(HDC hdc, const WCHAR* text, int length, int n, int tabWidth)
{
    return ::MeasureColumns(text, length, n, tabWidth, RunWidthOn(hdc, text));
}

bool CLSWndView::ColumnToPoint(int column, int line, long long& x, long long& y)
{
    HDC hdc = m_clsBuffer.GetDC();
    if (hdc == nullptr || column < 0 || line < 0) {
        return false;
    }
    // Past the last line there is no text; a line near the start needs no
    // count of the whole file (which may still be under way).
    const Metrics m = GetMetrics();
    LineByteReader read;
    if (CLSLineMap* map = LongLine(line, &read)) {
        std::uint64_t cells = 0;
        if (!map->CellsOfColumn(read, static_cast<std::uint64_t>(column), &cells)) {
            return false;
        }
        x = static_cast<long long>(cells) * FontCharWidth(hdc, m.fontHeight);
        y = static_cast<long long>(line) * m.rowHeight;
        return true;
    }
    const CLSDecodedLine& text = ShownLine(line);
    if (!text) {
        return false;
    }
    x = MeasureColumns(hdc, text.Text(), text.Length(), column, FontTabWidth(hdc, m.fontHeight, m_clsText.GetTabStop()));
    y = static_cast<long long>(line) * m.rowHeight;
    return true;
}

bool CLSWndView::PointToColumn(long long x, long long y, ViewPos& pos)
{
    HDC hdc = m_clsBuffer.GetDC();
    const Metrics m = GetMetrics();
    long long line = y / m.rowHeight;
    const int count = ReachableLineCount(line >= 0 ? line : 0);
    if (hdc == nullptr || x < 0 || count <= 0) {
        return false;
    }
    if (line < 0) {
        line = 0;
    } else if (line > count - 1) {
        line = count - 1;
    }
    LineByteReader read;
    if (CLSLineMap* map = LongLine(line, &read)) {
        std::uint64_t column = 0;
        if (!map->ColumnAtCells(read, static_cast<std::uint64_t>(x / FontCharWidth(hdc, m.fontHeight)), &column)) {
            return false;
        }
        pos.line = static_cast<int>(line);
        pos.column = column > static_cast<std::uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(column);
        return true;
    }
    const CLSDecodedLine& text = ShownLine(line);
    if (!text) {
        return false;
    }
    const int tabWidth = FontTabWidth(hdc, m.fontHeight, m_clsText.GetTabStop());
    pos.line = static_cast<int>(line);
    pos.column = ColumnAtX(text.Text(), text.Length(), x, tabWidth, RunWidthOn(hdc, text.Text()));
    return true;
}

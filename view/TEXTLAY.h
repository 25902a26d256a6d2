// Text rows without a device: the metrics derived from the font height, tab
// stops, the runs a row is drawn in, and columns <-> pixels. The widths of plain
// runs come from the caller (the font on the screen, or a table in the tests).
#pragma once

#include "base/CLAMP.h"

#include <climits>

constexpr int kTabUnit = 9;

// Font height as the view uses it: tmHeight, at least 2.
int ViewFontHeight(int tmHeight);
// Half a font height: the unit of horizontal scrolling and of the hex layout.
int CellWidth(int fontHeight);
// Row pitch: fontHeight x percent / 100, at least 2. Absurd percentages from a
// hand-edited settings file are held to 100 font heights so that row
// arithmetic cannot overflow.
int RowHeight(int fontHeight, int percent);
// Tab width in pixels: tabStop half-width characters of charWidth pixels
// each. The stops must fall where the characters' own edges do: half the font
// height is not the advance of every font (17 pixels high, 8 wide), and a
// text that ends on a stop would then get a tab of a pixel or two. A setting
// that gives no positive width (0, negative) falls back to one character:
// tabs must advance, or every column after one would collapse onto it.
int TabWidth(int charWidth, int tabStop);

// The next tab stop after x, both counted from the line origin (x >= 0, t > 0).
inline long long NextTabStop(long long x, int t)
{
    return x + t - x % t;
}

// x offset of column n from the line start: the first n units with tabs
// expanded. runWidth(first, count) measures a run that holds no tab. A run ends
// at a tab or at the n-th unit, exactly where DrawRow splits it, so the caret
// lands where the glyphs are.
template <class Unit, class RunWidth>
int MeasureColumns(const Unit* text, int length, int n, int tabWidth, RunWidth&& runWidth)
{
    long long sum = 0;
    int i = 0;
    if (text == nullptr) {
        return 0;
    }
    while (n > 0 && i < length) {
        int j = i;
        while (j < length && j - i < n && text[j] != kTabUnit) {
            ++j;
        }
        if (j > i) {
            sum += runWidth(i, j - i);
        }
        n -= j - i;
        i = j;
        if (n > 0 && i < length && text[i] == kTabUnit) {
            if (tabWidth > 0) {
                sum = NextTabStop(sum, tabWidth);
            }
            --n;
            ++i;
        }
    }
    return SaturateToInt(sum);
}

// The largest column in 0..length whose offset (as MeasureColumns gives it) is
// <= x (x >= 0): a click anywhere on a character puts the caret before it.
// One walk from the line start: pieces of up to kMeasurePieceUnits are
// measured whole until one reaches past x, and only in that one are lengths
// tried. A click far into a line of millions of units thus measures what lies
// before it once, not again at every step of a search from column 0.
constexpr int kMeasurePieceUnits = 4096;

template <class Unit, class RunWidth>
int ColumnAtX(const Unit* text, int length, long long x, int tabWidth, RunWidth&& runWidth)
{
    long long sum = 0;
    int i = 0;
    while (text != nullptr && i < length) {
        if (text[i] == kTabUnit) {
            const long long next = tabWidth > 0 ? NextTabStop(sum, tabWidth) : sum;
            if (next > x) {
                return i;
            }
            sum = next;
            ++i;
            continue;
        }
        int j = i + 1;
        while (j < length && text[j] != kTabUnit && j - i < kMeasurePieceUnits) {
            ++j;
        }
        const long long w = runWidth(i, j - i);
        if (sum + w > x) {
            int lo = 0;  // units of the piece known to end at or before x
            int hi = j - i - 1;
            while (lo < hi) {
                const int mid = lo + (hi - lo + 1) / 2;
                if (sum + runWidth(i, mid) <= x) {
                    lo = mid;
                } else {
                    hi = mid - 1;
                }
            }
            return i + lo;
        }
        sum += w;
        i = j;
    }
    return i;
}

// The columns of row `line` that the ordered selection [s, e) covers: start and
// end columns, end -1 meaning the end of the row; start == end when the row
// has none of it.
struct RowSelection {
    int start;
    int end;
};
RowSelection SelectionOnRow(int line, int sLine, int sColumn, int eLine, int eColumn);

// Lays out one row for drawing: walks the text in runs that stop at the end,
// at each tab and at the selection's start and end columns, and tells the
// painter what to draw where. Painter provides:
//   int Width(int first, int count)                 width of a run without tabs
//   void Text(int first, int count, int x, int bandLeft, int bandRight, bool selected)
//                                                   draw the run at x, filling
//                                                   bandLeft..bandRight opaquely
//   void Fill(int left, int right)                  fill with the selected
//                                                   background (a selected tab
//                                                   gap no run covers)
// The band starts at pixel 0, so the first run also fills the row up to its
// glyphs. Returns the drawn width from x0; 0 (and nothing drawn) for no text,
// no positive tab width, a negative start or an end before the start. An end of
// -1 means the end of the text.
// Nothing at or right of clipRight shows, so nothing there is laid out: runs
// are cut into pieces of kLayoutPieceUnits, the walk stops at the first piece
// that starts there, and the width of the rest is estimated from the pieces
// measured so far. A line of millions of units would otherwise cost its whole
// length at every paint.
constexpr int kLayoutPieceUnits = 64;  // about a pane's width of characters

// The same for a part of a row: text starts at startX, while the tab stops
// still count from the row's origin x0.
template <class Unit, class Painter>
int LayoutRowFrom(const Unit* text, int length, long long x0, long long startX, int tabWidth, int selStart, int selEnd,
                  Painter& painter, int clipRight = INT_MAX)
{
    if (text == nullptr || tabWidth <= 0) {
        return 0;
    }
    if (selEnd == -1) {
        selEnd = length;
    }
    if (selStart < 0 || selEnd < selStart) {
        return 0;
    }
    long long x = startX;
    long long bandLeft = 0;
    bool selected = false;
    long long measuredWidth = 0;
    long long measuredUnits = 0;
    int i = 0;
    for (;;) {
        // Events at this column: the selection starts, then (for an empty one
        // at the same column) ends again.
        if (i == selStart) {
            bandLeft = x;
            selected = true;
        }
        if (i == selEnd && selected) {
            if (bandLeft < x) {
                painter.Fill(SaturateToInt(bandLeft), SaturateToInt(x));
            }
            bandLeft = x;
            selected = false;
        }
        if (i >= length) {
            break;
        }
        if (x >= clipRight) {
            if (measuredUnits == 0) {  // only tabs so far: one piece tells the font's width
                measuredUnits = length - i < kLayoutPieceUnits ? length - i : kLayoutPieceUnits;
                measuredWidth = painter.Width(i, static_cast<int>(measuredUnits));
            }
            return SaturateToInt(x - x0 + (length - i) * measuredWidth / measuredUnits);
        }
        if (text[i] == kTabUnit) {
            x = x0 + NextTabStop(x - x0, tabWidth);
            ++i;
            continue;
        }
        int j = i + 1;
        while (j < length && text[j] != kTabUnit && j != selStart && j != selEnd && j - i < kLayoutPieceUnits) {
            ++j;
        }
        const int w = painter.Width(i, j - i);
        measuredWidth += w;
        measuredUnits += j - i;
        painter.Text(i, j - i, SaturateToInt(x), SaturateToInt(bandLeft), SaturateToInt(x + w), selected);
        x += w;
        bandLeft = x;
        i = j;
    }
    return SaturateToInt(x - x0);
}

template <class Unit, class Painter>
int LayoutRow(const Unit* text, int length, int x0, int tabWidth, int selStart, int selEnd, Painter& painter,
              int clipRight = INT_MAX)
{
    return LayoutRowFrom(text, length, x0, x0, tabWidth, selStart, selEnd, painter, clipRight);
}

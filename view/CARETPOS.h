// Caret and selection rules without a window: positions, their order, the
// caret keys that move by characters and lines, keeping the caret in sight, and
// the band of rows a selection change repaints.
#pragma once

// A caret position: column (character, or byte in a hex row) and line (row).
struct ViewPos {
    int column;
    int line;
};

inline bool operator==(ViewPos a, ViewPos b)
{
    return a.column == b.column && a.line == b.line;
}
inline bool operator!=(ViewPos a, ViewPos b)
{
    return !(a == b);
}
// Earlier by line, then by column.
inline bool operator<(ViewPos a, ViewPos b)
{
    return a.line < b.line || (a.line == b.line && a.column < b.column);
}

// The selection between caret and anchor in order: it covers s up to, not
// including, e.
struct OrderedSelection {
    ViewPos s;
    ViewPos e;
};
OrderedSelection OrderSelection(ViewPos caret, ViewPos anchor);
// s <= p < e.
bool IsInSelection(ViewPos p, const OrderedSelection& sel);

// The characters of line `line` (of `length` characters) that a copy of the
// selection takes: from s's column on its line (0 on later lines) to e's column
// on its line (the end on earlier lines). Columns beyond the line, as a file
// that shrank while shown can leave them, are held to its end.
struct LineSlice {
    int first;
    int count;
};
LineSlice SelectedSlice(int line, int length, const OrderedSelection& sel);

// The keys that move by characters and lines (Up, Down and the page keys go
// through pixels and belong to the window).
enum class CaretKey { Left, Right, Home, End };

// Moves the caret for one key; ctrl is the Ctrl key. lengthOf(line) gives the
// characters of a line (the last column of a hex row). Returns false when the
// caret stays (Right at the end of the last line, Left at the very start).
template <class LengthOf>
bool MoveCaret(CaretKey key, bool ctrl, int lineCount, ViewPos& caret, LengthOf&& lengthOf)
{
    const ViewPos before = caret;
    switch (key) {
    case CaretKey::Left:
        if (caret.column > 0) {
            --caret.column;
        } else if (caret.line > 0) {
            --caret.line;
            caret.column = lengthOf(caret.line);
        }
        break;
    case CaretKey::Right:
        if (caret.column < lengthOf(caret.line)) {
            ++caret.column;
        } else if (caret.line < lineCount - 1) {
            ++caret.line;
            caret.column = 0;
        }
        break;
    case CaretKey::Home:
        caret.column = 0;
        if (ctrl) {
            caret.line = 0;
        }
        break;
    case CaretKey::End:
        if (ctrl && lineCount > 0) {
            caret.line = lineCount - 1;
        }
        caret.column = lengthOf(caret.line);
        break;
    }
    return caret != before;
}

// Pixels Up, Down, Page Up and Page Down move the caret by: one row, or as many
// whole rows as the client area holds (negative: up).
enum class CaretPageKey { Up, Down, PageUp, PageDown };
long long CaretKeyPixels(CaretPageKey key, int rowHeight, int clientHeight);

struct ClientRect {
    int left;
    int top;
    int right;
    int bottom;
};

// Scroll steps that bring a caret at client pixel (x, y) into sight: a and b
// are the horizontal and vertical scroll units, rowHeight and fontHeight the
// row metrics. The bottom limit leaves room for the highlight band under the
// caret's row.
struct ScrollSteps {
    long long dx;
    long long dy;
};
ScrollSteps KeepCaretVisible(long long x, long long y, int a, int b, int rowHeight, int fontHeight,
                             const ClientRect& client);

// The client pixels (top, bottom) to repaint for rows first..last (in any
// order), with the highlight band's margin above the first and below the last,
// clipped to 0..clientHeight. vpos is the first visible row. Empty (top >=
// bottom) when the rows are out of sight.
struct PixelSpan {
    int top;
    int bottom;
};
PixelSpan RowsBand(int first, int last, int vpos, int rowHeight, int fontHeight, int clientHeight);

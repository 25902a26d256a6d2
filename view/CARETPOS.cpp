// Selection order, caret page steps, keeping the caret in sight and the rows a
// selection change repaints.
#include "view/CARETPOS.h"

#include "view/TEXTLAY.h"

OrderedSelection OrderSelection(ViewPos caret, ViewPos anchor)
{
    if (anchor < caret) {
        return {anchor, caret};
    }
    return {caret, anchor};
}

bool IsInSelection(ViewPos p, const OrderedSelection& sel)
{
    return !(p < sel.s) && p < sel.e;
}

LineSlice SelectedSlice(int line, int length, const OrderedSelection& sel)
{
    if (length < 0) {
        length = 0;
    }
    int first = line == sel.s.line ? sel.s.column : 0;
    int end = line == sel.e.line ? sel.e.column : length;
    first = first < 0 ? 0 : (first > length ? length : first);
    end = end < first ? first : (end > length ? length : end);
    return {first, end - first};
}

long long CaretKeyPixels(CaretPageKey key, int rowHeight, int clientHeight)
{
    const long long page = static_cast<long long>(rowHeight) * (rowHeight > 0 ? clientHeight / rowHeight : 0);
    switch (key) {
    case CaretPageKey::Up:
        return -rowHeight;
    case CaretPageKey::Down:
        return rowHeight;
    case CaretPageKey::PageUp:
        return -page;
    case CaretPageKey::PageDown:
        return page;
    }
    return 0;
}

ScrollSteps KeepCaretVisible(long long x, long long y, int a, int b, int rowHeight, int fontHeight,
                             const ClientRect& client)
{
    ScrollSteps steps{0, 0};
    if (a <= 0 || b <= 0) {
        return steps;
    }
    const long long limit = client.bottom - (static_cast<long long>(rowHeight) + fontHeight) / 2;
    if (y >= limit - b) {
        steps.dy = (y + b - limit) / b;
    } else if (y < client.top + b) {
        steps.dy = (y - client.top) / b;
    }
    if (x >= client.right - a) {
        steps.dx = (x - client.right) / a + 1;
    } else if (x <= client.left + a) {
        steps.dx = (x - client.left) / a - 1;
    }
    return steps;
}

PixelSpan RowsBand(int first, int last, int vpos, int rowHeight, int fontHeight, int clientHeight)
{
    if (last < first) {
        const int t = first;
        first = last;
        last = t;
    }
    // The band reaches (rowHeight - h + 1) / 2 above a row's top and ends near
    // the next row's top; the glyphs themselves fill top .. top + h, which is
    // more than the band when rows are packed tighter than the font.
    long long above = (static_cast<long long>(rowHeight) - fontHeight + 1) / 2;
    long long below = rowHeight - (static_cast<long long>(rowHeight) - fontHeight - 1) / 2;
    if (above < 0) {
        above = 0;
    }
    if (below < fontHeight) {
        below = fontHeight;
    }
    long long top = (static_cast<long long>(first) - vpos) * rowHeight - above;
    long long bottom = (static_cast<long long>(last) - vpos) * rowHeight + below;
    if (top < 0) {
        top = 0;
    }
    if (bottom > clientHeight) {
        bottom = clientHeight;
    }
    if (bottom < top) {
        bottom = top;
    }
    return {SaturateToInt(top), SaturateToInt(bottom)};
}

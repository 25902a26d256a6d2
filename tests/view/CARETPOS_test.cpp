// Selection and caret rules the window tests do not reach: lines that shrank
// under a selection, keeping the caret in sight, the rows a change repaints.
#include "view/CARETPOS.h"

#include <gtest/gtest.h>

TEST(Selection, SliceOfEachLine)
{
    const OrderedSelection sel = OrderSelection({2, 2}, {3, 0});
    const struct {
        int line, length, first, count;
    } cases[] = {
        {0, 6, 3, 3},  // the last 3 letters of the first line
        {1, 2, 0, 2},
        {2, 3, 0, 2},  // the first 2 of the third
        {0, 2, 2, 0},  // a line that shrank below the start takes nothing
        {2, 1, 0, 1},  // ... and below the end is held to its end
        {1, -1, 0, 0},
    };
    for (const auto& c : cases) {
        const LineSlice slice = SelectedSlice(c.line, c.length, sel);
        EXPECT_EQ(slice.first, c.first) << "line " << c.line << " of " << c.length;
        EXPECT_EQ(slice.count, c.count) << "line " << c.line << " of " << c.length;
    }
}

TEST(CaretKeys, KeepingTheCaretInSight)
{
    // Client 400 x 200, cells 8 wide, rows 20 high, font 14: the lowest caret
    // row that needs no scroll starts below 200 - 17 - 20.
    const ClientRect client{0, 0, 400, 200};
    const struct {
        long long x, y, dx, dy;
    } cases[] = {
        {100, 0, 0, 0},      // first visible row
        {100, -60, 0, -3},   // three rows above
        {100, 180, 0, 0},    // near the bottom: still no scroll
        {100, 200, 0, 1},    // just below
        {100, 260, 0, 4},
        {392, 100, 0, 0},    // the last whole cell
        {399, 100, 1, 0},    // partly cut off at the right edge
        {480, 100, 11, 0},
        {0, 100, -1, 0},     // at the left edge: one cell back
        {-40, 100, -6, 0},
    };
    for (const auto& c : cases) {
        const ScrollSteps steps = KeepCaretVisible(c.x, c.y, 8, 20, 20, 14, client);
        EXPECT_EQ(steps.dx, c.dx) << "x " << c.x << " y " << c.y;
        EXPECT_EQ(steps.dy, c.dy) << "x " << c.x << " y " << c.y;
    }
}

TEST(CaretKeys, RowsBandCoversTheHighlightOfEveryRowInTheSpan)
{
    // Rows 28 high, font 20: each band reaches 4 above its row's top.
    const struct {
        int first, last, vpos, top, bottom;
    } cases[] = {
        {3, 1, 0, 24, 109},     // any order
        {0, 0, 0, 0, 25},       // clipped at the top
        {2, 9, 0, 52, 200},     // clipped at the bottom
        {12, 14, 10, 52, 137},  // scrolled
        {0, 1, 10, 0, 0},       // out of sight above
    };
    for (const auto& c : cases) {
        const PixelSpan span = RowsBand(c.first, c.last, c.vpos, 28, 20, 200);
        EXPECT_EQ(span.top, c.top) << c.first << ".." << c.last;
        EXPECT_EQ(span.bottom, c.bottom) << c.first << ".." << c.last;
    }
    // Rows packed tighter than the font still repaint the whole glyphs.
    const PixelSpan tight = RowsBand(2, 2, 0, 10, 20, 200);
    EXPECT_LE(tight.top, 20);
    EXPECT_GE(tight.bottom, 40);
}

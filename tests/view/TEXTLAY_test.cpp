// Text rows: metrics, tab stops, the runs a row is drawn in, and the columns a
// click or the caret maps to.
#include "view/TEXTLAY.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Widths of a proportional font in the tests: 'i' is narrow, 'W' wide.
int GlyphWidth(char16_t c)
{
    switch (c) {
    case u'i':
        return 3;
    case u'W':
        return 15;
    default:
        return 10;
    }
}

struct Op {
    bool fill;
    int first;
    int count;
    int x;
    int bandLeft;
    int bandRight;
    bool selected;
};

bool operator==(const Op& a, const Op& b)
{
    return a.fill == b.fill && a.first == b.first && a.count == b.count && a.x == b.x &&
           a.bandLeft == b.bandLeft && a.bandRight == b.bandRight && a.selected == b.selected;
}

std::ostream& operator<<(std::ostream& os, const Op& op)
{
    if (op.fill) {
        return os << "Fill(" << op.bandLeft << ".." << op.bandRight << ")";
    }
    return os << "Text(" << op.first << "+" << op.count << " at " << op.x << ", band " << op.bandLeft << ".."
              << op.bandRight << (op.selected ? ", selected)" : ")");
}

// Records what LayoutRow asks to draw.
struct Recorder {
    explicit Recorder(const std::u16string& t) : text(t) {}
    int Width(int first, int count)
    {
        int w = 0;
        for (int i = first; i < first + count; ++i) {
            w += GlyphWidth(text[i]);
        }
        return w;
    }
    void Text(int first, int count, int x, int bandLeft, int bandRight, bool selected)
    {
        ops.push_back({false, first, count, x, bandLeft, bandRight, selected});
    }
    void Fill(int left, int right) { ops.push_back({true, 0, 0, 0, left, right, true}); }
    const std::u16string& text;
    std::vector<Op> ops;
};

Op T(int first, int count, int x, int bandLeft, int bandRight, bool selected = false)
{
    return {false, first, count, x, bandLeft, bandRight, selected};
}
Op F(int left, int right)
{
    return {true, 0, 0, 0, left, right, true};
}

int Measure(const std::u16string& text, int n, int tab)
{
    Recorder r(text);
    return MeasureColumns(text.data(), static_cast<int>(text.size()), n, tab,
                          [&](int first, int count) { return r.Width(first, count); });
}

}  // namespace

TEST(TextMetrics, DerivedFromTheFontHeight)
{
    EXPECT_EQ(ViewFontHeight(0), 2);
    EXPECT_EQ(ViewFontHeight(1), 2);
    EXPECT_EQ(ViewFontHeight(16), 16);
    EXPECT_EQ(CellWidth(16), 8);
    EXPECT_EQ(CellWidth(15), 7);

    struct Case {
        int h;
        int percent;
        int rowHeight;
    };
    const Case rows[] = {
        {20, 140, 28}, {16, 100, 16}, {16, 140, 22}, {2, 50, 2}, {20, -5, 2}, {20, 0, 2},
        {20, 2147483647, 2000},  // a hand-edited percentage cannot overflow the rows
    };
    for (const Case& c : rows) {
        EXPECT_EQ(RowHeight(c.h, c.percent), c.rowHeight) << c.h << " x " << c.percent << "%";
    }

    EXPECT_EQ(TabWidth(16, 4), 32);
    EXPECT_EQ(TabWidth(20, 4), 40);
    EXPECT_EQ(TabWidth(15, 3), 22);
    EXPECT_EQ(TabWidth(16, 0), 8);   // no setting may make tabs collapse
    EXPECT_EQ(TabWidth(16, -3), 8);
    EXPECT_EQ(TabWidth(2, 0), 1);
    EXPECT_GT(TabWidth(20, 2147483647), 0);
}

TEST(TextMetrics, MeasureColumnsExpandsTabsFromTheLineOrigin)
{
    struct Case {
        const char16_t* text;
        int n;
        int x;
    };
    const Case cases[] = {
        {u"a\tb", 0, 0},
        {u"a\tb", 1, 10},
        {u"a\tb", 2, 32},    // the second letter starts at 32 whatever the first's width
        {u"W\tb", 2, 32},
        {u"a\tb", 3, 42},
        {u"\tx", 1, 32},     // a leading tab
        {u"abc\tx", 4, 32},  // 30 pixels: the next stop
        {u"abcd\tx", 5, 64}, // 40 pixels: past the first stop
        {u"iiii\tW", 5, 32},
        {u"a\t\tb", 3, 64},
        {u"ab", 10, 20},     // more columns than characters: the whole line
        {u"", 3, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Measure(c.text, c.n, 32), c.x) << "columns " << c.n;
    }
    // A row that ends exactly on a stop still gets a whole tab.
    EXPECT_EQ(Measure(u"abiiii\tx", 7, 32), 64);
}

TEST(TextMetrics, ColumnAtOffsetPutsTheCaretBeforeTheCharacterClicked)
{
    const std::u16string text = u"ab\tcW";
    auto offsetOf = [&](int column) { return Measure(text, column, 32); };
    const int length = static_cast<int>(text.size());
    struct Case {
        long long x;
        int column;
    };
    const Case cases[] = {
        {0, 0}, {9, 0}, {10, 1}, {19, 1}, {20, 2}, {31, 2}, {32, 3}, {41, 3}, {42, 4}, {56, 4},
        {57, 5}, {100000, 5},  // beyond the end: after the last character
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColumnAtOffset(c.x, length, offsetOf), c.column) << "x = " << c.x;
    }
    EXPECT_EQ(ColumnAtOffset(50, 0, offsetOf), 0);
}

TEST(TextMetrics, SelectionColumnsOfEachRow)
{
    // Selection from (3,0) to (2,2).
    struct Case {
        int line;
        int start;
        int end;
    };
    const Case cases[] = {{0, 3, -1}, {1, 0, -1}, {2, 0, 2}, {3, 0, 0}};
    for (const Case& c : cases) {
        const RowSelection r = SelectionOnRow(c.line, 0, 3, 2, 2);
        EXPECT_EQ(r.start, c.start) << "line " << c.line;
        EXPECT_EQ(r.end, c.end) << "line " << c.line;
    }
    const RowSelection before = SelectionOnRow(0, 1, 4, 2, 1);
    EXPECT_EQ(before.start, before.end);
    const RowSelection oneRow = SelectionOnRow(5, 5, 1, 5, 4);
    EXPECT_EQ(oneRow.start, 1);
    EXPECT_EQ(oneRow.end, 4);
}

TEST(TextRow, RunsStopAtTabsAndSelectionEdges)
{
    struct Case {
        const char* what;
        std::u16string text;
        int x0;
        int s;
        int e;
        std::vector<Op> ops;
        int width;
    };
    const std::vector<Case> cases = {
        {"unselected tab gap is covered by the next run's band", u"a\tb", 0, 0, 0,
         {T(0, 1, 0, 0, 10), T(2, 1, 32, 10, 42)}, 42},
        {"selection ending just after a tab fills the gap", u"a\tb", 0, 0, 2,
         {T(0, 1, 0, 0, 10, true), F(10, 32), T(2, 1, 32, 32, 42)}, 42},
        {"selection starting after a tab leaves the gap alone", u"a\tb", 0, 2, 3,
         {T(0, 1, 0, 0, 10), T(2, 1, 32, 32, 42, true)}, 42},
        {"selection over the tab into the next run", u"a\tb", 0, 1, 3,
         {T(0, 1, 0, 0, 10), T(2, 1, 32, 10, 42, true)}, 42},
        {"selection to the end of a row ending in a tab", u"a\t", 0, 1, -1,
         {T(0, 1, 0, 0, 10), F(10, 32)}, 32},
        {"runs split at both selection columns", u"abcdef", 0, 2, 4,
         {T(0, 2, 0, 0, 20), T(2, 2, 20, 20, 40, true), T(4, 2, 40, 40, 60)}, 60},
        {"an empty selection highlights nothing", u"abc", 0, 1, 1,
         {T(0, 1, 0, 0, 10), T(1, 2, 10, 10, 30)}, 30},
        {"scrolled: tab stops count from the line origin", u"a\tb", -40, 0, 0,
         {T(0, 1, -40, -40, -30), T(2, 1, -8, -30, 2)}, 42},
        {"a leading tab's gap is covered by the first band", u"\tx", 0, 0, 0, {T(1, 1, 32, 0, 42)}, 42},
    };
    for (const Case& c : cases) {
        Recorder r(c.text);
        const int width = LayoutRow(c.text.data(), static_cast<int>(c.text.size()), c.x0, 32, c.s, c.e, r);
        EXPECT_EQ(r.ops, c.ops) << c.what;
        EXPECT_EQ(width, c.width) << c.what;
    }
}

TEST(TextRow, DrawsNothingForBadArguments)
{
    const std::u16string text = u"abc";
    Recorder r(text);
    EXPECT_EQ(LayoutRow<char16_t>(nullptr, 3, 0, 32, 0, 0, r), 0);
    EXPECT_EQ(LayoutRow(text.data(), 3, 0, 0, 0, 0, r), 0);
    EXPECT_EQ(LayoutRow(text.data(), 3, 0, 32, -1, 2, r), 0);
    EXPECT_EQ(LayoutRow(text.data(), 3, 0, 32, 2, 1, r), 0);
    EXPECT_TRUE(r.ops.empty());
}

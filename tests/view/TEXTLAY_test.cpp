// Text rows: metrics, tab stops, the runs a row is drawn in, and the columns a
// click or the caret maps to.
#include "view/TEXTLAY.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// What LayoutRow asks to draw, as text.
std::string T(int first, int count, int x, int bandLeft, int bandRight, bool selected = false)
{
    return "text " + std::to_string(first) + "+" + std::to_string(count) + " at " + std::to_string(x) + ", band " +
           std::to_string(bandLeft) + ".." + std::to_string(bandRight) + (selected ? ", selected" : "");
}

std::string F(int left, int right)
{
    return "fill " + std::to_string(left) + ".." + std::to_string(right);
}

// A proportional font: 'i' is narrow, 'W' wide; records what is drawn.
struct Recorder {
    explicit Recorder(const std::u16string& t) : text(t) {}
    int Width(int first, int count)
    {
        int w = 0;
        for (int i = first; i < first + count; ++i) {
            w += text[i] == u'i' ? 3 : text[i] == u'W' ? 15 : 10;
        }
        return w;
    }
    void Text(int first, int count, int x, int bandLeft, int bandRight, bool selected)
    {
        ops.push_back(T(first, count, x, bandLeft, bandRight, selected));
    }
    void Fill(int left, int right) { ops.push_back(F(left, right)); }
    const std::u16string& text;
    std::vector<std::string> ops;
};

int Measure(const std::u16string& text, int n, int tab)
{
    Recorder r(text);
    return MeasureColumns(text.data(), static_cast<int>(text.size()), n, tab,
                          [&](int first, int count) { return r.Width(first, count); });
}

}  // namespace

// Row heights and tab widths from the font height and the settings: a
// hand-edited percentage or tab stop can neither overflow the rows nor
// collapse the tabs.
TEST(TextMetrics, RowsAndTabsSurviveAnySetting)
{
    const int rows[][3] = {{20, 140, 28}, {16, 100, 16}, {2, 50, 2}, {20, -5, 2}, {20, 2147483647, 2000}};
    for (const auto& r : rows) {
        EXPECT_EQ(RowHeight(r[0], r[1]), r[2]) << r[0] << " x " << r[1] << "%";
    }
    // Character width x tab stop: the stops lie on the characters' edges.
    const int tabs[][3] = {{8, 4, 32}, {7, 3, 21}, {8, 0, 8}, {8, -3, 8}, {0, 0, 1}};
    for (const auto& t : tabs) {
        EXPECT_EQ(TabWidth(t[0], t[1]), t[2]) << t[0] << " x " << t[1];
    }
    EXPECT_GT(TabWidth(20, 2147483647), 0);
    EXPECT_EQ(ViewFontHeight(0), 2);  // a font that reports no height still gets rows
}

// Where a column starts; whether a click maps back to it is the layout
// fuzzer's property over any text.
TEST(TextMetrics, MeasureColumnsExpandsTabsFromTheLineOrigin)
{
    const struct {
        const char16_t* text;
        int n, x;
    } cases[] = {
        {u"a\tb", 2, 32},    // the second letter starts at 32 whatever the first's width
        {u"W\tb", 2, 32},
        {u"\tx", 1, 32},     // a leading tab
        {u"abcd\tx", 5, 64}, // 40 pixels: past the first stop
        {u"a\t\tb", 3, 64},
        {u"ab", 10, 20},     // more columns than characters: the whole line
        {u"abiiii\tx", 7, 64},  // text ending exactly on a stop still gets a whole tab
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Measure(c.text, c.n, 32), c.x) << "columns " << c.n;
    }
}

// A click lands before the character under it, tabs included; far into a
// long line it measures what lies before it about once, not at every step
// of a search from column 0.
TEST(TextMetrics, ClickColumnInOneWalk)
{
    const struct {
        const char16_t* text;
        long long x;
        int column;
    } cases[] = {
        {u"abc", 0, 0}, {u"abc", 9, 0}, {u"abc", 10, 1}, {u"iW", 17, 1}, {u"iW", 18, 2},
        {u"a\tb", 31, 1},  // anywhere in the tab's gap: before the tab
        {u"a\tb", 32, 2}, {u"a\tb", 500, 3}, {u"\t\tx", 40, 1}, {u"", 5, 0},
    };
    for (const auto& c : cases) {
        const std::u16string text(c.text);
        Recorder r(text);
        EXPECT_EQ(ColumnAtX(text.data(), static_cast<int>(text.size()), c.x, 32,
                            [&](int first, int count) { return r.Width(first, count); }),
                  c.column)
            << static_cast<int>(c.x);
    }
    const std::u16string longLine(1000000, u'x');
    Recorder r(longLine);
    long long measured = 0;
    const auto width = [&](int first, int count) {
        measured += count;
        return r.Width(first, count);
    };
    EXPECT_EQ(ColumnAtX(longLine.data(), static_cast<int>(longLine.size()), 9000005, 32, width), 900000);
    EXPECT_LT(measured, 900000 + 14 * kMeasurePieceUnits);
}

TEST(TextMetrics, SelectionColumnsOfEachRow)
{
    // Selection from (3,0) to (2,2).
    const struct {
        int line, start, end;
    } cases[] = {{0, 3, -1}, {1, 0, -1}, {2, 0, 2}, {3, 0, 0}};
    for (const auto& c : cases) {
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
    const struct {
        const char* what;
        std::u16string text;
        int x0, s, e;
        std::vector<std::string> ops;
        int width;
    } cases[] = {
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
    for (const auto& c : cases) {
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

// A very long row is laid out only up to the right edge; its width beyond is
// estimated from what was measured, exactly for a font of one width.
TEST(TextRow, LongRowStopsAtTheRightEdge)
{
    const std::u16string text(100000, u'a');
    Recorder r(text);
    EXPECT_EQ(LayoutRow(text.data(), 100000, 0, 32, 0, 0, r, 3000), 1000000);
    const int k = kLayoutPieceUnits;
    const int drawn = (3000 + 10 * k - 1) / (10 * k);
    ASSERT_EQ(r.ops.size(), static_cast<std::size_t>(drawn)) << "the pieces up to 3000 pixels, none beyond";
    EXPECT_EQ(r.ops.back(), T((drawn - 1) * k, k, (drawn - 1) * k * 10, (drawn - 1) * k * 10, drawn * k * 10));
    const std::u16string tabs = u"\t\t\taaaa";
    Recorder onlyTabs(tabs);
    EXPECT_EQ(LayoutRow(tabs.data(), 7, 0, 32, 0, 0, onlyTabs, 64), 114) << "two tab stops, then one piece measured";
    EXPECT_TRUE(onlyTabs.ops.empty());
}

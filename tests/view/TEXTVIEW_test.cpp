// Text mode in a real pane: what copying puts on the clipboard, where keys and
// clicks put the caret, and the selected band as it appears on the screen.
#include "VIEWTEST.h"

#include "tests/common/PUMP.h"
#include "view/TEXTLAY.h"

#include <gtest/gtest.h>

#include <algorithm>

// A break at the end leaves an empty last line: the copy ends with the break
// placed before it; an empty first line still gives its break.
TEST(TextView, CopiesWholeFilesAsUnicode)
{
    const struct {
        const char* name;
        std::string bytes;
        LineColumn last;
        std::wstring copied;
    } cases[] = {
        {"sjis.txt", "日本語のテキスト\r\n二行目\tタブ\r\n", {2, 0}, L"日本語のテキスト\r\n二行目\tタブ\r\n"},
        {"blank-first.txt", "\r\nab", {1, 2}, L"\r\nab"},
    };
    CLSViewHarness h;
    for (const auto& c : cases) {
        h.Open(TestFolder().Write(c.name, c.bytes));
        h.view.SelectAll();
        EXPECT_EQ(h.Caret(), c.last) << c.name;
        EXPECT_EQ(h.CopyUnicode(), c.copied) << c.name;
        // Other programs take the block's size for the text's: nothing after its terminator.
        ASSERT_TRUE(OpenClipboard(h.Parent()));
        EXPECT_EQ(GlobalSize(GetClipboardData(CF_UNICODETEXT)), (c.copied.size() + 1) * sizeof(wchar_t)) << c.name;
        CloseClipboard();
    }
}

TEST(TextView, CaretKeys)
{
    CLSViewHarness h;
    h.Open(TestFolder().Write("keys.txt", "abcde\r\nxy\r\n\r\nabcdefgh"));
    const struct {
        UINT vk;
        bool ctrl;
        int line, column;
    } steps[] = {
        {VK_END, false, 0, 5},    // after the 5th character
        {VK_RIGHT, false, 1, 0},  // the end of a line wraps to the next
        {VK_END, false, 1, 2},
        {VK_LEFT, false, 1, 1},
        {VK_HOME, false, 1, 0},
        {VK_LEFT, false, 0, 5},   // back to the end of the line before
        {VK_END, true, 3, 8},
        {VK_RIGHT, false, 3, 8},  // the end of the last line stays
        {VK_HOME, true, 0, 0},
        {VK_END, false, 0, 5},
        // Up and Down keep their column across shorter and empty lines.
        {VK_DOWN, false, 1, 2},
        {VK_DOWN, false, 2, 0},
        {VK_DOWN, false, 3, 5},
        {VK_UP, false, 2, 0},
        {VK_PRIOR, false, 0, 5},  // a page up from line 2 stops at the first line
        {VK_NEXT, false, 3, 5},
        {VK_LEFT, false, 3, 4},   // a new run of Up and Down starts from here
        {VK_UP, false, 2, 0},
        {VK_UP, false, 1, 2},
        {VK_UP, false, 0, 4},
        {VK_F5, false, 0, 4},     // other keys do nothing
    };
    for (const auto& s : steps) {
        h.Key(s.vk, false, s.ctrl);
        EXPECT_EQ(h.Caret(), LineColumn(s.line, s.column)) << "key " << s.vk;
    }
}

// Where a click lands in a row is the text layout's rule; the pane takes the
// focus, Shift+click and Shift+keys keep the anchor, and a key without Shift
// drops the selection.
TEST(TextView, ClickShiftClickAndShiftKeysSelect)
{
    CLSViewHarness h;
    h.Open(TestFolder().Write("click.txt", "abc\tdef\r\ngh\r\nijk"));
    SetFocus(h.Parent());
    h.Click(3 * CellWidth(h.FontHeight()) + 2, 2);  // on the tab: before it
    EXPECT_EQ(GetFocus(), h.View());
    h.Click(400, h.LineHeight() + 2, true);
    h.Key(VK_RIGHT, true);
    h.Key(VK_RIGHT, true);
    EXPECT_EQ(h.Caret(), LineColumn(2, 1));
    EXPECT_EQ(h.CopyUnicode(), L"\tdef\r\ngh\r\ni");
    h.Key(VK_RIGHT);
    EXPECT_EQ(h.Caret(), LineColumn(2, 2));
    EXPECT_FALSE(h.view.HasSelection());
    EXPECT_EQ(h.CopyUnicode(), kClipboardMarker);
}

// The layout asks for the gap after a tab to be filled when the selection
// ends just after it; the pane paints it in the selection's colour.
TEST(TextView, SelectedBandOverATabGap)
{
    CLSViewHarness h;
    ASSERT_EQ(h.FontHeight(), 16);
    h.Open(TestFolder().Write("gap.txt", "a\tb\r\nnext"));
    h.Key(VK_RIGHT, true);
    h.Key(VK_RIGHT, true);
    // Between the 8-pixel "a" and the stop at 32, inside the glyph row of line 0.
    const Shot s = h.Capture();
    for (int x = 12; x <= 29; ++x) {
        EXPECT_EQ(s.At(x, 8), kSelBack) << x;
    }
}

// While a big file's lines are counted on their thread, keys, clicks and
// copies near the start act at once; Ctrl+End goes as far as is known and on
// to the end once the count is done. A copy into a line longer than the start
// read is not made, and does not wait either.
TEST(TextView, NearTheStartNothingWaitsForTheCount)
{
    CLSViewHarness h;
    h.view.Doc().SetMemoryLimit(1000);
    ShowWindow(h.View(), SW_HIDE);  // never painted: the count waits for the first screen
    h.view.OpenFile(WidenAnsi(TestFolder().Write("counted.txt", NumberedLines(3000))));
    ASSERT_TRUE(h.view.Doc().IsLineIndexBuilding());
    h.Key(VK_DOWN);
    h.Key(VK_RIGHT);
    EXPECT_EQ(h.Caret(), LineColumn(1, 1));
    h.Click(1, 2 * h.LineHeight() + 1);
    EXPECT_EQ(h.Caret(), LineColumn(2, 0));
    h.Key(VK_DOWN, true);
    h.Key(VK_DOWN, true);
    EXPECT_EQ(h.CopyUnicode(), L"line 2\r\nline 3\r\n");
    EXPECT_TRUE(h.view.Doc().IsLineIndexBuilding());
    h.Key(VK_END, false, true);
    EXPECT_LT(h.Caret().first, 3000);
    h.view.Doc().RunLineIndex();
    EXPECT_TRUE(PumpUntil([&] { return h.Caret() == LineColumn(3000, 0); }));

    h.view.OpenFile(WidenAnsi(TestFolder().Write("one-line.txt", std::string(3 << 20, 'x'))));
    h.view.SelectAll();
    h.CopyUnicode();
    EXPECT_TRUE(h.view.Doc().IsLineIndexBuilding());
}

// The low line shows in text and in hex also in a face and size whose own
// glyph for it draws nothing here (the standard ones): "a_b" inks lower than "a b".
TEST(TextView, LowLinesShowInTextAndHex)
{
    CLSViewHarness h(1200, 100);  // wide enough for the hex view's characters
    const CLSGlimTextSettings standard;
    h.view.ApplySettings(standard, standard, CLSGlimImageSettings(), CLSGlimMediaSettings());
    for (const ViewMode mode : {ViewMode::Text, ViewMode::Hex}) {
        int lowest[2] = {};
        for (const int i : {0, 1}) {
            h.Open(TestFolder().Write("low.txt", i == 0 ? "a b" : "a_b"));
            h.view.SetViewMode(mode);
            SetFocus(h.Parent());  // no caret in the way
            const Shot s = h.Capture();
            for (int at = 0; at < s.cx * s.cy; ++at) {
                lowest[i] = s.pixels[at] != s.At(s.cx - 1, s.cy - 1) ? at / s.cx : lowest[i];
            }
        }
        EXPECT_GT(lowest[1], lowest[0]) << "view form " << static_cast<int>(mode);
    }
}

// A line too long to be decoded whole shows its text and the line after it;
// End reaches its end without reading it on the window thread, and a click
// there lands under the pointer.
TEST(TextView, LineOverAGigabyteShowsAndTakesAClickAtItsEnd)
{
    const std::uint64_t kColumns = (std::uint64_t{1} << 30) + 100;
    const std::string path = TestFolder().PathOf("gigabyte-line.txt");
    {
        const CLSHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        const std::string piece(1 << 20, 'x');
        DWORD written = 0;
        for (std::uint64_t done = 0; done < kColumns; done += written) {
            const auto n = static_cast<DWORD>(std::min<std::uint64_t>(piece.size(), kColumns - done));
            ASSERT_TRUE(WriteFile(file.Get(), piece.data(), n, &written, nullptr) && written == n);
        }
        ASSERT_TRUE(WriteFile(file.Get(), "\r\nend", 5, &written, nullptr));
    }
    CLSViewHarness h;
    h.Open(path);
    const Shot s = h.Capture();
    const int rowHeight = h.LineHeight();
    const int cell = CellWidth(h.FontHeight());  // one 'x' in the test font
    int inked[2] = {};
    int unlike = 0;  // row 0 is the same glyph cell after cell (the caret aside)
    for (int y = 0; y < 2 * rowHeight; ++y) {
        for (int x = 0; x < s.cx; ++x) {
            inked[y / rowHeight] += s.At(x, y) != kBack ? 1 : 0;
            unlike += y < rowHeight && x >= cell && x + cell < s.cx && s.At(x, y) != s.At(x + cell, y) ? 1 : 0;
        }
    }
    EXPECT_GT(inked[0], s.cx) << "the long line";
    EXPECT_EQ(unlike, 0) << "the long line";
    EXPECT_GT(inked[1], 0) << "the line after it";
    SetFocus(h.View());
    h.Key(VK_END);  // the line is read through on its thread; the caret goes once it is
    EXPECT_TRUE(PumpUntil([&] { return h.Caret() == LineColumn(0, static_cast<int>(kColumns)); }, 20000));
    h.Click(100, 2);
    const long long clicked = (static_cast<long long>(h.ScrollBar(SB_HORZ).nPos) * cell + 100) / cell;
    EXPECT_GT(clicked, static_cast<long long>(kColumns) - 100);
    EXPECT_EQ(h.Caret(), LineColumn(0, static_cast<int>(clicked)));
    h.Key(VK_END, true);
    EXPECT_EQ(h.CopyUnicode(), std::wstring(static_cast<std::size_t>(kColumns - clicked), L'x'));
}

// Text mode in a real pane: what copying puts on the clipboard, where keys and
// clicks put the caret, and the rows as they appear on the screen.
#include "VIEWTEST.h"

#include <gtest/gtest.h>

namespace {

// UTF-16LE bytes of a text, after the byte-order mark.
std::string Utf16LeFile(const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

}  // namespace

TEST(TextView, CopiesWholeFilesAsUnicode)
{
    struct Case {
        const char* name;
        std::string bytes;
        TextEncoding encoding;
        int lastLine, lastColumn;
        std::wstring copied;
    };
    const Case cases[] = {
        // A break at the end leaves an empty last line: the copy ends with the
        // break placed before it.
        {"sjis.txt", "日本語のテキスト\r\n二行目\tタブ\r\n", TextEncoding::ShiftJis, 2, 0,
         L"日本語のテキスト\r\n二行目\tタブ\r\n"},
        {"utf16.txt", Utf16LeFile(L"Ｕｎｉｃｏｄｅ\r\n行２"), TextEncoding::Utf16Le, 1, 2,
         L"Ｕｎｉｃｏｄｅ\r\n行２"},
        // An empty first line still gives its break.
        {"blank-first.txt", "\r\nab\r\n", TextEncoding::ShiftJis, 2, 0, L"\r\nab\r\n"},
    };
    CLSViewHarness h;
    for (const Case& c : cases) {
        h.Open(WriteTestFile(c.name, c.bytes));
        ASSERT_EQ(h.view.GetDisplayMode(), DocumentKind::Text) << c.name;
        EXPECT_EQ(h.view.GetEffectiveEncoding(), c.encoding) << c.name;
        h.view.SelectAll();
        EXPECT_EQ(h.Caret(), LineColumn(c.lastLine, c.lastColumn)) << c.name;
        EXPECT_EQ(h.CopyUnicode(), c.copied) << c.name;
    }
}

TEST(TextView, CopiesASelectionOverThreeLines)
{
    CLSViewHarness h;
    h.Open(WriteTestFile("three.txt", "abcdef\r\ngh\r\nijk"));
    // From (3,0) with Shift down two rows, to the line start, then two right.
    for (int i = 0; i < 3; ++i) {
        h.Key(VK_RIGHT);
    }
    h.Key(VK_DOWN, true);
    h.Key(VK_DOWN, true);
    h.Key(VK_HOME, true);
    h.Key(VK_RIGHT, true);
    h.Key(VK_RIGHT, true);
    EXPECT_EQ(h.Caret(), LineColumn(2, 2));
    EXPECT_EQ(h.CopyUnicode(), L"def\r\ngh\r\nij");
    // Right without Shift drops the selection and moves on from the caret.
    h.Key(VK_RIGHT);
    EXPECT_EQ(h.CaretColumn(), 3);
    EXPECT_FALSE(h.view.HasSelection());
    EXPECT_EQ(h.CopyUnicode(), kClipboardMarker);
}

TEST(TextView, CaretKeys)
{
    CLSViewHarness h;
    h.Open(WriteTestFile("keys.txt", "abcde\r\nxy\r\n\r\nabcdefgh"));
    struct Step {
        UINT vk;
        bool ctrl;
        int line, column;
    };
    const Step steps[] = {
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
    for (const Step& s : steps) {
        h.Key(s.vk, false, s.ctrl);
        EXPECT_EQ(h.Caret(), LineColumn(s.line, s.column)) << "key " << s.vk;
    }
}

// Where a click lands in a row is the text layout's rule; the pane takes the
// focus, and Shift+click keeps the anchor.
TEST(TextView, ClickAndShiftClickSelect)
{
    CLSViewHarness h;
    h.Open(WriteTestFile("click.txt", "abc\tdef\r\nxy"));
    SetFocus(h.Parent());
    h.Click(0, 2);
    EXPECT_EQ(GetFocus(), h.View());
    h.Click(400, h.LineHeight() + 2, true);
    EXPECT_EQ(h.Caret(), LineColumn(1, 2));
    EXPECT_EQ(h.CopyUnicode(), L"abc\tdef\r\nxy");
}

TEST(TextView, SelectedBandOverATabGap)
{
    CLSViewHarness h;
    ASSERT_EQ(h.FontHeight(), 16);
    h.Open(WriteTestFile("gap.txt", "a\tb\r\nnext"));
    // Between the 8-pixel "a" and the stop at 32, inside the glyph row of line 0.
    auto gapPixels = [&]() {
        const Shot s = h.Capture();
        std::vector<COLORREF> gap;
        for (int x = 12; x <= 29; ++x) {
            gap.push_back(s.At(x, 8));
        }
        return gap;
    };
    // A selection ending just after the tab shows the whole gap selected.
    h.Key(VK_RIGHT, true);
    h.Key(VK_RIGHT, true);
    EXPECT_EQ(gapPixels(), std::vector<COLORREF>(18, kSelBack));
    // One starting after the tab leaves the gap alone.
    h.Key(VK_RIGHT);
    h.Key(VK_RIGHT, true);
    EXPECT_EQ(gapPixels(), std::vector<COLORREF>(18, kBack));
}

// The hex character column's cells: where characters start in each encoding,
// rows that start or end inside a character, and what shows as a dot.
#include "view/HEXCHARS.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// "s82A0:2" a Shift-JIS glyph over two cells, "u3042" a code point, "." a dot,
// "_" the blank rest of a character begun on the row before.
std::string Cells(const std::string& before, const std::string& row, const std::string& after, TextEncoding e)
{
    const std::string all = before + row + after;
    const auto* bytes = reinterpret_cast<const unsigned char*>(all.data());
    HexCharCell cells[16];
    LayOutHexChars(bytes + before.size(), before.size(), row.size(), after.size(), e, cells);
    std::string text;
    for (std::size_t i = 0; i < row.size(); ++i) {
        char one[16];
        const HexCharCell& c = cells[i];
        if (c.kind == HexCellKind::Continuation) {
            std::snprintf(one, sizeof(one), "_");
        } else {
            const int n = c.kind == HexCellKind::Dot ? std::snprintf(one, sizeof(one), ".")
                                                     : std::snprintf(one, sizeof(one), "%c%X", c.shiftJis ? 's' : 'u',
                                                                     static_cast<unsigned>(c.code));
            if (c.cells > 1) {
                std::snprintf(one + n, sizeof(one) - n, ":%d", c.cells);
            }
        }
        text += i != 0 ? " " : "";
        text += one;
    }
    return text;
}

}  // namespace

TEST(HexChars, CellsOfEachEncoding)
{
    using E = TextEncoding;
    const struct {
        const char* what;
        std::string before, row, after;
        E encoding;
        const char* cells;
    } cases[] = {
        {"SJIS letters, a pair, half-width kana", "", "a\x82\xA0\xB1", "", E::ShiftJis, "s61 s82A0:2 _ sB1"},
        {"controls and bytes of no character", "", "\n\x7F\x80\xFD\x82", "", E::ShiftJis, ". . . . ."},
        {"row starts on a trail byte", "A\x82", "\xA0" "A", "", E::ShiftJis, "_ s41"},
        {"lead bytes before the row pair up first", "A\x82\x82", "\xA0", "", E::ShiftJis, "."},
        {"pair cut by the row's end", "", "A\x82", "\xA0", E::ShiftJis, "s41 s82A0"},
        {"lead byte at the end of the file", "", "A\x82", "", E::ShiftJis, "s41 ."},
        {"binary reads as the code page", "", "\x82\xA0", "", E::Binary, "s82A0:2 _"},
        {"EUC pair, kana, JIS X 0212", "", "\xA4\xA2\x8E\xB1\x8F\xA1\xA1", "", E::Euc,
         "s82A0:2 _ sB1:2 _ s81AC:3 _ _"},
        {"EUC row starts mid-pair", "a\xA4\xA2\xA4", "\xA4" "b", "", E::Euc, "_ s62"},
        {"JIS escapes, a kanji, back to ASCII", "", "\x1B$B0!\x1B(Ba", "", E::Jis,
         ".:3 _ _ s889F:2 _ .:3 _ _ s61"},
        {"JIS state from before the row", "\x1B$B0!0", "!0!", "", E::Jis, "_ s889F:2 _"},
        {"a line break ends the kanji state", "\x1B$B", "\n0!", "", E::Jis, ". s30 s21"},
        {"JIS half-width kana", "\x1B(I", "1", "", E::Jis, "sB1"},
        {"UTF-8 letter and kana", "", "a\xE3\x81\x82", "", E::Utf8, "u61 u3042:3 _ _"},
        {"UTF-8 row starts mid-character", "\xE3", "\x81\x82" "A", "", E::Utf8, "_ _ u41"},
        {"UTF-8 character cut by the row", "", "A\xE3", "\x81\x82", E::Utf8, "u41 u3042"},
        {"UTF-8 over-long, stray, C1 control", "", "\xC0\x80\x80\xC2\x85", "", E::Utf8, ". . . .:2 _"},
        {"UTF-8 beyond the basic plane", "", "\xF0\x9F\x98\x80", "", E::Utf8, "u1F600:4 _ _ _"},
        {"UTF-16LE mark, letter, kana", "", std::string("\xFF\xFE" "A\0\x42\x30", 6), "", E::Utf16Le,
         ".:2 _ u41:2 _ u3042:2 _"},
        {"UTF-16LE pair begun on the row before", "\x3D\xD8", std::string("\x00\xDE" "A\0", 4), "", E::Utf16Le,
         "_ _ u41:2 _"},
        {"UTF-16LE pair cut by the row", "", "\x3D\xD8", std::string("\x00\xDE", 2), E::Utf16Le, "u1F600:2 _"},
        {"UTF-16LE lone surrogate, line break", "", std::string("\x00\xD8\n\0", 4), "", E::Utf16Le, ".:2 _ .:2 _"},
        {"UTF-16BE kana", "", "\x30\x42", "", E::Utf16Be, "u3042:2 _"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cells(c.before, c.row, c.after, c.encoding), c.cells) << c.what;
    }
}

// A long line read in pieces: whatever the encoding and wherever the pieces
// are cut, its units, columns and cells are those of the whole line decoded
// at once, and the line ends at its break.
#include "document/LINEMAP.h"

#include "TESTFILES.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

template <typename C>
std::basic_string<C> Repeat(const std::basic_string<C>& s, int n)
{
    std::basic_string<C> r;
    for (int i = 0; i < n; ++i) {
        r += s;
    }
    return r;
}
std::string Repeat(const char* s, int n) { return Repeat(std::string(s), n); }
std::wstring Repeat(const wchar_t* s, int n) { return Repeat(std::wstring(s), n); }

// x of every column of text, as a naive walk from the line start counts it.
std::vector<std::uint64_t> NaiveCells(const std::wstring& text, int tabCells)
{
    std::vector<std::uint64_t> x{0};
    for (const WCHAR u : text) {
        const std::uint64_t at = x.back();
        x.push_back(u == L'\t' ? at + tabCells - at % tabCells : at + static_cast<std::uint64_t>(CellsOfUnit(u)));
    }
    return x;
}

}  // namespace

TEST(LineMap, PiecesDecodeAndMeasureAsTheWholeLine)
{
    const std::wstring mixed = L"日本\tab ｱ\x3042x";
    const std::wstring kanji = L"漢字かなカナ";
    const struct {
        const char* name;
        TextEncoding encoding;
        std::string bytes;  // the line, its break and the next line
        std::wstring text;
    } cases[] = {
        {"sjis", TextEncoding::ShiftJis, Encode(Repeat(mixed, 40) + Repeat(kanji, 30), 932) + "\r\nnext",
         Repeat(mixed, 40) + Repeat(kanji, 30)},
        {"sjis, ascii stretches", TextEncoding::ShiftJis, Repeat("abc def ", 30) + Encode(kanji, 932) + Repeat("xy", 40),
         Repeat(L"abc def ", 30) + kanji + Repeat(L"xy", 40)},
        {"euc", TextEncoding::Euc, Repeat("\xC6\xFC\xCB\xDC\t\x8E\xB1" "a", 60) + Repeat("\xB4\xC1", 90) + "\nnext",
         Repeat(L"日本\tｱa", 60) + Repeat(L"漢", 90)},
        {"jis", TextEncoding::Jis, "\x1B$B" + Repeat("F|K\\", 70) + "\x1B(Bab\t\x1B$BF|\x1B(B\r",
         Repeat(L"日本", 70) + L"ab\t日"},
        {"utf8 with mark", TextEncoding::Utf8, "\xEF\xBB\xBF" + Encode(Repeat(mixed + L"\xD83D\xDE00", 50), CP_UTF8) + "\n",
         Repeat(mixed + L"\xD83D\xDE00", 50)},
        {"utf7", TextEncoding::Utf7, Encode(Repeat(kanji, 40) + L"a-b" + Repeat(mixed, 20), CP_UTF7) + "\r\n",
         Repeat(kanji, 40) + L"a-b" + Repeat(mixed, 20)},
        {"utf16le", TextEncoding::Utf16Le, "\xFF\xFE" + Utf16(Repeat(mixed + L"\xD83D\xDE00", 50) + L"\r\nx", false),
         Repeat(mixed + L"\xD83D\xDE00", 50)},
        {"utf16be", TextEncoding::Utf16Be, Utf16(Repeat(mixed, 50) + L"\n", true), Repeat(mixed, 50)},
    };
    const int tabCells = 4;
    for (const auto& c : cases) {
        const std::vector<std::uint64_t> x = NaiveCells(c.text, tabCells);
        const LineByteReader read = [&c](std::uint64_t offset, unsigned char* into, DWORD n, DWORD* got) {
            *got = offset < c.bytes.size() ? static_cast<DWORD>(std::min<std::uint64_t>(n, c.bytes.size() - offset)) : 0;
            std::memcpy(into, c.bytes.data() + offset, *got);
            return true;
        };
        for (const std::size_t piece : {16u, 37u, 4096u}) {
            const std::string at = std::string(c.name) + " in pieces of " + std::to_string(piece);
            CLSLineMap map(c.bytes.size(), c.encoding, true, tabCells, piece);
            std::wstring units;
            ASSERT_TRUE(map.Units(read, 0, UINT64_MAX / 2, &units)) << at;
            EXPECT_EQ(units, c.text) << at;
            std::uint64_t length = 0;
            ASSERT_TRUE(map.Length(read, &length));
            EXPECT_EQ(length, c.text.size()) << at;
            EXPECT_EQ(map.EstimatedCells(), x.back()) << at;
            for (std::size_t column = 0; column <= c.text.size(); ++column) {
                std::uint64_t cells = 0;
                std::uint64_t back = 0;
                ASSERT_TRUE(map.CellsOfColumn(read, column, &cells));
                ASSERT_EQ(cells, x[column]) << at << " column " << column;
                ASSERT_TRUE(map.ColumnAtCells(read, cells, &back));
                // The last column at that x: after a zero-width unit, or column itself.
                EXPECT_EQ(x[back], cells) << at << " column " << column;
                EXPECT_TRUE(back == column || (back == column + 1 && x[column + 1] == cells)) << at << " column " << column;
            }
            LineWindow window;
            ASSERT_TRUE(map.Window(read, x[100], x[140], &window));
            EXPECT_EQ(window.firstColumn, 100u) << at;
            EXPECT_EQ(window.firstCells, x[100]) << at;
            EXPECT_EQ(std::wstring(window.units.begin(), window.units.end()).substr(0, 40), c.text.substr(100, 40)) << at;
            // A map that takes over what another read (on a thread) needs no reading for the length.
            CLSLineMap fed(c.bytes.size(), c.encoding, true, tabCells, piece);
            fed.Adopt(map.Checkpoints(), map.IsComplete());
            const LineByteReader fails = [](std::uint64_t, unsigned char*, DWORD, DWORD*) { return false; };
            ASSERT_TRUE(fed.Length(fails, &length)) << at;
            EXPECT_EQ(length, c.text.size()) << at;
            ASSERT_TRUE(fed.Units(read, 100, 40, &units)) << at;
            EXPECT_EQ(units, c.text.substr(100, 40)) << at;
        }
    }
}

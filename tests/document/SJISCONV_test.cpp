// JIS and EUC-JP lines into Shift-JIS: the worked kanji, the state switches,
// half-width katakana, and bytes that must not swallow their neighbours.
#include "document/SJISCONV.h"

#include "base/SHIFTJIS.h"

#include "TESTFILES.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::string Convert(std::size_t (*convert)(unsigned char*, std::size_t), const std::string& line)
{
    std::string buffer = line + std::string(6, '\x55');
    auto* bytes = reinterpret_cast<unsigned char*>(buffer.data());
    const std::size_t n = convert(bytes, line.size());
    EXPECT_EQ(buffer[n], '\0') << "no terminator after the output";
    return buffer.substr(0, n);
}

struct ConvertCase {
    const char* what;
    std::string input;
    std::string expected;
};

}  // namespace

TEST(JisToShiftJis, EscapesSwitchStateAndAreDropped)
{
    const ConvertCase cases[] = {
        {"one kanji", Bytes({0x1B, '$', 'B', 0x30, 0x21, 0x1B, '(', 'B'}), Bytes({0x88, 0x9F})},
        {"ASCII around kanji", "a\x1B$B0!\x1B(Jb", Bytes({'a', 0x88, 0x9F, 'b'})},
        {"every line starts in ASCII", "0!", "0!"},
        {"ESC $ @ reads as JIS X 0208", Bytes({0x1B, '$', '@', 0x30, 0x21}), Bytes({0x88, 0x9F})},
        {"ESC & @ ESC $ B", Bytes({0x1B, '&', '@', 0x1B, '$', 'B', 0x30, 0x21}), Bytes({0x88, 0x9F})},
        {"hiragana A, odd row", Bytes({0x1B, '$', 'B', 0x24, 0x22}), Bytes({0x82, 0xA0})},
        {"trail byte past 0x7E", Bytes({0x1B, '$', 'B', 0x21, 0x60}), Bytes({0x81, 0x80})},
        {"row above 0x5E", Bytes({0x1B, '$', 'B', 0x60, 0x21}), Bytes({0xE0, 0x9F})},
        {"half-width katakana", Bytes({0x1B, '(', 'I', 0x31, 0x32, 0x1B, '(', 'B', 'x'}),
         Bytes({0xB1, 0xB2, 'x'})},
        {"unknown escape is kept", "\x1B(Xa", "\x1B(Xa"},
        {"escape cut by the line end", "a\x1B$", "a\x1B$"},
        {"break inside kanji state stays", Bytes({0x1B, '$', 'B', 0x30, 0x21, 0x0D, 0x0A}),
         Bytes({0x88, 0x9F, 0x0D, 0x0A})},
        {"lone byte at the end of kanji state", Bytes({0x1B, '$', 'B', 0x30, 0x21, 0x30}), Bytes({0x88, 0x9F, 0x30})},
        {"Shift-JIS pair in ASCII state", Bytes({0x82, 0xA0, 0x1B, '(', 'B', 0x0A}), Bytes({0x82, 0xA0, 0x0A})},
        {"lone lead byte before the break", Bytes({0x82, 0x0D, 0x0A}), Bytes({'?', 0x0D, 0x0A})},
        {"lone lead byte in kanji state", Bytes({0x1B, '$', 'B', 0xE0}), "?"},
        {"bytes that lead nothing are copied", Bytes({0x80, 0xA0, 0xFD, 0xFF, 0xB1}), Bytes({0x80, 0xA0, 0xFD, 0xFF, 0xB1})},
    };
    for (const ConvertCase& c : cases) {
        EXPECT_EQ(Convert(JisToShiftJis, c.input), c.expected) << c.what;
    }
}

TEST(EucToShiftJis, PairsKatakanaAndBrokenBytes)
{
    const ConvertCase cases[] = {
        {"one kanji", Bytes({0xB0, 0xA1}), Bytes({0x88, 0x9F})},
        {"half-width katakana", Bytes({0x8E, 0xB1}), Bytes({0xB1})},
        {"hiragana and ASCII", Bytes({'x', 0xA4, 0xA2, 'y'}), Bytes({'x', 0x82, 0xA0, 'y'})},
        {"JIS X 0212 becomes a geta mark", Bytes({0x8F, 0xB0, 0xA1, 0xA4, 0xA2}), Bytes({0x81, 0xAC, 0x82, 0xA0})},
        {"unpaired high bytes are copied", Bytes({0xA4, 0xA2, 0x80, 0xA0}), Bytes({0x82, 0xA0, 0x80, 0xA0})},
        {"Shift-JIS lead byte before the break", Bytes({0xE0, 0x0D, 0x0A}), Bytes({'?', 0x0D, 0x0A})},
        {"Shift-JIS lead byte at the end", Bytes({'a', 0x81}), "a?"},
    };
    for (const ConvertCase& c : cases) {
        EXPECT_EQ(Convert(EucToShiftJis, c.input), c.expected) << c.what;
    }
}

// Every JIS X 0208 code maps to its own valid Shift-JIS pair.
TEST(JisPairToShiftJis, IsOneToOneOntoShiftJisPairs)
{
    std::set<unsigned> seen;
    for (unsigned j1 = 0x21; j1 <= 0x7E; ++j1) {
        for (unsigned j2 = 0x21; j2 <= 0x7E; ++j2) {
            unsigned char out[2];
            JisPairToShiftJis(static_cast<unsigned char>(j1), static_cast<unsigned char>(j2), out);
            ASSERT_TRUE(IsShiftJisPair(out)) << std::hex << j1 << " " << j2;
            seen.insert(out[0] << 8 | out[1]);
        }
    }
    EXPECT_EQ(seen.size(), 94u * 94u);
}

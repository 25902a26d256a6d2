// Matching of decoded lines, queries over line breaks, hex pairs, the byte
// filter and the bytes of a byte query, without a file.
#include "document/FINDFORM.h"
#include "document/FINDTEXT.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Folds ASCII letters only: enough to tell a folded from an exact compare.
std::vector<char16_t> AsciiFold()
{
    std::vector<char16_t> fold(0x10000);
    for (unsigned u = 0; u < fold.size(); ++u) {
        fold[u] = static_cast<char16_t>(u >= 'A' && u <= 'Z' ? u + 32 : u);
    }
    return fold;
}

}  // namespace

TEST(FindText, FindsWithinTheColumnsAskedForInEitherDirection)
{
    const std::vector<char16_t> fold = AsciiFold();
    const std::u16string line = u"abcABCabc";
    struct Case {
        const char16_t* query;
        int from, to;
        bool forward, folded;
        int expected;
    } cases[] = {
        {u"abc", 0, 100, true, false, 0},   {u"abc", 1, 100, true, false, 6},  {u"abc", 1, 100, true, true, 3},
        {u"abc", 0, 6, false, false, 0},    {u"abc", 0, 6, false, true, 3},    {u"abc", 1, 6, true, false, -1},
        {u"cab", 0, 100, true, true, 2},    {u"abca", 0, 100, true, false, -1}, {u"bcABCabcx", 0, 100, true, true, -1},
        {u"ABC", 0, 4, true, false, 3},     {u"ABC", 0, 3, true, false, -1},
    };
    for (const Case& c : cases) {
        const FoldTable table = c.folded ? fold.data() : nullptr;
        const std::u16string segment = SplitQuery(c.query, table).front();
        EXPECT_EQ(FindInLine(line.data(), static_cast<int>(line.size()), segment, c.from, c.to, c.forward, table),
                  c.expected)
            << "case " << (&c - cases);
    }
}

TEST(FindText, QueriesOverLineBreaksEndOneLineAndBeginTheLast)
{
    const std::vector<std::u16string> lines = {u"xx end", u"middle", u"begin yy"};
    auto lineAt = [&](std::size_t start) {
        return [&lines, start](std::size_t k, const char16_t*& text, int& length) {
            if (start + k >= lines.size()) {
                return false;
            }
            text = lines[start + k].data();
            length = static_cast<int>(lines[start + k].size());
            return true;
        };
    };
    EXPECT_EQ(SplitQuery(u"a\r\nb\rc\nd", nullptr), (std::vector<std::u16string>{u"a", u"b", u"c", u"d"}));
    EXPECT_EQ(MatchAcrossLines(SplitQuery(u"end\r\nmiddle\r\nbegin", nullptr), nullptr, lineAt(0)), 3);
    EXPECT_EQ(MatchAcrossLines(SplitQuery(u"end\nmid\nbegin", nullptr), nullptr, lineAt(0)), -1);  // not whole
    EXPECT_EQ(MatchAcrossLines(SplitQuery(u"en\nmiddle", nullptr), nullptr, lineAt(0)), -1);  // not the line's end
    EXPECT_EQ(MatchAcrossLines(SplitQuery(u"\nbegin", nullptr), nullptr, lineAt(1)), 6);
    EXPECT_EQ(MatchAcrossLines(SplitQuery(u"yy\n", nullptr), nullptr, lineAt(2)), -1);  // no line after the last
}

TEST(FindText, HexPairsAreTwoDigitGroupsSeparatedByBlanks)
{
    struct Case {
        const char* text;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {"E3 81 82", {0xE3, 0x81, 0x82}}, {"e3  0a\t41 ", {0xE3, 0x0A, 0x41}}, {"41", {0x41}},
        {"E38182", {}}, {"E3 8", {}}, {"cafe", {}}, {"zz", {}}, {"  ", {}},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> bytes;
        EXPECT_EQ(ParseHexPairs(c.text, bytes), !c.bytes.empty()) << c.text;
        EXPECT_EQ(bytes, c.bytes) << c.text;
    }
}

// Every start offset and block tail, so that the sixteen-at-a-time loop and
// the byte-at-a-time rest agree with a plain search.
TEST(FindText, ByteFilterFindsEveryPlaceItsSetsAllow)
{
    CLSByteFilter filter;
    filter.AddPosition({'a', 'A'});
    filter.AddPosition({0x82});
    filter.AddPosition({'z', 'Z'});
    for (std::size_t size = 3; size < 70; ++size) {
        for (std::size_t at = 0; at + 3 <= size; ++at) {
            std::vector<unsigned char> data(size, 'a');
            data[at] = 'A';
            data[at + 1] = 0x82;
            data[at + 2] = 'Z';
            ASSERT_EQ(filter.FindEnd(data.data(), size, 0), at + 3) << size << " " << at;
            ASSERT_EQ(filter.FindEnd(data.data(), size, at + 1), SIZE_MAX) << size << " " << at;
        }
    }
}

// A character beyond the Basic Multilingual Plane in a byte query takes the
// file's own encoding, and none where it cannot exist.
TEST(FindText, SurrogatePairsAreEncodedInTheFilesOwnEncodingOrNotAtAll)
{
    using Sets = std::vector<std::vector<unsigned char>>;
    const std::u16string kanji = u"\U00020BB7";
    EXPECT_EQ(EncodeQueryBytes(kanji, TextEncoding::Utf16Le, nullptr), (Sets{{0x42}, {0xD8}, {0xB7}, {0xDF}}));
    EXPECT_EQ(EncodeQueryBytes(kanji, TextEncoding::Utf8, nullptr), (Sets{{0xF0}, {0xA0}, {0xAE}, {0xB7}}));
    EXPECT_EQ(EncodeQueryBytes(kanji, TextEncoding::ShiftJis, nullptr), Sets{});
    EXPECT_EQ(EncodeQueryBytes(kanji.substr(0, 1), TextEncoding::Utf8, nullptr), Sets{}) << "half a pair";
}

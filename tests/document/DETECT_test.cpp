// Encoding detection on samples that tell the rules apart: marks, the UTF-8
// and UTF-7 tests, escapes, binary bytes and the Shift-JIS/EUC vote.
#include "document/DETECT.h"
#include "document/LINESCAN.h"

#include "TESTFILES.h"

#include <gtest/gtest.h>

#include <string>

TEST(DetectEncoding, SamplesThatTellTheRulesApart)
{
    const struct {
        const char* what;
        std::string sample;  // a zero byte follows it, as callers guarantee
        TextEncoding expected;
    } cases[] = {
        // Byte-order marks and the UTF-8 test.
        {"UTF-16BE mark", Bytes({0xFE, 0xFF, 0x00, 0x41}), TextEncoding::Utf16Be},
        {"UTF-16LE mark alone", Bytes({0xFF, 0xFE}), TextEncoding::Utf16Le},
        {"one byte FF is no mark but binary", Bytes({0xFF}), TextEncoding::Binary},
        {"UTF-16LE without mark", Bytes({0x41, 0x00, 0x42, 0x00}), TextEncoding::Utf16Le},
        {"UTF-8 mark and ASCII only", Bytes({0xEF, 0xBB, 0xBF, 0x41, 0x42}), TextEncoding::Utf8},
        {"UTF-8 mark before bytes no UTF-8 test passes", Bytes({0xEF, 0xBB, 0xBF, 0x82, 0xA0}), TextEncoding::Utf8},
        {"cafe", Bytes({0x63, 0x61, 0x66, 0xC3, 0xA9}), TextEncoding::Utf8},
        {"C3 before an ASCII byte", Bytes({0xC3, 0x41}), TextEncoding::ShiftJis},
        {"sequence cut by the sample end", Bytes({0x61, 0xE3, 0x81}), TextEncoding::Utf8},
        {"five-byte form", Bytes({0xF8, 0x88, 0x80, 0x80, 0x80}), TextEncoding::Utf8},
        {"zero bytes beside well-formed UTF-8", Bytes({0x00, 0xE3, 0x81, 0x82, 0x00}), TextEncoding::Utf8},
        {"bad continuation", Bytes({0xE3, 0x41, 0x81}), TextEncoding::ShiftJis},
        // JIS escapes decide wherever the scan reaches them.
        {"ESC $ B", "abc\x1B$B0!\x1B(B", TextEncoding::Jis},
        {"ESC $ @", "\x1B$@", TextEncoding::Jis},
        {"ESC ( B", "x\x1B(B", TextEncoding::Jis},
        {"ESC ( H", "x\x1B(H", TextEncoding::Jis},
        {"ESC ( I", "x\x1B(I", TextEncoding::Jis},
        {"ESC ( J", "x\x1B(J", TextEncoding::Jis},
        {"ESC & @ ESC $ B", "\x1B&@\x1B$B", TextEncoding::Jis},
        {"ESC & @ alone", "\x1B&@abc", TextEncoding::ShiftJis},
        {"ESC ( X", "\x1B(X", TextEncoding::ShiftJis},
        {"after Shift-JIS pairs", Bytes({0x82, 0xA0, 0x82, 0xA2, 0x1B, '$', 'B'}), TextEncoding::Jis},
        {"after an EUC pair", Bytes({0xA4, 0xA2, 0x1B, '(', 'B'}), TextEncoding::Jis},
        {"NUL before the escape", Bytes({'a', 0x00, 0x1B, '$', 'B'}), TextEncoding::Binary},
        {"escape before a NUL", Bytes({0x1B, '$', 'B', 0x00}), TextEncoding::Jis},
        {"ESC as the last byte", "abc\x1B", TextEncoding::ShiftJis},
        // Control bytes mark binary.
        {"0x00", Bytes({'a', 0x00, 'b'}), TextEncoding::Binary},
        {"0x06", Bytes({'a', 0x06}), TextEncoding::Binary},
        {"0x07 is text", Bytes({'a', 0x07, 'b'}), TextEncoding::ShiftJis},
        {"tab and breaks are text", "a\tb\r\nc", TextEncoding::ShiftJis},
        {"0x7F", Bytes({'a', 0x7F}), TextEncoding::Binary},
        {"0xFD", Bytes({'a', 0xFD, 'b'}), TextEncoding::Binary},
        {"0xFD as a UTF-8 lead cut by the end", Bytes({'a', 0xFD}), TextEncoding::Utf8},
        {"empty sample", "", TextEncoding::ShiftJis},
        // The Shift-JIS/EUC vote.
        {"Shift-JIS hiragana", Bytes({0x82, 0xA0, 0x82, 0xA2}), TextEncoding::ShiftJis},
        {"EUC hiragana", Bytes({0xA4, 0xA2, 0xA4, 0xA4}), TextEncoding::Euc},
        {"half-width katakana pair", Bytes({0xB1, 0xB2}), TextEncoding::Euc},
        {"a pair counting for both is a tie", Bytes({0xE0, 0xA1, 0x41}), TextEncoding::ShiftJis},
        {"EUC half-width kana is also a Shift-JIS pair", Bytes({0x8E, 0xB1}), TextEncoding::ShiftJis},
        {"pairs are stepped over", Bytes({0x82, 0xA4, 0xA2, 0xA4, 0xA2}), TextEncoding::ShiftJis},
        {"more EUC than Shift-JIS", Bytes({0x82, 0xA0, 0xA4, 0xA2, 0xA4, 0xA4}), TextEncoding::Euc},
        // UTF-7 needs a complete run and only direct characters.
        {"letter space plus minus space letter", "a +- b", TextEncoding::Utf7},
        {"plus without minus", "a + b", TextEncoding::ShiftJis},
        {"run of letters closed by minus", "Hi +MEIwRA-!", TextEncoding::Utf7},
        {"open run at the end alone", "x +AGE", TextEncoding::ShiftJis},
        {"open run at the end after a complete one", "+AGE- x +AGE", TextEncoding::Utf7},
        {"backslash", "a\\b +AGE-", TextEncoding::ShiftJis},
        {"tilde", "a~b +AGE-", TextEncoding::ShiftJis},
        {"no run at all", "plain text, no plus", TextEncoding::ShiftJis},
        {"bad byte inside a run", "+AG!-", TextEncoding::ShiftJis},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DetectEncoding(reinterpret_cast<const unsigned char*>(c.sample.c_str()), c.sample.size()), c.expected)
            << c.what;
    }
    // An escape may be completed by the bytes after the sample.
    EXPECT_EQ(DetectEncoding(reinterpret_cast<const unsigned char*>("A\x1B$B"), 2), TextEncoding::Jis);
    EXPECT_TRUE(PassesUtf7Test(reinterpret_cast<const unsigned char*>("+-"), 2));
    EXPECT_FALSE(PassesUtf8Test(reinterpret_cast<const unsigned char*>("\xEF\xBB\xBF"), 3));
}

// Only a sample of 7-bit text without escapes is left undecided.
TEST(DetectEncoding, SamplesThatDecideNothing)
{
    const auto lacks = [](const std::string& s) {
        return SampleLacksEvidence(reinterpret_cast<const unsigned char*>(s.c_str()), s.size());
    };
    EXPECT_TRUE(lacks("plain text\r\n"));
    EXPECT_TRUE(lacks("a + b \x1B&@ c"));
    for (const char* decided : {"a +- b", "x\x1B(B", "caf\xC3\xA9", "\x82\xA0", "\x7F"}) {
        EXPECT_FALSE(lacks(decided)) << decided;
    }
}

namespace {

// Plain ASCII lines of `head` bytes, then text, fed in odd pieces as the line
// index reads a file, the search riding along with its scan; a 100 MiB head
// is one block fed over and over.
TextEncoding SearchPast(std::size_t head, const std::string& text)
{
    std::string block;
    while (block.size() < 65536) {
        block += "This program is free software; you can redistribute it (GPL).\r\n";
    }
    CLSEncodingSearch search;
    CLSLineStarts index;
    index.push_back(0);
    CLSLineScanner scanner(index, TextEncoding::ShiftJis);
    scanner.Watch(&search);
    const auto feed = [&](const std::string& s, std::size_t n) {
        for (std::size_t at = 0; at < n; at += 4093) {
            scanner.Feed(reinterpret_cast<const unsigned char*>(s.data()) + at, n - at < 4093 ? n - at : 4093);
        }
    };
    for (std::size_t done = 0; done < head; done += block.size()) {
        feed(block, head - done < block.size() ? head - done : block.size());
    }
    feed(text, text.size());
    search.Finish();
    return search.Found();
}

}  // namespace

TEST(EncodingSearch, FirstEvidencePastAnAsciiHead)
{
    const std::string utf8 = reinterpret_cast<const char*>(u8"吾輩は猫である。\r\n");
    const std::string euc = Bytes({0xB8, 0xE3, 0xC7, 0xDA, 0xA4, 0xCF, 0xC7, 0xAD}) + "\r\n";
    const std::string jis = "\x1B$B8c\x47\x5A\x24\x4F\x1B(B\r\n";
    const std::string sjis = Bytes({0x8C, 0xE1, 0x94, 0x79, 0x82, 0xCD}) + "\r\n";
    for (std::size_t head : {std::size_t(8192), std::size_t(1) << 20, std::size_t(100) << 20}) {
        EXPECT_EQ(SearchPast(head, utf8), TextEncoding::Utf8) << head;
        EXPECT_EQ(SearchPast(head, euc), TextEncoding::Euc) << head;
        EXPECT_EQ(SearchPast(head, jis), TextEncoding::Jis) << head;
    }
    const std::string plain(10000, 'x');
    const struct {
        const char* what;
        std::string text;
        TextEncoding expected;
    } cases[] = {
        {"Shift-JIS", sjis, TextEncoding::ShiftJis},
        {"nothing but ASCII", plain, TextEncoding::Auto},
        {"a complete UTF-7 run", "a +ZeIwkA- b", TextEncoding::Utf7},
        {"an escape that is no JIS, then EUC", "\x1B&@" + plain + euc, TextEncoding::Euc},
        {"a failed run, then EUC", "a + b" + plain + euc, TextEncoding::Euc},
        {"a failed run ends UTF-7", "a + b" + plain + "+AGE-", TextEncoding::Auto},
        {"a binary byte leaves only UTF-8", std::string(1, '\0') + utf8, TextEncoding::Utf8},
        {"a binary byte before EUC", std::string(1, '\0') + euc, TextEncoding::Auto},
        {"an escape cut by a stretch's end", "\x1B&@" + std::string(8185, 'x') + "\x1B$B", TextEncoding::Jis},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SearchPast(8192, c.text), c.expected) << c.what;
    }
}

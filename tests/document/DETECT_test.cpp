// Encoding detection on samples that tell the rules apart: marks, the UTF-8
// and UTF-7 tests, escapes, binary bytes and the Shift-JIS/EUC vote.
#include "document/DETECT.h"

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
        {"UTF-16LE mark", Bytes({0xFF, 0xFE, 0x41, 0x00}), TextEncoding::Utf16Le},
        {"UTF-16BE mark", Bytes({0xFE, 0xFF, 0x00, 0x41}), TextEncoding::Utf16Be},
        {"mark alone", Bytes({0xFF, 0xFE}), TextEncoding::Utf16Le},
        {"one byte FF is no mark but binary", Bytes({0xFF}), TextEncoding::Binary},
        {"UTF-16LE without mark", Bytes({0x41, 0x00, 0x42, 0x00}), TextEncoding::Binary},
        {"UTF-8 mark and ASCII only", Bytes({0xEF, 0xBB, 0xBF, 0x41, 0x42}), TextEncoding::ShiftJis},
        {"cafe", Bytes({0x63, 0x61, 0x66, 0xC3, 0xA9}), TextEncoding::Utf8},
        {"C3 before an ASCII byte", Bytes({0xC3, 0x41}), TextEncoding::ShiftJis},
        {"sequence cut by the sample end", Bytes({0x61, 0xE3, 0x81}), TextEncoding::Utf8},
        {"five-byte form", Bytes({0xF8, 0x88, 0x80, 0x80, 0x80}), TextEncoding::Utf8},
        {"zero bytes beside well-formed UTF-8", Bytes({0x00, 0xE3, 0x81, 0x82, 0x00}), TextEncoding::Utf8},
        {"bad continuation", Bytes({0xE3, 0x41, 0x81}), TextEncoding::ShiftJis},
        {"Japanese in UTF-8", std::string(reinterpret_cast<const char*>(u8"猫である")), TextEncoding::Utf8},
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
        {"0x00", Bytes({'a', 0x00}), TextEncoding::Binary},
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

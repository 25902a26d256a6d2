// Status bar texts and part edges: pure arithmetic.
#include "app/BARTEXT.h"

#include <gtest/gtest.h>

TEST(StatusText, SizeGroupsByThreeUpToTheBillions)
{
    const struct {
        std::uint64_t size;
        const char* digits;
    } cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {1000005, "1,000,005"},
        {2000034, "2,000,034"},
        {1234567, "1,234,567"},
        {1000000000, "1,000,000,000"},
        {1234567890123ull, "1234,567,890,123"},  // no unit above 10^9
        {18446744073709551615ull, "18446744073,709,551,615"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SizeText(c.size), std::string("\t\t") + c.digits + "バイト") << c.size;
    }
}

TEST(StatusText, CaretPictureEncodingAndPartEdges)
{
    EXPECT_EQ(CaretText(0, 0), "\t    1:1    ");
    EXPECT_EQ(CaretText(123455, 9), "\t123456:10   ");
    const std::pair<std::uint32_t, const char*> labels[] = {
        {0, ""}, {1, "BIN"}, {2, "SJIS"}, {5, "UTF16LE"}, {6, "UTF16BE"}, {8, "UTF7"}, {9, ""}, {0xFFFFFFFF, ""}};
    for (const auto& [code, label] : labels) {
        EXPECT_STREQ(EncodingLabel(code), label) << code;
    }
    EXPECT_EQ(PictureText(1920, 1080, 100), "\t1920 × 1080  100%");
    // Needed widths up to the usual change nothing; a wider one widens its part, moving those left of it.
    const struct {
        StatusWidths needed;
        int expected[kStatusPartCount];
    } widths[] = {{{0, 0, 0}, {564, 764, 834, 890, 980}}, {{70, 56, 130}, {524, 724, 794, 850, 980}},
                  {{110, 80, 0}, {500, 700, 810, 890, 980}}};
    for (const auto& w : widths) {
        int edges[kStatusPartCount];
        StatusPartEdges(1000, 20, edges, w.needed);
        for (int i = 0; i < kStatusPartCount; ++i) {
            EXPECT_EQ(edges[i], w.expected[i]) << w.needed.caret << "/" << w.needed.encoding << " " << i;
        }
    }
}


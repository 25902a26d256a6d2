// The number in a numeric field of the settings dialog, whatever was typed or
// pasted into it.
#include "settings/NUMFIELD.h"

#include <gtest/gtest.h>

TEST(NumericField, DigitsOnlyElseZeroAndHugeNumbersStayHuge)
{
    const struct {
        const char* text;
        std::uint32_t value;
    } cases[] = {
        {"8", 8},         {" 4096\t", 4096}, {"007", 7},   {"", 0},      {"   ", 0},   {"abc", 0},
        {"12abc", 0},     {"1,000", 0},      {"-5", 0},    {"+5", 0},    {"1 2", 0},  {nullptr, 0},
        {"１２", 0},  // full-width digits
        {"4294967295", 4294967295u},
        {"4294967296", 4294967295u},  // no wrap into a valid range
        {"99999999999999999999999", 4294967295u},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadFieldNumber(c.text), c.value) << (c.text != nullptr ? c.text : "(null)");
    }
}

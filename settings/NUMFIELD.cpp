// Reading numeric fields and the range message.
#include "settings/NUMFIELD.h"

#include <cstdio>
#include <limits>

namespace {

const char* SkipBlanks(const char* p)
{
    while (*p == ' ' || *p == '\t') {
        ++p;
    }
    return p;
}

}  // namespace

std::uint32_t ReadFieldNumber(const char* lpszText)
{
    if (lpszText == nullptr) {
        return 0;
    }
    const char* p = SkipBlanks(lpszText);
    constexpr std::uint64_t kLargest = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t value = 0;
    const char* digits = p;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + static_cast<std::uint64_t>(*p - '0');
        if (value > kLargest) {
            value = kLargest;  // saturated; the remaining digits cannot lower it
        }
    }
    if (p == digits || *SkipBlanks(p) != '\0') {
        return 0;
    }
    return static_cast<std::uint32_t>(value);
}

std::string RangeMessage(const char* lpszName, int iMin, int iMax)
{
    char text[256];
    std::snprintf(text, sizeof(text), "%sは %d ～ %d の範囲で指定してください。", lpszName, iMin, iMax);
    return text;
}

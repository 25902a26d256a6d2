// What a numeric field of the settings dialog holds, without Windows: the
// number typed or pasted into it, and the message for one out of range.
#pragma once

#include <cstdint>
#include <string>

// Decimal digits with blanks around them; anything else (signs, separators,
// letters, full-width digits, nothing at all) is not a number and reads as 0.
// Numbers too large for 32 bits read as the largest 32-bit value, so they
// stay out of every range instead of wrapping into one.
std::uint32_t ReadFieldNumber(const char* lpszText);

// "%sは %d ～ %d の範囲で指定してください。" for the field's name and limits.
std::string RangeMessage(const char* lpszName, int iMin, int iMax);

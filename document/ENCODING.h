// What the document is: the character encoding found in a text file and the
// kind of display a file gets. Both are stored as 32-bit codes.
#pragma once

#include <cstdint>

// 0 is "not detected yet" (or, as a user's choice, "automatic"); the detector
// itself answers 1..8. Menu commands 1205..1211 map to codes 2..8.
enum class TextEncoding : std::uint32_t {
    Auto = 0,
    Binary = 1,  // the sample is not text; never chosen by the user
    ShiftJis = 2,
    Jis = 3,
    Euc = 4,
    Utf16Le = 5,
    Utf16Be = 6,
    Utf8 = 7,
    Utf7 = 8,
};

// Whether the encoding's units are two bytes (lines split at 2-byte breaks).
inline bool IsUtf16(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
}

enum class DocumentKind : std::uint32_t {
    None = 0,
    Text = 1,
    Hex = 2,
    Image = 3,
    Media = 4,
};

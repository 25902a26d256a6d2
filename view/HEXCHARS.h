// The character column of a hex row without a device: which byte starts a
// character in the given encoding, how many cells it spans, and what each cell
// shows. A character shows on the row where it starts, across its cells of
// that row; control characters and bytes that form none show as one dot.
#pragma once

#include "document/ENCODING.h"

#include <cstddef>
#include <cstdint>

// Bytes a row's layout wants to see before the row (where the characters of
// the row begin, the JIS state) and after it (the rest of a character that
// starts near the row's end). Before is even, so UTF-16 units stay aligned.
constexpr std::size_t kHexCharsBefore = 256;
constexpr std::size_t kHexCharsAfter = 5;

enum class HexCellKind : std::uint8_t {
    Glyph,         // a character starts here
    Dot,           // a control character, or bytes that form no character
    Continuation,  // later bytes of a character started before: blank
};

struct HexCharCell {
    HexCellKind kind = HexCellKind::Dot;
    std::uint8_t cells = 1;   // Glyph and Dot: cells covered on this row
    bool shiftJis = false;    // Glyph: code is Shift-JIS (one byte, or lead << 8 | trail)
    std::uint32_t code = 0;   // Glyph: else a Unicode code point
};

// Lays out the count (<= 16) bytes at row, with before bytes in front of them
// and after bytes behind them readable, into out[0 .. count). Encodings
// without a character column of their own (Auto, Binary, UTF-7) read as
// Shift-JIS, the system's code page.
void LayOutHexChars(const unsigned char* row, std::size_t before, std::size_t count, std::size_t after,
                    TextEncoding encoding, HexCharCell* out);

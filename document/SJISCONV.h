// In-place conversion of one line of JIS (ISO-2022-JP) or EUC-JP text into
// Shift-JIS, which the code page 932 decoder then turns into UTF-16. Pure code:
// also built natively for fuzzing.
#pragma once

#include <cstddef>

// Both take the n bytes of one line, write the Shift-JIS form over them (it is
// never longer) followed by a 0 byte, and return its length. The buffer must
// have room for that 0 byte: n + 1 bytes at least. Nothing past n is read.
std::size_t JisToShiftJis(unsigned char* bytes, std::size_t n);
std::size_t EucToShiftJis(unsigned char* bytes, std::size_t n);

// One JIS X 0208 row/cell pair (0x21..0x7E each) as its Shift-JIS pair.
void JisPairToShiftJis(unsigned char j1, unsigned char j2, unsigned char* out);

enum class JisState { Ascii, Kanji, Katakana };
// Length of the escape sequence at e (left bytes readable) that switches the
// JIS state, 0 for none; *state becomes the state it selects.
std::size_t JisEscape(const unsigned char* e, std::size_t left, JisState* state);

// Pieces of a long line in each encoding: where a piece may end without
// splitting a character, its decoding from a known decoder state, and how
// many cells a character takes.
#pragma once

#include "document/ENCODING.h"

#include <windows.h>

#include <cstddef>
#include <vector>

// Cells of one UTF-16 unit other than a tab: 2 for full-width characters
// (kana, kanji, hangul, full-width forms, the symbols code page 932 writes in
// two bytes) and for a high surrogate, 0 for a low surrogate, else 1.
int CellsOfUnit(WCHAR unit);

// Where a piece of bytes may end so that no character (nor escape sequence,
// nor the base64 group of a UTF-7 run) is split: bytes[0..n) start at a
// character boundary in decoder state `state`; returns the cut (> 0 when
// n > 8) and the state after it in *after. State is the JIS shift state
// (JisState) or, for UTF-7, 1 inside a base64 run.
std::size_t PieceCut(const unsigned char* bytes, std::size_t n, TextEncoding encoding, unsigned char state,
                     unsigned char* after);

// Decodes bytes[0..n), cut by PieceCut and begun in `state`, appending the
// UTF-16 units to out. U+0000 is kept: the map ends the line there.
void DecodePiece(const unsigned char* bytes, std::size_t n, TextEncoding encoding, unsigned char state,
                 std::vector<WCHAR>& out);

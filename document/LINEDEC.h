// Decoding of one line's bytes into UTF-16 text.
#pragma once

#include "document/DECLINE.h"
#include "document/ENCODING.h"

#include <windows.h>

// Room that every line block keeps after its bytes: the terminators of both
// the byte and the UTF-16 forms, whatever the encoding.
constexpr DWORD kLinePadding = 6;
// Longest line that can be decoded: its UTF-16 form must fit in an int count.
constexpr DWORD kLongestLine = 0x3FFFFFF0;

// bytes is a fixed GlobalAlloc'd block of n + kLinePadding bytes, zero after
// the n bytes; the decoder takes it over (it may become the result). firstLine
// tells that a byte-order mark may start the bytes. The result is cut at its
// first U+0000 and loses the CR and LF units at its end; it is null when
// memory runs out.
CLSDecodedLine DecodeLineBytes(CLSGlobalOwner bytes, DWORD n, TextEncoding encoding, bool firstLine);

// The same decoding into buffers the caller keeps, for many lines in a row:
// bytes holds n + kLinePadding bytes, zero after n, and may be changed; units
// has room for n + kLinePadding UTF-16 units. The text (in bytes for
// UTF-16, else in units) goes to *text; returns its length.
int DecodeLineInto(unsigned char* bytes, DWORD n, TextEncoding encoding, bool firstLine, WCHAR* units,
                   const WCHAR** text);

// The code page that decodes the byte encodings. Shift-JIS, JIS and EUC text
// go through code page 932 whatever the system's ANSI code page is.
UINT CodePageOf(TextEncoding encoding);

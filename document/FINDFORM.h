// The byte forms of characters in the encodings a file is shown in: every
// byte sequence that decodes to a given UTF-16 unit, as the line decoder
// decodes it. A search looks for these bytes before it decodes anything.
#pragma once

#include "document/ENCODING.h"
#include "document/FINDTEXT.h"

#include <string>
#include <vector>

// Every byte sequence that decodes to unit on its own in encoding (none for
// JIS and UTF-7, whose bytes depend on what came before).
std::vector<std::string> ByteFormsOf(char16_t unit, TextEncoding encoding);

// The text in a code page, as WideCharToMultiByte writes it.
std::string TextInCodePage(const std::u16string& text, unsigned codePage);

// Whether the decoder can give unit for bytes that are not its form (the
// stand-in for bytes that form no character).
bool IsStandInUnit(char16_t unit, TextEncoding encoding);

// The units that compare equal to folded (itself only without a fold).
std::vector<char16_t> CaselessVariants(char16_t folded, FoldTable fold);

// A filter that every line holding the (folded) segment passes: the longest
// run of units whose forms all have one length, up to 64 bytes. False when
// there is no such run (the lines must then all be decoded).
bool BuildTextFilter(const std::u16string& segment, TextEncoding encoding, FoldTable fold, CLSByteFilter& filter);

// The byte sets of a byte search for text: each unit in all its caseless
// forms of the unit's own length (one form each for JIS and UTF-7 and with
// matchCase). Empty when the text cannot be written in the encoding.
std::vector<std::vector<unsigned char>> EncodeQueryBytes(const std::u16string& text, TextEncoding encoding,
                                                         FoldTable fold);

// Text in UTF-16 that was written without a byte-order mark (as wide programs
// on Windows write logs and exports), told from the same sample as the other
// rules. Pure code: also built natively for fuzzing.
#pragma once

#include "document/ENCODING.h"

#include <cstddef>

// Utf16Le or Utf16Be when the n bytes at d read as text in that byte order
// and not in the other: every unit is a character that text holds (no
// control, no unpaired surrogate, no noncharacter), hardly any falls outside
// the scripts and symbols that text uses, and either line breaks, spaces or
// other ASCII stand in the units (the zero bytes of a wide program's text) or
// nearly all of them are Japanese, Chinese or Korean characters. Auto when
// the sample is not such text or the evidence is weak. Only asked about
// samples that the byte rules found to hold binary bytes: text in a byte
// encoding never reaches it.
TextEncoding SniffUtf16(const unsigned char* d, std::size_t n);

// Encoding detection over the sample at the start of a file. Pure code: also
// built natively for fuzzing.
#pragma once

#include "document/ENCODING.h"

#include <cstddef>

// Size of the sample buffer and how much of it is filled, so that at least two
// zero bytes follow any sample read from disk.
constexpr std::size_t kSampleBufferSize = 8192;
constexpr std::size_t kSampleBytes = 8190;

// Classifies the n bytes at d. Never answers Auto. May look at the bytes just
// after the sample (at most 5 after an escape byte, 1 after any other byte)
// but never past the first zero byte there: callers guarantee a zero byte
// somewhere after the sample (a zeroed buffer, or the 0 after a file in memory).
TextEncoding DetectEncoding(const unsigned char* d, std::size_t n);

// The two tests before the byte scan, exposed for their own tests.
bool PassesUtf8Test(const unsigned char* d, std::size_t n);
bool PassesUtf7Test(const unsigned char* d, std::size_t n);

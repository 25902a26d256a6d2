// Encoding detection over the sample at the start of a file. Pure code: also
// built natively for fuzzing.
#pragma once

#include "document/ENCODING.h"
#include "document/LINEBITS.h"

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

// Whether the bytes start with the UTF-8 byte-order mark EF BB BF.
bool StartsWithUtf8Mark(const unsigned char* d, std::size_t n);

// The two tests before the byte scan, exposed for their own tests.
bool PassesUtf8Test(const unsigned char* d, std::size_t n);
bool PassesUtf7Test(const unsigned char* d, std::size_t n);

// True when the rules decided nothing about the sample: it holds only 7-bit
// bytes and no escape, so that the answer is Shift-JIS for want of evidence.
bool SampleLacksEvidence(const unsigned char* d, std::size_t n);

// Looks through a file whose sample decided nothing for the first evidence of
// an encoding, judged by the same rules as the sample. Each stretch that could
// hold evidence (from a byte above 0x7F, an escape, or a plus sign while the
// text so far is all UTF-7 direct characters) is judged as a sample of its own
// of up to 8190 bytes, after what came before it: a binary byte there leaves
// only the UTF-8 test. The file is fed in order from its start.
class CLSEncodingSearch {
public:
    // The next n bytes; true once the search is over.
    bool Feed(const unsigned char* data, std::size_t n);
    // The file has ended (or cannot be read on): judges what is held.
    void Finish();
    bool IsOver() const { return m_bOver; }
    // Whether a stretch is being gathered: every byte counts then.
    bool IsGathering() const { return m_bGathering; }
    // The bytes that can begin evidence in the present state: until one
    // comes, the bytes may be passed by without being fed.
    EvidenceBytes Watched() const { return {!m_bBinarySeen, m_bUtf7Open}; }
    // The encoding found; Auto while (or when) there is none.
    TextEncoding Found() const { return m_found; }

private:
    std::size_t SkipQuiet(const unsigned char* d, std::size_t n);
    bool IsQuietByte(unsigned char b);
    void Judge();
    TextEncoding JudgeStretch() const;

    unsigned char m_stretch[kSampleBufferSize];
    std::size_t m_held = 0;      // bytes of the stretch gathered so far
    bool m_bGathering = false;   // a stretch has begun
    bool m_bUtf7Open = true;     // every byte so far was a UTF-7 direct character
    bool m_bBinarySeen = false;  // a byte the scan calls binary came before
    bool m_bOver = false;
    TextEncoding m_found = TextEncoding::Auto;
};

// Encoding detection: byte-order marks, then UTF-8, then UTF-7, then a scan for
// JIS escapes and binary bytes that also counts Shift-JIS and EUC-JP pairs;
// what it takes for binary may still be UTF-16 written without a mark.
#include "document/DETECT.h"

#include "base/SHIFTJIS.h"
#include "document/UTF16SNIF.h"

#include <cstring>

namespace {

constexpr unsigned char kEsc = 0x1B;

bool InRange(unsigned char b, unsigned lo, unsigned hi)
{
    return b >= lo && b <= hi;
}

// Continuation bytes that a UTF-8 lead byte announces; -1 for a byte that
// cannot start a sequence. Five- and six-byte forms are accepted on purpose.
int Utf8Continuations(unsigned char b)
{
    if ((b & 0xE0) == 0xC0) return 1;
    if ((b & 0xF0) == 0xE0) return 2;
    if ((b & 0xF8) == 0xF0) return 3;
    if ((b & 0xFC) == 0xF8) return 4;
    if ((b & 0xFE) == 0xFC) return 5;
    return -1;
}

bool IsUtf7Direct(unsigned char b)
{
    return b == '\t' || b == '\n' || b == '\r' || InRange(b, 0x20, 0x2A) || InRange(b, 0x2C, 0x5B) ||
           InRange(b, 0x5D, 0x7D);
}

bool IsBase64(unsigned char b)
{
    return InRange(b, 'A', 'Z') || InRange(b, 'a', 'z') || InRange(b, '0', '9') || b == '+' || b == '/';
}

// An escape that announces JIS X 0208 (ESC $ B, ESC $ @), a one-byte set
// (ESC ( B/H/I/J) or JIS X 0208-1990 (ESC & @ ESC $ B). The comparisons run in
// order and stop at the first mismatch, so they never read past a zero byte.
bool IsJisEscape(const unsigned char* e)
{
    if (e[1] == '$' && (e[2] == 'B' || e[2] == '@')) {
        return true;
    }
    if (e[1] == '(' && (e[2] == 'B' || e[2] == 'H' || e[2] == 'I' || e[2] == 'J')) {
        return true;
    }
    return e[1] == 0x26 && e[2] == 0x40 && e[3] == kEsc && e[4] == 0x24 && e[5] == 0x42;
}

bool IsBinaryByte(unsigned char b)
{
    return b <= 0x06 || b == 0x7F || b >= 0xFD;
}

TextEncoding ScanJisBinaryOrVote(const unsigned char* d, std::size_t n)
{
    std::size_t sjis = 0;
    std::size_t euc = 0;
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = d[i];
        if (b == kEsc) {
            if (IsJisEscape(d + i)) {
                return TextEncoding::Jis;
            }
            ++i;
            continue;
        }
        if (IsBinaryByte(b)) {
            return TextEncoding::Binary;
        }
        // One pair may count for both encodings.
        bool pair = false;
        if (IsShiftJisPair(d + i)) {
            ++sjis;
            pair = true;
        }
        const unsigned char next = d[i + 1];
        if (InRange(b, 0xA1, 0xFE) && InRange(next, 0xA1, 0xFE)) {
            ++euc;
            pair = true;
        } else if (b == 0x8E && InRange(next, 0xA1, 0xDF)) {
            ++euc;
            pair = true;
        }
        i += pair ? 2 : 1;
    }
    return euc > sjis ? TextEncoding::Euc : TextEncoding::ShiftJis;
}

bool AllSevenBit(const unsigned char* d, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        if (d[i] >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool PassesUtf8Test(const unsigned char* d, std::size_t n)
{
    std::size_t i = StartsWithUtf8Mark(d, n) ? 3 : 0;
    int pending = 0;
    bool nonAscii = false;
    for (; i < n; ++i) {
        const unsigned char b = d[i];
        if (pending > 0) {
            if ((b & 0xC0) != 0x80) {
                return false;
            }
            --pending;
        } else if (b >= 0x80) {
            nonAscii = true;
            pending = Utf8Continuations(b);
            if (pending < 0) {
                return false;
            }
        }
    }
    // A sequence cut off by the end of the sample is no evidence against UTF-8.
    return nonAscii;
}

bool PassesUtf7Test(const unsigned char* d, std::size_t n)
{
    bool runs = false;
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = d[i];
        if (IsUtf7Direct(b)) {
            ++i;
            continue;
        }
        if (b != '+') {
            return false;
        }
        std::size_t j = i + 1;
        while (j < n && d[j] != '-') {
            if (!IsBase64(d[j])) {
                return false;
            }
            ++j;
        }
        if (j == n) {
            // A run cut off by the end of the sample counts only after a
            // complete one.
            return runs;
        }
        runs = true;
        i = j + 1;
    }
    return runs;
}

bool StartsWithUtf8Mark(const unsigned char* d, std::size_t n)
{
    return n >= 3 && d[0] == 0xEF && d[1] == 0xBB && d[2] == 0xBF;
}

TextEncoding DetectEncoding(const unsigned char* d, std::size_t n)
{
    // The mark says it outright: a UTF-8 file that starts in English must not
    // wait for a non-ASCII byte to be believed.
    if (StartsWithUtf8Mark(d, n)) {
        return TextEncoding::Utf8;
    }
    if (n >= 2) {
        if (d[0] == 0xFF && d[1] == 0xFE) {
            return TextEncoding::Utf16Le;
        }
        if (d[0] == 0xFE && d[1] == 0xFF) {
            return TextEncoding::Utf16Be;
        }
    }
    if (PassesUtf8Test(d, n)) {
        return TextEncoding::Utf8;
    }
    if (PassesUtf7Test(d, n)) {
        return TextEncoding::Utf7;
    }
    // Text in UTF-16 without its mark holds zero and other binary bytes; only
    // what the scan takes for binary is asked whether it is such text.
    const TextEncoding scanned = ScanJisBinaryOrVote(d, n);
    if (scanned == TextEncoding::Binary) {
        const TextEncoding wide = SniffUtf16(d, n);
        if (wide != TextEncoding::Auto) {
            return wide;
        }
    }
    return scanned;
}

bool SampleLacksEvidence(const unsigned char* d, std::size_t n)
{
    return AllSevenBit(d, n) && DetectEncoding(d, n) == TextEncoding::ShiftJis;
}

bool CLSEncodingSearch::Feed(const unsigned char* data, std::size_t n)
{
    while (n > 0 && !m_bOver) {
        if (!m_bGathering) {
            const std::size_t quiet = SkipQuiet(data, n);
            data += quiet;
            n -= quiet;
            if (n == 0) {
                break;
            }
            m_bGathering = true;
            m_held = 0;
        }
        const std::size_t take = n < kSampleBytes - m_held ? n : kSampleBytes - m_held;
        std::memcpy(m_stretch + m_held, data, take);
        m_held += take;
        data += take;
        n -= take;
        if (m_held == kSampleBytes) {
            Judge();
        }
    }
    return m_bOver;
}

void CLSEncodingSearch::Finish()
{
    if (!m_bOver && m_bGathering) {
        Judge();
    }
    m_bOver = true;
}

// A byte that cannot begin evidence: notes what it says about the text so far.
bool CLSEncodingSearch::IsQuietByte(unsigned char b)
{
    if (b >= 0x80 || b == kEsc || (b == '+' && m_bUtf7Open)) {
        return false;
    }
    if (IsBinaryByte(b)) {
        m_bBinarySeen = true;
    }
    if (!IsUtf7Direct(b)) {
        m_bUtf7Open = false;
    }
    return true;
}

// How many bytes from d are quiet: whole parts go by at once, and only the
// bytes that may matter in the current state are looked at one by one.
std::size_t CLSEncodingSearch::SkipQuiet(const unsigned char* d, std::size_t n)
{
    std::size_t i = 0;
    while (i < n) {
        i += SkipToEvidence(d + i, n - i, Watched());
        if (i < n && !IsQuietByte(d[i])) {
            return i;
        }
        ++i;
    }
    return n;
}

// The stretch as a sample of its own after the text before it: the UTF-8
// test first, UTF-7 only while everything before was direct characters, then
// the scan unless a binary byte came before. Binary gives the search up; Auto
// means a stretch of 7-bit bytes without evidence, and the search goes on.
TextEncoding CLSEncodingSearch::JudgeStretch() const
{
    if (PassesUtf8Test(m_stretch, m_held)) {
        return TextEncoding::Utf8;
    }
    if (m_bUtf7Open && PassesUtf7Test(m_stretch, m_held)) {
        return TextEncoding::Utf7;
    }
    if (m_bBinarySeen) {
        return TextEncoding::Binary;
    }
    const TextEncoding scanned = ScanJisBinaryOrVote(m_stretch, m_held);
    if (scanned == TextEncoding::ShiftJis && AllSevenBit(m_stretch, m_held)) {
        return TextEncoding::Auto;
    }
    return scanned;
}

void CLSEncodingSearch::Judge()
{
    // The scan may look past the stretch: zeros there, as after a sample.
    std::memset(m_stretch + m_held, 0, kSampleBufferSize - m_held);
    m_bGathering = false;
    const TextEncoding verdict = JudgeStretch();
    if (verdict != TextEncoding::Auto) {
        m_found = verdict == TextEncoding::Binary ? TextEncoding::Auto : verdict;
        m_bOver = true;
        return;
    }
    // It began with an escape or a run that failed: UTF-7 is out. Its last
    // bytes are looked at again, as an escape there was judged without the
    // bytes that follow it.
    m_bUtf7Open = false;
    if (m_held == kSampleBytes) {
        constexpr std::size_t kEscapeReach = 5;
        unsigned char tail[kEscapeReach];
        std::memcpy(tail, m_stretch + m_held - kEscapeReach, kEscapeReach);
        m_held = 0;
        Feed(tail, kEscapeReach);
    }
}

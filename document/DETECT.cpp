// Encoding detection: byte-order marks, then UTF-8, then UTF-7, then a scan for
// JIS escapes and binary bytes that also counts Shift-JIS and EUC-JP pairs.
#include "document/DETECT.h"

#include "base/SHIFTJIS.h"

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

}  // namespace

bool PassesUtf8Test(const unsigned char* d, std::size_t n)
{
    std::size_t i = 0;
    if (n >= 3 && d[0] == 0xEF && d[1] == 0xBB && d[2] == 0xBF) {
        i = 3;
    }
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

TextEncoding DetectEncoding(const unsigned char* d, std::size_t n)
{
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
    return ScanJisBinaryOrVote(d, n);
}

// Decoding of one line: UTF-16 in place, everything else through
// MultiByteToWideChar, JIS and EUC after their conversion into Shift-JIS.
#include "document/LINEDEC.h"

#include "document/SJISCONV.h"

#include <cstring>

namespace {

bool StartsWith(const unsigned char* bytes, DWORD n, const unsigned char* mark, DWORD size)
{
    return n >= size && std::memcmp(bytes, mark, size) == 0;
}

// Drops the first count bytes; the bytes freed at the end become zero again so
// that the block stays terminated.
DWORD DropFront(unsigned char* bytes, DWORD n, DWORD count)
{
    std::memmove(bytes, bytes + count, n - count);
    std::memset(bytes + n - count, 0, count);
    return n - count;
}

void DecodeUtf16Le(unsigned char* bytes, DWORD n, bool firstLine)
{
    static const unsigned char kMark[2] = {0xFF, 0xFE};
    if (firstLine && StartsWith(bytes, n, kMark, 2)) {
        DropFront(bytes, n, 2);
    }
    // An odd last byte stays: the zero after it completes its unit.
}

void DecodeUtf16Be(unsigned char* bytes, DWORD n, bool firstLine)
{
    static const unsigned char kMark[2] = {0xFE, 0xFF};
    if (firstLine && StartsWith(bytes, n, kMark, 2)) {
        n = DropFront(bytes, n, 2);
    }
    if (n % 2 != 0) {
        bytes[--n] = 0;
    }
    for (DWORD i = 0; i < n; i += 2) {
        const unsigned char high = bytes[i];
        bytes[i] = bytes[i + 1];
        bytes[i + 1] = high;
    }
}

// Converts the byte encodings into out (n + kLinePadding units), terminated.
void DecodeMultiByte(unsigned char* bytes, DWORD n, TextEncoding encoding, bool firstLine, WCHAR* out)
{
    const unsigned char* source = bytes;
    std::size_t count = n;
    static const unsigned char kUtf8Mark[3] = {0xEF, 0xBB, 0xBF};
    switch (encoding) {
    case TextEncoding::Jis:
        count = JisToShiftJis(bytes, n);
        break;
    case TextEncoding::Euc:
        count = EucToShiftJis(bytes, n);
        break;
    case TextEncoding::Utf8:
        if (firstLine && StartsWith(bytes, n, kUtf8Mark, 3)) {
            source += 3;
            count -= 3;
        }
        break;
    default:
        break;
    }
    const int written = count != 0 ? MultiByteToWideChar(CodePageOf(encoding), 0, reinterpret_cast<const char*>(source),
                                                         static_cast<int>(count), out, static_cast<int>(n + 2))
                                   : 0;
    out[written] = 0;
}

}  // namespace

UINT CodePageOf(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::ShiftJis:
    case TextEncoding::Jis:
    case TextEncoding::Euc:
        return 932;
    case TextEncoding::Utf8:
        return CP_UTF8;
    case TextEncoding::Utf7:
        return CP_UTF7;
    default:
        return CP_ACP;
    }
}

int DecodeLineInto(unsigned char* bytes, DWORD n, TextEncoding encoding, bool firstLine, WCHAR* units,
                   const WCHAR** text)
{
    WCHAR* result = units;
    if (encoding == TextEncoding::Utf16Le) {
        DecodeUtf16Le(bytes, n, firstLine);
        result = reinterpret_cast<WCHAR*>(bytes);
    } else if (encoding == TextEncoding::Utf16Be) {
        DecodeUtf16Be(bytes, n, firstLine);
        result = reinterpret_cast<WCHAR*>(bytes);
    } else {
        DecodeMultiByte(bytes, n, encoding, firstLine, units);
    }
    // Consumers stop at the first U+0000 anyway; the line's own break goes.
    int length = lstrlenW(result);
    while (length > 0 && (result[length - 1] == L'\r' || result[length - 1] == L'\n')) {
        result[--length] = 0;
    }
    *text = result;
    return length;
}

// UTF-16 is decoded in its own block, which becomes the result.
CLSDecodedLine DecodeLineBytes(CLSGlobalOwner block, DWORD n, TextEncoding encoding, bool firstLine)
{
    CLSGlobalOwner wide;
    if (!IsUtf16(encoding)) {
        wide.Reset(GlobalAlloc(GPTR, (static_cast<SIZE_T>(n) + kLinePadding) * sizeof(WCHAR)));
        if (!wide) {
            return CLSDecodedLine();
        }
    }
    CLSGlobalOwner& result = wide ? wide : block;
    const WCHAR* text = nullptr;
    const int length = DecodeLineInto(static_cast<unsigned char*>(block.Get()), n, encoding, firstLine,
                                      static_cast<WCHAR*>(result.Get()), &text);
    return CLSDecodedLine(std::move(result), length);
}

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

// Converts the byte encodings into a new block of n + kLinePadding units.
HGLOBAL DecodeMultiByte(unsigned char* bytes, DWORD n, TextEncoding encoding, bool firstLine)
{
    HGLOBAL out = GlobalAlloc(GPTR, (static_cast<SIZE_T>(n) + kLinePadding) * sizeof(WCHAR));
    if (out == nullptr) {
        return nullptr;
    }
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
    if (count != 0) {
        MultiByteToWideChar(CodePageOf(encoding), 0, reinterpret_cast<const char*>(source),
                            static_cast<int>(count), static_cast<WCHAR*>(out), static_cast<int>(n + 2));
    }
    return out;
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

CLSDecodedLine DecodeLineBytes(HGLOBAL block, DWORD n, TextEncoding encoding, bool firstLine)
{
    auto* bytes = static_cast<unsigned char*>(block);
    HGLOBAL result = block;
    if (encoding == TextEncoding::Utf16Le) {
        DecodeUtf16Le(bytes, n, firstLine);
    } else if (encoding == TextEncoding::Utf16Be) {
        DecodeUtf16Be(bytes, n, firstLine);
    } else {
        result = DecodeMultiByte(bytes, n, encoding, firstLine);
        GlobalFree(block);
        if (result == nullptr) {
            return CLSDecodedLine();
        }
    }
    // Consumers stop at the first U+0000 anyway; the line's own break goes.
    auto* text = static_cast<WCHAR*>(result);
    int length = lstrlenW(text);
    while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n')) {
        text[--length] = 0;
    }
    return CLSDecodedLine(result, length);
}

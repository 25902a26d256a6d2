// Hex dump row texts and the conversion of clicks to byte positions.
#include "view/HEXLAY.h"

#include <climits>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

int FormatHexOffset(std::uint64_t row, char* out)
{
    char digits[16];
    int n = 0;
    do {
        digits[n++] = kHexDigits[row & 0xF];
        row >>= 4;
    } while (row != 0);
    int length = 0;
    for (int pad = n; pad < 7; ++pad) {
        out[length++] = '0';
    }
    while (n > 0) {
        out[length++] = digits[--n];
    }
    out[length++] = '0';
    out[length++] = ':';
    out[length] = '\0';
    return length;
}

void FormatHexPair(unsigned char b, char* out)
{
    out[0] = kHexDigits[b >> 4];
    out[1] = kHexDigits[b & 0xF];
}

std::size_t FormatHexCopy(const unsigned char* bytes, std::size_t count, char* out)
{
    std::size_t length = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            out[length++] = ' ';
        }
        FormatHexPair(bytes[i], out + length);
        length += 2;
    }
    out[length] = '\0';
    return length;
}

std::size_t HexCopySize(std::uint64_t count)
{
    const std::uint64_t limit = static_cast<std::uint64_t>(SIZE_MAX) / 3 - 1;
    if (count > limit) {
        return 0;
    }
    return static_cast<std::size_t>(3 * count + 1);
}

int HexOffsetExtraCells(std::uint64_t size)
{
    int digits = 7;
    for (std::uint64_t row = size / kHexBytesPerRow >> 28; row != 0; row >>= 4) {
        ++digits;
    }
    return digits - 7;
}

std::uint64_t HexRowCount(std::uint64_t size)
{
    return size / kHexBytesPerRow + 1;
}

int HexRowLength(std::uint64_t row, std::uint64_t size)
{
    const std::uint64_t lastRow = size / kHexBytesPerRow;
    if (row < lastRow) {
        return kHexBytesPerRow - 1;
    }
    if (row == lastRow) {
        return static_cast<int>(size % kHexBytesPerRow);
    }
    return 0;
}

bool HexPointToColumn(long long x, long long y, int cellWidth, int rowHeight, std::uint64_t size, HexPos& out)
{
    if (cellWidth <= 0 || rowHeight <= 0) {
        return false;
    }
    long long a = x / cellWidth - kHexFirstPairCell;
    if (a < 0) {
        return false;  // the offset column
    }
    a -= a / 24;  // the extra cell between the halves
    a /= 3;
    if (a >= kHexBytesPerRow) {
        return false;  // the character column
    }
    // Rows are ints on the caret's side: a file past 32 GiB is reached up to there.
    long long row = y / rowHeight;
    const std::uint64_t rows = HexRowCount(size);
    const long long lastRow = rows > static_cast<std::uint64_t>(INT_MAX) ? INT_MAX : static_cast<long long>(rows) - 1;
    if (row < 0) {
        row = 0;
    } else if (row > lastRow) {
        row = lastRow;
    }
    const int limit = HexRowLength(static_cast<std::uint64_t>(row), size);
    out.row = static_cast<int>(row);
    out.column = a < limit ? static_cast<int>(a) : limit;
    return true;
}

long long HexColumnX(int column, int cellWidth)
{
    return static_cast<long long>(cellWidth) * (3LL * column + column / 8 + kHexFirstPairCell);
}

// The hex dump row without a device: 16 bytes a row, an offset column
// "%07X0:", the pairs with one extra cell between the halves, and the bytes as
// characters from cell 60. Positions are (byte in row, row).
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kHexBytesPerRow = 16;
constexpr int kHexOffsetChars = 9;   // "%07X0:" for every row below 4 GiB
constexpr int kHexOffsetRoom = 20;   // the longest offset text of a 64-bit file and its 0
constexpr int kHexFirstPairCell = 10;
constexpr int kHexCharCell = 60;
constexpr int kHexRowCells = 76;     // the horizontal scroll maximum in hex mode

// First cell of byte i's pair: 10, 13, ..., 31 for bytes 0-7; 35, ..., 56 for 8-15.
constexpr int HexPairCell(int i)
{
    return kHexFirstPairCell + 3 * i + i / 8;
}

// The offset text of a row: the row number as at least 7 upper-case hex digits,
// then "0:". Writes a terminated text into out (kHexOffsetRoom) and returns its
// length: 9, one more for each digit a row past 4 GiB needs.
int FormatHexOffset(std::uint64_t row, char* out);

// Cells the offset column grows by when the last row's number needs more than
// 7 digits (a file past 4 GiB); the pairs and the characters move right by as
// many, so that the offset never runs into the first pair.
int HexOffsetExtraCells(std::uint64_t size);

// Two upper-case hex digits of a byte.
void FormatHexPair(unsigned char b, char* out);

// The copy text of count bytes: the pairs separated by single spaces, no
// trailing space, terminated. out needs HexCopySize(count) bytes. Returns the
// number of characters written (3 x count - 1, or 0).
std::size_t FormatHexCopy(const unsigned char* bytes, std::size_t count, char* out);
// Bytes needed for FormatHexCopy's text and its terminator; 0 when that cannot
// be represented (the caller copies nothing then).
std::size_t HexCopySize(std::uint64_t count);

// Rows of a file of the given size: size / 16 + 1 (a size that is a multiple of
// 16 has an empty last row).
std::uint64_t HexRowCount(std::uint64_t size);
// The last column the caret may take on a row: 15 below the last row, size mod
// 16 on it, 0 beyond.
int HexRowLength(std::uint64_t row, std::uint64_t size);
// Rows the pane reaches: its caret and scroll positions are ints, and one row
// more says that a file past 32 GiB goes on beyond them.
constexpr std::uint64_t kHexRowsReachable = 0x7FFFFFFE;

struct HexPos {
    int column;
    int row;
};

// A click at document pixel (x, y) as a caret position. False on the offset
// column and on the character column; the gap cell between the halves belongs
// to byte 7. The row is clamped to the file's rows and the column to the row's
// last position.
bool HexPointToColumn(long long x, long long y, int cellWidth, int rowHeight, std::uint64_t size, HexPos& out);
// Document x of a caret column: the left edge of its pair.
long long HexColumnX(int column, int cellWidth);

// Hex rows: offset labels, copy texts, row limits and where clicks land.
#include "view/HEXLAY.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

TEST(HexRow, OffsetLabels)
{
    const struct {
        std::uint64_t row;
        const char* text;
    } cases[] = {
        {0, "00000000:"},
        {0xABCDEF, "0ABCDEF0:"},
        {0x0FFFFFFF, "FFFFFFF0:"},  // the last row below 4 GiB
        {0x1000000C, "1000000C0:"},  // 4 GiB + 192: the label grows a digit
        {0x0FFFFFFFFFFFFFFFull, "FFFFFFFFFFFFFFF0:"},
    };
    for (const auto& c : cases) {
        char out[kHexOffsetRoom];
        EXPECT_EQ(FormatHexOffset(c.row, out), static_cast<int>(std::strlen(c.text)));
        EXPECT_STREQ(out, c.text);
        // A file whose last row this is moves its pairs right by the digits past 7.
        EXPECT_EQ(HexOffsetExtraCells(c.row * kHexBytesPerRow), static_cast<int>(std::strlen(c.text)) - 9);
    }
}

TEST(HexRow, CopyText)
{
    EXPECT_EQ(HexCopySize(16), 49u);
    const unsigned char high[] = {0xAB, 0xFF, 0x7F};
    char small[16];
    EXPECT_EQ(FormatHexCopy(high, 3, small), 8u);
    EXPECT_STREQ(small, "AB FF 7F");
    EXPECT_EQ(FormatHexCopy(high, 0, small), 0u);
    EXPECT_STREQ(small, "");

    // A count whose text cannot be allocated asks for nothing rather than
    // wrapping around to a small block.
    EXPECT_EQ(HexCopySize(0xFFFFFFFFFFFFFFFFull), 0u);
    EXPECT_EQ(HexCopySize(0xFFFFFFFFFFFFFFFFull / 3), 0u);
}

TEST(HexRow, RowCountsAndLimits)
{
    const struct {
        std::uint32_t size, rows;
        std::vector<int> lengths;  // of rows 0, 1, 2
    } cases[] = {
        {0, 1, {0, 0, 0}},
        {15, 1, {15, 0, 0}},
        {16, 2, {15, 0, 0}},  // the only position past the last byte is (0, 1)
        {17, 2, {15, 1, 0}},
        {40, 3, {15, 15, 8}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HexRowCount(c.size), c.rows) << "size " << c.size;
        for (std::uint32_t row = 0; row < 3; ++row) {
            EXPECT_EQ(HexRowLength(row, c.size), c.lengths[row]) << "size " << c.size << " row " << row;
        }
    }
    EXPECT_EQ(HexRowCount(0xFFFFFFFFu), 0x10000000u);
    EXPECT_EQ(HexRowLength(0x0FFFFFFFu, 0xFFFFFFFFu), 15);
}

TEST(HexRow, ClicksLandOnBytes)
{
    // Cells 8 pixels wide, rows 20 high; a 40-byte file: rows 0-2, the last
    // with its caret limit at 8.
    const struct {
        long long x, y;
        bool hit;
        int column, row;
    } cases[] = {
        {9 * 8 + 7, 0, false, 0, 0},    // the colon's cell
        {-1, 0, false, 0, 0},
        {59 * 8 + 7, 0, true, 15, 0},   // the last cell before the characters
        {60 * 8, 0, false, 0, 0},
        {59 * 8, 1000, true, 8, 2},     // below the last row: clamped, column too
        {13 * 8, -5, true, 1, 0},
    };
    for (const auto& c : cases) {
        HexPos pos{-7, -7};
        const bool hit = HexPointToColumn(c.x, c.y, 8, 20, 40, pos);
        EXPECT_EQ(hit, c.hit) << "x " << c.x << " y " << c.y;
        if (hit && c.hit) {
            EXPECT_EQ(pos.column, c.column) << "x " << c.x << " y " << c.y;
            EXPECT_EQ(pos.row, c.row) << "x " << c.x << " y " << c.y;
        }
    }
    HexPos pos{};
    EXPECT_FALSE(HexPointToColumn(100, 0, 0, 20, 40, pos));
}

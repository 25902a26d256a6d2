// Hex rows: offset labels, copy texts, row limits and where clicks land.
#include "view/HEXLAY.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(HexRow, OffsetLabels)
{
    struct Case {
        std::uint32_t row;
        const char* text;
    };
    const Case cases[] = {
        {0, "00000000:"},
        {1, "00000010:"},
        {0x1234, "00012340:"},
        {0xABCDEF, "0ABCDEF0:"},
        {0x0FFFFFFF, "FFFFFFF0:"},  // the last row of a 4 GiB file
    };
    for (const Case& c : cases) {
        char out[12];
        EXPECT_EQ(FormatHexOffset(c.row, out), 9);
        EXPECT_STREQ(out, c.text);
    }
}

TEST(HexRow, PairCellsLeaveOneExtraCellBetweenTheHalves)
{
    const int expected[16] = {10, 13, 16, 19, 22, 25, 28, 31, 35, 38, 41, 44, 47, 50, 53, 56};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(HexPairCell(i), expected[i]) << "byte " << i;
        EXPECT_EQ(HexColumnX(i, 8), 8LL * expected[i]) << "byte " << i;
    }
    // The last pair ends before the character column, which ends the row.
    EXPECT_LT(HexPairCell(15) + 2, kHexCharCell);
    EXPECT_EQ(kHexCharCell + 16, kHexRowCells);
}

TEST(HexRow, CopyText)
{
    std::vector<unsigned char> bytes(16);
    for (int i = 0; i < 16; ++i) {
        bytes[i] = static_cast<unsigned char>(i);
    }
    std::vector<char> out(HexCopySize(16));
    ASSERT_EQ(out.size(), 49u);
    EXPECT_EQ(FormatHexCopy(bytes.data(), 16, out.data()), 47u);
    EXPECT_STREQ(out.data(), "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F");

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
    struct Case {
        std::uint32_t size;
        std::uint32_t rows;
        std::vector<int> lengths;  // of rows 0, 1, 2
    };
    const Case cases[] = {
        {0, 1, {0, 0, 0}},
        {1, 1, {1, 0, 0}},
        {15, 1, {15, 0, 0}},
        {16, 2, {15, 0, 0}},  // the only position past the last byte is (0, 1)
        {17, 2, {15, 1, 0}},
        {40, 3, {15, 15, 8}},
    };
    for (const Case& c : cases) {
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
    struct Case {
        long long x;
        long long y;
        bool hit;
        int column;
        int row;
    };
    const Case cases[] = {
        {0, 0, false, 0, 0},            // offset column
        {9 * 8 + 7, 0, false, 0, 0},    // the colon's cell
        {-1, 0, false, 0, 0},
        {10 * 8, 0, true, 0, 0},
        {12 * 8 + 7, 0, true, 0, 0},    // the space after byte 0
        {13 * 8, 0, true, 1, 0},
        {33 * 8, 0, true, 7, 0},
        {34 * 8, 0, true, 7, 0},        // the gap cell belongs to byte 7
        {35 * 8, 0, true, 8, 0},
        {59 * 8 + 7, 0, true, 15, 0},
        {60 * 8, 0, false, 0, 0},       // the character column
        {75 * 8, 0, false, 0, 0},
        {13 * 8, 25, true, 1, 1},
        {59 * 8, 1000, true, 8, 2},     // below the last row: clamped, column too
        {13 * 8, -5, true, 1, 0},
    };
    for (const Case& c : cases) {
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

TEST(HexRow, EveryPairMapsBackToItsByte)
{
    for (int cw : {1, 7, 8, 13}) {
        for (int i = 0; i < 16; ++i) {
            for (int dx : {0, 1}) {
                HexPos pos{};
                ASSERT_TRUE(HexPointToColumn(HexColumnX(i, cw) + dx * cw, 0, cw, 20, 1000, pos));
                EXPECT_EQ(pos.column, i) << "cell width " << cw;
            }
        }
    }
}

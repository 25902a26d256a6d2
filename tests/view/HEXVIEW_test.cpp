// Hex mode in a real pane: the copied pairs and a drag over the character
// column (where clicks land is the hex layout's rule).
#include "VIEWTEST.h"

#include "view/TEXTLAY.h"

#include <gtest/gtest.h>

namespace {

// Bytes equal to their offsets, with a zero byte so the file is not text.
std::string CountingBytes(int n)
{
    std::string bytes;
    for (int i = 0; i < n; ++i) {
        bytes += static_cast<char>(i);
    }
    return bytes;
}

}  // namespace

// More than a megabyte is read in pieces: the pairs run on across the joins.
TEST(HexView, CopiesTheSelectedBytesAsPairs)
{
    CLSViewHarness h;
    const int n = (1 << 20) + 16;
    h.Open(TestFolder().Write("mebibyte.bin", CountingBytes(n)));
    ASSERT_EQ(h.view.GetDisplayMode(), DocumentKind::Hex);
    h.view.SelectAll();
    const std::string big = h.CopyAnsi();
    EXPECT_EQ(big.size(), 3u * n - 1);
    EXPECT_EQ(big.substr(0, 12), "00 01 02 03 ");
    EXPECT_EQ(big.substr(3 * (1 << 20) - 6, 11), "FE FF 00 01");
}

TEST(HexView, DragOverTheCharacterColumnWaitsForThePairs)
{
    CLSViewHarness h;
    h.Open(TestFolder().Write("drag.bin", CountingBytes(40)));
    const int cw = CellWidth(h.FontHeight());
    SendMessageA(h.View(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10 * cw, 2));
    SendMessageA(h.View(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(16 * cw, 2));
    EXPECT_EQ(h.CaretColumn(), 2);
    h.ForgetReports();
    SendMessageA(h.View(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(65 * cw, 2));
    EXPECT_EQ(h.Reports(), 0);
    SendMessageA(h.View(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(22 * cw, 2));
    SendMessageA(h.View(), WM_LBUTTONUP, 0, MAKELPARAM(22 * cw, 2));
    EXPECT_EQ(h.CaretColumn(), 4);
    EXPECT_EQ(h.CopyAnsi(), "00 01 02 03");
    // Without the button the pointer selects nothing.
    SendMessageA(h.View(), WM_MOUSEMOVE, 0, MAKELPARAM(40 * cw, 2));
    EXPECT_EQ(h.CaretColumn(), 4);
}

// Scrolling the folder tree across to a node: pure arithmetic.
#include "navigation/TREESCRL.h"

#include <gtest/gtest.h>

TEST(TreeScroll, ANodeBeyondEitherEdgeComesIntoViewStartFirst)
{
    const struct {
        int left, right, width, expected;
    } cases[] = {
        {10, 90, 100, 0},     // shows already
        {0, 100, 100, 0},     // exactly
        {150, 230, 100, 130}, // right of the view: its end comes to the right edge
        {60, 130, 100, 30},
        {150, 400, 100, 150}, // wider than the view: its start comes to the left edge
        {-40, 20, 100, -40},  // left of the view
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScrollAcrossToShow(c.left, c.right, c.width), c.expected) << c.left << ".." << c.right;
    }
}

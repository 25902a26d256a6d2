// Scrolling the folder tree across to a node: pure arithmetic.
#include "navigation/TREESCRL.h"

#include <gtest/gtest.h>

TEST(TreeScroll, ANodeBeyondEitherEdgeComesIntoViewStartFirst)
{
    // left, right, view width, scroll: shown already; its end to the right
    // edge; wider than the view or left of it: its start to the left edge.
    const int cases[][4] = {{10, 90, 100, 0}, {0, 100, 100, 0}, {150, 230, 100, 130}, {60, 130, 100, 30},
                            {150, 400, 100, 150}, {-40, 20, 100, -40}};
    for (const auto& c : cases) {
        EXPECT_EQ(ScrollAcrossToShow(c[0], c[1], c[2]), c[3]) << c[0] << ".." << c[1];
    }
}

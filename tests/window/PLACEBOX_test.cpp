// The placement of a dialog in the work area: pure arithmetic.
#include "window/PLACEBOX.h"

#include <gtest/gtest.h>

TEST(PlaceBox, CentredThenPushedIntoTheWorkAreaLeftAndTopWinning)
{
    const BoxRect work{0, 0, 1000, 700};
    const struct {
        BoxRect parent;
        int w, h;
        BoxPoint expected;
    } cases[] = {
        {{100, 100, 500, 400}, 200, 100, {200, 200}},
        {{800, 100, 1600, 600}, 200, 100, {800, 300}},  // half off the right edge
        {{-500, -400, 100, 200}, 200, 100, {0, 0}},
        {{0, 0, 1000, 700}, 1200, 900, {0, 0}},  // larger than the area
    };
    for (const auto& c : cases) {
        const BoxPoint at = CentreInWorkArea(c.parent, c.w, c.h, work);
        EXPECT_EQ(at.x, c.expected.x) << c.parent.left;
        EXPECT_EQ(at.y, c.expected.y) << c.parent.left;
    }
}

// Zoom steps: pictures through the menu's values from what is shown, text and
// hex through font scales held at the table's ends.
#include "view/ZOOMSTEP.h"

#include <gtest/gtest.h>

TEST(ZoomStep, PicturesStepFromTheShownZoomAndTextScalesHoldAtTheEnds)
{
    const struct {
        std::uint32_t shown;
        int step;
        std::uint32_t expected;
    } pictures[] = {
        {100, 1, 200}, {100, -1, 50}, {400, 1, 400}, {25, -1, 25},
        {37, 1, 50},   {37, -1, 25},  {1000, -1, 400}, {3, 1, 25},  // a fitted picture steps to its neighbours
    };
    for (const auto& p : pictures) {
        EXPECT_EQ(StepPictureZoom(p.shown, p.step), p.expected) << p.shown << " " << p.step;
    }
    EXPECT_EQ(TextZoomPercent(0), 100);
    EXPECT_GT(TextZoomPercent(1), 100);
    EXPECT_LT(TextZoomPercent(-1), 100);
    EXPECT_EQ(StepTextZoom(kTextZoomSteps, 1), kTextZoomSteps);
    EXPECT_EQ(StepTextZoom(-kTextZoomSteps, -3), -kTextZoomSteps);
    EXPECT_EQ(ScaleFontHeight(-16, 125), -20);
    EXPECT_EQ(ScaleFontHeight(12, 150), 18);
    EXPECT_EQ(ScaleFontHeight(-2, 40), -1);  // never 0, which would mean the default size
}

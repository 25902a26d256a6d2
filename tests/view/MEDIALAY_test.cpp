// Fitting the media window, the keys of picture and media modes, and pairing
// clicks on the media window.
#include "view/MEDIALAY.h"

#include <gtest/gtest.h>

TEST(MediaLayout, FitKeepsTheVideoAspectAndFillsOneDirectionAndLeavesSoundAlone)
{
    const struct {
        MediaExtent source, window, pane;
        int width, height;
    } cases[] = {
        // A 64 x 48 video in a window with 2 pixels of frame and a 32-pixel
        // bar: the width limits in a tall pane, the height in a wide one.
        {{64, 48}, {66, 82}, {300, 300}, 300, 257},
        {{64, 48}, {66, 82}, {600, 200}, 223, 200},
        // Once fitted, the extras include the earlier stretch: the next fit
        // grows the video by the aspect of the change.
        {{64, 48}, {300, 257}, {400, 300}, 357, 300},
        // Same aspect as the free area: the height decides, nothing is lost.
        {{100, 50}, {100, 50}, {200, 100}, 200, 100},
        // A top-down video's source has a negative height: its size counts.
        {{160, -120}, {162, 154}, {300, 300}, 300, 257},
        // A pane smaller than the frame and the bar: nothing below 0.
        {{64, 48}, {66, 82}, {300, 20}, 0, 20},
    };
    for (const auto& c : cases) {
        MediaExtent fitted{-1, -1};
        ASSERT_TRUE(FitMediaSize(c.source, c.window, c.pane, fitted)) << c.pane.width << "x" << c.pane.height;
        EXPECT_EQ(fitted.width, c.width) << c.pane.width << "x" << c.pane.height;
        EXPECT_EQ(fitted.height, c.height) << c.pane.width << "x" << c.pane.height;
    }
    // Sound without video is not fitted.
    MediaExtent fitted{7, 7};
    EXPECT_FALSE(FitMediaSize({0, 0}, {300, 34}, {400, 400}, fitted));
    EXPECT_FALSE(FitMediaSize({64, 0}, {66, 34}, {400, 400}, fitted));
    EXPECT_EQ(fitted.width, 7);  // untouched
}

TEST(MediaLayout, KeysOfPictureAndMediaModes)
{
    const BarState h{30, 500, 1};
    const BarState v{40, 700, 1};
    const struct {
        PaneKey key;
        bool ctrl, fullScreen, toggle;
        long long dx, dy;
    } cases[] = {
        {PaneKey::Enter, false, false, true, 0, 0},
        {PaneKey::Escape, false, false, false, 0, 0},  // Esc never enters
        {PaneKey::Escape, false, true, true, 0, 0},
        {PaneKey::PageDown, false, false, false, 0, 250},  // the client height
        {PaneKey::End, false, false, false, 0, 660},
        {PaneKey::End, true, false, false, 470, 660},
        {PaneKey::Home, true, false, false, -30, -40},
        {PaneKey::Left, false, false, false, -12, 0},
        {PaneKey::Right, true, false, false, 12, 0},
        {PaneKey::Other, true, true, false, 0, 0},
    };
    for (const auto& c : cases) {
        const KeyAction a = PlanPaneKey(c.key, c.ctrl, c.fullScreen, 250, h, v);
        EXPECT_EQ(a.toggleFullScreen, c.toggle) << static_cast<int>(c.key);
        EXPECT_EQ(a.dx, c.dx) << static_cast<int>(c.key) << " ctrl " << c.ctrl;
        EXPECT_EQ(a.dy, c.dy) << static_cast<int>(c.key) << " ctrl " << c.ctrl;
    }
    // Larger units: the page is whole units, the arrows twelve units.
    const KeyAction page = PlanPaneKey(PaneKey::PageDown, false, false, 250, {0, 10, 8}, {0, 10, 16});
    EXPECT_EQ(page.dy, 240);
    const KeyAction arrow = PlanPaneKey(PaneKey::Left, false, false, 250, {0, 10, 8}, {0, 10, 16});
    EXPECT_EQ(arrow.dx, -96);
}

TEST(MediaLayout, ClicksPairIntoDoubleClicksAndAThirdNeedsANewPair)
{
    const struct {
        std::uint32_t time;
        int x, y;
        bool pair;
    } clicks[] = {
        {1000, 10, 20, false},
        {1200, 10, 20, true},   // same point, in time
        {1300, 10, 20, false},  // the first of a new pair
        {2000, 10, 20, false},
        {2501, 10, 20, false},  // one millisecond too late: a new first click
        {3001, 10, 20, true},   // exactly at the limit still counts
        {3100, 11, 20, false},  // another point
        {3200, 10, 21, false},  // and another
        // The tick count wraps after 49.7 days.
        {0xFFFFFF00u, 5, 5, false},
        {0x00000010u, 5, 5, true},
    };
    MediaClick last{0, 0, 0};
    for (const auto& c : clicks) {
        EXPECT_EQ(IsMediaDoubleClick(last, c.time, c.x, c.y, 500), c.pair) << c.time;
    }
}

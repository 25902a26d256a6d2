// The size a picture is drawn at, the part of it that is stretched, and the zoom
// menu's values.
#include "image/PICTZOOM.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

TEST(PictureZoom, DrawnSizeAtAZoomAndFitted)
{
    struct Case {
        int pw, ph;
        std::uint32_t zoom;
        int paneW, paneH, width, height;
    };
    const Case cases[] = {
        // Fitting keeps the aspect ratio and enlarges as well as shrinks.
        {100, 50, 0, 300, 300, 300, 150},
        {100, 50, 0, 300, 100, 200, 100},
        {3000, 2000, 0, 600, 600, 600, 400},
        {3000, 2000, 0, 900, 300, 450, 300},
        {100, 50, 0, 200, 100, 200, 100},  // the same ratio: both sides fill
        {7, 3, 0, 10, 10, 10, 4},          // integer division truncates
        // A zoom scales both sides, whatever the pane.
        {10, 10, 25, 300, 300, 2, 2},
        {10, 10, 25, 1, 1, 2, 2},
        {100, 50, 400, 10, 10, 400, 200},
        {100, 50, 150, 10, 10, 150, 75},
        {3, 3, 33, 10, 10, 0, 0},
        // Exact beyond 32 bits, then held at the largest int.
        {30000, 20000, 10000, 0, 0, 3000000, 2000000},
        {100000, 1, 0xFFFFFFFFu, 0, 0, INT_MAX, 42949672},
        // Nothing to draw.
        {0, 50, 100, 300, 300, 0, 0},
        {100, 50, 0, 0, 300, 0, 0},
        {100, 50, 0, 300, -5, 0, 0},
    };
    for (const Case& c : cases) {
        const PictureExtent size = ZoomedPictureSize(c.pw, c.ph, c.zoom, c.paneW, c.paneH);
        EXPECT_EQ(std::make_pair(size.width, size.height), std::make_pair(c.width, c.height))
            << c.pw << "x" << c.ph << " at " << c.zoom << " in " << c.paneW << "x" << c.paneH;
    }
}

// The values behind the items are the main window's zoom commands' to show;
// here, that every zoom a settings file may hold checks one item.
TEST(PictureZoom, EveryZoomChecksAMenuItem)
{
    for (int item = 0; item < kZoomMenuItems; ++item) {
        EXPECT_EQ(MenuItemOfZoom(ZoomOfMenuItem(item)), item) << item;
    }
    // Values no item offers: the next larger item, and the largest above it.
    const std::pair<std::uint32_t, int> between[] = {
        {1, 0}, {26, 1}, {75, 2}, {101, 3}, {150, 3}, {201, 4}, {1000, 4}, {0xFFFFFFFFu, 4}};
    for (const auto& [zoom, item] : between) {
        EXPECT_EQ(MenuItemOfZoom(zoom), item) << zoom;
    }
}

TEST(PictureZoom, VisiblePartOfAStretchLandsWhereTheWholeStretchPutsIt)
{
    struct Case {
        long long origin, extent;
        int source, clipFrom, clipTo;
        bool visible;
        StretchAxis part;
    };
    const Case cases[] = {
        {0, 300, 100, 0, 300, true, {0, 300, 0, 100}},  // all of it
        // Scrolled by 100 at 400 %: picture pixels 25 to 37 cover the first
        // 50 pixels, the last one reaching beyond.
        {-100, 400, 100, 0, 50, true, {0, 52, 25, 13}},
        // Shrunk five times: a strip in the middle.
        {0, 600, 3000, 100, 200, true, {100, 100, 500, 500}},
        // Uneven: picture pixel 1 of 3 spans 2..3 of 7.
        {0, 7, 3, 3, 4, true, {2, 2, 1, 1}},
        // One picture pixel wider than any screen.
        {0, 2147483647, 64, 0, 120, true, {0, 33554431, 0, 1}},
        {-2147483600, 2147483647, 64, 0, 120, true, {-33554385, 33554432, 63, 1}},  // scrolled to its end
        // Nothing inside the clip.
        {0, 100, 100, 100, 200, false, {}},
        {50, 10, 10, 0, 50, false, {}},
        {0, 0, 10, 0, 50, false, {}},
        {0, 100, 0, 0, 50, false, {}},
    };
    for (const Case& c : cases) {
        StretchAxis part{-9, -9, -9, -9};
        ASSERT_EQ(VisiblePartOfStretch(c.origin, c.extent, c.source, c.clipFrom, c.clipTo, part), c.visible)
            << c.origin << " " << c.extent;
        if (!c.visible) {
            continue;
        }
        const StretchAxis& w = c.part;
        EXPECT_EQ((std::vector<int>{part.destOrigin, part.destExtent, part.sourceOrigin, part.sourceExtent}),
                  (std::vector<int>{w.destOrigin, w.destExtent, w.sourceOrigin, w.sourceExtent}))
            << c.origin << " " << c.extent;
    }
}

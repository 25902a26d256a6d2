// Where the main window's panes go around the splitters.
#include "app/MAINLAY.h"

#include <gtest/gtest.h>

#include <vector>

TEST(MainLayout, RangesAndPanesAroundTheSplitters)
{
    MainLayoutInput in;
    in.width = 800;
    in.height = 600;
    in.toolBar = 26;
    in.statusBar = 20;
    in.textHeight = 12;
    MainLayout lay;
    MainSplitterLimits(in, lay);
    EXPECT_EQ(lay.verticalMin, 47);
    EXPECT_EQ(lay.verticalMax, 800 - 77);
    EXPECT_EQ(lay.horizontalMax, 600 - 107);
    EXPECT_EQ(lay.verticalTop, 26);
    EXPECT_EQ(lay.verticalBottom, 580);

    MainPanes(in, 203, 153, lay);
    const PaneRect* panes[] = {&lay.tree, &lay.list, &lay.edit, &lay.button, &lay.view};
    const PaneRect expected[] = {
        {0, 26, 199, 554},     // tree, up to the bar's left edge
        {206, 26, 594, 123},   // list, above the horizontal bar
        {206, 156, 554, 16},   // path box: a line and two edges high
        {760, 156, 40, 16},    // button: three lines and two edges wide
        {206, 172, 594, 408},  // view, down to the status bar
    };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ((std::vector<int>{panes[i]->x, panes[i]->y, panes[i]->cx, panes[i]->cy}),
                  (std::vector<int>{expected[i].x, expected[i].y, expected[i].cx, expected[i].cy})) << i;
    }
    in.folderTree = false;  // the right-hand column takes the whole width
    MainPanes(in, 203, 153, lay);
    EXPECT_EQ(lay.list.x, 0);
    EXPECT_EQ(lay.horizontalLeft, 0);

    EXPECT_EQ(ClampSeparatorPos(10, 47, 20), 20);  // a very small parent: the maximum wins
    EXPECT_EQ(ClampSeparatorPos(10, 47, 100), 47);
}

TEST(MainLayout, StoredPlaceComesOnScreenAtLeastAtTheMinimumSize)
{
    const PaneRect work{0, 0, 1024, 738};
    struct Case {
        PaneRect stored;
        bool onAMonitor;
        PaneRect placed;
    } cases[] = {
        {{100, 80, 640, 480}, true, {100, 80, 640, 480}},         // as stored
        {{100, 80, 100, 100}, true, {100, 80, 250, 250}},         // below the minimum
        {{1920, 100, 800, 600}, false, {224, 100, 800, 600}},     // a second monitor that is gone
        {{-3000, -900, 2000, 1500}, false, {0, 0, 1024, 738}},    // larger than the screen
        {{-20, -10, 640, 480}, true, {-20, -10, 640, 480}},       // partly off a monitor: left as is
    };
    for (const Case& c : cases) {
        const PaneRect placed = PlaceMainWindow(c.stored, work, c.onAMonitor, 250);
        EXPECT_EQ((std::vector<int>{placed.x, placed.y, placed.cx, placed.cy}),
                  (std::vector<int>{c.placed.x, c.placed.y, c.placed.cx, c.placed.cy}))
            << c.stored.x << "," << c.stored.y;
    }
}

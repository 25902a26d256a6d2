// Scroll ranges, pages, scroll-bar requests and the wheel.
#include "view/SCROLLAR.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ScrollRanges, MaximaAndPages)
{
    EXPECT_EQ(RowsMaximum(0), 2);
    EXPECT_EQ(RowsMaximum(1), 2);  // a one-line file keeps a maximum of 2, not 0
    EXPECT_EQ(RowsMaximum(2), 2);
    EXPECT_EQ(RowsMaximum(3), 2);
    EXPECT_EQ(RowsMaximum(4), 3);
    EXPECT_EQ(RowsMaximum(20), 19);
    EXPECT_EQ(RowsMaximum(5000000000LL), INT_MAX);

    EXPECT_EQ(WidestRowMaximum(2, 8), 2);
    EXPECT_EQ(WidestRowMaximum(15, 8), 2);
    EXPECT_EQ(WidestRowMaximum(800, 8), 100);
    EXPECT_EQ(WidestRowMaximum(800, 0), 2);

    EXPECT_EQ(AnnouncedMaximum(0), 2);
    EXPECT_EQ(AnnouncedMaximum(2), 2);
    EXPECT_EQ(AnnouncedMaximum(3), 3);
    EXPECT_EQ(AnnouncedMaximum(120), 120);

    EXPECT_EQ(ScrollPage(200, 20), 10);  // 20 lines in a pane 10 rows high: page 10
    EXPECT_EQ(ScrollPage(219, 20), 10);
    EXPECT_EQ(ScrollPage(59, 20), 2);
    EXPECT_EQ(ScrollPage(0, 20), 2);
    EXPECT_EQ(ScrollPage(-30, 20), 2);
}

TEST(ScrollRanges, RequestsAndClamping)
{
    EXPECT_EQ(ScrollRequestDelta(ScrollRequest::LineUp, 10, 5, 0), -1);
    EXPECT_EQ(ScrollRequestDelta(ScrollRequest::LineDown, 10, 5, 0), 1);
    EXPECT_EQ(ScrollRequestDelta(ScrollRequest::PageUp, 10, 5, 0), -10);
    EXPECT_EQ(ScrollRequestDelta(ScrollRequest::PageDown, 10, 5, 0), 10);
    EXPECT_EQ(ScrollRequestDelta(ScrollRequest::ThumbTrack, 10, 5, 42), 37);
    EXPECT_EQ(ScrollRequestDelta(ScrollRequest::ThumbTrack, 10, 42, 5), -37);
    EXPECT_EQ(ScrollRequestDelta(ScrollRequest::Nothing, 10, 5, 42), 0);

    struct Case {
        int minimum;
        int maximum;
        int pos;
        long long delta;
        int from;
        int to;
    };
    const Case cases[] = {
        {0, 19, 5, 3, 5, 8},
        {0, 19, 5, -30, 5, 0},
        {0, 19, 15, 10, 15, 19},
        {0, 19, 30, -1, 19, 18},          // a position beyond the range counts from the maximum
        {0, 19, -4, 0, 0, 0},
        {0, 2, 0, 1LL << 40, 0, 2},
        {0, INT_MAX, INT_MAX - 1, 5, INT_MAX - 1, INT_MAX},
    };
    for (const Case& c : cases) {
        const ScrollMove m = ClampScroll(c.minimum, c.maximum, c.pos, c.delta);
        EXPECT_EQ(m.from, c.from) << c.pos << " + " << c.delta;
        EXPECT_EQ(m.to, c.to) << c.pos << " + " << c.delta;
    }
}

TEST(ScrollRanges, OneWheelMessageIsOneNotch)
{
    struct Case {
        bool read;
        unsigned lines;
        int delta;
        ScrollRequest request;
        unsigned count;
    };
    const Case cases[] = {
        {true, 3, 120, ScrollRequest::LineUp, 3},
        {true, 3, -120, ScrollRequest::LineDown, 3},
        {true, 3, 960, ScrollRequest::LineUp, 3},     // the amount is not used
        {true, 3, 0, ScrollRequest::LineDown, 3},
        {true, 0, 120, ScrollRequest::LineUp, 0},     // scrolling switched off
        {false, 7, 120, ScrollRequest::LineUp, 1},    // unreadable setting: one line
        {true, 2000, -120, ScrollRequest::LineDown, 2000},
        {true, 2001, -120, ScrollRequest::PageDown, 1},
        {true, 0xFFFFFFFFu, 120, ScrollRequest::PageUp, 1},  // one screen per notch
    };
    for (const Case& c : cases) {
        const WheelPlan plan = PlanWheel(c.read, c.lines, c.delta);
        EXPECT_EQ(plan.request, c.request) << c.lines << " lines, delta " << c.delta;
        EXPECT_EQ(plan.count, c.count) << c.lines << " lines, delta " << c.delta;
    }
}

// Scroll arithmetic the window tests do not reach: positions outside the range
// and the wheel setting's edges.
#include "view/SCROLLAR.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ScrollRanges, ClampingKeepsTheTargetInsideTheRange)
{
    const struct {
        int maximum, pos;
        long long delta;
        int from, to;
    } cases[] = {
        {19, 5, -30, 5, 0},
        {19, 15, 10, 15, 19},
        {19, 30, -1, 19, 18},  // a position beyond the range counts from the maximum
        {19, -4, 0, 0, 0},
        {2, 0, 1LL << 40, 0, 2},
        {INT_MAX, INT_MAX - 1, 5, INT_MAX - 1, INT_MAX},
    };
    for (const auto& c : cases) {
        const ScrollMove m = ClampScroll(0, c.maximum, c.pos, c.delta);
        EXPECT_EQ(m.from, c.from) << c.pos << " + " << c.delta;
        EXPECT_EQ(m.to, c.to) << c.pos << " + " << c.delta;
    }
    EXPECT_EQ(RowsMaximum(5000000000LL), INT_MAX);
    EXPECT_EQ(ScrollPage(-30, 20), 2);
}

TEST(ScrollRanges, WheelSettingEdges)
{
    const struct {
        bool read;
        unsigned lines;
        int delta;
        ScrollRequest request;
        unsigned count;
    } cases[] = {
        {true, 0, 120, ScrollRequest::LineUp, 0},   // scrolling switched off
        {false, 7, 120, ScrollRequest::LineUp, 1},  // unreadable setting: one line
        {true, 3, 0, ScrollRequest::LineDown, 3},
        {true, 2000, -120, ScrollRequest::LineDown, 2000},
        {true, 2001, -120, ScrollRequest::PageDown, 1},
    };
    for (const auto& c : cases) {
        const WheelPlan plan = PlanWheel(c.read, c.lines, c.delta);
        EXPECT_EQ(plan.request, c.request) << c.lines << " lines, delta " << c.delta;
        EXPECT_EQ(plan.count, c.count) << c.lines << " lines, delta " << c.delta;
    }
}

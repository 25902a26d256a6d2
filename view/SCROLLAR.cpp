// Scroll ranges, pages, request deltas and the wheel rule.
#include "view/SCROLLAR.h"

#include "base/CLAMP.h"

namespace {

constexpr unsigned kPagePerNotchAbove = 2000;

}  // namespace

int RowsMaximum(long long rowCount)
{
    const long long last = rowCount - 1;
    return last <= 1 ? 2 : SaturateToInt(last);
}

int WidestRowMaximum(int widestPixels, int cellWidth)
{
    const int cells = cellWidth > 0 ? widestPixels / cellWidth : 0;
    return cells <= 1 ? 2 : cells;
}

int AnnouncedMaximum(long long cells)
{
    return cells <= 2 ? 2 : SaturateToInt(cells);
}

int ScrollPage(int extentPixels, int unitPixels)
{
    const int page = unitPixels > 0 ? extentPixels / unitPixels : 0;
    return page <= 2 ? 2 : page;
}

long long ScrollRequestDelta(ScrollRequest request, int page, int pos, int trackPos)
{
    switch (request) {
    case ScrollRequest::LineUp:
        return -1;
    case ScrollRequest::LineDown:
        return 1;
    case ScrollRequest::PageUp:
        return -static_cast<long long>(page);
    case ScrollRequest::PageDown:
        return page;
    case ScrollRequest::ThumbTrack:
        return static_cast<long long>(trackPos) - pos;
    case ScrollRequest::Nothing:
        break;
    }
    return 0;
}

ScrollMove ClampScroll(int minimum, int maximum, int pos, long long delta)
{
    if (maximum < minimum) {
        maximum = minimum;
    }
    const int from = pos < minimum ? minimum : (pos > maximum ? maximum : pos);
    long long target = from + delta;
    if (target < minimum) {
        target = minimum;
    } else if (target > maximum) {
        target = maximum;
    }
    return {from, static_cast<int>(target)};
}

WheelPlan PlanWheel(bool settingRead, unsigned linesPerNotch, int wheelDelta)
{
    const unsigned lines = settingRead ? linesPerNotch : 1;
    const bool up = wheelDelta > 0;
    if (lines > kPagePerNotchAbove) {
        return {up ? ScrollRequest::PageUp : ScrollRequest::PageDown, 1};
    }
    return {up ? ScrollRequest::LineUp : ScrollRequest::LineDown, lines};
}

// Scroll-bar arithmetic without a window: ranges and pages in scroll units,
// what each scroll-bar request and each wheel notch asks for, and the clamp
// that keeps a scroll inside the range.
#pragma once

// Vertical maximum for a number of rows: the last row's index, or 2 when that
// is 1 or less, so a short file keeps a usable (disabled) bar.
int RowsMaximum(long long rowCount);
// Horizontal maximum in text mode from the widest row painted so far: its width
// in cells, or 2 when that is 1 or less.
int WidestRowMaximum(int widestPixels, int cellWidth);
// Horizontal maximum announced in cells by a paint: raised to 2 when 2 or less.
int AnnouncedMaximum(long long cells);
// Units that fit into the client extent, at least 2.
int ScrollPage(int extentPixels, int unitPixels);

// What a scroll-bar message asks for; the codes other than these (thumb
// position, top, bottom, end of scroll) ask for nothing.
enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, ThumbTrack, Nothing };
long long ScrollRequestDelta(ScrollRequest request, int page, int pos, int trackPos);

// A scroll by delta from pos: pos is first brought into [minimum, maximum],
// then the target is kept inside it. from == to means there is nothing to do.
struct ScrollMove {
    int from;
    int to;
};
ScrollMove ClampScroll(int minimum, int maximum, int pos, long long delta);

// One wheel message is one notch, whatever its delta: `count` scroll-bar
// requests of `request`. The system's setting above 2000 (its "one screen per
// notch") asks for one page.
struct WheelPlan {
    ScrollRequest request;
    unsigned count;
};
// linesPerNotch: the system's setting, or nothing (read failed) which counts 1.
WheelPlan PlanWheel(bool settingRead, unsigned linesPerNotch, int wheelDelta);

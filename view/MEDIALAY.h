// Arithmetic of the picture and media modes of the pane, without a window:
// fitting the media window, the media scroll ranges, what the keys of these
// modes ask for, and telling a double click on the media window from two
// single ones.
#pragma once

#include <cstdint>

struct MediaExtent {
    int width;
    int height;
};

// New size of the media window so that its video keeps the source's aspect
// ratio and the window fills the pane in one direction. The window's own
// extras (frame, play bar) are what it has beyond the source now. The
// source's extents count by their magnitude (top-down video gives a negative
// height). False when the source is empty. Sizes below 0 become 0.
bool FitMediaSize(MediaExtent source, MediaExtent window, MediaExtent pane, MediaExtent& fitted);

// Size of a media window with nothing to show but its play bar (a sound):
// across the whole pane when fitting, else at least wide enough for the bar
// to be used. The height, the bar's own, stays.
MediaExtent SoundOnlySize(MediaExtent window, int paneWidth, bool fitting);

// Scroll maxima over the media window (minimum 0): its size less one, or 2
// when fitting, where there is nothing to scroll. Never below 0.
MediaExtent MediaScrollMaxima(std::uint32_t zoom, MediaExtent window);

// Keys of the picture and media modes.
enum class PaneKey { Enter, Escape, PageUp, PageDown, Home, End, Left, Right, Up, Down, Other };

// Where a bar stands: position and maximum in units, and its unit in pixels.
struct BarState {
    int pos;
    int maximum;
    int unit;
};

// What a key asks for: a full-screen toggle, or scrolls in positions.
struct KeyAction {
    bool toggleFullScreen;
    long long dx;
    long long dy;
};

KeyAction PlanPaneKey(PaneKey key, bool ctrl, bool fullScreen, int clientHeight, BarState horizontal,
                      BarState vertical);

// The last single click on the media window: tick count and client point.
struct MediaClick {
    std::uint32_t time;
    int x;
    int y;
};

// True when a click at (x, y) at tick `now` completes a double click with the
// stored one (same point, at most doubleClickTime later); the stored point is
// then spent, so that a third click needs a new pair. Otherwise the click is
// stored as the first of a possible pair.
bool IsMediaDoubleClick(MediaClick& last, std::uint32_t now, int x, int y, std::uint32_t doubleClickTime);

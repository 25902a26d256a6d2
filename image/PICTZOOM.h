// Picture zoom arithmetic without a window: the size a picture is drawn at,
// the scroll ranges over it, and the zoom values of the menu.
#pragma once

#include <cstdint>

struct PictureExtent {
    int width;
    int height;
};

// Size of picture (pictureWidth x pictureHeight) drawn at zoom percent; zoom 0
// fits it into the pane keeping its aspect ratio, enlarging as well as
// shrinking. Sizes that would not fit an int are held at INT_MAX; an empty
// picture or pane gives 0 x 0.
PictureExtent ZoomedPictureSize(int pictureWidth, int pictureHeight, std::uint32_t zoom, int paneWidth,
                                int paneHeight);

// One axis of a stretch: destExtent pixels from destOrigin show sourceExtent
// picture pixels from sourceOrigin.
struct StretchAxis {
    int destOrigin;
    int destExtent;
    int sourceOrigin;
    int sourceExtent;
};

// The part of a stretch of `source` picture pixels onto `extent` pixels from
// `origin` that reaches [clipFrom, clipTo): whole picture pixels, each where
// the whole stretch puts it (picture pixel i from origin + i * extent /
// source). False when none of it is inside. Drawing only this part keeps a
// picture at a large zoom as quick as at a small one.
bool VisiblePartOfStretch(long long origin, long long extent, int source, int clipFrom, int clipTo,
                          StretchAxis& part);

// Maxima of the two scroll bars (minimum 0, one unit a pixel): the zoomed
// size, or 1 when fitting, where there is nothing to scroll.
PictureExtent PictureScrollMaxima(int pictureWidth, int pictureHeight, std::uint32_t zoom);

// The zoom menu: items 0..4 are 25, 50, 100, 200 and 400 percent, item 5
// fits the picture to the window.
constexpr int kZoomMenuItems = 6;
constexpr int kZoomFitItem = 5;
std::uint32_t ZoomOfMenuItem(int item);
// The item that shows a zoom: a value between two items checks the larger.
int MenuItemOfZoom(std::uint32_t zoom);

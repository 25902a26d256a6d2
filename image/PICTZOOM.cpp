// Zoomed and fitted picture sizes, scroll maxima and the zoom menu's values.
#include "image/PICTZOOM.h"

#include "base/CLAMP.h"

namespace {

// The zoom's share of an extent, exact in 64 bits: 400000 % of a picture
// 10000 pixels wide is still a number, and an int would wrap.
int Percent(std::uint32_t zoom, int extent)
{
    return SaturateToInt(static_cast<std::int64_t>(zoom) * extent / 100, 0);
}

}  // namespace

PictureExtent ZoomedPictureSize(int pictureWidth, int pictureHeight, std::uint32_t zoom, int paneWidth,
                                int paneHeight)
{
    if (pictureWidth <= 0 || pictureHeight <= 0) {
        return {0, 0};
    }
    if (zoom != 0) {
        return {Percent(zoom, pictureWidth), Percent(zoom, pictureHeight)};
    }
    if (paneWidth <= 0 || paneHeight <= 0) {
        return {0, 0};
    }
    const std::int64_t pw = pictureWidth;
    const std::int64_t ph = pictureHeight;
    // The narrower of the two ratios pane / picture decides.
    if (paneWidth * ph < paneHeight * pw) {
        return {paneWidth, SaturateToInt(paneWidth * ph / pw, 0)};
    }
    return {SaturateToInt(paneHeight * pw / ph, 0), paneHeight};
}

bool VisiblePartOfStretch(long long origin, long long extent, int source, int clipFrom, int clipTo,
                          StretchAxis& part)
{
    if (extent <= 0 || source <= 0) {
        return false;
    }
    const long long from = clipFrom > origin ? clipFrom : origin;
    const long long to = clipTo < origin + extent ? clipTo : origin + extent;
    if (from >= to) {
        return false;
    }
    long long first = (from - origin) * source / extent;
    long long last = ((to - origin) * source + extent - 1) / extent;
    first = first < source ? first : source - 1;
    last = last > first ? (last < source ? last : source) : first + 1;
    const long long destFrom = origin + first * extent / source;
    const long long destTo = origin + last * extent / source;
    part = {static_cast<int>(destFrom), SaturateToInt(destTo - destFrom, 0), static_cast<int>(first),
            static_cast<int>(last - first)};
    return true;
}

PictureExtent PictureScrollMaxima(int pictureWidth, int pictureHeight, std::uint32_t zoom)
{
    if (zoom == 0) {
        return {1, 1};
    }
    return {Percent(zoom, pictureWidth), Percent(zoom, pictureHeight)};
}

std::uint32_t ZoomOfMenuItem(int item)
{
    if (item < 0 || item >= kZoomFitItem) {
        return 0;
    }
    return 25u << item;
}

int MenuItemOfZoom(std::uint32_t zoom)
{
    if (zoom == 0) {
        return kZoomFitItem;
    }
    int item = 0;
    while (item < kZoomFitItem - 1 && zoom > ZoomOfMenuItem(item)) {
        ++item;
    }
    return item;
}

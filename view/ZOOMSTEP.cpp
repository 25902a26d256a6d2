// Zoom steps of pictures, text and hex.
#include "view/ZOOMSTEP.h"

#include "image/PICTZOOM.h"

namespace {

// Font scales from the stored size (the middle entry) down and up.
constexpr int kTextScales[2 * kTextZoomSteps + 1] = {40, 50, 60, 70, 80, 90, 100, 125, 150, 200, 250, 300, 400};

}  // namespace

std::uint32_t StepPictureZoom(std::uint32_t shown, int step)
{
    if (step > 0) {
        for (int item = 0; item < kZoomFitItem; ++item) {
            if (ZoomOfMenuItem(item) > shown) {
                return ZoomOfMenuItem(item);
            }
        }
        return ZoomOfMenuItem(kZoomFitItem - 1);
    }
    if (step < 0) {
        for (int item = kZoomFitItem - 1; item >= 0; --item) {
            if (ZoomOfMenuItem(item) < shown) {
                return ZoomOfMenuItem(item);
            }
        }
        return ZoomOfMenuItem(0);
    }
    return shown;
}

int StepTextZoom(int step, int by)
{
    const int next = step + by;
    return next < -kTextZoomSteps ? -kTextZoomSteps : next > kTextZoomSteps ? kTextZoomSteps : next;
}

int TextZoomPercent(int step)
{
    return kTextScales[StepTextZoom(step, 0) + kTextZoomSteps];
}

int ScaleFontHeight(int height, int percent)
{
    const long long scaled = static_cast<long long>(height) * percent / 100;
    if (scaled == 0) {
        return height < 0 ? -1 : 1;
    }
    return static_cast<int>(scaled);
}

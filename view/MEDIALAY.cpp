// Media window fitting, media scroll ranges, keys of the picture and media
// modes, and the double click on the media window.
#include "view/MEDIALAY.h"

#include "base/CLAMP.h"

namespace {

constexpr int kArrowPixels = 12;
// Room for the play button and a track bar that can still be dragged.
constexpr int kPlayBarWidth = 240;

long long ToEnd(BarState bar)
{
    return bar.unit > 0 ? (static_cast<long long>(bar.maximum) - bar.pos) / bar.unit : 0;
}

long long ToStart(BarState bar)
{
    return bar.unit > 0 ? -static_cast<long long>(bar.pos) / bar.unit : 0;
}

}  // namespace

bool FitMediaSize(MediaExtent source, MediaExtent window, MediaExtent pane, MediaExtent& fitted)
{
    // A video stored top-down reports its source with a negative height.
    const std::int64_t sw = source.width < 0 ? -static_cast<std::int64_t>(source.width) : source.width;
    const std::int64_t sh = source.height < 0 ? -static_cast<std::int64_t>(source.height) : source.height;
    if (sw == 0 || sh == 0) {
        return false;
    }
    const std::int64_t extraWidth = window.width - sw;
    const std::int64_t extraHeight = window.height - sh;
    const std::int64_t w = pane.width - extraWidth;
    const std::int64_t h = pane.height - extraHeight;
    if (sh * w < sw * h) {
        fitted = {SaturateToInt(pane.width, 0), SaturateToInt(sh * w / sw + extraHeight, 0)};
    } else {
        fitted = {SaturateToInt(sw * h / sh + extraWidth, 0), SaturateToInt(pane.height, 0)};
    }
    return true;
}

MediaExtent SoundOnlySize(MediaExtent window, int paneWidth, bool fitting)
{
    if (fitting) {
        return {paneWidth > 0 ? paneWidth : 0, window.height};
    }
    return {window.width > kPlayBarWidth ? window.width : kPlayBarWidth, window.height};
}

MediaExtent MediaScrollMaxima(std::uint32_t zoom, MediaExtent window)
{
    if (zoom == 0) {
        return {2, 2};  // a 3 x 3 rectangle: the pane holds it whole
    }
    return {window.width > 0 ? window.width - 1 : 0, window.height > 0 ? window.height - 1 : 0};
}

KeyAction PlanPaneKey(PaneKey key, bool ctrl, bool fullScreen, int clientHeight, BarState horizontal,
                      BarState vertical)
{
    KeyAction action{false, 0, 0};
    switch (key) {
    case PaneKey::Enter:
        action.toggleFullScreen = true;
        break;
    case PaneKey::Escape:
        action.toggleFullScreen = fullScreen;  // Esc only leaves
        break;
    case PaneKey::PageUp:
    case PaneKey::PageDown: {
        const long long page =
            vertical.unit > 0 ? static_cast<long long>(clientHeight / vertical.unit) * vertical.unit : 0;
        action.dy = key == PaneKey::PageUp ? -page : page;
        break;
    }
    case PaneKey::Home:
        action.dy = ToStart(vertical);
        action.dx = ctrl ? ToStart(horizontal) : 0;
        break;
    case PaneKey::End:
        action.dy = ToEnd(vertical);
        action.dx = ctrl ? ToEnd(horizontal) : 0;
        break;
    case PaneKey::Left:
        action.dx = -static_cast<long long>(kArrowPixels) * horizontal.unit;
        break;
    case PaneKey::Right:
        action.dx = static_cast<long long>(kArrowPixels) * horizontal.unit;
        break;
    case PaneKey::Up:
        action.dy = -static_cast<long long>(kArrowPixels) * vertical.unit;
        break;
    case PaneKey::Down:
        action.dy = static_cast<long long>(kArrowPixels) * vertical.unit;
        break;
    case PaneKey::Other:
        break;
    }
    return action;
}

bool IsMediaDoubleClick(MediaClick& last, std::uint32_t now, int x, int y, std::uint32_t doubleClickTime)
{
    // Unsigned difference: correct across the tick count's wrap after 49.7 days.
    if (x == last.x && y == last.y && now - last.time <= doubleClickTime) {
        last.x = -1;
        last.y = -1;
        return true;
    }
    last = MediaClick{now, x, y};
    return false;
}

// Layout arithmetic of the main window.
#include "app/MAINLAY.h"

namespace {

// The right-hand panes keep room for at least this much beside and below the bars.
constexpr int kMinLeft = 40;
constexpr int kMinRight = 70;
constexpr int kMinBelow = 100;

}  // namespace

void MainSplitterLimits(const MainLayoutInput& in, MainLayout& out) noexcept
{
    const int t = in.thickness;
    out.verticalMin = t + kMinLeft;
    out.verticalMax = in.width - t - kMinRight;
    out.verticalTop = in.toolBar;
    out.verticalBottom = in.height - in.statusBar;
    out.horizontalMin = t + kMinLeft;
    out.horizontalMax = in.height - t - kMinBelow;
}

void MainPanes(const MainLayoutInput& in, int verticalPos, int horizontalPos, MainLayout& out) noexcept
{
    const int t = in.thickness;
    const int x = in.folderTree ? verticalPos + t / 2 : 0;
    const int y = horizontalPos + t / 2;
    const int e = 2 * in.edgeY + in.textHeight;  // path box height
    const int b = 2 * in.edgeX + 3 * in.textHeight;  // button width
    out.horizontalLeft = x;
    out.horizontalRight = in.width;
    out.tree = {0, in.toolBar, x - t, in.height - in.toolBar - in.statusBar};
    out.list = {x, in.toolBar, in.width - x, y - in.toolBar - t};
    out.view = {x, y + e, in.width - x, in.height - in.statusBar - y - e};
    out.edit = {x, y, in.width - x - b, e};
    out.button = {in.width - b, y, b, e};
}

PaneRect PlaceMainWindow(const PaneRect& stored, const PaneRect& work, bool onAMonitor, int minimum) noexcept
{
    PaneRect placed = stored;
    const int widest = work.cx > minimum ? work.cx : minimum;
    const int tallest = work.cy > minimum ? work.cy : minimum;
    placed.cx = ClampSeparatorPos(stored.cx, minimum, widest);
    placed.cy = ClampSeparatorPos(stored.cy, minimum, tallest);
    if (!onAMonitor) {
        placed.x = ClampSeparatorPos(stored.x, work.x, work.x + work.cx - placed.cx);
        placed.y = ClampSeparatorPos(stored.y, work.y, work.y + work.cy - placed.cy);
    }
    return placed;
}

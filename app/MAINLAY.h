// Where the main window's panes go: pure arithmetic of the splitter range and
// of the pane rectangles, so that it is checked without any window.
#pragma once

// A splitter position brought into [minimum, maximum]; when a very small
// parent leaves the maximum below the minimum, the maximum wins so that the
// bar stays inside the parent.
constexpr int ClampSeparatorPos(int pos, int minimum, int maximum) noexcept
{
    if (pos < minimum) {
        pos = minimum;
    }
    if (pos > maximum) {
        pos = maximum;
    }
    return pos;
}

struct PaneRect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

// What the layout pass reads from the windows.
struct MainLayoutInput {
    int width = 0;        // client area
    int height = 0;
    int toolBar = 0;      // height of the toolbar, 0 when hidden or absent
    int statusBar = 0;    // the same for the status bar
    bool folderTree = true;
    int thickness = 7;    // of both splitters
    int textHeight = 0;   // tmHeight of the path box's DC
    int edgeX = 2;        // SM_CXEDGE, SM_CYEDGE
    int edgeY = 2;
};

// Splitter ranges and spans, and the panes around the splitters' positions.
struct MainLayout {
    int verticalMin = 0, verticalMax = 0;      // centre line of the vertical bar
    int verticalTop = 0, verticalBottom = 0;   // its span
    int horizontalMin = 0, horizontalMax = 0;
    int horizontalLeft = 0, horizontalRight = 0;
    PaneRect tree, list, view, edit, button;
};

// The splitter ranges and spans only depend on the client size and the bars.
void MainSplitterLimits(const MainLayoutInput& in, MainLayout& out) noexcept;

// The panes, given the splitters' positions after they were clamped into the
// limits above (the vertical position is ignored while the tree is hidden).
void MainPanes(const MainLayoutInput& in, int verticalPos, int horizontalPos, MainLayout& out) noexcept;

// The main window's stored place brought onto the screen: at least the
// minimum size, no larger than the work area (unless that is below the
// minimum), and moved into the work area when it lies on no monitor (a second
// monitor that is gone). work is the work area of the monitor nearest to it.
PaneRect PlaceMainWindow(const PaneRect& stored, const PaneRect& work, bool onAMonitor, int minimum) noexcept;

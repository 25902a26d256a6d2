// Where a dialog goes over its parent, without Windows: centred, then pushed
// back into the work area, whose left and top edges win over the right and
// bottom ones when the dialog is larger than the area.
#pragma once

struct BoxRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct BoxPoint {
    int x;
    int y;
};

// Top-left corner for a box of width x height centred over parent.
BoxPoint CentreInWorkArea(const BoxRect& parent, int width, int height, const BoxRect& work);

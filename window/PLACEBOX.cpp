// Centring a dialog over its parent within the work area.
#include "window/PLACEBOX.h"

BoxPoint CentreInWorkArea(const BoxRect& parent, int width, int height, const BoxRect& work)
{
    BoxPoint at{parent.left + (parent.right - parent.left - width) / 2,
                parent.top + (parent.bottom - parent.top - height) / 2};
    if (at.x + width > work.right) {
        at.x = work.right - width;
    }
    if (at.y + height > work.bottom) {
        at.y = work.bottom - height;
    }
    if (at.x < work.left) {
        at.x = work.left;
    }
    if (at.y < work.top) {
        at.y = work.top;
    }
    return at;
}

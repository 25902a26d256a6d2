// Scrolling the folder tree across to a node.
#include "navigation/TREESCRL.h"

int ScrollAcrossToShow(int left, int right, int width)
{
    if (left < 0 || right - left > width) {
        return left;  // the start of the name matters most
    }
    if (right > width) {
        return right - width;
    }
    return 0;
}

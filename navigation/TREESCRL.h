// How far the folder tree scrolls across so that a node shows, without a
// window: a deep folder's node lies right of a narrow tree.
#pragma once

// left..right: the node's icon and name in client pixels; width: the client
// width. The pixels to scroll right (negative: left) so that as much of the
// node as fits shows, its start first; 0 when it shows already.
int ScrollAcrossToShow(int left, int right, int width);

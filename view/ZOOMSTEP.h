// Zooming by steps (Ctrl with the wheel, Ctrl+plus, Ctrl+minus, Ctrl+0),
// without a window: a picture steps through the zoom menu's values, text and
// hex through a table of font scales.
#pragma once

#include <cstdint>

// The zoom of the menu that is one step (step > 0) larger or (step < 0)
// smaller than shown, the percent at which a picture is drawn now (the fitted
// one when it fits the pane); the smallest or largest stays where it is.
std::uint32_t StepPictureZoom(std::uint32_t shown, int step);

// Text and hex: the font's scale in percent at a step from the stored size
// (0), held within the table's ends, and the step one further.
constexpr int kTextZoomSteps = 6;  // each way
int TextZoomPercent(int step);
int StepTextZoom(int step, int by);
// A font height of the settings (negative for the character height, as
// CreateFont takes it) at percent, never 0.
int ScaleFontHeight(int height, int percent);

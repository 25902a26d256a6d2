// The texts and the part arithmetic of the status bar, without Windows: what
// the bar shows is decided here and only set by the window code.
#pragma once

#include <cstdint>
#include <string>

constexpr int kStatusPartCount = 5;
// The part that shows the encoding: a click there opens the encoding menu.
constexpr int kStatusEncodingPart = 3;

// The widths that the caret, encoding and size parts need for their texts.
// Each part is as wide as its usual width or as this, whichever is more, so
// that a nine-digit line, "UTF16BE" in a larger font or a size of ten or more
// digits is not cut.
struct StatusWidths {
    int caret = 0;
    int encoding = 0;
    int size = 0;
};

// Right edges of the five parts for a client width and a status bar height;
// the bar's height is left free at the right for the size grip.
void StatusPartEdges(int clientWidth, int barHeight, int (&edges)[kStatusPartCount],
                     const StatusWidths& needed = {});

// "\t%5d:%-5d" of the 1-based line and column, from the 0-based caret.
std::string CaretText(int line, int column);

// What the caret part shows for a picture: its size in pixels and the percent
// it is drawn at, "1920 × 1080  100%".
std::string PictureText(int width, int height, int percent);

// The short label of an encoding code (1 "BIN" ... 8 "UTF7"); empty for 0
// (not detected) and for any code outside the table.
const char* EncodingLabel(std::uint32_t encoding);

// The size right-aligned ("\t\t") with its digits grouped by three and the
// unit after them: 1234567 gives "\t\t1,234,567バイト". The groups stop at
// 10^9, so 1234567890123 gives "1234,567,890,123".
std::string SizeText(std::uint64_t size);

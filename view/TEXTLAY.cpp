// Metrics of text and hex rows derived from the font height, and the share of a
// selection that falls on one row.
#include "view/TEXTLAY.h"

namespace {

constexpr long long kMaxRowFactor = 100;  // row pitch at most 100 font heights

}  // namespace

int ViewFontHeight(int tmHeight)
{
    return tmHeight < 2 ? 2 : tmHeight;
}

int CellWidth(int fontHeight)
{
    return fontHeight / 2;
}

int RowHeight(int fontHeight, int percent)
{
    long long pitch = static_cast<long long>(fontHeight) * percent / 100;
    if (pitch > kMaxRowFactor * fontHeight) {
        pitch = kMaxRowFactor * fontHeight;
    }
    return pitch < 2 ? 2 : static_cast<int>(pitch);
}

int TabWidth(int charWidth, int tabStop)
{
    const long long width = static_cast<long long>(charWidth) * tabStop;
    if (width <= 0) {
        return charWidth > 0 ? charWidth : 1;
    }
    return width > INT_MAX / 4 ? INT_MAX / 4 : static_cast<int>(width);
}

RowSelection SelectionOnRow(int line, int sLine, int sColumn, int eLine, int eColumn)
{
    RowSelection r{};
    r.start = line == sLine ? sColumn : 0;
    if (line == eLine) {
        r.end = eColumn;
    } else if (sLine <= line && line < eLine) {
        r.end = -1;
    } else {
        r.end = r.start;
    }
    return r;
}

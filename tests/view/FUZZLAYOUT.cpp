// Fuzzes the row layout: for any text, glyph widths, origin, tab width and
// selection, the glyphs are drawn where the caret measures their columns, a
// click maps back to the column under it, and hex clicks land on the pair
// under them. Any mismatch or undefined arithmetic aborts.
#include "view/HEXLAY.h"
#include "view/TEXTLAY.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <utility>
#include <vector>

namespace {

void Check(bool ok)
{
    if (!ok) {
        std::abort();
    }
}

struct Painter {
    const std::vector<int>& widths;
    std::vector<int> xs;  // x of each drawn column, -1 when not drawn as a run start
    int Width(int first, int count) const
    {
        return std::accumulate(widths.begin() + first, widths.begin() + first + count, 0);
    }
    void Text(int first, int, int x, int, int, bool) { xs[first] = x; }
    void Fill(int left, int right) { Check(left < right); }  // only for a gap that is really there
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 6) {
        return 0;
    }
    const int tabWidth = 1 + data[0] % 64;
    const int x0 = -static_cast<int>(data[1]) * 8;
    const int length = static_cast<int>((size - 4) / 2);
    std::vector<char16_t> text(static_cast<std::size_t>(length));
    std::vector<int> widths(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) {
        const std::uint8_t c = data[4 + 2 * i];
        text[i] = (c & 7) == 0 ? static_cast<char16_t>(kTabUnit) : static_cast<char16_t>(u'a' + c % 26);
        widths[i] = data[5 + 2 * i] % 24;  // zero-width marks included
    }
    int selStart = length > 0 ? data[2] % (length + 1) : 0;
    int selEnd = length > 0 ? data[3] % (length + 1) : 0;
    if (selEnd < selStart) {
        std::swap(selStart, selEnd);
    }

    Painter painter{widths, std::vector<int>(static_cast<std::size_t>(length), -1)};
    auto runWidth = [&](int first, int count) { return painter.Width(first, count); };
    auto offsetOf = [&](int n) { return MeasureColumns(text.data(), length, n, tabWidth, runWidth); };

    const int drawn = LayoutRow(text.data(), length, x0, tabWidth, selStart, selEnd, painter);
    Check(drawn == offsetOf(length));
    int previous = 0;
    for (int i = 0; i < length; ++i) {
        const int at = offsetOf(i);
        Check(at >= previous);
        previous = at;
        if (painter.xs[i] != -1) {
            Check(painter.xs[i] == x0 + at);
        }
    }
    // A click at any pixel of the row lands on the last column starting at or
    // before it.
    for (int x = 0; x <= drawn + 4; x += 1 + data[0] % 5) {
        const int column = ColumnAtX(text.data(), length, x, tabWidth, runWidth);
        Check(column >= 0 && column <= length);
        Check(offsetOf(column) <= x);
        Check(column == length || offsetOf(column + 1) > x);
    }

    // Hex: every cell of a pair (and the gap after byte 7) belongs to it.
    const int cw = 1 + data[1] % 16;
    const std::uint32_t fileSize = static_cast<std::uint32_t>(size) * 977u;
    for (int i = 0; i < kHexBytesPerRow; ++i) {
        const int cells = i == 7 ? 4 : 3;
        for (int dx = 0; dx < cells * cw; ++dx) {
            HexPos pos{};
            Check(HexPointToColumn(HexColumnX(i, cw) + dx, 0, cw, 20, fileSize, pos));
            Check(pos.column == (i < HexRowLength(0, fileSize) ? i : HexRowLength(0, fileSize)));
        }
    }
    return 0;
}

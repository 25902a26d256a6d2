// The five PNG filters. Each runs over a whole row in one tight loop: with big
// pictures this is, after inflating, where the decoder spends its time.
#include "image/PNGFILT.h"

#include <cstdlib>

namespace {

void UnfilterSub(uint8_t* row, size_t n, unsigned bpp)
{
    for (size_t i = bpp; i < n; ++i) {
        row[i] = static_cast<uint8_t>(row[i] + row[i - bpp]);
    }
}

void UnfilterUp(uint8_t* row, const uint8_t* prev, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        row[i] = static_cast<uint8_t>(row[i] + prev[i]);
    }
}

void UnfilterAverage(uint8_t* row, const uint8_t* prev, size_t n, unsigned bpp)
{
    const size_t lead = bpp < n ? bpp : n;
    for (size_t i = 0; i < lead; ++i) {
        row[i] = static_cast<uint8_t>(row[i] + (prev[i] >> 1));
    }
    for (size_t i = bpp; i < n; ++i) {
        row[i] = static_cast<uint8_t>(row[i] + ((unsigned{row[i - bpp]} + prev[i]) >> 1));
    }
}

inline unsigned PaethPredictor(int a, int b, int c)
{
    // p = a + b - c; the distances of p to a, b and c, without forming p.
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    if (pa <= pb && pa <= pc) {
        return static_cast<unsigned>(a);
    }
    return static_cast<unsigned>(pb <= pc ? b : c);
}

void UnfilterPaeth(uint8_t* row, const uint8_t* prev, size_t n, unsigned bpp)
{
    // Left of the first pixel a and c are 0, so the predictor is the byte above.
    const size_t lead = bpp < n ? bpp : n;
    for (size_t i = 0; i < lead; ++i) {
        row[i] = static_cast<uint8_t>(row[i] + prev[i]);
    }
    for (size_t i = bpp; i < n; ++i) {
        const unsigned predictor = PaethPredictor(row[i - bpp], prev[i], prev[i - bpp]);
        row[i] = static_cast<uint8_t>(row[i] + predictor);
    }
}

}  // namespace

void UnfilterPngRow(unsigned filter, uint8_t* row, const uint8_t* prev, size_t n,
                    unsigned bytesPerPixel)
{
    switch (filter) {
    case 1:
        UnfilterSub(row, n, bytesPerPixel);
        break;
    case 2:
        UnfilterUp(row, prev, n);
        break;
    case 3:
        UnfilterAverage(row, prev, n, bytesPerPixel);
        break;
    case 4:
        UnfilterPaeth(row, prev, n, bytesPerPixel);
        break;
    default:
        break;
    }
}

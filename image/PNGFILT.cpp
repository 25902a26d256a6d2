// The five PNG filters. With big pictures this is, after inflating, where the
// decoder spends its time: for the usual pixel sizes the loops go pixel by
// pixel with the left and upper-left neighbours kept in registers.
#include "image/PNGFILT.h"

#include <cstdlib>

namespace {

inline int PaethPredictor(int a, int b, int c)
{
    // p = a + b - c; the distances of p to a, b and c, without forming p.
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    if (pa <= pb && pa <= pc) {
        return a;
    }
    return pb <= pc ? b : c;
}

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
    for (size_t i = 0; i < bpp && i < n; ++i) {
        row[i] = static_cast<uint8_t>(row[i] + (prev[i] >> 1));
    }
    for (size_t i = bpp; i < n; ++i) {
        row[i] = static_cast<uint8_t>(row[i] + ((unsigned{row[i - bpp]} + prev[i]) >> 1));
    }
}

void UnfilterPaeth(uint8_t* row, const uint8_t* prev, size_t n, unsigned bpp)
{
    // Left of the first pixel a and c are 0, so the predictor is the byte above.
    for (size_t i = 0; i < bpp && i < n; ++i) {
        row[i] = static_cast<uint8_t>(row[i] + prev[i]);
    }
    for (size_t i = bpp; i < n; ++i) {
        row[i] = static_cast<uint8_t>(row[i] + PaethPredictor(row[i - bpp], prev[i], prev[i - bpp]));
    }
}

// The same filters for whole pixels of Bpp bytes; n is a multiple of Bpp.
template <unsigned Bpp>
void UnfilterSubPixels(uint8_t* row, size_t n)
{
    unsigned a[Bpp];
    for (unsigned k = 0; k < Bpp; ++k) {
        a[k] = row[k];
    }
    for (size_t i = Bpp; i < n; i += Bpp) {
        for (unsigned k = 0; k < Bpp; ++k) {
            a[k] = (row[i + k] + a[k]) & 0xFF;
            row[i + k] = static_cast<uint8_t>(a[k]);
        }
    }
}

template <unsigned Bpp>
void UnfilterAveragePixels(uint8_t* row, const uint8_t* prev, size_t n)
{
    unsigned a[Bpp];
    for (unsigned k = 0; k < Bpp; ++k) {
        a[k] = (row[k] + (prev[k] >> 1)) & 0xFF;
        row[k] = static_cast<uint8_t>(a[k]);
    }
    for (size_t i = Bpp; i < n; i += Bpp) {
        for (unsigned k = 0; k < Bpp; ++k) {
            a[k] = (row[i + k] + ((a[k] + prev[i + k]) >> 1)) & 0xFF;
            row[i + k] = static_cast<uint8_t>(a[k]);
        }
    }
}

template <unsigned Bpp>
void UnfilterPaethPixels(uint8_t* row, const uint8_t* prev, size_t n)
{
    int a[Bpp];
    int c[Bpp];
    for (unsigned k = 0; k < Bpp; ++k) {
        a[k] = (row[k] + prev[k]) & 0xFF;
        c[k] = prev[k];
        row[k] = static_cast<uint8_t>(a[k]);
    }
    for (size_t i = Bpp; i < n; i += Bpp) {
        for (unsigned k = 0; k < Bpp; ++k) {
            const int b = prev[i + k];
            a[k] = (row[i + k] + PaethPredictor(a[k], b, c[k])) & 0xFF;
            c[k] = b;
            row[i + k] = static_cast<uint8_t>(a[k]);
        }
    }
}

template <unsigned Bpp>
bool UnfilterPixels(unsigned filter, uint8_t* row, const uint8_t* prev, size_t n)
{
    if (n < Bpp || n % Bpp != 0) {
        return false;
    }
    switch (filter) {
    case 1:
        UnfilterSubPixels<Bpp>(row, n);
        return true;
    case 3:
        UnfilterAveragePixels<Bpp>(row, prev, n);
        return true;
    case 4:
        UnfilterPaethPixels<Bpp>(row, prev, n);
        return true;
    default:
        return false;
    }
}

bool UnfilterFast(unsigned filter, uint8_t* row, const uint8_t* prev, size_t n, unsigned bpp)
{
    switch (bpp) {
    case 1:
        return UnfilterPixels<1>(filter, row, prev, n);
    case 3:
        return UnfilterPixels<3>(filter, row, prev, n);
    case 4:
        return UnfilterPixels<4>(filter, row, prev, n);
    case 6:
        return UnfilterPixels<6>(filter, row, prev, n);
    case 8:
        return UnfilterPixels<8>(filter, row, prev, n);
    default:
        return false;
    }
}

}  // namespace

void UnfilterPngRow(unsigned filter, uint8_t* row, const uint8_t* prev, size_t n,
                    unsigned bytesPerPixel)
{
    if (filter == 2) {
        UnfilterUp(row, prev, n);
        return;
    }
    if (UnfilterFast(filter, row, prev, n, bytesPerPixel)) {
        return;
    }
    switch (filter) {
    case 1:
        UnfilterSub(row, n, bytesPerPixel);
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

// The test PNG writer: forward filters, Adam7 passes and chunk framing.
#include "tests/image/PNGWRITE.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>

namespace {

struct Pass {
    uint32_t rowStart, columnStart, rowStep, columnStep;
};

const Pass kWhole = {0, 0, 1, 1};
const Pass kAdam7[7] = {
    {0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4}, {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1},
};

void PutBigEndian32(Bytes& out, uint32_t v)
{
    out.insert(out.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
}

// One row of the pass as PNG packs it: samples big-endian, small ones from the
// high bits down.
Bytes PackRow(const TestPicture& picture, uint32_t y, const Pass& pass)
{
    Bytes row;
    unsigned bitFill = 0;
    for (uint32_t x = pass.columnStart; x < picture.width; x += pass.columnStep) {
        for (unsigned c = 0; c < picture.Channels(); ++c) {
            const uint16_t v = picture.Sample(x, y, c);
            if (picture.depth == 16) {
                row.push_back(static_cast<uint8_t>(v >> 8));
                row.push_back(static_cast<uint8_t>(v));
            } else if (picture.depth == 8) {
                row.push_back(static_cast<uint8_t>(v));
            } else {
                if (bitFill == 0) {
                    row.push_back(0);
                }
                bitFill += picture.depth;
                row.back() = static_cast<uint8_t>(row.back() | v << (8 - bitFill));
                bitFill %= 8;
            }
        }
    }
    return row;
}

// The prediction of filters 0 to 4 (none, sub, up, average, Paeth) from the
// bytes left, above and above-left.
uint8_t Predict(uint8_t filter, int a, int b, int c)
{
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    const int predictions[] = {0, a, b, (a + b) / 2, pa <= pb && pa <= pc ? a : pb <= pc ? b : c};
    return static_cast<uint8_t>(filter < 5 ? predictions[filter] : 0);
}

}  // namespace

unsigned TestPicture::Channels() const
{
    return colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;  // RGB, grey and alpha, RGBA
}

uint16_t TestPicture::Sample(uint32_t x, uint32_t y, unsigned channel) const
{
    return samples[(size_t{y} * width + x) * Channels() + channel];
}

TestPicture MakeTestPicture(uint32_t width, uint32_t height, unsigned depth, unsigned colourType)
{
    TestPicture picture{width, height, depth, colourType, {}};
    picture.samples.assign(size_t{width} * height * picture.Channels(), 0);
    return picture;
}

void FillRandom(TestPicture& picture, uint32_t seed)
{
    uint32_t state = seed * 2654435761u + 1;
    const uint32_t limit = picture.depth == 16 ? 0x10000 : 1u << picture.depth;
    for (uint16_t& s : picture.samples) {
        state = state * 1664525u + 1013904223u;
        s = static_cast<uint16_t>((state >> 8) % limit);
    }
}

Bytes ScanlineData(const TestPicture& picture, bool adam7, const std::vector<uint8_t>& filters)
{
    Bytes out;
    const unsigned bpp = (picture.depth * picture.Channels() + 7) / 8;
    size_t rowIndex = 0;
    const Pass* passes = adam7 ? kAdam7 : &kWhole;
    const size_t passCount = adam7 ? 7 : 1;
    for (size_t p = 0; p < passCount; ++p) {
        const Pass& pass = passes[p];
        if (pass.columnStart >= picture.width) {
            continue;  // an empty pass has no rows at all
        }
        Bytes prev;
        for (uint32_t y = pass.rowStart; y < picture.height; y += pass.rowStep) {
            const Bytes raw = PackRow(picture, y, pass);
            if (prev.empty()) {
                prev.assign(raw.size(), 0);
            }
            const uint8_t filter = filters[rowIndex++ % filters.size()];
            out.push_back(filter);
            for (size_t i = 0; i < raw.size(); ++i) {
                const int a = i >= bpp ? raw[i - bpp] : 0;
                const int c = i >= bpp ? prev[i - bpp] : 0;
                out.push_back(static_cast<uint8_t>(raw[i] - Predict(filter, a, prev[i], c)));
            }
            prev = raw;
        }
    }
    return out;
}

Bytes ZlibCompress(const Bytes& data)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 6);
    out.resize(size);
    return out;
}

TestPngFile& TestPngFile::Chunk(const std::string& type, const Bytes& data, bool goodCrc)
{
    PutBigEndian32(m_chunks, static_cast<uint32_t>(data.size()));
    Bytes typed(type.begin(), type.end());
    typed.insert(typed.end(), data.begin(), data.end());
    m_chunks.insert(m_chunks.end(), typed.begin(), typed.end());
    const uint32_t crc = static_cast<uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size())));
    PutBigEndian32(m_chunks, goodCrc ? crc : ~crc);
    return *this;
}

Bytes HeaderData(uint32_t width, uint32_t height, unsigned depth, unsigned colourType, unsigned interlace,
                 unsigned compression, unsigned filter)
{
    Bytes h;
    PutBigEndian32(h, width);
    PutBigEndian32(h, height);
    for (unsigned v : {depth, colourType, compression, filter, interlace}) {
        h.push_back(static_cast<uint8_t>(v));
    }
    return h;
}

TestPngFile& TestPngFile::Header(uint32_t width, uint32_t height, unsigned depth, unsigned colourType,
                                 unsigned interlace)
{
    return Chunk("IHDR", HeaderData(width, height, depth, colourType, interlace));
}

TestPngFile& TestPngFile::Data(const Bytes& compressed, unsigned pieces)
{
    const size_t step = (compressed.size() + pieces - 1) / pieces;
    for (unsigned i = 0; i < pieces; ++i) {
        const size_t from = std::min(compressed.size(), i * step);
        const size_t to = std::min(compressed.size(), from + step);
        Chunk("IDAT", Bytes(compressed.begin() + static_cast<long>(from),
                            compressed.begin() + static_cast<long>(to)));
    }
    return *this;
}

TestPngFile& TestPngFile::End()
{
    return Chunk("IEND", {});
}

Bytes TestPngFile::File() const
{
    static const uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    Bytes file(sizeof(kSignature) + m_chunks.size());
    std::copy(std::begin(kSignature), std::end(kSignature), file.begin());
    std::copy(m_chunks.begin(), m_chunks.end(), file.begin() + sizeof(kSignature));
    return file;
}

TestPngOptions::TestPngOptions() : filters{0, 1, 2, 3, 4} {}

TestPngFile EncodeTestPng(const TestPicture& picture, const TestPngOptions& options)
{
    TestPngFile file;
    file.Header(picture.width, picture.height, picture.depth, picture.colourType,
                options.adam7 ? 1 : 0);
    if (!options.palette.empty()) {
        file.Chunk("PLTE", options.palette);
    }
    if (!options.transparency.empty()) {
        file.Chunk("tRNS", options.transparency);
    }
    file.Data(ZlibCompress(ScanlineData(picture, options.adam7, options.filters)), options.pieces);
    file.End();
    return file;
}

static unsigned Blend(unsigned v, unsigned bg, unsigned a)
{
    return (v * a + (255 - a) * bg) / 255;
}

static uint32_t Rgb(unsigned r, unsigned g, unsigned b)
{
    return r << 16 | g << 8 | b;
}

uint32_t ReferencePixel(const TestPicture& p, uint32_t x, uint32_t y, const Bytes& palette,
                       const Bytes& trns, uint32_t background)
{
    const unsigned bgR = background & 0xFF, bgG = background >> 8 & 0xFF, bgB = background >> 16;
    auto top = [&](unsigned c) { return p.depth == 16 ? p.Sample(x, y, c) >> 8 : p.Sample(x, y, c); };
    switch (p.colourType) {
    case 0: {
        if (trns.size() >= 2 && p.Sample(x, y, 0) == (trns[0] << 8 | trns[1])) {
            return Rgb(bgR, bgG, bgB);
        }
        const unsigned v = p.depth >= 8 ? top(0) : p.Sample(x, y, 0) * 255 / ((1u << p.depth) - 1);
        return Rgb(v, v, v);
    }
    case 2: {
        if (trns.size() >= 6 && p.Sample(x, y, 0) == (trns[0] << 8 | trns[1]) &&
            p.Sample(x, y, 1) == (trns[2] << 8 | trns[3]) && p.Sample(x, y, 2) == (trns[4] << 8 | trns[5])) {
            return Rgb(bgR, bgG, bgB);
        }
        return Rgb(top(0), top(1), top(2));
    }
    case 3: {
        const unsigned i = p.Sample(x, y, 0);
        const unsigned a = i < trns.size() ? trns[i] : 255;
        return Rgb(Blend(palette[3 * i], bgR, a), Blend(palette[3 * i + 1], bgG, a),
                   Blend(palette[3 * i + 2], bgB, a));
    }
    case 4:
        return Rgb(Blend(top(0), bgR, top(1)), Blend(top(0), bgG, top(1)), Blend(top(0), bgB, top(1)));
    default:
        return Rgb(Blend(top(0), bgR, top(3)), Blend(top(1), bgG, top(3)), Blend(top(2), bgB, top(3)));
    }
}


// Decoding large PNGs with the decoder core and, in the same process, with
// libpng to 8-bit RGB(A). The pictures (4000 x 3000: RGB, RGBA, 16-bit RGB,
// palette, and the RGB one Adam7-interlaced) are written once with libpng's
// own encoder and its adaptive filters into $GLIM_BENCH_DATA. Before timing,
// both decodes are compared pixel by pixel.
#include "image/PNGCORE.h"

#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kWidth = 4000;
constexpr uint32_t kHeight = 3000;
constexpr uint32_t kBackground = 0x204080;  // red 0x80, green 0x40, blue 0x20
constexpr int kRounds = 5;

struct Picture {
    const char* name;
    int colourType;
    int depth;
    bool adam7;
};

const Picture kPictures[] = {
    {"png_rgb8", PNG_COLOR_TYPE_RGB, 8, false},
    {"png_rgba8", PNG_COLOR_TYPE_RGB_ALPHA, 8, false},
    {"png_rgb16", PNG_COLOR_TYPE_RGB, 16, false},
    {"png_palette8", PNG_COLOR_TYPE_PALETTE, 8, false},
    {"png_rgb8_adam7", PNG_COLOR_TYPE_RGB, 8, true},
};

// Photograph-like content: smooth gradients, some shapes, a little noise, so
// that filters and compression behave as on real pictures.
uint16_t Sample(uint32_t x, uint32_t y, int channel, uint32_t& noise)
{
    noise = noise * 1664525u + 1013904223u;
    const int n = static_cast<int>(noise >> 28) - 8;
    const double fx = double(x) / kWidth, fy = double(y) / kHeight;
    double v = 0;
    switch (channel) {
    case 0: v = 0.5 + 0.4 * fx - 0.2 * fy; break;
    case 1: v = 0.3 + 0.5 * fy * fx; break;
    case 2: v = 0.8 - 0.6 * fx * fx; break;
    default: v = 0.5 + 0.5 * ((x / 200 + y / 150) % 2); break;
    }
    const uint32_t dx = x % 500, dy = y % 400;
    if (dx * dx + dy * dy < 150 * 150) {
        v = 1.0 - v;
    }
    const int value = static_cast<int>(v * 65535) + n * 64;
    return static_cast<uint16_t>(std::clamp(value, 0, 65535));
}

void WriteToBytes(png_structp png, png_bytep data, png_size_t size)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void FlushNothing(png_structp) {}

Bytes EncodeWithLibpng(const Picture& p)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        std::fprintf(stderr, "bench_png: libpng could not write %s\n", p.name);
        std::exit(1);
    }
    png_set_write_fn(png, &out, WriteToBytes, FlushNothing);
    png_set_IHDR(png, info, kWidth, kHeight, p.depth, p.colourType,
                 p.adam7 ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette(256);
    if (p.colourType == PNG_COLOR_TYPE_PALETTE) {
        for (int i = 0; i < 256; ++i) {
            palette[i] = {static_cast<png_byte>(i), static_cast<png_byte>(255 - i), static_cast<png_byte>(i * 7)};
        }
        png_set_PLTE(png, info, palette.data(), 256);
    }
    png_write_info(png, info);
    const int channels = p.colourType == PNG_COLOR_TYPE_RGB ? 3 : p.colourType == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : 1;
    const size_t rowBytes = size_t{kWidth} * channels * (p.depth / 8);
    std::vector<Bytes> rows(kHeight, Bytes(rowBytes));
    uint32_t noise = 12345;
    for (uint32_t y = 0; y < kHeight; ++y) {
        uint8_t* r = rows[y].data();
        for (uint32_t x = 0; x < kWidth; ++x) {
            for (int c = 0; c < channels; ++c) {
                const uint16_t v = Sample(x, y, p.colourType == PNG_COLOR_TYPE_PALETTE ? (x / 64 + y / 48) % 3 : c, noise);
                if (p.depth == 16) {
                    *r++ = static_cast<uint8_t>(v >> 8);
                    *r++ = static_cast<uint8_t>(v);
                } else {
                    *r++ = static_cast<uint8_t>(v >> 8);
                }
            }
        }
    }
    std::vector<png_bytep> pointers;
    for (Bytes& row : rows) {
        pointers.push_back(row.data());
    }
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes LoadOrMake(const Picture& p, const std::string& folder)
{
    const std::string path = folder + "/" + p.name + ".png";
    Bytes bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fseek(f, 0, SEEK_END);
        bytes.resize(static_cast<size_t>(std::ftell(f)));
        std::fseek(f, 0, SEEK_SET);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
    }
    if (bytes.size() > 8) {
        return bytes;
    }
    bytes = EncodeWithLibpng(p);
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return bytes;
}

struct MemoryReader {
    const Bytes* bytes;
    size_t pos;
};

void ReadFromBytes(png_structp png, png_bytep data, png_size_t size)
{
    auto* in = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (in->pos + size > in->bytes->size()) {
        png_error(png, "read past the end");
    }
    std::memcpy(data, in->bytes->data() + in->pos, size);
    in->pos += size;
}

// libpng to 8-bit RGB or RGBA in one buffer, top row first.
bool DecodeWithLibpng(const Bytes& file, std::unique_ptr<uint8_t[]>& pixels, int& channels)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    MemoryReader reader = {&file, 0};
    png_set_read_fn(png, &reader, ReadFromBytes);
    png_read_info(png, info);
    png_set_strip_16(png);
    png_set_palette_to_rgb(png);
    png_set_expand_gray_1_2_4_to_8(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    const uint32_t height = png_get_image_height(png, info);
    channels = png_get_channels(png, info);
    // A new picture each time, as the core makes a new bitmap each time; like
    // the core's block, its memory is not touched before the rows are written.
    pixels.reset(new uint8_t[rowBytes * height]);
    std::vector<png_bytep> rows(height);
    for (uint32_t y = 0; y < height; ++y) {
        rows[y] = pixels.get() + y * rowBytes;
    }
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

bool DecodeWithCore(const Bytes& file, CLSDibBlock& block)
{
    return DecodePngBlock(file.data() + 8, file.size() - 8, kBackground, block);
}

unsigned Blend(unsigned v, unsigned bg, unsigned a)
{
    return (v * a + (255 - a) * bg) / 255;
}

// The core's bitmap against libpng's samples, composited the same way.
bool SamePicture(const CLSDibBlock& block, const uint8_t* reference, int channels)
{
    const unsigned bg[3] = {kBackground & 0xFF, kBackground >> 8 & 0xFF, kBackground >> 16};
    for (uint32_t y = 0; y < kHeight; ++y) {
        const uint8_t* row = block.TopDownRow(y);
        const uint8_t* ref = reference + size_t{y} * kWidth * channels;
        for (uint32_t x = 0; x < kWidth; ++x, ref += channels) {
            unsigned want[3] = {ref[0], ref[1], ref[2]};
            if (channels == 4) {
                for (int c = 0; c < 3; ++c) {
                    want[c] = Blend(want[c], bg[c], ref[3]);
                }
            }
            const uint8_t* got = block.BitCount() == 8 ? block.ColourTable() + 4 * row[x] : row + 3 * x;
            if (got[2] != want[0] || got[1] != want[1] || got[0] != want[2]) {
                std::fprintf(stderr, "bench_png: pixel %u,%u differs from libpng\n", x, y);
                return false;
            }
        }
    }
    return true;
}

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main()
{
    const char* data = std::getenv("GLIM_BENCH_DATA");
    const std::string folder = data != nullptr ? data : "/tmp";
    for (const Picture& p : kPictures) {
        const Bytes file = LoadOrMake(p, folder);
        CLSDibBlock block;
        std::unique_ptr<uint8_t[]> reference;
        int channels = 0;
        if (!DecodeWithCore(file, block) || !DecodeWithLibpng(file, reference, channels) ||
            !SamePicture(block, reference.get(), channels)) {
            std::fprintf(stderr, "bench_png: %s does not decode alike\n", p.name);
            return 1;
        }
        double best = 1e9, bestBaseline = 1e9;
        for (int round = 0; round < kRounds; ++round) {
            auto start = std::chrono::steady_clock::now();
            DecodeWithCore(file, block);
            best = std::min(best, Seconds(start));
            start = std::chrono::steady_clock::now();
            DecodeWithLibpng(file, reference, channels);
            bestBaseline = std::min(bestBaseline, Seconds(start));
        }
        std::printf("BENCH name=%s bytes=%zu seconds=%.4f baseline=libpng baseline_seconds=%.4f ratio=%.3f\n",
                    p.name, file.size(), best, bestBaseline, best / bestBaseline);
        std::fflush(stdout);
    }
    return 0;
}

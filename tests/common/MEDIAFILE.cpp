// BMP and RIFF writers for the picture and media tests.
#include "tests/common/MEDIAFILE.h"

#include <initializer_list>

namespace {

// Little-endian values of the given byte width.
template <int Bytes>
void Put(std::string& out, std::initializer_list<std::uint32_t> values)
{
    for (std::uint32_t v : values) {
        for (int i = 0; i < Bytes; ++i) {
            out += static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    }
}

// A chunk: tag, length, data, a pad byte when the length is odd.
std::string Chunk(const char* tag, const std::string& data)
{
    std::string out(tag, 4);
    Put<4>(out, {static_cast<std::uint32_t>(data.size())});
    out += data;
    if (data.size() % 2 != 0) {
        out += '\0';
    }
    return out;
}

// RIFF and LIST: tag, length, form type, contents.
std::string List(const char* tag, const char* type, const std::string& contents)
{
    return Chunk(tag, std::string(type, 4) + contents);
}

constexpr std::uint32_t kFrameColours[3] = {0xC00000, 0x00C000, 0x0000C0};

// Bottom-up rows of 24-bit pixels, each row padded to 4 bytes.
std::string Rows(int width, int height, const std::function<std::uint32_t(int x, int y)>& pixel)
{
    const int stride = (width * 3 + 3) & ~3;
    std::string rows(static_cast<size_t>(stride) * height, '\0');
    for (int y = 0; y < height; ++y) {
        char* row = &rows[static_cast<size_t>(height - 1 - y) * stride];
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = pixel(x, y);
            row[3 * x] = static_cast<char>(rgb & 0xFF);  // blue first
            row[3 * x + 1] = static_cast<char>((rgb >> 8) & 0xFF);
            row[3 * x + 2] = static_cast<char>((rgb >> 16) & 0xFF);
        }
    }
    return rows;
}

// The BITMAPINFOHEADER of 24-bit BI_RGB pixels at 72 dots per inch.
std::string BitmapHeader(int width, int height, std::uint32_t imageBytes)
{
    std::string out;
    Put<4>(out, {40, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)});
    Put<2>(out, {1, 24});  // planes, bits
    Put<4>(out, {0, imageBytes, 2835, 2835, 0, 0});
    return out;
}

}  // namespace

std::string MakeBitmap(int width, int height, const std::function<std::uint32_t(int x, int y)>& pixel)
{
    const std::string rows = Rows(width, height, pixel);
    std::string out = "BM";
    Put<4>(out, {static_cast<std::uint32_t>(14 + 40 + rows.size()), 0, 14 + 40});  // size, reserved, pixels' offset
    return out + BitmapHeader(width, height, static_cast<std::uint32_t>(rows.size())) + rows;
}

std::string MakeWave(unsigned milliseconds)
{
    constexpr std::uint32_t kRate = 8000;
    std::string format;
    Put<2>(format, {1, 1});        // PCM, mono
    Put<4>(format, {kRate, kRate});  // samples and bytes per second
    Put<2>(format, {1, 8});        // block align, bits per sample
    const std::string samples(static_cast<size_t>(kRate) * milliseconds / 1000, static_cast<char>(0x80));
    return List("RIFF", "WAVE", Chunk("fmt ", format) + Chunk("data", samples));
}

std::string MakeAvi(int width, int height, unsigned frames, unsigned framesPerSecond)
{
    const std::uint32_t w = static_cast<std::uint32_t>(width);
    const std::uint32_t h = static_cast<std::uint32_t>(height);
    const std::uint32_t frameBytes = ((w * 3 + 3) & ~3u) * h;

    // Microseconds per frame, bytes per second, padding, AVIF_HASINDEX,
    // frames, initial frames, streams, buffer size, size, reserved.
    std::string main;
    Put<4>(main, {1000000 / framesPerSecond, frameBytes * framesPerSecond, 0, 0x10, frames, 0, 1, frameBytes, w, h,
                  0, 0, 0, 0});

    // Flags, priority and language, initial frames, scale, rate, start,
    // length, buffer size, quality, sample size, the frame rectangle.
    std::string stream = "vidsDIB ";
    Put<4>(stream, {0});
    Put<2>(stream, {0, 0});
    Put<4>(stream, {0, 1, framesPerSecond, 0, frames, frameBytes, 0xFFFFFFFF, 0});
    Put<2>(stream, {0, 0, w, h});

    const std::string streamList =
        List("LIST", "strl", Chunk("strh", stream) + Chunk("strf", BitmapHeader(width, height, frameBytes)));
    const std::string header = List("LIST", "hdrl", Chunk("avih", main) + streamList);
    std::string movie;
    std::string index;
    for (unsigned k = 0; k < frames; ++k) {
        index += "00db";
        Put<4>(index, {0x10, static_cast<std::uint32_t>(movie.size() + 4), frameBytes});  // key frame, from 'movi'
        movie += Chunk("00db", Rows(width, height, [k](int, int) { return kFrameColours[k % 3]; }));
    }
    return List("RIFF", "AVI ", header + List("LIST", "movi", movie) + Chunk("idx1", index));
}

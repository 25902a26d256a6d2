// BMP and RIFF writers for the picture and media tests.
#include "MEDIAFILE.h"

#include <vector>

namespace {

void PutU16(std::string& out, std::uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void PutU32(std::string& out, std::uint32_t v)
{
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

// A chunk: tag, length, data, a pad byte when the length is odd.
std::string Chunk(const char* tag, const std::string& data)
{
    std::string out(tag, 4);
    PutU32(out, static_cast<std::uint32_t>(data.size()));
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
        const size_t row = static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = pixel(x, y);
            const size_t at = row + static_cast<size_t>(x) * 3;
            rows[at] = static_cast<char>(rgb & 0xFF);  // blue first
            rows[at + 1] = static_cast<char>((rgb >> 8) & 0xFF);
            rows[at + 2] = static_cast<char>((rgb >> 16) & 0xFF);
        }
    }
    return rows;
}

std::string Frame(int width, int height, std::uint32_t rgb)
{
    return Rows(width, height, [rgb](int, int) { return rgb; });
}

}  // namespace

std::string MakeBitmap(int width, int height, const std::function<std::uint32_t(int x, int y)>& pixel)
{
    const std::string rows = Rows(width, height, pixel);
    std::string out = "BM";
    PutU32(out, static_cast<std::uint32_t>(14 + 40 + rows.size()));
    PutU32(out, 0);
    PutU32(out, 14 + 40);  // offset of the pixels
    PutU32(out, 40);
    PutU32(out, static_cast<std::uint32_t>(width));
    PutU32(out, static_cast<std::uint32_t>(height));
    PutU16(out, 1);   // planes
    PutU16(out, 24);  // bits
    PutU32(out, 0);   // BI_RGB
    PutU32(out, static_cast<std::uint32_t>(rows.size()));
    PutU32(out, 2835);  // 72 dots per inch
    PutU32(out, 2835);
    PutU32(out, 0);
    PutU32(out, 0);
    return out + rows;
}

std::string MakeWave(unsigned milliseconds)
{
    constexpr std::uint32_t kRate = 8000;
    std::string format;
    PutU16(format, 1);  // PCM
    PutU16(format, 1);  // mono
    PutU32(format, kRate);
    PutU32(format, kRate);  // bytes per second
    PutU16(format, 1);      // block align
    PutU16(format, 8);      // bits per sample
    const std::string samples(static_cast<size_t>(kRate) * milliseconds / 1000, static_cast<char>(0x80));
    return List("RIFF", "WAVE", Chunk("fmt ", format) + Chunk("data", samples));
}

std::string MakeAvi(int width, int height, unsigned frames, unsigned framesPerSecond)
{
    const std::uint32_t frameBytes = static_cast<std::uint32_t>(((width * 3 + 3) & ~3) * height);

    std::string main;
    PutU32(main, 1000000 / framesPerSecond);  // microseconds per frame
    PutU32(main, frameBytes * framesPerSecond);
    PutU32(main, 0);     // padding granularity
    PutU32(main, 0x10);  // AVIF_HASINDEX
    PutU32(main, frames);
    PutU32(main, 0);  // initial frames
    PutU32(main, 1);  // streams
    PutU32(main, frameBytes);
    PutU32(main, static_cast<std::uint32_t>(width));
    PutU32(main, static_cast<std::uint32_t>(height));
    main += std::string(16, '\0');

    std::string stream = "vids";
    stream += "DIB ";
    PutU32(stream, 0);  // flags
    PutU16(stream, 0);  // priority
    PutU16(stream, 0);  // language
    PutU32(stream, 0);  // initial frames
    PutU32(stream, 1);  // scale
    PutU32(stream, framesPerSecond);
    PutU32(stream, 0);  // start
    PutU32(stream, frames);
    PutU32(stream, frameBytes);
    PutU32(stream, 0xFFFFFFFF);  // quality
    PutU32(stream, 0);           // sample size
    PutU16(stream, 0);
    PutU16(stream, 0);
    PutU16(stream, static_cast<std::uint32_t>(width));
    PutU16(stream, static_cast<std::uint32_t>(height));

    std::string bitmap;
    PutU32(bitmap, 40);
    PutU32(bitmap, static_cast<std::uint32_t>(width));
    PutU32(bitmap, static_cast<std::uint32_t>(height));
    PutU16(bitmap, 1);   // planes
    PutU16(bitmap, 24);  // bits
    PutU32(bitmap, 0);   // BI_RGB
    PutU32(bitmap, frameBytes);
    bitmap += std::string(16, '\0');  // resolution and colour counts

    const std::string header = List("LIST", "hdrl",
                                    Chunk("avih", main) +
                                        List("LIST", "strl", Chunk("strh", stream) + Chunk("strf", bitmap)));

    std::string movie;
    std::string index;
    for (unsigned k = 0; k < frames; ++k) {
        index += "00db";
        PutU32(index, 0x10);  // AVIIF_KEYFRAME
        PutU32(index, static_cast<std::uint32_t>(movie.size() + 4));  // from the 'movi' tag
        PutU32(index, frameBytes);
        movie += Chunk("00db", Frame(width, height, kFrameColours[k % 3]));
    }
    return List("RIFF", "AVI ", header + List("LIST", "movi", movie) + Chunk("idx1", index));
}

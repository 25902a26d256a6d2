// A small PNG writer for the tests and the fuzz seeder: pictures made in code,
// written with every filter type, plain or Adam7, with chunks arranged at will
// (split data, extra chunks, broken CRCs). Pure: builds natively too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// A picture in PNG's own terms: samples of depth bits, channels per pixel by
// colour type, row-major.
struct TestPicture {
    uint32_t width = 0;
    uint32_t height = 0;
    unsigned depth = 8;
    unsigned colourType = 2;
    std::vector<uint16_t> samples;

    unsigned Channels() const;
    uint16_t Sample(uint32_t x, uint32_t y, unsigned channel) const;
};

TestPicture MakeTestPicture(uint32_t width, uint32_t height, unsigned depth, unsigned colourType);

// Fills every sample with a reproducible pseudo-random value of the depth.
void FillRandom(TestPicture& picture, uint32_t seed);

// The inflated image data: per row a filter byte and the filtered row. The
// filter of row k (counted over all passes) is filters[k % filters.size()].
Bytes ScanlineData(const TestPicture& picture, bool adam7, const std::vector<uint8_t>& filters);

Bytes ZlibCompress(const Bytes& data);

// IHDR contents; compression and filter methods other than 0 are not PNG's.
Bytes HeaderData(uint32_t width, uint32_t height, unsigned depth, unsigned colourType, unsigned interlace = 0,
                 unsigned compression = 0, unsigned filter = 0);

// A PNG file assembled chunk by chunk.
class TestPngFile {
public:
    TestPngFile& Chunk(const std::string& type, const Bytes& data, bool goodCrc = true);
    TestPngFile& Header(uint32_t width, uint32_t height, unsigned depth, unsigned colourType,
                        unsigned interlace = 0);
    // The compressed data cut into pieces IDAT chunks of about equal size
    // (the last one possibly empty).
    TestPngFile& Data(const Bytes& compressed, unsigned pieces = 1);
    TestPngFile& End();

    Bytes Chunks() const { return m_chunks; }  // without the signature
    Bytes File() const;                        // with it

private:
    Bytes m_chunks;
};

struct TestPngOptions {
    TestPngOptions();  // all five filters in turn
    bool adam7 = false;
    std::vector<uint8_t> filters;
    Bytes palette;       // PLTE contents, red, green, blue per entry
    Bytes transparency;  // tRNS contents
    unsigned pieces = 1;
};

// What PNG says pixel (x, y) looks like composited over background (red in the
// low byte), as 0xRRGGBB: grey levels scaled to 0..255, 16-bit samples by their
// high byte, colour keys compared with all bits, alpha blended in integers.
uint32_t ReferencePixel(const TestPicture& picture, uint32_t x, uint32_t y, const Bytes& palette,
                        const Bytes& trns, uint32_t background);

// IHDR, PLTE and tRNS when given, the IDAT chunks, IEND.
TestPngFile EncodeTestPng(const TestPicture& picture, const TestPngOptions& options);

// The PNG decoder core on pictures the tests write themselves: every colour
// type and depth, interlaced and not, transparency over a background, and the
// chunk layouts a file may or may not have.
#include "image/PNGCORE.h"
#include "tests/image/PNGWRITE.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// COLORREF-style backgrounds: red in the low byte.
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kDusk = 0x204080;  // red 0x80, green 0x40, blue 0x20

uint32_t Le32(const uint8_t* p)
{
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// The colour of pixel (x, y) of a decoded block as 0xRRGGBB, through its
// colour table when it has one.
uint32_t BlockPixel(const CLSDibBlock& block, uint32_t x, uint32_t y)
{
    const uint8_t* row = block.TopDownRow(y);
    const unsigned bits = block.BitCount();
    if (bits == 24) {
        const uint8_t* p = row + 3 * size_t{x};
        return uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
    }
    const size_t bit = size_t{x} * bits;
    const unsigned index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
    const uint32_t used = Le32(block.Data() + 32);
    if (index >= used) {
        return 0xDEAD00;  // an index the table does not cover
    }
    const uint8_t* e = block.ColourTable() + 4 * index;
    return uint32_t{e[2]} << 16 | uint32_t{e[1]} << 8 | e[0];
}

// Decodes and compares every pixel with what PNG says it is.
void ExpectDecodes(const TestPicture& picture, const TestPngOptions& options, uint32_t background,
                   unsigned expectedBits)
{
    const Bytes chunks = EncodeTestPng(picture, options).Chunks();
    CLSDibBlock block;
    ASSERT_TRUE(DecodePngBlock(chunks.data(), chunks.size(), background, block));
    EXPECT_EQ(block.Width(), picture.width);
    EXPECT_EQ(block.Height(), picture.height);
    EXPECT_EQ(block.BitCount(), expectedBits);
    EXPECT_EQ(Le32(block.Data()), 40u);
    EXPECT_EQ(Le32(block.Data() + 8), picture.height) << "positive height: rows bottom-up";
    int wrong = 0;
    for (uint32_t y = 0; y < picture.height; ++y) {
        for (uint32_t x = 0; x < picture.width; ++x) {
            const uint32_t want = ReferencePixel(picture, x, y, options.palette, options.transparency, background);
            const uint32_t got = BlockPixel(block, x, y);
            if (got != want && ++wrong <= 3) {
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << got << " want " << want;
            }
        }
    }
}

struct Format {
    unsigned colourType, depth, outputBits;
};

}  // namespace

TEST(PngCore, DecodesEveryColourTypeAndDepthPlainAndInterlaced)
{
    const Format formats[] = {
        {0, 1, 1}, {0, 2, 4}, {0, 4, 4},  {0, 8, 8},  {0, 16, 8}, {2, 8, 24}, {2, 16, 24},
        {3, 1, 1}, {3, 2, 4}, {3, 4, 4},  {3, 8, 8},  {4, 8, 24}, {4, 16, 24}, {6, 8, 24},
        {6, 16, 24},
    };
    struct Size {
        uint32_t width, height;
    };
    // 13 x 7 fills every Adam7 pass and ends rows inside a byte; 1 x 1 and
    // 3 x 2 leave passes empty.
    const Size sizes[] = {{13, 7}, {1, 1}, {3, 2}, {17, 9}};
    uint32_t seed = 1;
    for (const Format& f : formats) {
        for (const Size& s : sizes) {
            for (bool adam7 : {false, true}) {
                SCOPED_TRACE("type " + std::to_string(f.colourType) + " depth " + std::to_string(f.depth) +
                             " size " + std::to_string(s.width) + "x" + std::to_string(s.height) +
                             (adam7 ? " Adam7" : ""));
                TestPicture picture = MakeTestPicture(s.width, s.height, f.depth, f.colourType);
                FillRandom(picture, ++seed);
                TestPngOptions options;
                options.adam7 = adam7;
                if (f.colourType == 3) {  // a random palette of every entry the depth can index
                    TestPicture colours = MakeTestPicture(1u << f.depth, 1, 8, 2);
                    FillRandom(colours, seed);
                    options.palette.assign(colours.samples.begin(), colours.samples.end());
                }
                ExpectDecodes(picture, options, kDusk, f.outputBits);
            }
        }
    }
}

// Exact pixel values through the colour tables, over two backgrounds.
TEST(PngCore, ColourTablesAndTransparency)
{
    struct Case {
        const char* name;
        unsigned colourType, depth;
        std::vector<uint16_t> samples;
        Bytes palette, trns;
        std::vector<uint32_t> overWhite, overDusk;
    };
    const uint32_t W = 0xFFFFFF, D = 0x804020;  // the backgrounds as 0xRRGGBB
    Bytes palette300;  // entries past 255 differ, should they wrap around
    for (unsigned i = 0; i < 300; ++i) {
        palette300.insert(palette300.end(), {uint8_t(i), uint8_t(i < 256 ? 7 : 99), uint8_t(255 - i % 256)});
    }
    const Case cases[] = {
        {"2-bit grey levels", 0, 2, {0, 1, 2, 3}, {}, {},
         {0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF}, {0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF}},
        {"grey 8-bit key", 0, 8, {0x10, 0x80, 0xF0}, {}, {0, 0x80},
         {0x101010, W, 0xF0F0F0}, {0x101010, D, 0xF0F0F0}},
        {"grey 2-bit key", 0, 2, {0, 1, 2, 3}, {}, {0, 2},
         {0x000000, 0x555555, W, 0xFFFFFF}, {0x000000, 0x555555, D, 0xFFFFFF}},
        {"grey 8-bit key: only its low byte counts", 0, 8, {5, 6}, {}, {1, 5}, {W, 0x060606}, {D, 0x060606}},
        {"grey 2-bit key beyond the depth matches nothing", 0, 2, {0, 1}, {}, {0, 5},
         {0x000000, 0x555555}, {0x000000, 0x555555}},
        {"RGB key by low bytes", 2, 8, {10, 20, 30, 10, 20, 31}, {}, {1, 10, 2, 20, 3, 30},
         {W, 0x0A141F}, {D, 0x0A141F}},
        {"palette alpha", 3, 2, {0, 1, 2, 3}, {255, 0, 0, 0, 255, 0, 0, 0, 255, 200, 100, 50}, {0, 128, 255},
         {W, 0x7FFF7F, 0x0000FF, 0xC86432}, {D, 0x3F9F0F, 0x0000FF, 0xC86432}},
        {"RGBA", 6, 8, {200, 100, 50, 128, 10, 20, 30, 0, 1, 2, 3, 255}, {}, {},
         {0xE3B198, W, 0x010203}, {0xA45229, D, 0x010203}},
        {"RGBA 16-bit by high bytes", 6, 16, {0xC8FF, 0x6400, 0x3212, 0x80FF}, {}, {},
         {0xE3B198}, {0xA45229}},
        {"grey and alpha", 4, 8, {100, 64, 255, 255}, {}, {}, {0xD8D8D8, 0xFFFFFF}, {0x784931, 0xFFFFFF}},
        // A 16-bit key compares all 16 bits: equal high bytes are not enough.
        {"RGB 16-bit key", 2, 16,
         {0x1234, 0x5678, 0x9ABC, 0x1200, 0x5600, 0x9A00, 0x1234, 0x5678, 0x9ABD}, {},
         {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}, {W, 0x12569A, 0x12569A}, {D, 0x12569A, 0x12569A}},
        {"grey 16-bit key", 0, 16, {0x1234, 0x1200, 0x12FF}, {}, {0x12, 0x34},
         {W, 0x121212, 0x121212}, {D, 0x121212, 0x121212}},
        // Short or long tables: no key, nothing blended or read past the palette.
        {"grey key of one byte", 0, 8, {0, 9}, {}, {0}, {0x000000, 0x090909}, {0x000000, 0x090909}},
        {"RGB key of five bytes", 2, 8, {0, 0, 9}, {}, {0, 0, 0, 0, 0}, {0x000009}, {0x000009}},
        {"alpha beyond the palette", 3, 2, {0, 1, 2, 3}, Bytes(12, 200), Bytes(300, 0), {W, W, W, W}, {D, D, D, D}},
        {"indices beyond the palette are black", 3, 2, {0, 1, 2, 3}, Bytes(6, 255), {},
         {W, W, 0x000000, 0x000000}, {W, W, 0x000000, 0x000000}},
        {"300 palette and alpha entries: the first 256 count", 3, 8, {0, 1, 254, 255}, palette300, Bytes(300, 255),
         {0x0007FF, 0x0107FE, 0xFE0701, 0xFF0700}, {0x0007FF, 0x0107FE, 0xFE0701, 0xFF0700}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const uint32_t width = static_cast<uint32_t>(c.overWhite.size());
        TestPicture picture = MakeTestPicture(width, 1, c.depth, c.colourType);
        picture.samples = c.samples;
        TestPngOptions options;
        options.palette = c.palette;
        options.transparency = c.trns;
        const Bytes chunks = EncodeTestPng(picture, options).Chunks();
        for (bool dusk : {false, true}) {
            CLSDibBlock block;
            ASSERT_TRUE(DecodePngBlock(chunks.data(), chunks.size(), dusk ? kDusk : kWhite, block));
            const std::vector<uint32_t>& want = dusk ? c.overDusk : c.overWhite;
            for (uint32_t x = 0; x < width; ++x) {
                EXPECT_EQ(BlockPixel(block, x, 0), want[x]) << "pixel " << x << (dusk ? " over dusk" : " over white");
            }
        }
    }
}

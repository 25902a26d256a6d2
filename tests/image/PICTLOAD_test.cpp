// The picture loading chain under Wine: the system loader's formats, the PNG
// decoder behind it, and the Windows step of the decoder.
#include "image/PICTHEAD.h"
#include "image/PICTLOAD.h"
#include "image/PNGDEC.h"
#include "tests/image/PICTTEST.h"
#include "tests/image/PNGWRITE.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kDusk = RGB(0x80, 0x40, 0x20);

// A 16 x 8 JPEG: the left 8 x 8 block red, the right one blue.
const uint8_t kRedBlueJpeg[] = {
    0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01,
    0x00, 0x01, 0x00, 0x00, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x02, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02,
    0x01, 0x01, 0x01, 0x02, 0x02, 0x02, 0x02, 0x02, 0x04, 0x03, 0x02, 0x02, 0x02, 0x02, 0x05, 0x04,
    0x04, 0x03, 0x04, 0x06, 0x05, 0x06, 0x06, 0x06, 0x05, 0x06, 0x06, 0x06, 0x07, 0x09, 0x08, 0x06,
    0x07, 0x09, 0x07, 0x06, 0x06, 0x08, 0x0B, 0x08, 0x09, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x06, 0x08,
    0x0B, 0x0C, 0x0B, 0x0A, 0x0C, 0x09, 0x0A, 0x0A, 0x0A, 0xFF, 0xDB, 0x00, 0x43, 0x01, 0x02, 0x02,
    0x02, 0x02, 0x02, 0x02, 0x05, 0x03, 0x03, 0x05, 0x0A, 0x07, 0x06, 0x07, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0xFF, 0xC0,
    0x00, 0x11, 0x08, 0x00, 0x08, 0x00, 0x10, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
    0x01, 0xFF, 0xC4, 0x00, 0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0xFF, 0xC4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xC4, 0x00,
    0x16, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x0A, 0x08, 0x09, 0xFF, 0xC4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xDA, 0x00, 0x0C, 0x03,
    0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3F, 0x00, 0x17, 0xA5, 0x36, 0xFE, 0x08, 0x65, 0x50,
    0x35, 0xEF, 0xFF, 0xD9,
};

// Where the tests build their plug-ins: beside the test program.
std::string BuiltPlugin(const char* variant)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.find_last_of('\\') + 1);
    return folder + "testspi_" + variant + ".dll";
}

// A folder with the plug-in that accepts every file as one magenta pixel: a
// file that reaches the plug-ins comes back as that pixel.
struct CatchAllPlugins {
    TempFolder folder;
    CatchAllPlugins() { CopyFileA(BuiltPlugin("any").c_str(), folder.File("any.spi").c_str(), FALSE); }
};

Pixels LoadThroughChain(const Bytes& file, COLORREF background, const char* pluginFolder)
{
    MemoryStream stream(file);
    ScreenDc dc;
    return TakePixels(LoadPicture(&stream, dc, background, pluginFolder, "C:\\no\\such\\file"));
}

bool Near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > tolerance) {
            return false;
        }
    }
    return true;
}

// badLayout: a tEXt chunk before IHDR, which a strict reader refuses and the
// decoder skips like any other chunk it has no use for.
Bytes RgbaPng(bool badLayout)
{
    TestPicture picture = MakeTestPicture(3, 2, 8, 6);
    picture.samples = {200, 100, 50, 128, 10, 20, 30, 0, 1, 2, 3, 255,
                       0, 0, 0, 255, 255, 255, 255, 255, 90, 90, 90, 90};
    TestPngFile file;
    if (badLayout) {
        file.Chunk("tEXt", {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'x'});
    }
    file.Header(3, 2, 8, 6);
    file.Chunk("IDAT", ZlibCompress(ScanlineData(picture, false, {4})));
    file.End();
    return file.File();
}

}  // namespace

TEST(DecodePng, MakesTheBitmapOfTheDecodedPicture)
{
    struct Case {
        const char* name;
        unsigned colourType, depth;
        bool adam7;
        Bytes palette, trns;
        COLORREF background;
    };
    const Case cases[] = {
        {"RGBA over white", 6, 8, false, {}, {}, kWhite},
        {"RGBA over dusk, interlaced", 6, 8, true, {}, {}, kDusk},
        {"1-bit palette", 3, 1, false, {250, 0, 0, 0, 0, 250}, {}, kWhite},
        {"2-bit grey with a key", 0, 2, true, {}, {0, 1}, kDusk},
        {"16-bit grey with a key", 0, 16, false, {}, {0x12, 0x34}, kDusk},
        {"4-bit palette with alpha", 3, 4, false, Bytes(48, 99), Bytes(16, 77), kDusk},
    };
    ScreenDc dc;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestPicture picture = MakeTestPicture(11, 6, c.depth, c.colourType);
        FillRandom(picture, 5);
        if (c.colourType == 0 && c.depth == 16) {
            picture.SetSample(3, 3, 0, 0x1234);  // one pixel on the key
        }
        TestPngOptions options;
        options.adam7 = c.adam7;
        options.palette = c.palette;
        options.transparency = c.trns;
        const Bytes chunks = EncodeTestPng(picture, options).Chunks();
        const Pixels pixels = TakePixels(DecodePng(dc, chunks.data(), chunks.size(), c.background));
        ASSERT_EQ(pixels.width, 11);
        ASSERT_EQ(pixels.height, 6);
        for (uint32_t y = 0; y < 6; ++y) {
            for (uint32_t x = 0; x < 11; ++x) {
                ASSERT_EQ(pixels.At(static_cast<int>(x), static_cast<int>(y)),
                          ReferencePixel(picture, x, y, c.palette, c.trns, c.background))
                    << "pixel " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(DecodePng(dc, nullptr, 0, kWhite), nullptr);
}

TEST(LoadPicture, SystemLoaderReadsBitmapsGifsAndJpegsBeforeAnythingElse)
{
    const CatchAllPlugins plugins;
    const char* folder = plugins.folder.Path().c_str();

    const std::vector<uint32_t> bmpRgb = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x000000};
    const Pixels bmp = LoadThroughChain(MakeBmp(3, 2, bmpRgb), kDusk, folder);
    ASSERT_EQ(bmp.width, 3);
    ASSERT_EQ(bmp.height, 2);
    EXPECT_EQ(bmp.rgb, bmpRgb);

    // Index 0 is transparent: it shows the background, whichever it is.
    const Bytes gif = MakeGif(4, 2, {0x00FF00, 0xFF0000, 0x0000FF, 0xFFFF00}, {0, 1, 2, 3, 3, 2, 1, 0}, 0);
    for (COLORREF background : {kWhite, kDusk}) {
        const uint32_t bg = uint32_t{GetRValue(background)} << 16 | GetGValue(background) << 8 | GetBValue(background);
        const Pixels pixels = LoadThroughChain(gif, background, folder);
        ASSERT_EQ(pixels.width, 4);
        ASSERT_EQ(pixels.height, 2);
        EXPECT_EQ(pixels.rgb, (std::vector<uint32_t>{bg, 0xFF0000, 0x0000FF, 0xFFFF00, 0xFFFF00, 0x0000FF, 0xFF0000, bg}));
    }

    const Pixels jpeg = LoadThroughChain(Bytes(std::begin(kRedBlueJpeg), std::end(kRedBlueJpeg)), kWhite, folder);
    ASSERT_EQ(jpeg.width, 16);
    ASSERT_EQ(jpeg.height, 8);
    EXPECT_TRUE(Near(jpeg.At(2, 3), 0xFF0000, 12)) << std::hex << jpeg.At(2, 3);
    EXPECT_TRUE(Near(jpeg.At(13, 5), 0x0000FF, 12)) << std::hex << jpeg.At(13, 5);
}

TEST(LoadPicture, PngTheSystemLoaderRefusesGoesToTheDecoder)
{
    // Wine's system loader reads PNG too, but not one with a chunk before IHDR.
    const Bytes png = RgbaPng(true);
    ScreenDc dc;
    MemoryStream stream(png);
    ASSERT_EQ(LoadOlePicture(&stream, dc, kWhite), nullptr) << "the system loader must refuse it";

    const CatchAllPlugins plugins;
    const Pixels pixels = LoadThroughChain(png, kDusk, plugins.folder.Path().c_str());
    ASSERT_EQ(pixels.width, 3) << "decoded, not the plug-in's one pixel";
    ASSERT_EQ(pixels.height, 2);
    EXPECT_EQ(pixels.rgb, (std::vector<uint32_t>{0xA45229, 0x804020, 0x010203, 0x000000, 0xFFFFFF, 0x724934}));
}

TEST(LoadPngPicture, ReadsTheStreamAndNothingBeyond)
{
    const Bytes good = RgbaPng(false);
    Bytes trailing = good;
    trailing.insert(trailing.end(), 100, 0x55);
    Bytes badSignature = good;
    badSignature[1] = 'p';
    struct Case {
        const char* name;
        Bytes file;
        bool picture;
    };
    const Case cases[] = {
        {"a whole PNG", good, true},
        {"bytes after the PNG", trailing, true},
        {"the signature wrong", badSignature, false},
        {"cut inside the data", Bytes(good.begin(), good.begin() + 60), false},
        {"the signature alone", Bytes(good.begin(), good.begin() + 8), false},
        {"seven bytes", Bytes(good.begin(), good.begin() + 7), false},
        {"empty", {}, false},
    };
    ScreenDc dc;
    for (const Case& c : cases) {
        MemoryStream stream(c.file);
        const Pixels pixels = TakePixels(LoadPngPicture(&stream, dc, kWhite));
        EXPECT_EQ(pixels.width != 0, c.picture) << c.name;
        EXPECT_EQ(stream.OtherCalls(), 0) << c.name << ": only Seek and Read";
    }
    EXPECT_EQ(LoadPicture(nullptr, dc, kWhite, nullptr, "x"), nullptr);
}

TEST(LoadOlePicture, OnlyPictureHeadersReachTheSystemLoader)
{
    struct Case {
        const char* name;
        std::string head;
        bool offered;
    };
    std::string emf(44, '\0');
    emf[0] = 1;
    emf.replace(40, 4, " EMF");
    const Case cases[] = {
        {"bitmap", std::string("BM\x36\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00", 18), true},
        {"OS/2 bitmap", std::string("BM\x1A\x00\x00\x00\x00\x00\x00\x00\x1A\x00\x00\x00\x0C\x00\x00\x00", 18), true},
        {"text that starts with BM", "BMW owners club minutes", false},
        {"JPEG", "\xFF\xD8\xFF\xE0", true},
        {"GIF 87a", "GIF87a", true},
        {"GIF 89a", "GIF89a\x01", true},
        {"icon", std::string("\x00\x00\x01\x00", 4), true},
        {"placeable metafile", "\xD7\xCD\xC6\x9A", true},
        {"metafile", std::string("\x01\x00\x09\x00\x00\x03", 6), true},
        {"enhanced metafile", emf, true},
        {"a record that is no metafile", std::string(44, '\0').replace(0, 1, "\x01"), false},
        {"PNG (our own decoder reads it)", "\x89PNG\r\n\x1A\n", false},
        {"text", "BAM! plain text", false},
        {"JPEG cut to two bytes", "\xFF\xD8", false},
        {"GIF of another version", "GIF90a", false},
        {"empty", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsSystemPictureHeader(reinterpret_cast<const unsigned char*>(c.head.data()), c.head.size()),
                  c.offered)
            << c.name;
    }
}

TEST(LoadOlePicture, ALargeTextIsNotReadWhole)
{
    // The system loader reads a stream to its end before it refuses it; a big
    // log file must not cost its whole size on every selection.
    const Bytes text(4 << 20, 'a');
    ScreenDc dc;
    MemoryStream stream(text);
    EXPECT_EQ(LoadOlePicture(&stream, dc, kWhite), nullptr);
    LARGE_INTEGER none{};
    ULARGE_INTEGER position{};
    ASSERT_HRESULT_SUCCEEDED(stream.Seek(none, STREAM_SEEK_CUR, &position));
    EXPECT_LE(position.QuadPart, kPictureHeaderBytes);
}

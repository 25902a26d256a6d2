// The picture loading chain under Wine: the system loader's formats, the PNG
// decoder behind it, and the Windows step of the decoder.
#include "document/FILESTRM.h"
#include "base/WIDEN.h"
#include "image/PICTHEAD.h"
#include "image/PICTLOAD.h"
#include "image/PNGDEC.h"
#include "tests/image/PICTTEST.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kDusk = RGB(0x80, 0x40, 0x20);

// A picture made by make-fixtures.sh.
std::string Fixture(const char* name)
{
    return std::string(GLIM_FIXTURES) + "/" + name;
}

// A folder with the plug-in that accepts every file as one magenta pixel: a
// file that reaches the plug-ins comes back as that pixel.
struct CatchAllPlugins {
    TempFolder folder;
    CatchAllPlugins()
    {
        CopyFileA(BesideTestProgram("testspi_any.dll").c_str(), folder.PathOf("any.spi").c_str(), FALSE);
    }
    std::wstring Path() const { return folder.WidePath(); }
};

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

// The decoding itself is the decoder core's; here, that the block's rows and
// colour table reach the bitmap as they are (the chain's own test shows a
// 24-bit picture; this one comes out with a table).
TEST(DecodePng, MakesTheBitmapOfTheDecodedBlock)
{
    TestPicture picture = MakeTestPicture(11, 6, 16, 0);
    FillRandom(picture, 5);
    picture.samples[3 * 11 + 3] = 0x1234;  // one pixel on the key
    TestPngOptions options;
    options.transparency = {0x12, 0x34};
    const Bytes chunks = EncodeTestPng(picture, options).Chunks();
    HDC dc = GetDC(nullptr);
    const Pixels pixels = TakePixels(DecodePng(dc, chunks.data(), chunks.size(), kDusk));
    std::vector<uint32_t> expected;
    for (uint32_t y = 0; y < 6; ++y) {
        for (uint32_t x = 0; x < 11; ++x) {
            expected.push_back(ReferencePixel(picture, x, y, {}, options.transparency, kDusk));
        }
    }
    EXPECT_EQ(pixels.width, 11);
    EXPECT_EQ(pixels.rgb, expected);
    EXPECT_EQ(DecodePng(dc, nullptr, 0, kWhite), nullptr);
    ReleaseDC(nullptr, dc);
}

TEST(LoadPicture, SystemLoaderReadsBitmapsAndGifsBeforeAnythingElse)
{
    const CatchAllPlugins plugins;
    const Pixels bmp = OpenPicture(WidenAnsi(Fixture("rgb.bmp")), plugins.Path().c_str(), kDusk);
    ASSERT_EQ(bmp.width, 3);
    ASSERT_EQ(bmp.height, 2);
    EXPECT_EQ(bmp.rgb, (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x000000}));

    // The transparent green shows the background, whichever it is.
    for (COLORREF background : {kWhite, kDusk}) {
        const uint32_t bg = uint32_t{GetRValue(background)} << 16 | GetGValue(background) << 8 | GetBValue(background);
        const Pixels gif = OpenPicture(WidenAnsi(Fixture("four.gif")), plugins.Path().c_str(), background);
        ASSERT_EQ(gif.width, 4);
        ASSERT_EQ(gif.height, 2);
        EXPECT_EQ(gif.rgb, (std::vector<uint32_t>{bg, 0xFF0000, 0x0000FF, 0xFFFF00, 0xFFFF00, 0x0000FF, 0xFF0000, bg}));
    }
}

TEST(LoadPicture, PngTheSystemLoaderRefusesGoesToTheDecoder)
{
    // Wine's system loader reads PNG too, but not one with a chunk before IHDR.
    const CatchAllPlugins plugins;
    const std::string png = plugins.folder.Write("picture.png", RgbaPng(true));
    const Pixels pixels = OpenPicture(WidenAnsi(png), plugins.Path().c_str(), kDusk);
    ASSERT_EQ(pixels.width, 3) << "decoded, not the plug-in's one pixel";
    ASSERT_EQ(pixels.height, 2);
    EXPECT_EQ(pixels.rgb, (std::vector<uint32_t>{0xA45229, 0x804020, 0x010203, 0x000000, 0xFFFFFF, 0x724934}));

    CLSFileStream doc;
    ASSERT_TRUE(doc.Open(WidenAnsi(png)));
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(LoadOlePicture(&doc, dc, kWhite), nullptr) << "the system loader must refuse it";
    ReleaseDC(nullptr, dc);
}

TEST(LoadPngPicture, ReadsTheStreamAndNothingBeyond)
{
    const Bytes good = RgbaPng(false);
    Bytes trailing = good;
    trailing.insert(trailing.end(), 100, 0x55);
    Bytes badSignature = good;
    badSignature[1] = 'p';
    const struct {
        const char* name;
        Bytes file;
        bool picture;
    } cases[] = {
        {"a whole PNG", good, true},
        {"bytes after the PNG", trailing, true},
        {"the signature wrong", badSignature, false},
        {"the signature alone", Bytes(good.begin(), good.begin() + 8), false},
        {"seven bytes", Bytes(good.begin(), good.begin() + 7), false},
        {"empty", {}, false},
    };
    TempFolder folder;
    HDC dc = GetDC(nullptr);
    for (const auto& c : cases) {
        CLSFileStream doc;  // the document's own stream, held in memory
        ASSERT_TRUE(doc.Open(WidenAnsi(folder.Write("picture", c.file))));
        EXPECT_EQ(TakePixels(LoadPngPicture(&doc, dc, kWhite)).width != 0, c.picture) << c.name;
    }
    EXPECT_EQ(LoadPicture(nullptr, dc, kWhite, nullptr, L"x"), nullptr);
    ReleaseDC(nullptr, dc);
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
    TempFolder folder;
    const std::string path = folder.Write("big.log", Bytes(4 << 20, 'a'));
    CLSFileStream doc;
    ASSERT_TRUE(doc.Open(WidenAnsi(path)));
    ASSERT_EQ(doc.SetPosition(0, 0), 0u);
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(LoadOlePicture(&doc, dc, kWhite), nullptr);
    ReleaseDC(nullptr, dc);
    EXPECT_LE(doc.SetPosition(0, 1), kPictureHeaderBytes);
}

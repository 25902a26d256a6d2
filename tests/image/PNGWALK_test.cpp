// The PNG decoder core on files that are arranged unusually, broken, or lying
// about their size: which decode, and that the others fail cleanly.
#include "image/PNGCORE.h"
#include "tests/image/PNGWRITE.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

bool Decodes(const Bytes& chunks, CLSDibBlock* out = nullptr)
{
    CLSDibBlock block;
    // An exact-size copy, so that reading past the end leaves the allocation.
    Bytes exact(chunks);
    const bool ok = DecodePngBlock(exact.data(), exact.size(), 0xFFFFFF, block);
    EXPECT_EQ(ok, !block.Empty());
    if (out != nullptr) {
        *out = std::move(block);
    }
    return ok;
}

struct Fixture {
    TestPicture picture = MakeTestPicture(5, 4, 8, 2);
    Bytes scanlines, data;
    Fixture()
    {
        FillRandom(picture, 7);
        scanlines = ScanlineData(picture, false, {0, 1, 2, 3, 4});
        data = ZlibCompress(scanlines);
    }
    Bytes Part(size_t from, size_t to) const
    {
        return Bytes(data.begin() + static_cast<long>(from), data.begin() + static_cast<long>(to));
    }
    TestPngFile Start() const
    {
        TestPngFile f;
        f.Header(5, 4, 8, 2);
        return f;
    }
};

}  // namespace

TEST(PngWalk, ChunkArrangements)
{
    const Fixture fx;
    const size_t n = fx.data.size();
    Bytes longer = fx.scanlines;
    longer.insert(longer.end(), 40, 0xAB);
    Bytes shorter(fx.scanlines.begin(), fx.scanlines.end() - 16);
    Bytes corrupt = fx.data;
    corrupt[n / 2] ^= 0xFF;
    corrupt[2] = 0xFF;
    struct Case {
        std::string name;
        Bytes chunks;
        bool decodes;
    };
    const Case cases[] = {
        {"data over many chunks, the zlib trailer alone in the last",
         fx.Start().Data(fx.Part(0, n - 4), 6).Chunk("IDAT", fx.Part(n - 4, n)).End().Chunks(), true},
        {"an empty IDAT inside the run",
         fx.Start().Chunk("IDAT", fx.Part(0, 9)).Chunk("IDAT", {}).Chunk("IDAT", fx.Part(9, n)).End().Chunks(), true},
        {"ancillary chunks before IHDR, between and at the end",
         TestPngFile().Chunk("tEXt", {'a', 0, 'b'}).Header(5, 4, 8, 2).Chunk("gAMA", {0, 1, 0x86, 0xA0})
             .Chunk("pHYs", Bytes(9, 1)).Data(fx.data).Chunk("tIME", Bytes(7, 2)).End().Chunks(), true},
        {"every CRC wrong",
         TestPngFile().Chunk("IHDR", HeaderData(5, 4, 8, 2), false).Chunk("IDAT", fx.data, false)
             .Chunk("IEND", {}, false).Chunks(), true},
        {"more data than the picture needs", fx.Start().Data(ZlibCompress(longer)).End().Chunks(), true},
        {"bytes after IEND", [&] { Bytes b = fx.Start().Data(fx.data).End().Chunks(); b.resize(b.size() + 5, 1); return b; }(), true},
        {"a second IDAT run",
         fx.Start().Chunk("IDAT", fx.Part(0, 20)).Chunk("tEXt", {'x'}).Chunk("IDAT", fx.Part(20, n)).End().Chunks(), false},
        {"a second IDAT run after a complete picture",
         fx.Start().Data(fx.data).Chunk("tEXt", {'x'}).Data(fx.data).End().Chunks(), false},
        {"IEND with data", fx.Start().Data(fx.data).Chunk("IEND", {0}).Chunks(), false},
        {"IEND before IDAT", fx.Start().End().Data(fx.data).End().Chunks(), false},
        {"no IEND", fx.Start().Data(fx.data).Chunks(), false},
        {"nothing at all", {}, false},
        {"IHDR twice", fx.Start().Header(5, 4, 8, 2).Data(fx.data).End().Chunks(), false},
        {"IDAT before IHDR", TestPngFile().Data(fx.data).Header(5, 4, 8, 2).Data(fx.data).End().Chunks(), false},
        {"PLTE before IHDR", TestPngFile().Chunk("PLTE", {1, 2, 3}).Header(5, 4, 8, 2).Data(fx.data).End().Chunks(), false},
        {"PLTE after IDAT", fx.Start().Data(fx.data).Chunk("PLTE", {1, 2, 3}).End().Chunks(), false},
        {"PLTE twice", fx.Start().Chunk("PLTE", {1, 2, 3}).Chunk("PLTE", {1, 2, 3}).Data(fx.data).End().Chunks(), false},
        {"tRNS after IDAT", fx.Start().Data(fx.data).Chunk("tRNS", Bytes(6, 0)).End().Chunks(), false},
        {"tRNS twice", fx.Start().Chunk("tRNS", Bytes(6, 0)).Chunk("tRNS", Bytes(6, 0)).Data(fx.data).End().Chunks(), false},
        {"an empty PLTE", fx.Start().Chunk("PLTE", {}).Data(fx.data).End().Chunks(), false},
        {"a PLTE of 4 bytes", fx.Start().Chunk("PLTE", {1, 2, 3, 4}).Data(fx.data).End().Chunks(), false},
        {"too little image data", fx.Start().Data(ZlibCompress(shorter)).End().Chunks(), false},
        {"corrupt zlib data", fx.Start().Data(corrupt).End().Chunks(), false},
        {"a palette picture without PLTE",
         TestPngFile().Header(5, 4, 8, 3).Data(ZlibCompress(Bytes(4 * 6, 0))).End().Chunks(), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Decodes(c.chunks), c.decodes) << c.name;
    }
}

TEST(PngWalk, RejectsHeadersPngDoesNotAllow)
{
    // Each header comes with image data that would suit a 1 x 1 picture.
    struct Case {
        const char* name;
        Bytes header;
    };
    const Case cases[] = {
        {"grey 3-bit", HeaderData(1, 1, 3, 0)},
        {"RGB 4-bit", HeaderData(1, 1, 4, 2)},
        {"palette 16-bit", HeaderData(1, 1, 16, 3)},
        {"grey and alpha 4-bit", HeaderData(1, 1, 4, 4)},
        {"RGBA 1-bit", HeaderData(1, 1, 1, 6)},
        {"colour type 1", HeaderData(1, 1, 8, 1)},
        {"colour type 5", HeaderData(1, 1, 8, 5)},
        {"colour type 7", HeaderData(1, 1, 8, 7)},
        {"interlace 2", HeaderData(1, 1, 8, 0, 2)},
        {"compression 1", HeaderData(1, 1, 8, 0, 0, 1)},
        {"filter method 1", HeaderData(1, 1, 8, 0, 0, 0, 1)},
        {"zero width", HeaderData(0, 1, 8, 0)},
        {"zero height", HeaderData(1, 0, 8, 0)},
        {"width of 2^31", HeaderData(0x80000000u, 1, 8, 0)},
        {"height of 2^31", HeaderData(1, 0x80000000u, 8, 0)},
        {"IHDR of 12 bytes", [] { Bytes h = HeaderData(1, 1, 8, 0); h.pop_back(); return h; }()},
        {"IHDR of 14 bytes", [] { Bytes h = HeaderData(1, 1, 8, 0); h.push_back(0); return h; }()},
    };
    const Bytes data = ZlibCompress(Bytes(64, 0));
    EXPECT_TRUE(Decodes(TestPngFile().Header(1, 1, 8, 0).Data(data).End().Chunks()))
        << "the data suits a valid header";
    for (const Case& c : cases) {
        EXPECT_FALSE(Decodes(TestPngFile().Chunk("IHDR", c.header).Data(data).End().Chunks())) << c.name;
    }
}

TEST(PngWalk, EveryTruncationFailsCleanly)
{
    TestPicture picture = MakeTestPicture(9, 5, 4, 3);
    FillRandom(picture, 3);
    TestPngOptions options;
    options.adam7 = true;
    options.palette = Bytes(48, 0x40);
    options.transparency = Bytes(16, 0x80);
    options.pieces = 3;
    const Bytes whole = EncodeTestPng(picture, options).Chunks();
    ASSERT_TRUE(Decodes(whole));
    for (size_t size = 0; size < whole.size(); ++size) {
        EXPECT_FALSE(Decodes(Bytes(whole.begin(), whole.begin() + static_cast<long>(size))))
            << "cut at " << size;
    }
}

TEST(PngWalk, UnknownFilterTypesLeaveTheRowAsItIs)
{
    const Fixture fx;
    Bytes scanlines = ScanlineData(fx.picture, false, {0});
    const size_t rowBytes = 1 + 5 * 3;
    for (size_t y = 0; y < 4; ++y) {
        scanlines[y * rowBytes] = static_cast<uint8_t>(5 + y * 50);
    }
    CLSDibBlock plain, odd;
    ASSERT_TRUE(Decodes(fx.Start().Data(fx.data).End().Chunks(), &plain));
    ASSERT_TRUE(Decodes(fx.Start().Data(ZlibCompress(scanlines)).End().Chunks(), &odd));
    ASSERT_EQ(plain.Size(), odd.Size());
    EXPECT_EQ(std::memcmp(plain.Data(), odd.Data(), plain.Size()), 0);
}

TEST(PngWalk, HugeClaimsFailBeforeAllocating)
{
    // 100,000 x 100,000 RGBA would need 40 GB; a few bytes of data cannot fill it.
    const Bytes data = ZlibCompress(Bytes(4096, 0));
    for (unsigned interlace : {0u, 1u}) {
        EXPECT_FALSE(Decodes(TestPngFile().Header(100000, 100000, 8, 6, interlace).Data(data).End().Chunks()))
            << "interlace " << interlace;
    }
    // The limit must not refuse real pictures: a blank one compresses about as
    // well as deflate can, close to 1032 to 1.
    const TestPicture blank = MakeTestPicture(2000, 1000, 8, 0);
    const Bytes blankData = ZlibCompress(ScanlineData(blank, false, {0}));
    EXPECT_GT(blank.samples.size() / blankData.size(), 900u);
    EXPECT_TRUE(Decodes(TestPngFile().Header(2000, 1000, 8, 0).Data(blankData).End().Chunks()));

    // The largest 16-bit RGBA picture: enough data claimed (lengths only), yet
    // its bitmap would pass the size limit.
    Bytes lots(2u << 20, 0);
    const Bytes big = TestPngFile().Header(0x7FFFFFFF, 0x7FFFFFFF, 16, 6).Data(lots).End().Chunks();
    EXPECT_FALSE(Decodes(big));
}

// Writes the starting corpus of the PNG fuzz target into the folder given: a
// few small pictures of every colour type and depth, plain and interlaced,
// with transparency, split data and a header claiming a huge picture. Each
// file is three background bytes followed by the chunks.
#include "tests/image/PNGWRITE.h"

#include <cstdio>
#include <string>

namespace {

void Save(const std::string& folder, const std::string& name, const Bytes& chunks)
{
    Bytes file = {0x20, 0x40, 0x80};
    file.insert(file.end(), chunks.begin(), chunks.end());
    const std::string path = folder + "/" + name;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(file.data(), 1, file.size(), f);
        std::fclose(f);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: seed_png <corpus folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    const unsigned formats[][2] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                                   {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
    uint32_t seed = 1;
    for (const auto& f : formats) {
        for (bool adam7 : {false, true}) {
            TestPicture picture = MakeTestPicture(7, 5, f[1], f[0]);
            FillRandom(picture, ++seed);
            TestPngOptions options;
            options.adam7 = adam7;
            options.pieces = 1 + seed % 3;
            if (f[0] == 3) {
                options.palette = Bytes(3u << f[1], 0x33);
                options.transparency = Bytes(3, 0x80);
            } else if (f[0] == 0) {
                options.transparency = {0, 1};
            } else if (f[0] == 2) {
                options.transparency = {0, 1, 0, 2, 0, 3};
            }
            Save(folder, "type" + std::to_string(f[0]) + "_" + std::to_string(f[1]) + (adam7 ? "_adam7" : ""),
                 EncodeTestPng(picture, options).Chunks());
        }
    }
    TestPicture tiny = MakeTestPicture(1, 1, 8, 2);
    TestPngOptions interlaced;
    interlaced.adam7 = true;
    Save(folder, "tiny_adam7", EncodeTestPng(tiny, interlaced).Chunks());
    // A header claiming 100,000 x 100,000 RGBA with a little data.
    Save(folder, "huge_claim",
         TestPngFile().Header(100000, 100000, 8, 6).Data(ZlibCompress(Bytes(4000, 0))).End().Chunks());
    return 0;
}

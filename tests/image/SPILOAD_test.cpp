// The Susie plug-in path with real plug-in libraries built by the tests: when
// plug-ins are asked, in which order, what they are shown, and that none stays
// loaded.
#include "image/PICTLOAD.h"
#include "image/SPILOAD.h"
#include "tests/image/PICTTEST.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// What the plug-ins report from IsSupported, through GlimSpiProbe.
struct ProbeCall {
    std::string plugin;
    std::string path;
    Bytes header;
    std::vector<std::string> othersLoaded;
};

using Layout = std::map<std::string, std::string>;

std::vector<ProbeCall> g_calls;
std::vector<std::string> g_pluginNames;

std::string BuiltPlugin(const std::string& variant)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.find_last_of('\\') + 1);
    return folder + "testspi_" + variant + ".dll";
}

// A plug-in folder: file name -> variant ("junk" is a text file, not a library).
class PluginFolder {
public:
    explicit PluginFolder(const std::map<std::string, std::string>& plugins)
    {
        g_pluginNames.clear();
        for (const auto& [name, variant] : plugins) {
            if (variant == "junk") {
                m_folder.Write(name, {'n', 'o', 't', ' ', 'a', ' ', 'l', 'i', 'b'});
            } else {
                EXPECT_TRUE(CopyFileA(BuiltPlugin(variant).c_str(), m_folder.File(name).c_str(), FALSE)) << variant;
            }
            g_pluginNames.push_back(name);
        }
        g_calls.clear();
    }
    const TempFolder& Folder() const { return m_folder; }
    const char* Path() const { return m_folder.Path().c_str(); }

    // The names in the order the file system lists them.
    std::vector<std::string> Listed(const char* pattern) const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(m_folder.File(pattern).c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                names.push_back(found.cFileName);
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        return names;
    }

    void ExpectAllUnloaded() const
    {
        for (const std::string& name : g_pluginNames) {
            EXPECT_EQ(GetModuleHandleA(name.c_str()), nullptr) << name << " is still loaded";
            EXPECT_TRUE(m_folder.Remove(name)) << name << " is still in use";
        }
    }

private:
    TempFolder m_folder;
};

std::vector<std::string> AskedPlugins()
{
    std::vector<std::string> asked;
    for (const ProbeCall& call : g_calls) {
        asked.push_back(call.plugin);
    }
    return asked;
}

// The PPM every plug-in test reads: 5 x 3 with distinct colours.
const std::vector<uint32_t> kPpmRgb = {
    0xFF0000, 0x00FF00, 0x0000FF, 0x102030, 0xFFFFFF, 0x000000, 0x808080, 0x123456,
    0x654321, 0xABCDEF, 0x0F0F0F, 0xF0F0F0, 0x00FFFF, 0xFF00FF, 0xFFFF00,
};

std::vector<uint32_t> Inverted(const std::vector<uint32_t>& rgb)
{
    std::vector<uint32_t> out;
    for (uint32_t c : rgb) {
        out.push_back(~c & 0xFFFFFF);
    }
    return out;
}

Pixels LoadFile(const std::string& path, const char* pluginFolder)
{
    MemoryStream stream(ReadWholeFile(path));
    ScreenDc dc;
    return TakePixels(LoadPicture(&stream, dc, RGB(255, 255, 255), pluginFolder, path.c_str()));
}

}  // namespace

// The plug-ins look this up in the test program to report what they were shown.
extern "C" __declspec(dllexport) void GlimSpiProbe(HMODULE self, const char* path, const unsigned char* header)
{
    char name[MAX_PATH] = "";
    GetModuleFileNameA(self, name, MAX_PATH);
    ProbeCall call;
    call.plugin = std::string(name).substr(std::string(name).find_last_of('\\') + 1);
    call.path = path;
    call.header.assign(header, header + 4096);
    for (const std::string& other : g_pluginNames) {
        if (other != call.plugin && GetModuleHandleA(other.c_str()) != nullptr) {
            call.othersLoaded.push_back(other);
        }
    }
    g_calls.push_back(call);
}

TEST(PluginPicture, AFileOnlyAPluginReadsIsAPictureOnlyWithPluginsOn)
{
    const TempFolder files;
    const std::string ppm = files.Write("picture.ppm", MakePpm(5, 3, kPpmRgb));
    const PluginFolder plugins(Layout{{"ppm.spi", "ppm"}});

    EXPECT_EQ(LoadFile(ppm, nullptr).width, 0) << "plug-ins off: not a picture";
    EXPECT_TRUE(g_calls.empty()) << "and no plug-in was asked";

    const Pixels pixels = LoadFile(ppm, plugins.Path());
    ASSERT_EQ(pixels.width, 5);
    ASSERT_EQ(pixels.height, 3);
    EXPECT_EQ(pixels.rgb, kPpmRgb);
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].path, ppm);

    // On its own, the plug-in loader needs nothing of the stream but Seek and Read.
    MemoryStream stream(ReadWholeFile(ppm));
    ScreenDc dc;
    EXPECT_EQ(TakePixels(LoadPluginPicture(dc, plugins.Path(), ppm.c_str(), &stream)).rgb, kPpmRgb);
    EXPECT_EQ(stream.OtherCalls(), 0);
    plugins.ExpectAllUnloaded();
}

TEST(PluginPicture, TheFirstPluginThatAlsoSucceedsWins)
{
    const TempFolder files;
    const std::string ppm = files.Write("picture.ppm", MakePpm(5, 3, kPpmRgb));
    struct Case {
        const char* name;
        std::map<std::string, std::string> plugins;
        const char* winner;  // null: no picture
    };
    const Case cases[] = {
        {"a failing reader before two good ones", {{"a.spi", "fail"}, {"b.spi", "invert"}, {"c.spi", "ppm"}}, "b.spi"},
        {"two good readers", {{"a.spi", "ppm"}, {"b.spi", "invert"}}, "a.spi"},
        {"the same two the other way round", {{"a.spi", "invert"}, {"b.spi", "ppm"}}, "a.spi"},
        {"no GetPicture, too few pixels, not a library",
         {{"a.spi", "noget"}, {"b.spi", "short"}, {"c.spi", "junk"}, {"d.spi", "ppm"}}, "d.spi"},
        {"none succeeds", {{"a.spi", "fail"}, {"b.spi", "short"}}, nullptr},
        {"other extensions are not plug-ins", {{"a.dll", "ppm"}, {"b.spi.txt", "ppm"}}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PluginFolder plugins(c.plugins);
        const Pixels pixels = LoadFile(ppm, plugins.Path());

        // Asked in the file system's order, up to the winner and no further.
        std::vector<std::string> expectedAsked;
        for (const std::string& name : plugins.Listed("*.spi")) {
            const std::string variant = c.plugins.at(name);
            if (variant != "junk" && variant != "noget") {  // neither can be asked
                expectedAsked.push_back(name);
            }
            if (c.winner != nullptr && name == c.winner) {
                break;
            }
        }
        EXPECT_EQ(AskedPlugins(), expectedAsked);
        for (const ProbeCall& call : g_calls) {
            EXPECT_TRUE(call.othersLoaded.empty()) << call.plugin << " was asked while another was loaded";
        }
        if (c.winner == nullptr) {
            EXPECT_EQ(pixels.width, 0);
        } else {
            ASSERT_EQ(pixels.width, 5);
            const bool inverted = c.plugins.at(c.winner) == "invert";
            EXPECT_EQ(pixels.rgb, inverted ? Inverted(kPpmRgb) : kPpmRgb);
        }
        plugins.ExpectAllUnloaded();
    }
}

TEST(PluginPicture, PluginsSeeTheFirst4096BytesZeroPadded)
{
    const TempFolder files;
    std::vector<uint32_t> many(40 * 40, 0x5A6B7C);
    for (size_t i = 0; i < many.size(); ++i) {
        many[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
    }
    for (const auto& [width, height] : {std::pair{2, 1}, std::pair{40, 40}}) {
        const std::vector<uint32_t> rgb(many.begin(), many.begin() + width * height);
        const Bytes file = MakePpm(width, height, rgb);
        const std::string path = files.Write("p" + std::to_string(width) + ".ppm", file);
        const PluginFolder plugins(Layout{{"ppm.spi", "ppm"}});
        ASSERT_EQ(LoadFile(path, plugins.Path()).width, width);
        ASSERT_EQ(g_calls.size(), 1u);
        Bytes expected(file.begin(), file.begin() + static_cast<long>(std::min<size_t>(file.size(), 4096)));
        expected.resize(4096, 0);
        EXPECT_EQ(g_calls[0].header, expected) << "file of " << file.size() << " bytes";
    }
}

TEST(PluginPicture, SixtyFourBitPluginsAreSearchedAfterTheOthers)
{
    const TempFolder files;
    const std::string ppm = files.Write("picture.ppm", MakePpm(5, 3, kPpmRgb));
    {
        const PluginFolder plugins(Layout{{"a.sph", "invert"}, {"z.spi", "ppm"}});
        EXPECT_EQ(LoadFile(ppm, plugins.Path()).rgb, kPpmRgb) << "*.spi before *.sph";
        plugins.ExpectAllUnloaded();
    }
    const PluginFolder plugins(Layout{{"only.sph", "invert"}});
    const Pixels pixels = LoadFile(ppm, plugins.Path());
#ifdef _WIN64
    EXPECT_EQ(pixels.rgb, Inverted(kPpmRgb)) << "the 64-bit program reads *.sph plug-ins";
#else
    EXPECT_EQ(pixels.width, 0) << "the 32-bit program has no use for *.sph";
#endif
    plugins.ExpectAllUnloaded();
}

TEST(PluginPicture, BitmapDescriptionMustFitItsBlocks)
{
    auto header = [](LONG width, LONG height, WORD bits, DWORD compression = BI_RGB, DWORD colours = 0,
                     DWORD sizeImage = 0) {
        BITMAPINFOHEADER h = {};
        h.biSize = sizeof(h);
        h.biWidth = width;
        h.biHeight = height;
        h.biPlanes = 1;
        h.biBitCount = bits;
        h.biCompression = compression;
        h.biClrUsed = colours;
        h.biSizeImage = sizeImage;
        return h;
    };
    struct Case {
        const char* name;
        BITMAPINFOHEADER header;
        SIZE_T infoSize, bitsSize;
        bool fits;
    };
    const Case cases[] = {
        {"24-bit, exact", header(5, 3, 24), 40, 16 * 3, true},
        {"24-bit, one row short", header(5, 3, 24), 40, 16 * 2, false},
        {"top-down rows count too", header(5, -3, 24), 40, 16 * 2, false},
        {"8-bit needs its 256 colours", header(4, 1, 8), 40 + 1020, 4, false},
        {"8-bit with them", header(4, 1, 8), 40 + 1024, 4, true},
        {"8-bit using 2 colours", header(4, 1, 8, BI_RGB, 2), 48, 4, true},
        {"bit fields need three masks", header(2, 1, 32, BI_BITFIELDS), 40 + 8, 8, false},
        {"with them", header(2, 1, 32, BI_BITFIELDS), 40 + 12, 8, true},
        {"RLE by its image size", header(8, 8, 8, BI_RLE8, 2, 30), 48, 30, true},
        {"RLE larger than its block", header(8, 8, 8, BI_RLE8, 2, 31), 48, 30, false},
        {"info block shorter than a header", header(1, 1, 24), 39, 4, false},
        {"zero width", header(0, 1, 24), 40, 4, false},
        {"zero height", header(1, 0, 24), 40, 4, false},
        {"7 bits per pixel", header(1, 1, 7), 40 + 512, 4, false},
        {"huge width", header(0x7FFFFFFF, 1, 32), 40, 0xFFFFFFFF, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PluginBitmapFits(c.header, c.infoSize, c.bitsSize), c.fits) << c.name;
    }
}

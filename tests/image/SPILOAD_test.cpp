// The Susie plug-in path with real plug-in libraries built by the tests: when
// plug-ins are asked, in which order, what they are shown, and that none stays
// loaded.
#include "image/SPILOAD.h"

#include "base/WIDEN.h"
#include "tests/image/PICTTEST.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// What the plug-ins report from IsSupported, through GlimSpiProbe.
struct ProbeCall {
    std::string plugin, path;
    Bytes header;
    std::vector<std::string> othersLoaded;
};

using Layout = std::map<std::string, std::string>;

std::vector<ProbeCall> g_calls;
std::vector<std::string> g_pluginNames;

// A plug-in folder named outside the ANSI code page (found and loaded by wide
// paths): file name -> variant ("junk" is a text file, not a library).
class PluginFolder {
public:
    explicit PluginFolder(const std::map<std::string, std::string>& plugins)
    {
        g_pluginNames.clear();
        m_folder.MakeFolderWide(L"Zoë");
        for (const auto& [name, variant] : plugins) {
            if (variant == "junk") {
                m_folder.WriteWide(L"Zoë\\" + WidenAnsi(name), "not a library");
            } else {
                const std::wstring built = WidenAnsi(BesideTestProgram("testspi_" + variant + ".dll"));
                EXPECT_TRUE(CopyFileW(built.c_str(), In(name).c_str(), FALSE)) << variant;
            }
            g_pluginNames.push_back(name);
        }
        g_calls.clear();
    }
    std::wstring Path() const { return m_folder.WidePath() + L"\\Zoë"; }
    std::wstring In(const std::string& name) const { return Path() + L"\\" + WidenAnsi(name); }

    // The names in the order the file system lists them.
    std::vector<std::string> Listed(const char* pattern) const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(In(pattern).c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                names.emplace_back(found.cFileName, found.cFileName + wcslen(found.cFileName));  // ASCII names
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        return names;
    }

    void ExpectAllUnloaded() const
    {
        for (const std::string& name : g_pluginNames) {
            EXPECT_EQ(GetModuleHandleA(name.c_str()), nullptr) << name << " is still loaded";
            EXPECT_TRUE(DeleteFileW(In(name).c_str())) << name << " is still in use";
        }
    }

private:
    TempFolder m_folder;
};

// The PPM every plug-in test reads: 5 x 3 with distinct colours.
const std::vector<uint32_t> kPpmRgb = {
    0xFF0000, 0x00FF00, 0x0000FF, 0x102030, 0xFFFFFF, 0x000000, 0x808080, 0x123456,
    0x654321, 0xABCDEF, 0x0F0F0F, 0xF0F0F0, 0x00FFFF, 0xFF00FF, 0xFFFF00,
};

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

// The blocks a failing plug-in handed over with its failure.
std::vector<HLOCAL> g_failedBlocks;

extern "C" __declspec(dllexport) void GlimSpiFailedBlocks(HLOCAL info, HLOCAL bits)
{
    g_failedBlocks.insert(g_failedBlocks.end(), {info, bits});
}

TEST(PluginPicture, TheFirstPluginThatAlsoSucceedsWins)
{
    // A name outside the ANSI code page: the plug-ins read the file by its short name.
    const TempFolder files;
    const Bytes picture = MakePpm(5, 3, kPpmRgb);
    const std::wstring ppm = files.WriteWide(L"𠮷田.ppm", std::string(picture.begin(), picture.end()));
    wchar_t shortPpm[MAX_PATH] = L"";
    GetShortPathNameW(ppm.c_str(), shortPpm, MAX_PATH);
#ifdef _WIN64
    const char* const kSph = "only.sph";  // the 64-bit program reads *.sph plug-ins
#else
    const char* const kSph = nullptr;  // the 32-bit one has no use for them
#endif
    const struct {
        const char* name;
        Layout plugins;
        const char* winner;  // null: no picture
        bool on = true;
    } cases[] = {
        {"plug-ins off", {{"a.spi", "ppm"}}, nullptr, false},
        {"one reader", {{"a.spi", "ppm"}}, "a.spi"},
        {"a failing reader before two good ones", {{"a.spi", "fail"}, {"b.spi", "any"}, {"c.spi", "ppm"}}, "b.spi"},
        {"two good readers", {{"a.spi", "ppm"}, {"b.spi", "any"}}, "a.spi"},
        {"the same two the other way round", {{"a.spi", "any"}, {"b.spi", "ppm"}}, "a.spi"},
        {"no GetPicture, too few pixels, not a library",
         {{"a.spi", "noget"}, {"b.spi", "short"}, {"c.spi", "junk"}, {"d.spi", "ppm"}}, "d.spi"},
        {"none succeeds", {{"a.spi", "fail"}, {"b.spi", "short"}}, nullptr},
        {"other extensions are not plug-ins", {{"a.dll", "ppm"}, {"b.spi.txt", "ppm"}}, nullptr},
        {"*.spi before *.sph", {{"a.sph", "any"}, {"z.spi", "ppm"}}, "z.spi"},
        {"*.sph alone", {{"only.sph", "any"}}, kSph},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PluginFolder plugins(c.plugins);
        g_failedBlocks.clear();
        const Pixels pixels = OpenPicture(ppm, c.on ? plugins.Path().c_str() : nullptr);
        for (HLOCAL block : g_failedBlocks) {
            EXPECT_EQ(LocalFlags(block), LMEM_INVALID_HANDLE) << "a failing plug-in's block is left allocated";
        }

        // Asked in the file system's order, up to the winner and no further.
        std::vector<std::string> listed = plugins.Listed("*.spi");
#ifdef _WIN64
        const std::vector<std::string> sph = plugins.Listed("*.sph");
        listed.insert(listed.end(), sph.begin(), sph.end());
#endif
        std::vector<std::string> expectedAsked;
        for (const std::string& name : c.on ? listed : std::vector<std::string>()) {
            const std::string variant = c.plugins.at(name);
            if (variant != "junk" && variant != "noget") {  // neither can be asked
                expectedAsked.push_back(name);
            }
            if (c.winner != nullptr && name == c.winner) {
                break;
            }
        }
        std::vector<std::string> asked;
        for (const ProbeCall& call : g_calls) {
            asked.push_back(call.plugin);
            EXPECT_EQ(WidenAnsi(call.path), shortPpm);
            EXPECT_TRUE(call.othersLoaded.empty()) << call.plugin << " was asked while another was loaded";
        }
        EXPECT_EQ(asked, expectedAsked);
        if (c.winner == nullptr) {
            EXPECT_EQ(pixels.width, 0);
        } else if (c.plugins.at(c.winner) == "any") {
            EXPECT_EQ(pixels.rgb, std::vector<uint32_t>{0xFF00FF});
        } else {
            ASSERT_EQ(pixels.width, 5);
            ASSERT_EQ(pixels.height, 3);
            EXPECT_EQ(pixels.rgb, kPpmRgb);
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
        const std::string path = files.Write(std::to_string(width) + ".ppm", file);
        const PluginFolder plugins(Layout{{"ppm.spi", "ppm"}});
        ASSERT_EQ(OpenPicture(WidenAnsi(path), plugins.Path().c_str()).width, width);
        ASSERT_EQ(g_calls.size(), 1u);
        Bytes expected(file.begin(), file.begin() + static_cast<long>(std::min<size_t>(file.size(), 4096)));
        expected.resize(4096, 0);
        EXPECT_EQ(g_calls[0].header, expected) << "file of " << file.size() << " bytes";
    }
}

TEST(PluginPicture, BitmapDescriptionMustFitItsBlocks)
{
    auto header = [](LONG width, LONG height, WORD bits, DWORD compression = BI_RGB, DWORD colours = 0,
                     DWORD sizeImage = 0) {
        return BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, bits, compression, sizeImage, 0, 0,
                                colours, 0};
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

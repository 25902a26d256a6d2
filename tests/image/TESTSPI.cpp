// A Susie plug-in for the tests: reads binary PPM (P6). Built in several
// variants that differ in one behaviour each:
//   (none)          reads the file as it is
//   TESTSPI_FAIL    accepts the file but GetPicture fails, handing over two
//                   blocks all the same (reported to GlimSpiFailedBlocks)
//   TESTSPI_SHORT   returns pixels one row shorter than its header says
//   TESTSPI_ANY     accepts every file and returns one magenta pixel
//   TESTSPI_NOGET   exports IsSupported only
// When the test program exports GlimSpiProbe, IsSupported reports to it.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <vector>

namespace {

HMODULE g_self = nullptr;

using Probe = void (*)(HMODULE self, const char* path, const unsigned char* header);

void ReportToTest(const char* path, const void* header)
{
    const auto probe = reinterpret_cast<Probe>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA(nullptr), "GlimSpiProbe")));
    if (probe != nullptr) {
        probe(g_self, path, static_cast<const unsigned char*>(header));
    }
}

[[maybe_unused]] bool LooksLikePpm(const unsigned char* header)
{
    return header[0] == 'P' && header[1] == '6' && std::isspace(header[2]);
}

struct Ppm {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// Reads "P6 <width> <height> 255" and one white-space byte, then the samples.
[[maybe_unused]] bool ReadPpm(const char* path, Ppm& ppm)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::vector<char> bytes(GetFileSize(file, nullptr) + 1, '\0');  // a NUL after the file for sscanf
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size() - 1), &read, nullptr);
    CloseHandle(file);
    int maxValue = 0;
    int end = 0;
    if (std::sscanf(bytes.data(), "P6 %d %d %d%n", &ppm.width, &ppm.height, &maxValue, &end) != 3 || maxValue != 255 ||
        ppm.width <= 0 || ppm.height <= 0) {
        return false;
    }
    const size_t from = static_cast<size_t>(end) + 1;
    const size_t need = static_cast<size_t>(ppm.width) * ppm.height * 3;
    if (from + need > read) {
        return false;
    }
    ppm.rgb.assign(bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(from + need));
    return true;
}

// A 24-bit bottom-up DIB in two local memory blocks, as plug-ins hand them out.
[[maybe_unused]] int MakeDib(const Ppm& ppm, HLOCAL* info, HLOCAL* bits)
{
    const size_t stride = (static_cast<size_t>(ppm.width) * 3 + 3) & ~size_t{3};
    const size_t height = static_cast<size_t>(ppm.height);
#ifdef TESTSPI_SHORT
    const size_t rows = height - 1;  // the header will still say height
#else
    const size_t rows = height;
#endif
    *info = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, sizeof(BITMAPINFOHEADER));
    *bits = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, stride * rows + 1);
    auto* header = static_cast<BITMAPINFOHEADER*>(LocalLock(*info));
    auto* pixels = static_cast<unsigned char*>(LocalLock(*bits));
    *header = {sizeof(BITMAPINFOHEADER), ppm.width, ppm.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    for (size_t y = 0; y < height && rows == height; ++y) {
        unsigned char* dest = pixels + stride * (height - 1 - y);
        for (size_t x = 0; x < static_cast<size_t>(ppm.width); ++x) {
            const unsigned char* rgb = &ppm.rgb[(y * ppm.width + x) * 3];
            for (int c = 0; c < 3; ++c) {
                dest[3 * x + c] = rgb[2 - c];
            }
        }
    }
    LocalUnlock(*info);
    LocalUnlock(*bits);
    return 0;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = instance;
    }
    return TRUE;
}

extern "C" __declspec(dllexport) int WINAPI IsSupported(LPCSTR filename, void* header)
{
    ReportToTest(filename, header);
#if defined(TESTSPI_ANY) || defined(TESTSPI_NOGET)
    return 1;
#else
    return LooksLikePpm(static_cast<const unsigned char*>(header)) ? 1 : 0;
#endif
}

#ifndef TESTSPI_NOGET
extern "C" __declspec(dllexport) int WINAPI GetPicture(LPCSTR source, LONG_PTR offset, unsigned int flag,
                                                       HLOCAL* info, HLOCAL* bits, void* progress,
                                                       LONG_PTR userData)
{
    if (offset != 0 || flag != 0 || progress != nullptr || userData != 0) {
        return -1;  // only what the program asks for is supported
    }
    Ppm ppm;
#if defined(TESTSPI_FAIL)
    (void)source;
    *info = LocalAlloc(LMEM_MOVEABLE, sizeof(BITMAPINFOHEADER));
    *bits = LocalAlloc(LMEM_MOVEABLE, 16);
    using Report = void (*)(HLOCAL, HLOCAL);
    const auto report = reinterpret_cast<Report>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA(nullptr), "GlimSpiFailedBlocks")));
    if (report != nullptr) {
        report(*info, *bits);
    }
    return 2;  // an unknown format after all
#elif defined(TESTSPI_ANY)
    (void)source;
    ppm.width = ppm.height = 1;
    ppm.rgb = {255, 0, 255};
    return MakeDib(ppm, info, bits);
#else
    if (!ReadPpm(source, ppm)) {
        return 2;
    }
    return MakeDib(ppm, info, bits);
#endif
}
#endif

// LoadPluginPicture: the folder search, one plug-in at a time, and the check
// of what a plug-in hands back before GDI reads it.
#include "image/SPILOAD.h"

#include "image/STREAMIO.h"
#include "image/SUSIE.h"

#include "base/OWNERS.h"
#include "base/WIDETEXT.h"

#include <cstdlib>
#include <memory>
#include <string>

namespace {

struct FreeDeleter {
    void operator()(void* block) const { std::free(block); }
};

#ifdef _WIN64
constexpr const wchar_t* kPluginPatterns[] = {L"*.spi", L"*.sph"};
#else
constexpr const wchar_t* kPluginPatterns[] = {L"*.spi"};
#endif

template <typename Proc>
Proc LookUp(HMODULE library, const char* name)
{
    // Through the generic function type, which converts to any other.
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// The plug-in's two blocks become a bitmap; their owners free them.
HBITMAP BitmapFromPlugin(HDC dc, const CLSLocalOwner& info, const CLSLocalOwner& bits)
{
    HBITMAP bitmap = nullptr;
    auto* header = info.Get() != nullptr ? static_cast<BITMAPINFO*>(LocalLock(info.Get())) : nullptr;
    void* pixels = bits.Get() != nullptr ? LocalLock(bits.Get()) : nullptr;
    if (header != nullptr && pixels != nullptr &&
        PluginBitmapFits(header->bmiHeader, LocalSize(info.Get()), LocalSize(bits.Get()))) {
        bitmap = CreateDIBitmap(dc, &header->bmiHeader, CBM_INIT, pixels, header, DIB_RGB_COLORS);
    }
    if (header != nullptr) {
        LocalUnlock(info.Get());
    }
    if (pixels != nullptr) {
        LocalUnlock(bits.Get());
    }
    return bitmap;
}

HBITMAP TryPlugin(HMODULE library, HDC dc, const char* path, BYTE* header)
{
    const auto isSupported = LookUp<SusieIsSupported>(library, "IsSupported");
    const auto getPicture = LookUp<SusieGetPicture>(library, "GetPicture");
    if (isSupported == nullptr || getPicture == nullptr || isSupported(path, header) == 0) {
        return nullptr;
    }
    // A plug-in may hand over its blocks with a failure too: ours to free
    // either way.
    CLSLocalOwner info;
    CLSLocalOwner bits;
    // Flag 0: the plug-in reads the file on disk named by the path itself.
    if (getPicture(path, 0, 0, info.Address(), bits.Address(), nullptr, 0) != 0) {
        return nullptr;
    }
    return BitmapFromPlugin(dc, info, bits);
}

HBITMAP SearchPlugins(HDC dc, const std::wstring& folder, const wchar_t* pattern, const char* path, BYTE* header)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(LongPathForm(folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    HBITMAP bitmap = nullptr;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            continue;
        }
        HMODULE library = LoadLibraryW(LongPathForm(folder + found.cFileName).c_str());
        if (library != nullptr) {
            bitmap = TryPlugin(library, dc, path, header);
            // The bitmap is GDI's own: nothing of the plug-in outlives this try.
            FreeLibrary(library);
        }
    } while (bitmap == nullptr && FindNextFileW(search, &found));
    FindClose(search);
    return bitmap;
}

// A plug-in keeps the path it is given in MAX_PATH bytes of its own.
bool FitsPlugin(const std::wstring& path, std::string& ansi)
{
    return AnsiOfWide(path, ansi) && !ansi.empty() && ansi.size() < MAX_PATH;
}

}  // namespace

bool PluginBitmapFits(const BITMAPINFOHEADER& header, SIZE_T infoSize, SIZE_T bitsSize)
{
    if (infoSize < sizeof(BITMAPINFOHEADER) || header.biSize < sizeof(BITMAPINFOHEADER) ||
        header.biSize > infoSize || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biHeight == LONG_MIN) {
        return false;
    }
    const unsigned bitCount = header.biBitCount;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32) {
        return false;
    }
    const bool masks = header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER);
    const uint64_t colours = header.biClrUsed != 0 ? header.biClrUsed
                             : bitCount <= 8      ? uint64_t{1} << bitCount
                                                  : 0;
    if (uint64_t{header.biSize} + (masks ? 12 : 0) + 4 * colours > infoSize) {
        return false;
    }
    if (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS) {
        // Compressed pixels: their size is the header's to tell.
        return header.biSizeImage != 0 && header.biSizeImage <= bitsSize;
    }
    const uint64_t stride = ((uint64_t(header.biWidth) * bitCount + 31) & ~uint64_t{31}) / 8;
    const uint64_t rows = static_cast<uint64_t>(header.biHeight < 0 ? -int64_t{header.biHeight}
                                                                   : int64_t{header.biHeight});
    return stride * rows <= bitsSize;
}

bool PluginPathOf(const std::wstring& path, std::string& ansi)
{
    if (FitsPlugin(path, ansi)) {
        return true;
    }
    const std::wstring full = LongPathForm(path);
    const DWORD units = GetShortPathNameW(full.c_str(), nullptr, 0);
    std::wstring shortPath(units, L'\0');
    if (units == 0 || GetShortPathNameW(full.c_str(), shortPath.data(), units) + 1 != units) {
        ansi.clear();
        return false;
    }
    shortPath.pop_back();
    if (shortPath.rfind(L"\\\\?\\", 0) == 0) {
        shortPath.erase(0, 4);  // the plug-in takes a plain path
    }
    return FitsPlugin(shortPath, ansi);
}

HBITMAP LoadPluginPicture(HDC dc, const wchar_t* folder, const wchar_t* path, IStream* stream)
{
    std::string ansiPath;
    if (folder == nullptr || path == nullptr || stream == nullptr || !PluginPathOf(path, ansiPath)) {
        return nullptr;
    }
    const std::unique_ptr<BYTE, FreeDeleter> header(
        static_cast<BYTE*>(std::calloc(kSusieHeaderBytes, 1)));
    if (header == nullptr) {
        return nullptr;
    }
    // A shorter file leaves the rest of the header zero.
    if (SeekStream(stream, 0, STREAM_SEEK_SET)) {
        ReadStream(stream, header.get(), kSusieHeaderBytes);
    }
    std::wstring base = folder;
    if (!base.empty() && base.back() != L'\\' && base.back() != L'/') {
        base += L'\\';
    }
    HBITMAP bitmap = nullptr;
    for (const wchar_t* pattern : kPluginPatterns) {
        bitmap = SearchPlugins(dc, base, pattern, ansiPath.c_str(), header.get());
        if (bitmap != nullptr) {
            break;
        }
    }
    return bitmap;
}

// LoadPicture and the two loaders that read the stream themselves: the
// system's picture loader and the PNG decoder. The plug-ins are in SPILOAD.
#include "image/PICTLOAD.h"

#include "image/PICTHEAD.h"
#include "image/PNGDEC.h"
#include "image/SPILOAD.h"
#include "image/STREAMIO.h"

#include "base/OWNERS.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr BYTE kPngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr int kHimetricPerInch = 2540;

struct PictureRelease {
    void operator()(IPicture* picture) const { picture->Release(); }
};
using PictureRef = std::unique_ptr<IPicture, PictureRelease>;

struct FreeDeleter {
    void operator()(void* block) const { std::free(block); }
};

// Paints the picture over the background into a new compatible bitmap.
HBITMAP RenderPicture(IPicture* picture, HDC dc, COLORREF background, int width, int height,
                      OLE_XSIZE_HIMETRIC hmWidth, OLE_YSIZE_HIMETRIC hmHeight)
{
    CLSMemoryDC memory(dc);
    if (!memory) {
        return nullptr;
    }
    CLSBitmapOwner bitmap(CreateCompatibleBitmap(dc, width, height));
    if (!bitmap) {
        return nullptr;
    }
    HRESULT hr = E_FAIL;
    {
        CLSSelectObject selected(memory.Get(), bitmap.Get());
        const RECT all = {0, 0, width, height};
        CLSBrushOwner brush(CreateSolidBrush(background));
        FillRect(memory.Get(), &all, brush.Get());
        // HIMETRIC runs upwards: start at the top (y = height) and go down.
        hr = picture->Render(memory.Get(), 0, 0, width, height, 0, hmHeight, hmWidth, -hmHeight, nullptr);
    }
    if (FAILED(hr)) {
        return nullptr;
    }
    return bitmap.Release();
}

}  // namespace

HBITMAP LoadOlePicture(IStream* stream, HDC dc, COLORREF background)
{
    // The system loader reads the whole stream before it gives up on a file it
    // does not know: offer it only what starts like one of its formats.
    BYTE header[kPictureHeaderBytes];
    if (!SeekStream(stream, 0, STREAM_SEEK_SET) ||
        !IsSystemPictureHeader(header, ReadStream(stream, header, sizeof(header))) ||
        !SeekStream(stream, 0, STREAM_SEEK_SET)) {
        return nullptr;
    }
    IPicture* raw = nullptr;
    if (FAILED(OleLoadPicture(stream, 0, TRUE, IID_IPicture, reinterpret_cast<void**>(&raw))) ||
        raw == nullptr) {
        return nullptr;
    }
    const PictureRef picture(raw);
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    if (FAILED(picture->get_Width(&hmWidth)) || FAILED(picture->get_Height(&hmHeight))) {
        return nullptr;
    }
    // Both sides by the horizontal resolution, so that a picture keeps its shape.
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    const int width = MulDiv(std::abs(hmWidth), dpi, kHimetricPerInch);
    const int height = MulDiv(std::abs(hmHeight), dpi, kHimetricPerInch);
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    return RenderPicture(picture.get(), dc, background, width, height, hmWidth, hmHeight);
}

HBITMAP LoadPngPicture(IStream* stream, HDC dc, COLORREF background)
{
    BYTE signature[sizeof(kPngSignature)];
    if (!SeekStream(stream, 0, STREAM_SEEK_SET) ||
        ReadStream(stream, signature, sizeof(signature)) != sizeof(signature) ||
        std::memcmp(signature, kPngSignature, sizeof(signature)) != 0) {
        return nullptr;
    }
    ULARGE_INTEGER end = {};
    if (!SeekStream(stream, 0, STREAM_SEEK_END, &end) || end.QuadPart >= 0xFFFFFFF0 ||
        end.QuadPart < sizeof(kPngSignature)) {
        return nullptr;
    }
    const ULONG size = static_cast<ULONG>(end.QuadPart - sizeof(kPngSignature));
    const std::unique_ptr<BYTE, FreeDeleter> chunks(static_cast<BYTE*>(std::malloc(size + 4)));
    if (chunks == nullptr || !SeekStream(stream, sizeof(kPngSignature), STREAM_SEEK_SET)) {
        return nullptr;
    }
    // Whatever the stream gives is what there is: the decoder never reads past it.
    const ULONG got = ReadStream(stream, chunks.get(), size);
    return DecodePng(dc, chunks.get(), got, background);
}

HBITMAP LoadPicture(IStream* stream, HDC dc, COLORREF background, const wchar_t* pluginFolder,
                    const wchar_t* path)
{
    if (stream == nullptr) {
        return nullptr;
    }
    HBITMAP bitmap = LoadOlePicture(stream, dc, background);
    if (bitmap == nullptr) {
        bitmap = LoadPngPicture(stream, dc, background);
    }
    if (bitmap == nullptr && pluginFolder != nullptr) {
        bitmap = LoadPluginPicture(dc, pluginFolder, path, stream);
    }
    return bitmap;
}

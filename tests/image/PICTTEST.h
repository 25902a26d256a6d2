// What the picture tests share: a temporary folder, a memory stream that
// behaves like the document's, the screen DC, and a bitmap's pixels read back.
#pragma once

#include "tests/image/PNGWRITE.h"

#include <windows.h>

#include <objidl.h>

#include <string>
#include <vector>

// A fresh folder under the temporary path, removed with its files at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }
    std::string Write(const std::string& name, const Bytes& bytes) const;
    // Removes one file; false when it cannot be (for instance still loaded).
    bool Remove(const std::string& name) const;

private:
    std::string m_path;
};

Bytes ReadWholeFile(const std::string& path);

// A stream over bytes in memory with the document's rules: seeks from the
// start, forward from the current position, and to the very end; every other
// method is counted as one the loaders must not need.
class MemoryStream final : public IStream {
public:
    explicit MemoryStream(Bytes bytes) : m_bytes(std::move(bytes)) {}
    int OtherCalls() const { return m_iOtherCalls; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_uRefs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_uRefs; }  // owned by the test
    HRESULT STDMETHODCALLTYPE Read(void* dest, ULONG count, ULONG* read) override;
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return Other(STG_E_CANTSAVE); }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return Other(E_NOTIMPL); }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override
    {
        return Other(E_NOTIMPL);
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return Other(S_OK); }
    HRESULT STDMETHODCALLTYPE Revert() override { return Other(S_OK); }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return Other(S_OK); }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return Other(S_OK); }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override { return Other(E_NOTIMPL); }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return Other(E_NOTIMPL); }

private:
    HRESULT Other(HRESULT result)
    {
        ++m_iOtherCalls;
        return result;
    }

    Bytes m_bytes;
    size_t m_cbPos = 0;
    ULONG m_uRefs = 1;
    int m_iOtherCalls = 0;
};

// The screen's device context for the length of a test.
class ScreenDc {
public:
    ScreenDc() : m_hdc(GetDC(nullptr)) {}
    ~ScreenDc() { ReleaseDC(nullptr, m_hdc); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    operator HDC() const { return m_hdc; }

private:
    HDC m_hdc;
};

// The pixels of a bitmap, top row first, as 0xRRGGBB.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;
    uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

// Reads the bitmap back and deletes it; width 0 for a null bitmap.
Pixels TakePixels(HBITMAP bitmap);

// A small 24-bit BMP file of the picture given as 0xRRGGBB values, top row first.
Bytes MakeBmp(int width, int height, const std::vector<uint32_t>& rgb);

// A small GIF of up to four colours (0xRRGGBB), the pixels as indices; index
// transparent (when not negative) is the transparent one.
Bytes MakeGif(int width, int height, const std::vector<uint32_t>& colours,
              const std::vector<uint8_t>& indices, int transparent);

// A binary PPM (P6) of the picture given as 0xRRGGBB values.
Bytes MakePpm(int width, int height, const std::vector<uint32_t>& rgb);

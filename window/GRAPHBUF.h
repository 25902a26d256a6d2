// CLSGraphicsBuffer: an off-screen surface (memory DC and one bitmap) that a
// window draws into before one BitBlt to the screen.
#pragma once

#include <windows.h>

class CLSGraphicsBuffer {
public:
    CLSGraphicsBuffer() noexcept = default;
    ~CLSGraphicsBuffer();
    CLSGraphicsBuffer(const CLSGraphicsBuffer&) = delete;
    CLSGraphicsBuffer& operator=(const CLSGraphicsBuffer&) = delete;

    // Makes a 1 x 1 surface compatible with the window's device context.
    bool Create(HDC hdcWindow) noexcept;
    // A new bitmap of the given size; the contents are not kept.
    bool Resize(int cx, int cy) noexcept;
    // Selects a GDI object into the surface; the replaced object is not kept.
    void Select(HGDIOBJ hObject) noexcept;
    // Puts back what Create replaced and frees the surface.
    void Release() noexcept;

    HDC GetDC() const noexcept { return m_hdcMem; }
    HBITMAP GetBitmap() const noexcept { return m_hbmp; }

private:
    HWND m_hWnd = nullptr;
    HDC m_hdcMem = nullptr;
    HBITMAP m_hbmp = nullptr;
    HGDIOBJ m_hbmpPrev = nullptr;
    HGDIOBJ m_hfontPrev = nullptr;
};

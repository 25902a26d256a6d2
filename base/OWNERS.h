// Owners of Windows handles: each kernel handle, GDI object, window DC, paint
// DC and object selection has exactly one owner that gives it back. Not
// copyable; movable where a handle travels.
#pragma once

#include <windows.h>

#include <utility>

// A kernel handle closed with CloseHandle. Both null and INVALID_HANDLE_VALUE
// mean "none", as CreateFile and CreateThread answer differently.
class CLSHandle {
public:
    CLSHandle() noexcept = default;
    explicit CLSHandle(HANDLE h) noexcept : m_h(h) {}
    ~CLSHandle() { Reset(); }
    CLSHandle(CLSHandle&& other) noexcept : m_h(other.Release()) {}
    CLSHandle& operator=(CLSHandle&& other) noexcept
    {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    CLSHandle(const CLSHandle&) = delete;
    CLSHandle& operator=(const CLSHandle&) = delete;

    HANDLE Get() const noexcept { return m_h; }
    bool Valid() const noexcept { return m_h != nullptr && m_h != INVALID_HANDLE_VALUE; }
    explicit operator bool() const noexcept { return Valid(); }
    HANDLE Release() noexcept { return std::exchange(m_h, nullptr); }
    void Reset(HANDLE h = nullptr) noexcept
    {
        if (Valid()) {
            CloseHandle(m_h);
        }
        m_h = h;
    }

private:
    HANDLE m_h = nullptr;
};

// A GDI object (font, brush, pen, bitmap, region) deleted with DeleteObject.
// Whoever selected it into a DC must have put the old object back first:
// CLSSelectObject does that by going out of scope before this owner does.
template <typename T>
class CLSGdiObject {
public:
    CLSGdiObject() noexcept = default;
    explicit CLSGdiObject(T h) noexcept : m_h(h) {}
    ~CLSGdiObject() { Reset(); }
    CLSGdiObject(CLSGdiObject&& other) noexcept : m_h(other.Release()) {}
    CLSGdiObject& operator=(CLSGdiObject&& other) noexcept
    {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    CLSGdiObject(const CLSGdiObject&) = delete;
    CLSGdiObject& operator=(const CLSGdiObject&) = delete;

    T Get() const noexcept { return m_h; }
    explicit operator bool() const noexcept { return m_h != nullptr; }
    T Release() noexcept { return std::exchange(m_h, nullptr); }
    void Reset(T h = nullptr) noexcept
    {
        if (m_h != nullptr) {
            DeleteObject(m_h);
        }
        m_h = h;
    }

private:
    T m_h = nullptr;
};

using CLSFontOwner = CLSGdiObject<HFONT>;
using CLSBrushOwner = CLSGdiObject<HBRUSH>;
using CLSPenOwner = CLSGdiObject<HPEN>;
using CLSBitmapOwner = CLSGdiObject<HBITMAP>;

// A local memory block (LocalAlloc), freed with LocalFree: what picture
// plug-ins hand over.
class CLSLocalOwner {
public:
    CLSLocalOwner() noexcept = default;
    explicit CLSLocalOwner(HLOCAL h) noexcept : m_h(h) {}
    ~CLSLocalOwner()
    {
        if (m_h != nullptr) {
            LocalFree(m_h);
        }
    }
    CLSLocalOwner(const CLSLocalOwner&) = delete;
    CLSLocalOwner& operator=(const CLSLocalOwner&) = delete;

    HLOCAL Get() const noexcept { return m_h; }
    // Where a function that hands over a block writes it; the owner must be empty.
    HLOCAL* Receive() noexcept { return &m_h; }

private:
    HLOCAL m_h = nullptr;
};

// A global memory block (GlobalAlloc), freed with GlobalFree unless it is
// handed over (to the clipboard, say) with Release. Unlocking is the user's.
class CLSGlobalOwner {
public:
    CLSGlobalOwner() noexcept = default;
    explicit CLSGlobalOwner(HGLOBAL h) noexcept : m_h(h) {}
    ~CLSGlobalOwner() { Reset(); }
    CLSGlobalOwner(const CLSGlobalOwner&) = delete;
    CLSGlobalOwner& operator=(const CLSGlobalOwner&) = delete;

    HGLOBAL Get() const noexcept { return m_h; }
    explicit operator bool() const noexcept { return m_h != nullptr; }
    HGLOBAL Release() noexcept { return std::exchange(m_h, nullptr); }
    // Takes h in place of the block held; a block that GlobalReAlloc moved
    // is the same block, so pass the old one on with Release first.
    void Reset(HGLOBAL h = nullptr) noexcept
    {
        if (m_h != nullptr) {
            GlobalFree(m_h);
        }
        m_h = h;
    }

private:
    HGLOBAL m_h = nullptr;
};

// The DC of a window from GetDC, given back with ReleaseDC.
class CLSWindowDC {
public:
    explicit CLSWindowDC(HWND hWnd) noexcept : m_hWnd(hWnd), m_hdc(GetDC(hWnd)) {}
    ~CLSWindowDC()
    {
        if (m_hdc != nullptr) {
            ReleaseDC(m_hWnd, m_hdc);
        }
    }
    CLSWindowDC(const CLSWindowDC&) = delete;
    CLSWindowDC& operator=(const CLSWindowDC&) = delete;

    HDC Get() const noexcept { return m_hdc; }
    explicit operator bool() const noexcept { return m_hdc != nullptr; }

private:
    HWND m_hWnd;
    HDC m_hdc;
};

// A memory DC from CreateCompatibleDC, deleted with DeleteDC. Objects selected
// into it are put back first by CLSSelectObject scopes that end before it.
class CLSMemoryDC {
public:
    explicit CLSMemoryDC(HDC compatibleWith) noexcept : m_hdc(CreateCompatibleDC(compatibleWith)) {}
    ~CLSMemoryDC()
    {
        if (m_hdc != nullptr) {
            DeleteDC(m_hdc);
        }
    }
    CLSMemoryDC(const CLSMemoryDC&) = delete;
    CLSMemoryDC& operator=(const CLSMemoryDC&) = delete;

    HDC Get() const noexcept { return m_hdc; }
    explicit operator bool() const noexcept { return m_hdc != nullptr; }

private:
    HDC m_hdc;
};

// BeginPaint and EndPaint of one WM_PAINT.
class CLSPaintDC {
public:
    explicit CLSPaintDC(HWND hWnd) noexcept : m_hWnd(hWnd), m_hdc(BeginPaint(hWnd, &m_ps)) {}
    ~CLSPaintDC() { EndPaint(m_hWnd, &m_ps); }
    CLSPaintDC(const CLSPaintDC&) = delete;
    CLSPaintDC& operator=(const CLSPaintDC&) = delete;

    HDC Get() const noexcept { return m_hdc; }
    const PAINTSTRUCT& Paint() const noexcept { return m_ps; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};
    HDC m_hdc;
};

// One SelectObject, undone when the scope ends, so the DC never holds an
// object that its owner is about to delete.
class CLSSelectObject {
public:
    CLSSelectObject(HDC hdc, HGDIOBJ hObject) noexcept
        : m_hdc(hdc), m_hOld(hdc != nullptr && hObject != nullptr ? SelectObject(hdc, hObject) : nullptr)
    {
    }
    ~CLSSelectObject()
    {
        if (m_hOld != nullptr && m_hOld != HGDI_ERROR) {
            SelectObject(m_hdc, m_hOld);
        }
    }
    CLSSelectObject(const CLSSelectObject&) = delete;
    CLSSelectObject& operator=(const CLSSelectObject&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_hOld;
};

// One reference to a COM interface, released when the owner goes. Address()
// hands the slot to a function that returns a new reference (it releases
// what the owner held first).
template <typename T>
class CLSComPtr {
public:
    CLSComPtr() noexcept = default;
    explicit CLSComPtr(T* p) noexcept : m_p(p) {}
    ~CLSComPtr() { Reset(); }
    CLSComPtr(CLSComPtr&& other) noexcept : m_p(other.Release()) {}
    CLSComPtr& operator=(CLSComPtr&& other) noexcept
    {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    CLSComPtr(const CLSComPtr&) = delete;
    CLSComPtr& operator=(const CLSComPtr&) = delete;

    T* Get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }
    T** Address() noexcept
    {
        Reset();
        return &m_p;
    }
    void** VoidAddress() noexcept { return reinterpret_cast<void**>(Address()); }
    T* Release() noexcept { return std::exchange(m_p, nullptr); }
    void Reset(T* p = nullptr) noexcept
    {
        if (m_p != nullptr) {
            m_p->Release();
        }
        m_p = p;
    }
    // A second reference to the same interface.
    static CLSComPtr AddRef(T* p) noexcept
    {
        if (p != nullptr) {
            p->AddRef();
        }
        return CLSComPtr(p);
    }

private:
    T* m_p = nullptr;
};

// Owners of Windows handles: each kernel handle, GDI object, window DC, paint
// DC and object selection has exactly one owner that gives it back. Not
// copyable; movable where a handle travels.
#pragma once

#include <windows.h>

#include <utility>

// CLSUniqueOwner: the one body of every owner that holds a single value and
// gives it back one way. The traits name the value's type, its "none", what
// counts as held, and how it is given back. Not copyable; moving hands the
// value over. Address() empties the owner and hands its slot to a function
// that writes a new value into it.
template <typename Traits>
class CLSUniqueOwner {
public:
    using Value = typename Traits::Value;

    CLSUniqueOwner() noexcept = default;
    explicit CLSUniqueOwner(Value v) noexcept : m_v(v) {}
    ~CLSUniqueOwner() { Reset(); }
    CLSUniqueOwner(CLSUniqueOwner&& other) noexcept : m_v(other.Release()) {}
    CLSUniqueOwner& operator=(CLSUniqueOwner&& other) noexcept
    {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    CLSUniqueOwner(const CLSUniqueOwner&) = delete;
    CLSUniqueOwner& operator=(const CLSUniqueOwner&) = delete;

    Value Get() const noexcept { return m_v; }
    bool Valid() const noexcept { return Traits::Held(m_v); }
    explicit operator bool() const noexcept { return Valid(); }
    Value* Address() noexcept
    {
        Reset();
        return &m_v;
    }
    Value Release() noexcept { return std::exchange(m_v, Traits::None()); }
    void Reset(Value v = Traits::None()) noexcept
    {
        if (Traits::Held(m_v)) {
            Traits::Free(m_v);
        }
        m_v = v;
    }

private:
    Value m_v = Traits::None();
};

// Traits of a value whose "none" is null.
template <typename T>
struct CLSNullIsNone {
    using Value = T;
    static constexpr T None() noexcept { return nullptr; }
    static bool Held(T v) noexcept { return v != nullptr; }
};

// A kernel handle closed with CloseHandle. Both null and INVALID_HANDLE_VALUE
// mean "none", as CreateFile and CreateThread answer differently.
struct CLSKernelHandleTraits : CLSNullIsNone<HANDLE> {
    static bool Held(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE h) noexcept { CloseHandle(h); }
};
using CLSHandle = CLSUniqueOwner<CLSKernelHandleTraits>;

// A search of a folder's entries, closed with FindClose.
struct CLSFindTraits : CLSKernelHandleTraits {
    static void Free(HANDLE h) noexcept { FindClose(h); }
};
using CLSFindHandle = CLSUniqueOwner<CLSFindTraits>;

// A registration for device notifications, ended with
// UnregisterDeviceNotification.
struct CLSDeviceNotifyTraits : CLSNullIsNone<HDEVNOTIFY> {
    static void Free(HDEVNOTIFY h) noexcept { UnregisterDeviceNotification(h); }
};
using CLSDeviceNotify = CLSUniqueOwner<CLSDeviceNotifyTraits>;

// A GDI object (font, brush, pen, bitmap, region) deleted with DeleteObject.
// Whoever selected it into a DC must have put the old object back first:
// CLSSelectObject does that by going out of scope before this owner does.
template <typename T>
struct CLSGdiObjectTraits : CLSNullIsNone<T> {
    static void Free(T h) noexcept { DeleteObject(h); }
};
template <typename T>
using CLSGdiObject = CLSUniqueOwner<CLSGdiObjectTraits<T>>;

using CLSFontOwner = CLSGdiObject<HFONT>;
using CLSBrushOwner = CLSGdiObject<HBRUSH>;
using CLSPenOwner = CLSGdiObject<HPEN>;
using CLSBitmapOwner = CLSGdiObject<HBITMAP>;

// A local memory block (LocalAlloc), freed with LocalFree: what picture
// plug-ins hand over.
struct CLSLocalTraits : CLSNullIsNone<HLOCAL> {
    static void Free(HLOCAL h) noexcept { LocalFree(h); }
};
using CLSLocalOwner = CLSUniqueOwner<CLSLocalTraits>;

// A global memory block (GlobalAlloc), freed with GlobalFree unless it is
// handed over (to the clipboard, say) with Release. Unlocking is the user's.
// A block that GlobalReAlloc moved is the same block: pass the old one on
// with Release before Reset takes the new one.
struct CLSGlobalTraits : CLSNullIsNone<HGLOBAL> {
    static void Free(HGLOBAL h) noexcept { GlobalFree(h); }
};
using CLSGlobalOwner = CLSUniqueOwner<CLSGlobalTraits>;

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

// One reference to a COM interface, released when the owner goes.
template <typename T>
struct CLSComTraits : CLSNullIsNone<T*> {
    static void Free(T* p) noexcept { p->Release(); }
};
template <typename T>
class CLSComPtr : public CLSUniqueOwner<CLSComTraits<T>> {
public:
    using CLSUniqueOwner<CLSComTraits<T>>::CLSUniqueOwner;

    T* operator->() const noexcept { return this->Get(); }
    void** VoidAddress() noexcept { return reinterpret_cast<void**>(this->Address()); }
    // A second reference to the same interface.
    static CLSComPtr AddRef(T* p) noexcept
    {
        if (p != nullptr) {
            p->AddRef();
        }
        return CLSComPtr(p);
    }
};

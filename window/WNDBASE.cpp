// Window binding: the object address lives in GWLP_USERDATA from WM_NCCREATE
// (or WM_INITDIALOG) until WM_DESTROY has been handled.
#include "window/WNDBASE.h"

namespace {

bool HasDialogProc(HWND hWnd)
{
    return GetWindowLongPtrA(hWnd, DWLP_DLGPROC) != 0;
}

// The creation parameter that carries the object, if this message has one.
CLSWndBase* CreationObject(UINT uMsg, LPARAM lParam)
{
    if ((uMsg == WM_NCCREATE || uMsg == WM_CREATE) && lParam != 0) {
        return static_cast<CLSWndBase*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    }
    if (uMsg == WM_INITDIALOG) {
        return reinterpret_cast<CLSWndBase*>(lParam);
    }
    return nullptr;
}

}  // namespace

CLSWndBase::~CLSWndBase()
{
    Detach();
}

LRESULT CLSWndBase::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return DefaultProc(hWnd, uMsg, wParam, lParam);
}

bool CLSWndBase::Attach(HWND hWnd) noexcept
{
    if (!IsWindow(hWnd)) {
        return false;
    }
    m_hWnd = hWnd;
    m_bDialog = HasDialogProc(hWnd);
    SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    const int slot = m_bDialog ? DWLP_DLGPROC : GWLP_WNDPROC;
    const LONG_PTR ours = reinterpret_cast<LONG_PTR>(&CLSWndBase::StaticWindowProc);
    const LONG_PTR current = GetWindowLongPtrA(hWnd, slot);
    if (current != ours) {
        m_lpPrevProc = SetWindowLongPtrA(hWnd, slot, ours);
    }
    return true;
}

bool CLSWndBase::Detach() noexcept
{
    if (m_hWnd == nullptr) {
        return false;
    }
    if (m_lpPrevProc != 0) {
        SetWindowLongPtrA(m_hWnd, m_bDialog ? DWLP_DLGPROC : GWLP_WNDPROC, m_lpPrevProc);
        m_lpPrevProc = 0;
    }
    SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
    return true;
}

LRESULT CLSWndBase::DefaultProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) noexcept
{
    if (m_lpPrevProc != 0) {
        return CallWindowProcA(reinterpret_cast<WNDPROC>(m_lpPrevProc), hWnd, uMsg, wParam, lParam);
    }
    if (m_bDialog) {
        return 0;  // the dialog manager does the default handling
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK CLSWndBase::StaticWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto* object = reinterpret_cast<CLSWndBase*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (object == nullptr) {
        object = CreationObject(uMsg, lParam);
        if (object != nullptr) {
            object->Attach(hWnd);
        }
    }
    if (object == nullptr) {
        return HasDialogProc(hWnd) ? 0 : DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }

    LRESULT result = 0;
    try {
        result = object->WindowProc(hWnd, uMsg, wParam, lParam);
    } catch (...) {
        // No exception may unwind into the system's message dispatch; a handler
        // that failed (out of memory) leaves the message unhandled.
        result = 0;
    }
    if (uMsg == WM_DESTROY) {
        object->Detach();
    }
    return result;
}

void Relayout(HWND hWndParent) noexcept
{
    RECT rc{};
    GetClientRect(hWndParent, &rc);
    SendMessageA(hWndParent, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.right - rc.left, rc.bottom - rc.top));
}

std::wstring WindowTextWide(HWND hWnd)
{
    const int length = GetWindowTextLengthW(hWnd);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int got = GetWindowTextW(hWnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

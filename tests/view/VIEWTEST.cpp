// The preview pane harness: a parent window that records the caret reports,
// files in a temporary folder, input as the user gives it, and read-backs.
#include "VIEWTEST.h"

#include "tests/common/TEMPDIR.h"
#include "view/TEXTLAY.h"

#include <gtest/gtest.h>

#include <cstring>

const wchar_t kClipboardMarker[] = L"<marker>";

namespace {

constexpr char kParentClass[] = "GlimTestViewParent";

// One folder for the whole run, emptied and removed when the tests end.
const TempFolder& TestFolder()
{
    static TempFolder folder;
    return folder;
}

template <class Char>
std::basic_string<Char> ReadClipboard(HWND owner, UINT format)
{
    std::basic_string<Char> text;
    if (OpenClipboard(owner)) {
        if (HANDLE h = GetClipboardData(format)) {
            text = static_cast<const Char*>(GlobalLock(h));
            GlobalUnlock(h);
        }
        CloseClipboard();
    }
    return text;
}

void PutMarkerOnClipboard(HWND owner)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, sizeof(kClipboardMarker));
    std::memcpy(GlobalLock(h), kClipboardMarker, sizeof(kClipboardMarker));
    GlobalUnlock(h);
    SetClipboardData(CF_UNICODETEXT, h);
    CloseClipboard();
}

}  // namespace

std::string TestFilePath(const char* name)
{
    return TestFolder().PathOf(name);
}

std::string WriteTestFile(const char* name, const std::string& bytes)
{
    return TestFolder().Write(name, bytes);
}

std::wstring ClipboardText(HWND owner)
{
    return ReadClipboard<wchar_t>(owner, CF_UNICODETEXT);
}

CLSGlimTextSettings TestTextSettings()
{
    CLSGlimTextSettings text;
    text.SetFaceName("ＭＳ ゴシック");
    text.SetHeight(11);
    text.SetLineHeight(140);
    text.SetTabStop(4);
    text.SetUseSystemColor(false);
    text.SetTextColor(kText);
    text.SetBackColor(kBack);
    text.SetSelectedTextColor(kSelText);
    text.SetSelectedBackColor(kSelBack);
    return text;
}

CLSViewHarness::CLSViewHarness(int cx, int cy)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &CLSViewHarness::ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kParentClass;
        registered = RegisterClassExA(&wc) != 0;
    }
    m_hWndParent = CreateWindowExA(0, kParentClass, "view test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, cx, cy,
                                   nullptr, nullptr, GetModuleHandleA(nullptr), this);
    EXPECT_NE(m_hWndParent, nullptr);
    EXPECT_TRUE(view.Create(m_hWndParent, CLSWndView::kControlId));
    Apply(CLSGlimImageSettings());
    Resize(cx, cy);
    SetForegroundWindow(m_hWndParent);
    SetFocus(View());
    Pump();
}

CLSViewHarness::~CLSViewHarness()
{
    view.Destroy();
    DestroyWindow(m_hWndParent);
    Pump();
}

LRESULT CALLBACK CLSViewHarness::ParentProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<CLSViewHarness*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (uMsg == WMU_CARET_POS && self != nullptr) {
        self->m_iCaretLine = static_cast<int>(wParam);
        self->m_iCaretColumn = static_cast<int>(lParam);
        ++self->m_iReports;
        return 0;
    }
    if (uMsg == WM_SIZE && self != nullptr) {
        self->view.Move(0, 0, LOWORD(lParam), HIWORD(lParam));  // the pane fills the parent
        return 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

void CLSViewHarness::Apply(const CLSGlimImageSettings& image, const CLSGlimMediaSettings& media)
{
    view.ApplySettings(TestTextSettings(), TestTextSettings(), image, media);
}

void CLSViewHarness::Resize(int cx, int cy)
{
    RECT rc{0, 0, cx, cy};
    AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, FALSE, 0);
    SetWindowPos(m_hWndParent, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
}

void CLSViewHarness::Open(const std::string& path)
{
    view.OpenFile(path.c_str());
    Paint();
    // The lines of a file on disk are counted on a thread after the first
    // paint; the tests look at the pane once that is done and announced.
    if (view.GetDisplayMode() == DocumentKind::Text) {
        view.GetLineCount();
        Pump();
    }
}

void CLSViewHarness::Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void CLSViewHarness::Paint()
{
    InvalidateRect(View(), nullptr, TRUE);
    UpdateWindow(View());
    Pump();
    UpdateWindow(View());
}

void CLSViewHarness::Key(UINT vk, bool shift, bool ctrl)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    SendMessageA(View(), WM_KEYDOWN, vk, 1);
    keys[VK_SHIFT] = 0;
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

void CLSViewHarness::Click(int x, int y, bool shift)
{
    const WPARAM flags = MK_LBUTTON | (shift ? MK_SHIFT : 0);
    SendMessageA(View(), WM_LBUTTONDOWN, flags, MAKELPARAM(x, y));
    SendMessageA(View(), WM_LBUTTONUP, flags & ~static_cast<WPARAM>(MK_LBUTTON), MAKELPARAM(x, y));
}

void CLSViewHarness::Mouse(DWORD flags, int x, int y)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof(input));
}

std::wstring CLSViewHarness::CopyUnicode(UINT uMsg, WPARAM wParam)
{
    PutMarkerOnClipboard(m_hWndParent);
    SendMessageA(View(), uMsg, wParam, 0);
    return ReadClipboard<wchar_t>(m_hWndParent, CF_UNICODETEXT);
}

std::string CLSViewHarness::CopyAnsi()
{
    PutMarkerOnClipboard(m_hWndParent);
    SendMessageA(View(), WM_COPY, 0, 0);
    return ReadClipboard<char>(m_hWndParent, CF_TEXT);
}

SCROLLINFO CLSViewHarness::ScrollBar(int bar)
{
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    GetScrollInfo(View(), bar, &si);
    return si;
}

Shot CLSViewHarness::Capture(bool repaint)
{
    if (repaint) {
        Paint();
    }
    Shot shot;
    RECT rc{};
    GetClientRect(View(), &rc);
    shot.cx = rc.right;
    shot.cy = rc.bottom;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = shot.cx;
    bi.bmiHeader.biHeight = -shot.cy;  // top-down rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC hdcView = GetDC(View());
    HDC hdcMem = CreateCompatibleDC(hdcView);
    HBITMAP hbmp = CreateDIBSection(hdcView, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(hdcMem, hbmp);
    BitBlt(hdcMem, 0, 0, shot.cx, shot.cy, hdcView, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* src = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(shot.cx) * shot.cy; ++i) {
        shot.pixels.push_back(RGB((src[i] >> 16) & 0xFF, (src[i] >> 8) & 0xFF, src[i] & 0xFF));  // from 0x00RRGGBB
    }
    SelectObject(hdcMem, old);
    DeleteObject(hbmp);
    DeleteDC(hdcMem);
    ReleaseDC(View(), hdcView);
    return shot;
}

int CLSViewHarness::FontHeight()
{
    HFONT font = TestTextSettings().CreateFont(View());
    HDC hdc = GetDC(View());
    HGDIOBJ old = SelectObject(hdc, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(hdc, &tm);
    SelectObject(hdc, old);
    ReleaseDC(View(), hdc);
    DeleteObject(font);
    return tm.tmHeight;
}

int CLSViewHarness::LineHeight()
{
    return RowHeight(FontHeight(), 140);
}

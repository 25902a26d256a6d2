// The preview pane harness: a parent window that records the caret reports,
// files in a temporary folder, input as the user gives it, and read-backs.
#include "VIEWTEST.h"

#include "base/OWNERS.h"
#include "tests/common/PUMP.h"
#include "view/TEXTLAY.h"

#include <gtest/gtest.h>

#include <cstring>

const wchar_t kClipboardMarker[] = L"<marker>";

namespace {

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

// The marker on the clipboard, then the copy, then the clipboard as text.
template <class Char>
std::basic_string<Char> CopyThrough(HWND owner, HWND hWndView, UINT uMsg, WPARAM wParam, UINT format)
{
    EXPECT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, sizeof(kClipboardMarker));
    std::memcpy(GlobalLock(h), kClipboardMarker, sizeof(kClipboardMarker));
    GlobalUnlock(h);
    SetClipboardData(CF_UNICODETEXT, h);  // the clipboard owns the block now
    CloseClipboard();
    SendMessageA(hWndView, uMsg, wParam, 0);
    return ReadClipboard<Char>(owner, format);
}

CLSGlimTextSettings TestTextSettings()
{
    CLSGlimTextSettings text;
    text.SetFaceName("ＭＳ ゴシック");
    text.SetHeight(11);
    text.SetLineHeight(140);
    text.SetTabStop(4);
    text.SetUseSystemColor(false);
    text.SetTextColor(RGB(0, 0, 0));
    text.SetBackColor(kBack);
    text.SetSelectedTextColor(RGB(255, 255, 255));
    text.SetSelectedBackColor(kSelBack);
    return text;
}

}  // namespace

const TempFolder& TestFolder()
{
    static TempFolder folder;
    return folder;
}

std::string NumberedLines(int count, const char* eol)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "line " + std::to_string(i) + eol;
    }
    return text;
}

std::wstring ClipboardText(HWND owner)
{
    return ReadClipboard<wchar_t>(owner, CF_UNICODETEXT);
}

CLSViewHarness::CLSViewHarness(int cx, int cy)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &CLSViewHarness::ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "GlimTestViewParent";
        registered = RegisterClassExA(&wc) != 0;
    }
    m_hWndParent = CreateWindowExA(0, "GlimTestViewParent", "view test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, cx,
                                   cy, nullptr, nullptr, GetModuleHandleA(nullptr), this);
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
    if (uMsg == WMU_ENCODING_FOUND && self != nullptr) {
        self->m_encFound = static_cast<TextEncoding>(wParam);
        return 0;
    }
    if (uMsg == WMU_FILE_REREAD && self != nullptr) {
        ++self->m_iRereads;
        return 0;
    }
    if (uMsg == WMU_FOLLOW_STATE && self != nullptr) {
        self->m_follow = static_cast<FollowState>(wParam);
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
    view.OpenFile(WidenAnsi(path));
    Paint();
    // The lines of a file on disk are counted on a thread after the first
    // paint; the tests look at the pane once that is done and announced.
    if (view.GetDisplayMode() == DocumentKind::Text) {
        view.Doc().GetLineCount();
        Pump();
    }
}

void CLSViewHarness::Pump()
{
    PumpUntil([] { return true; });
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

std::wstring CLSViewHarness::CopyUnicode(UINT uMsg, WPARAM wParam)
{
    return CopyThrough<wchar_t>(m_hWndParent, View(), uMsg, wParam, CF_UNICODETEXT);
}

std::string CLSViewHarness::CopyAnsi()
{
    return CopyThrough<char>(m_hWndParent, View(), WM_COPY, 0, CF_TEXT);
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
    RECT rc{};
    GetClientRect(View(), &rc);
    Shot shot{rc.right, rc.bottom, std::vector<COLORREF>(static_cast<size_t>(rc.right) * rc.bottom)};
    CLSWindowDC screen(View());
    CLSMemoryDC memory(screen.Get());
    CLSBitmapOwner bitmap(CreateCompatibleBitmap(screen.Get(), shot.cx, shot.cy));
    {
        CLSSelectObject select(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, shot.cx, shot.cy, screen.Get(), 0, 0, SRCCOPY);
    }
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(bi.bmiHeader), shot.cx, -shot.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // top-down rows
    GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(shot.cy), shot.pixels.data(), &bi, DIB_RGB_COLORS);
    for (COLORREF& pixel : shot.pixels) {
        pixel = RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));  // from 0x00RRGGBB
    }
    return shot;
}

int CLSViewHarness::FontHeight()
{
    CLSFontOwner font(TestTextSettings().CreateFont(View()));
    CLSWindowDC dc(View());
    CLSSelectObject select(dc.Get(), font.Get());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.Get(), &tm);
    return tm.tmHeight;
}

int CLSViewHarness::LineHeight()
{
    return RowHeight(FontHeight(), 140);
}

// Copying the selection to the clipboard (text as UTF-16 on NT, hex as pairs)
// and the pane's context menu.
#include "view/WNDVIEW.h"

#include "base/OWNERS.h"
#include "resources/RESOURCE.h"

#include <cstdint>
#include <cstring>

namespace {

bool IsNtPlatform()
{
    OSVERSIONINFOA vi{};
    vi.dwOSVersionInfoSize = sizeof(vi);
    return GetVersionExA(&vi) && vi.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// The copy text as it is gathered: a moveable block kept locked, at least
// doubled whenever it is too small, so that a copy of many lines moves each
// byte a few times in all rather than once for every line after it. Freed
// unless Finish hands it over.
class CLSCopyBlock {
public:
    // Room for expected bytes from the start when they can be had: every
    // growth moves the text gathered so far into fresh pages.
    explicit CLSCopyBlock(std::uint64_t expected)
    {
        if (expected + 2 <= SIZE_MAX) {
            Take(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(expected) + 2),
                 static_cast<SIZE_T>(expected) + 2);
        }
        if (m_lpbyData == nullptr) {
            Take(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, kFirstRoom), kFirstRoom);
        }
    }
    ~CLSCopyBlock()
    {
        if (m_lpbyData != nullptr) {
            GlobalUnlock(m_hBlock.Get());
        }
    }
    CLSCopyBlock(const CLSCopyBlock&) = delete;
    CLSCopyBlock& operator=(const CLSCopyBlock&) = delete;

    // Room for bytes more and a 2-byte terminator; where they go, or null
    // when memory runs out. Commit says how many were written.
    char* Reserve(SIZE_T bytes)
    {
        if (m_lpbyData == nullptr || bytes > SIZE_MAX - 2 - m_cbUsed) {
            return nullptr;
        }
        const SIZE_T needed = m_cbUsed + bytes + 2;
        if (needed > m_cbRoom) {
            const SIZE_T doubled = m_cbRoom <= SIZE_MAX / 2 ? 2 * m_cbRoom : needed;
            const SIZE_T size = doubled > needed ? doubled : needed;
            GlobalUnlock(m_hBlock.Get());
            m_lpbyData = nullptr;
            if (HGLOBAL hGrown = GlobalReAlloc(m_hBlock.Get(), size, GMEM_MOVEABLE)) {
                m_hBlock.Release();
                m_hBlock.Reset(hGrown);
                m_cbRoom = size;
            }
            m_lpbyData = static_cast<char*>(GlobalLock(m_hBlock.Get()));
            if (m_lpbyData == nullptr || needed > m_cbRoom) {
                return nullptr;
            }
        }
        return m_lpbyData + m_cbUsed;
    }
    void Commit(SIZE_T bytes) { m_cbUsed += bytes; }

    // The text with its terminator, in a block cut to fit; null when the
    // block could not be had at all.
    HGLOBAL Finish()
    {
        if (Reserve(0) == nullptr) {
            return nullptr;
        }
        m_lpbyData[m_cbUsed] = 0;
        m_lpbyData[m_cbUsed + 1] = 0;
        GlobalUnlock(m_hBlock.Get());
        m_lpbyData = nullptr;
        HGLOBAL hBlock = m_hBlock.Release();
        // Much room unused goes back; a little is not worth moving the text.
        if (m_cbRoom - m_cbUsed > m_cbRoom / 4) {
            if (HGLOBAL hFitted = GlobalReAlloc(hBlock, m_cbUsed + 2, GMEM_MOVEABLE)) {
                hBlock = hFitted;
            }
        }
        return hBlock;
    }

private:
    static constexpr SIZE_T kFirstRoom = 64 * 1024;

    void Take(HGLOBAL hBlock, SIZE_T room)
    {
        m_hBlock.Reset(hBlock);
        m_lpbyData = m_hBlock ? static_cast<char*>(GlobalLock(m_hBlock.Get())) : nullptr;
        m_cbRoom = m_lpbyData != nullptr ? room : 0;
    }

    CLSGlobalOwner m_hBlock;
    char* m_lpbyData = nullptr;
    SIZE_T m_cbRoom = 0;
    SIZE_T m_cbUsed = 0;
};

// Adds one selected line, after a break unless it is the first: as UTF-16
// units, or as ANSI bytes.
bool AppendLine(CLSCopyBlock& block, bool unicode, bool breakFirst, const WCHAR* text, int count)
{
    const SIZE_T k = static_cast<SIZE_T>(count);
    // Every line after the first starts with a break, also when the lines
    // before it were empty.
    const SIZE_T room = unicode ? (k + 2) * sizeof(WCHAR) : 2 * k + 2;
    char* out = block.Reserve(room);
    if (out == nullptr) {
        return false;
    }
    SIZE_T written = 0;
    if (unicode) {
        static const WCHAR kBreak[2] = {L'\r', L'\n'};
        if (breakFirst) {
            std::memcpy(out, kBreak, sizeof(kBreak));
            written = sizeof(kBreak);
        }
        std::memcpy(out + written, text, k * sizeof(WCHAR));
        written += k * sizeof(WCHAR);
    } else {
        if (breakFirst) {
            out[written++] = '\r';
            out[written++] = '\n';
        }
        if (k > 0) {
            written += WideCharToMultiByte(CP_ACP, 0, text, count, out + written, static_cast<int>(2 * k), nullptr,
                                           nullptr);
        }
    }
    block.Commit(written);
    return true;
}

}  // namespace

HGLOBAL CLSWndView::CopyText(UINT& format)
{
    const bool unicode = IsNtPlatform();
    format = unicode ? CF_UNICODETEXT : CF_TEXT;
    const OrderedSelection sel = Selection();
    const bool lines = sel.s.line >= 0 && sel.e.line >= sel.s.line;
    // A line's bytes give at most as many UTF-16 units, or ANSI bytes, and
    // its break at most two.
    const std::uint64_t expected =
        lines ? (GetLinesBytes(static_cast<DWORD>(sel.s.line), static_cast<DWORD>(sel.e.line)) +
                 2 * static_cast<std::uint64_t>(sel.e.line - sel.s.line)) *
                    (unicode ? sizeof(WCHAR) : 1)
              : 0;
    CLSCopyBlock block(expected);
    if (lines) {
        // A line that cannot be read ends the copy: what was gathered before
        // it is copied.
        ReadLines(static_cast<DWORD>(sel.s.line), static_cast<DWORD>(sel.e.line), m_encOverride,
                  [&](DWORD line, const WCHAR* text, int length) {
                      const LineSlice slice = SelectedSlice(static_cast<int>(line), length, sel);
                      return AppendLine(block, unicode, static_cast<int>(line) > sel.s.line, text + slice.first,
                                        slice.count);
                  });
    }
    return block.Finish();
}

void CLSWndView::OnCopy()
{
    // Rows of a file cut behind the pane would be copied as empty lines.
    RefreshIfChanged();
    if (!HasSelection()) {
        return;
    }
    UINT format = CF_TEXT;
    CLSGlobalOwner block;
    switch (GetDisplayMode()) {
    case DocumentKind::Text:
        block.Reset(CopyText(format));
        break;
    case DocumentKind::Hex:
        block.Reset(CopyHex());
        break;
    default:
        return;
    }
    if (!block) {
        // Too much to hold as text (gigabytes of hex): the user hears that
        // nothing was copied rather than pasting what was there before.
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    if (!OpenClipboard(m_hWnd)) {
        return;
    }
    // The clipboard owns the block once it took it; else it is ours to free.
    if (EmptyClipboard() && SetClipboardData(format, block.Get()) != nullptr) {
        block.Release();
    }
    CloseClipboard();
}

void CLSWndView::OnContextMenu(int x, int y)
{
    if (!HasCaretMode()) {
        return;
    }
    HMENU hMenu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_VIEW_CONTEXT));
    if (hMenu == nullptr) {
        return;
    }
    HMENU hPopup = GetSubMenu(hMenu, 0);
    if (!HasSelection()) {
        EnableMenuItem(hPopup, IDM_COPY, MF_BYCOMMAND | MF_GRAYED);
    }
    if (x == -1 && y == -1) {
        // From the keyboard (Shift+F10, the menu key): at the caret.
        long long cx = 0;
        long long cy = 0;
        POINT pt{0, 0};
        if (CaretToClient(m_posCaret, cx, cy)) {
            pt = POINT{static_cast<LONG>(cx), static_cast<LONG>(cy + GetMetrics().fontHeight)};
        }
        ClientToScreen(m_hWnd, &pt);
        x = pt.x;
        y = pt.y;
    }
    TrackPopupMenu(hPopup, TPM_LEFTBUTTON, x, y, 0, m_hWnd, nullptr);
    DestroyMenu(hMenu);
}

// Copying the selection to the clipboard (text as UTF-16 on NT, hex as pairs)
// and the pane's context menu.
#include "view/WNDVIEW.h"

#include "resources/RESOURCE.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr UINT kClipboardFlags = GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT;

bool IsNtPlatform()
{
    OSVERSIONINFOA vi{};
    vi.dwOSVersionInfoSize = sizeof(vi);
    return GetVersionExA(&vi) && vi.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// Makes the block hold at least needed bytes, zero-filled beyond what it held.
// It at least doubles, so that a copy of many lines moves each byte a few
// times in all rather than once for every line after it.
bool GrowBlock(HGLOBAL& hBlock, SIZE_T& capacity, SIZE_T needed)
{
    if (needed <= capacity) {
        return true;
    }
    const SIZE_T doubled = capacity <= SIZE_MAX / 2 ? 2 * capacity : needed;
    const SIZE_T size = doubled > needed ? doubled : needed;
    HGLOBAL hGrown = GlobalReAlloc(hBlock, size, GMEM_MOVEABLE | GMEM_ZEROINIT);
    if (hGrown == nullptr) {
        return false;
    }
    hBlock = hGrown;
    capacity = size;
    return true;
}

}  // namespace

HGLOBAL CLSWndView::CopyText(UINT& format)
{
    const bool unicode = IsNtPlatform();
    format = unicode ? CF_UNICODETEXT : CF_TEXT;
    HGLOBAL hBlock = GlobalAlloc(kClipboardFlags, 2);
    if (hBlock == nullptr) {
        return nullptr;
    }
    const OrderedSelection sel = Selection();
    SIZE_T p = 0;  // units (UTF-16) or bytes (ANSI) written
    SIZE_T capacity = 2;
    for (int line = sel.s.line; line <= sel.e.line && line >= 0; ++line) {
        CLSDecodedLine text = GetLine(static_cast<DWORD>(line), m_encOverride);
        if (!text) {
            break;  // what was gathered so far is copied
        }
        const LineSlice slice = SelectedSlice(line, text.Length(), sel);
        const SIZE_T k = static_cast<SIZE_T>(slice.count);
        if (!GrowBlock(hBlock, capacity, 2 * (k + p) + 6)) {
            break;
        }
        void* block = GlobalLock(hBlock);
        if (block == nullptr) {
            break;
        }
        // Every line after the first starts with a break, also when the lines
        // before it were empty.
        const bool breakFirst = line > sel.s.line;
        const WCHAR* source = text.Text() + slice.first;
        if (unicode) {
            WCHAR* units = static_cast<WCHAR*>(block);
            if (breakFirst) {
                units[p++] = L'\r';
                units[p++] = L'\n';
            }
            std::memcpy(units + p, source, k * sizeof(WCHAR));
            p += k;
        } else {
            char* bytes = static_cast<char*>(block);
            if (breakFirst) {
                bytes[p++] = '\r';
                bytes[p++] = '\n';
            }
            if (k > 0) {
                p += WideCharToMultiByte(CP_ACP, 0, source, static_cast<int>(k), bytes + p,
                                         static_cast<int>(2 * k), nullptr, nullptr);
            }
        }
        GlobalUnlock(hBlock);
    }
    // What doubling left unused goes back; the 0 after the text stays.
    if (HGLOBAL hFitted = GlobalReAlloc(hBlock, 2 * p + 2, GMEM_MOVEABLE)) {
        hBlock = hFitted;
    }
    return hBlock;
}

void CLSWndView::OnCopy()
{
    // Rows of a file cut behind the pane would be copied as empty lines.
    RefreshIfChanged();
    if (!HasSelection()) {
        return;
    }
    UINT format = CF_TEXT;
    HGLOBAL hBlock = nullptr;
    switch (GetDisplayMode()) {
    case DocumentKind::Text:
        hBlock = CopyText(format);
        break;
    case DocumentKind::Hex:
        hBlock = CopyHex();
        break;
    default:
        return;
    }
    if (hBlock == nullptr) {
        // Too much to hold as text (gigabytes of hex): the user hears that
        // nothing was copied rather than pasting what was there before.
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    if (!OpenClipboard(m_hWnd)) {
        GlobalFree(hBlock);
        return;
    }
    if (!EmptyClipboard()) {
        GlobalFree(hBlock);
    } else if (SetClipboardData(format, hBlock) == nullptr) {
        GlobalFree(hBlock);  // the clipboard took nothing, so it owns nothing
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

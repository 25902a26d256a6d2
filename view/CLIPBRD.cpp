// Copying the selection to the clipboard (text as UTF-16 on NT, hex as pairs)
// and the pane's context menu.
#include "view/WNDVIEW.h"

#include "base/OWNERS.h"
#include "resources/RESOURCE.h"
#include "view/HEXLAY.h"

#include <cstdint>
#include <memory>
#include <utility>

namespace {

bool IsNtPlatform()
{
    OSVERSIONINFOA vi{};
    vi.dwOSVersionInfoSize = sizeof(vi);
    return GetVersionExA(&vi) && vi.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

// The document's reader and what is selected in it.
bool CLSWndView::MakeCopyOrder(CopyOrder& order)
{
    const OrderedSelection sel = Selection();
    order.source.holder = m_doc;  // gathered on after the pane has moved on
    switch (GetDisplayMode()) {
    case DocumentKind::Text:
        order.lines = sel;
        order.encoding = GetEffectiveEncoding();
        for (const int line : {sel.s.line, sel.e.line}) {
            const CLSLineMap* map = m_clsLongLines.Find(static_cast<std::uint32_t>(line), TabCells());
            if (map != nullptr && (order.longLines.empty() || order.longLines.back().first != static_cast<std::uint64_t>(line))) {
                order.longLines.emplace_back(line, *map);
            }
        }
        order.unicode = IsNtPlatform();
        // A selection into a line whose end is not yet read waits for the
        // count rather than freeze the window: nothing is copied (a beep).
        if (!Doc().KnowsLineEnd(static_cast<DWORD>(sel.e.line))) {
            return false;
        }
        return MakeDocumentSourceThrough(Doc(), static_cast<DWORD>(sel.e.line), order.source);
    case DocumentKind::Hex:
        order.hex = true;
        order.start = static_cast<std::uint64_t>(sel.s.line) * kHexBytesPerRow + sel.s.column;
        order.end = static_cast<std::uint64_t>(sel.e.line) * kHexBytesPerRow + sel.e.column;
        return MakeDocumentSource(Doc(), false, order.source);
    default:
        return false;
    }
}

// The clipboard is promised the text and the pane becomes its owner; the text
// is gathered on the copy's own thread and handed over when it is asked for
// (RenderCopy), so that a copy of any size returns at once.
void CLSWndView::OnCopy()
{
    // Rows of a file cut behind the pane would be copied as empty lines.
    RefreshIfChanged();
    if (!HasSelection() || !HasCaretMode()) {
        return;
    }
    auto job = std::make_unique<CLSCopyJob>();
    CopyOrder order;
    if (!MakeCopyOrder(order) || !job->Prepare(std::move(order))) {
        // Too much to hold as text (gigabytes of hex): the user hears that
        // nothing was copied rather than pasting what was there before.
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    if (!OpenClipboard(m_hWnd)) {
        return;
    }
    // Emptying tells the owner so (WM_DESTROYCLIPBOARD): an earlier copy of
    // this pane is dropped there.
    if (EmptyClipboard()) {
        m_pCopyJob = std::move(job);
        m_pCopyJob->Start();
        // A promise: no block to hand over, so nothing tells whether it was
        // taken. If not, no one asks for the text and the next copy drops it.
        SetClipboardData(m_pCopyJob->Format(), nullptr);
    }
    CloseClipboard();
}

// Someone pastes: the text, once gathered, goes to the clipboard.
void CLSWndView::RenderCopy(UINT format)
{
    if (!m_pCopyJob || m_pCopyJob->Format() != format) {
        return;
    }
    CLSGlobalOwner block(m_pCopyJob->Take());
    m_pCopyJob.reset();
    if (block && SetClipboardData(format, block.Get()) != nullptr) {
        block.Release();
    }
}

// The pane goes while the clipboard still waits for its text: it is put
// there now, so that it can still be pasted.
void CLSWndView::RenderAllCopies()
{
    if (!m_pCopyJob || !OpenClipboard(m_hWnd)) {
        return;
    }
    if (GetClipboardOwner() == m_hWnd) {
        RenderCopy(m_pCopyJob->Format());
    }
    CloseClipboard();
    m_pCopyJob.reset();
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

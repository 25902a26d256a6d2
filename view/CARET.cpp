// Caret and selection in text and hex modes: placing the caret, the keys, the
// mouse, select-all, and repainting just the rows a change touches.
#include "view/WNDVIEW.h"

#include "view/TEXTLAY.h"

#include <utility>

bool CLSWndView::CaretToClient(ViewPos pos, long long& x, long long& y)
{
    bool ok = false;
    switch (GetDisplayMode()) {
    case DocumentKind::Text:
        ok = ColumnToPoint(pos.column, pos.line, x, y);
        break;
    case DocumentKind::Hex:
        ok = HexColumnToPoint(pos.column, pos.line, x, y);
        break;
    default:
        break;
    }
    if (ok) {
        x -= static_cast<long long>(GetScrollPos32(SB_HORZ)) * HorizontalUnit();
        y -= static_cast<long long>(GetScrollPos32(SB_VERT)) * VerticalUnit();
    }
    return ok;
}

bool CLSWndView::ClientToCaret(long long x, long long y, ViewPos& pos)
{
    const long long docX = x + static_cast<long long>(GetScrollPos32(SB_HORZ)) * HorizontalUnit();
    const long long docY = y + static_cast<long long>(GetScrollPos32(SB_VERT)) * VerticalUnit();
    switch (GetDisplayMode()) {
    case DocumentKind::Text:
        return PointToColumn(docX, docY, pos);
    case DocumentKind::Hex:
        return HexPointToColumn(docX, docY, pos);
    default:
        return false;
    }
}

void CLSWndView::PlaceCaret()
{
    // The caret belongs to the thread, not to a window: moving it while
    // another control has the focus would move that control's caret.
    if (m_hWnd == nullptr || GetFocus() != m_hWnd) {
        return;
    }
    long long x = 0;
    long long y = 0;
    if (!CaretToClient(m_posCaret, x, y)) {
        return;
    }
    HideCaret(m_hWnd);
    SetCaretPos(SaturateToInt(x), SaturateToInt(y));
    ShowCaret(m_hWnd);
}

void CLSWndView::NotifyCaret()
{
    if (m_hWndParent != nullptr) {
        SendMessageA(m_hWndParent, WMU_CARET_POS, static_cast<WPARAM>(m_posCaret.line),
                     static_cast<LPARAM>(m_posCaret.column));
    }
}

void CLSWndView::OnSetFocus()
{
    if (!HasCaretMode()) {
        return;
    }
    CreateCaret(m_hWnd, nullptr, 2 * GetSystemMetrics(SM_CXBORDER), GetMetrics().fontHeight);
    ShowCaret(m_hWnd);
    PlaceCaret();
}

void CLSWndView::RefreshCaretShape()
{
    // A new font or mode changes the caret's height, or whether there is one.
    if (m_hWnd != nullptr && GetFocus() == m_hWnd) {
        DestroyCaret();
        OnSetFocus();
    }
}

void CLSWndView::FinishCaretChange(ViewPos oldCaret, ViewPos oldAnchor, bool extend)
{
    if (!extend) {
        m_posAnchor = m_posCaret;
    }
    RepaintChangedRows(oldCaret, oldAnchor);
    KeepCaretVisible();
    NotifyCaret();
}

void CLSWndView::RepaintChangedRows(ViewPos oldCaret, ViewPos oldAnchor)
{
    if (oldCaret == m_posCaret && oldAnchor == m_posAnchor) {
        return;
    }
    RepaintRows(oldCaret.line, oldAnchor.line);
    RepaintRows(m_posCaret.line, m_posAnchor.line);
}

void CLSWndView::RepaintRows(int first, int last)
{
    if (m_hWnd == nullptr || m_clsBuffer.GetDC() == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const Metrics m = GetMetrics();
    const PixelSpan span =
        RowsBand(first, last, GetScrollPos32(SB_VERT), m.rowHeight, m.fontHeight, client.bottom);
    if (span.top >= span.bottom) {
        return;
    }
    const RECT rc{0, span.top, client.right, span.bottom};
    CLSWindowDC window(m_hWnd);
    HideCaret(m_hWnd);
    PaintInto(rc);
    BitBlt(window.Get(), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, m_clsBuffer.GetDC(), rc.left, rc.top,
           SRCCOPY);
    ShowCaret(m_hWnd);
}

void CLSWndView::KeepCaretVisible()
{
    long long x = 0;
    long long y = 0;
    if (m_hWnd == nullptr || !CaretToClient(m_posCaret, x, y)) {
        return;
    }
    if (IsTextMode()) {
        WidenToCaret(x + static_cast<long long>(GetScrollPos32(SB_HORZ)) * HorizontalUnit());
    }
    RECT rc{};
    GetClientRect(m_hWnd, &rc);
    const Metrics m = GetMetrics();
    const ScrollSteps steps = ::KeepCaretVisible(x, y, HorizontalUnit(), VerticalUnit(), m.rowHeight, m.fontHeight,
                                                 ClientRect{rc.left, rc.top, rc.right, rc.bottom});
    if (steps.dy != 0) {
        ScrollBy(SB_VERT, steps.dy);
    }
    if (steps.dx != 0) {
        ScrollBy(SB_HORZ, steps.dx);
    }
    PlaceCaret();
}

// The horizontal range grows from the rows painted; a caret sent further (End
// on a line whose painted part told less than its width) widens it first, or
// the scroll that keeps the caret in sight would stop short of it.
void CLSWndView::WidenToCaret(long long docX)
{
    const int cellWidth = GetMetrics().cellWidth;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE;
    if (cellWidth <= 0 || !GetScrollInfo(m_hWnd, SB_HORZ, &si) || docX / cellWidth < si.nMax) {
        return;
    }
    // Past what a pixel count in an int holds, the range in cells still grows.
    const long long cells = docX / cellWidth + 1;
    m_iWidestLine = SaturateToInt(cells * cellWidth);
    WidenHorizontalRange(cells);
}

// Up, Down and the page keys keep to the pixel column where a run of them
// began, across shorter and empty lines, as editors do; any other move of
// the caret starts a new run.
bool CLSWndView::MoveCaretVertically(long long dyPixels)
{
    long long x = 0;
    long long y = 0;
    if (!CaretToClient(m_posCaret, x, y)) {
        return false;
    }
    const long long scrolledX = static_cast<long long>(GetScrollPos32(SB_HORZ)) * HorizontalUnit();
    if (m_posCaret != m_posGoalFrom) {
        m_llGoalX = x + scrolledX;
    }
    ViewPos pos{};
    if (ClientToCaret(m_llGoalX - scrolledX, y + dyPixels, pos)) {
        m_posCaret = pos;
    }
    m_posGoalFrom = m_posCaret;
    return true;
}

void CLSWndView::OnKeyDown(UINT vk)
{
    if (!HasCaretMode()) {
        return;
    }
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    // Left, Right, Home and End reach the next line at most; with Ctrl, the
    // end of the text or the next word, which may be many lines on.
    const bool distant = ctrl && (vk == VK_END || vk == VK_RIGHT);
    m_bEndAwaited = ctrl && vk == VK_END && IsTextMode() && Doc().IsLineIndexBuilding();
    m_bEndExtends = shift;
    const int count = ReachableLineCount(distant ? INT_MAX : static_cast<long long>(m_posCaret.line) + 1);
    if (count <= 0) {
        return;
    }
    m_bLineEndAwaited = vk == VK_END && AwaitsLineEnd(ctrl ? count - 1 : m_posCaret.line);
    if (m_bLineEndAwaited) {
        m_bLineEndCtrl = ctrl;
        return;  // the line's thread tells when it has read it through
    }
    const ViewPos oldCaret = m_posCaret;
    const ViewPos oldAnchor = m_posAnchor;
    // Right asks only whether the caret's line goes on; a long line is not
    // read through for that.
    const ViewPos caret = m_posCaret;
    auto lengthOf = [this, vk, caret](int line) {
        return vk == VK_RIGHT && line == caret.line ? LineLengthBeyond(line, caret.column) : LineLength(line);
    };
    if (vk != VK_UP && vk != VK_DOWN && vk != VK_PRIOR && vk != VK_NEXT) {
        m_posGoalFrom = kNoCaretGoal;
    }
    RECT rc{};
    GetClientRect(m_hWnd, &rc);
    const int rowHeight = GetMetrics().rowHeight;
    switch (vk) {
    case VK_LEFT:
        MoveCaret(CaretKey::Left, ctrl, count, m_posCaret, lengthOf);
        break;
    case VK_RIGHT:
        MoveCaret(CaretKey::Right, ctrl, count, m_posCaret, lengthOf);
        break;
    case VK_HOME:
        MoveCaret(CaretKey::Home, ctrl, count, m_posCaret, lengthOf);
        break;
    case VK_END:
        MoveCaret(CaretKey::End, ctrl, count, m_posCaret, lengthOf);
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
        const CaretPageKey key = vk == VK_UP     ? CaretPageKey::Up
                                 : vk == VK_DOWN ? CaretPageKey::Down
                                 : vk == VK_PRIOR ? CaretPageKey::PageUp
                                                  : CaretPageKey::PageDown;
        if (!MoveCaretVertically(CaretKeyPixels(key, rowHeight, rc.bottom))) {
            return;
        }
        break;
    }
    default:
        return;
    }
    FinishCaretChange(oldCaret, oldAnchor, shift);
}

void CLSWndView::FinishAwaitedEnd()
{
    if (std::exchange(m_bEndAwaited, false) && HasCaretMode()) {
        MoveToAwaitedEnd(true, LineCount());
    }
}

void CLSWndView::OnLineRead()
{
    if (std::exchange(m_bLineEndAwaited, false) && HasCaretMode()) {
        MoveToAwaitedEnd(m_bLineEndCtrl, ReachableLineCount(m_bLineEndCtrl ? INT_MAX : m_posCaret.line + 1LL));
    }
}

void CLSWndView::MoveToAwaitedEnd(bool ctrl, int count)
{
    if (count <= 0) {
        return;
    }
    const ViewPos oldCaret = m_posCaret;
    const ViewPos oldAnchor = m_posAnchor;
    MoveCaret(CaretKey::End, ctrl, count, m_posCaret, [this](int line) { return LineLength(line); });
    FinishCaretChange(oldCaret, oldAnchor, m_bEndExtends);
}

void CLSWndView::OnLButtonDown(WPARAM flags, int x, int y)
{
    SetFocus(m_hWnd);
    m_bEndAwaited = false;
    m_bLineEndAwaited = false;
    if (!HasCaretMode()) {
        return;
    }
    const ViewPos oldCaret = m_posCaret;
    const ViewPos oldAnchor = m_posAnchor;
    ViewPos pos{};
    if (!ClientToCaret(x, y, pos)) {
        return;  // the offset or character column of a hex row
    }
    m_posCaret = pos;
    m_posGoalFrom = kNoCaretGoal;
    SetCapture(m_hWnd);
    m_bDragging = true;
    FinishCaretChange(oldCaret, oldAnchor, (flags & MK_SHIFT) != 0);
}

void CLSWndView::OnMouseMove(int x, int y)
{
    if (!m_bDragging) {
        return;
    }
    const ViewPos oldCaret = m_posCaret;
    const ViewPos oldAnchor = m_posAnchor;
    ViewPos pos{};
    if (!ClientToCaret(x, y, pos)) {
        return;  // over the hex character column: the selection waits
    }
    m_posCaret = pos;
    RepaintChangedRows(oldCaret, oldAnchor);
    KeepCaretVisible();
    NotifyCaret();
}

void CLSWndView::OnLButtonUp()
{
    if (m_bDragging) {
        m_bDragging = false;
        ReleaseCapture();
    }
}

void CLSWndView::SelectAll()
{
    RefreshIfChanged();
    if (!HasCaretMode()) {
        return;
    }
    // While the lines are counted, as far as is known, and on once they are.
    const int count = ReachableLineCount(INT_MAX);
    if (count <= 0) {
        return;
    }
    m_bEndAwaited = IsTextMode() && Doc().IsLineIndexBuilding();
    m_bEndExtends = true;
    const ViewPos oldCaret = m_posCaret;
    const ViewPos oldAnchor = m_posAnchor;
    m_posAnchor = ViewPos{0, 0};
    m_posCaret = ViewPos{LineLength(count - 1), count - 1};
    RepaintChangedRows(oldCaret, oldAnchor);
    NotifyCaret();
    PlaceCaret();
}

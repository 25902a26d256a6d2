// Scroll bars: ranges and pages in rows and cells (text and hex, where both
// bars always stay, disabled when there is nothing to scroll) or in pixels
// (pictures and media), scrolling by moving the pixels already drawn, the
// scroll-bar codes and the wheel.
#include "view/WNDVIEW.h"

#include "view/HEXLAY.h"
#include "view/SCROLLAR.h"

#include <climits>

namespace {

// A bar set without being drawn is drawn with the frame that OnSize changes
// last: each drawing of a bar costs about as much as opening a small file.
void SetBar(HWND hWnd, int bar, UINT mask, int maximum, int pos, int page, BOOL redraw = TRUE)
{
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = mask;
    si.nMin = 0;
    si.nMax = maximum;
    si.nPos = pos;
    si.nPage = static_cast<UINT>(page);
    SetScrollInfo(hWnd, bar, &si, redraw);
}

bool ThumbOf(HWND hWnd, int bar, SCROLLBARINFO& sbi)
{
    sbi = SCROLLBARINFO{};
    sbi.cbSize = sizeof(sbi);
    return GetScrollBarInfo(hWnd, bar == SB_HORZ ? OBJID_HSCROLL : OBJID_VSCROLL, &sbi) != FALSE;
}

// Moves a bar's position and returns the one it accepted. The bar is drawn
// again only when its thumb moved on the screen: one line of a long file
// seldom moves it, and drawing a bar costs more than painting a row.
int MoveBarPosition(HWND hWnd, int bar, int from, int to)
{
    SCROLLBARINFO before{};
    const bool known = ThumbOf(hWnd, bar, before);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    si.nPos = to;
    int accepted = SetScrollInfo(hWnd, bar, &si, FALSE);
    SCROLLBARINFO after{};
    if (known && ThumbOf(hWnd, bar, after) && after.xyThumbTop == before.xyThumbTop &&
        after.xyThumbBottom == before.xyThumbBottom) {
        return accepted;
    }
    // A bar redraws only for a change of position: put the old one back first.
    si.nPos = from;
    SetScrollInfo(hWnd, bar, &si, FALSE);
    si.nPos = to;
    accepted = SetScrollInfo(hWnd, bar, &si, TRUE);
    return accepted;
}

ScrollRequest RequestOf(int code)
{
    switch (code) {
    case SB_LINEUP:
        return ScrollRequest::LineUp;
    case SB_LINEDOWN:
        return ScrollRequest::LineDown;
    case SB_PAGEUP:
        return ScrollRequest::PageUp;
    case SB_PAGEDOWN:
        return ScrollRequest::PageDown;
    case SB_THUMBTRACK:
        return ScrollRequest::ThumbTrack;
    default:
        return ScrollRequest::Nothing;  // thumb released, top, bottom, end of scroll
    }
}

int CodeOf(ScrollRequest request)
{
    switch (request) {
    case ScrollRequest::LineUp:
        return SB_LINEUP;
    case ScrollRequest::LineDown:
        return SB_LINEDOWN;
    case ScrollRequest::PageUp:
        return SB_PAGEUP;
    case ScrollRequest::PageDown:
        return SB_PAGEDOWN;
    default:
        return SB_ENDSCROLL;
    }
}

}  // namespace

void CLSWndView::SetUpScrollBars()
{
    if (m_hWnd == nullptr) {
        return;
    }
    int horizontal = 2;
    int vertical = 2;
    switch (GetDisplayMode()) {
    case DocumentKind::Text:
        // Counting the lines builds the line index, unless it is being built
        // on its thread: then the lines known so far, until it is done.
        horizontal = WidestRowMaximum(m_iWidestLine, GetMetrics().cellWidth);
        vertical = RowsMaximum(WithNoticeRow(KnownLineCount()));
        break;
    case DocumentKind::Hex:
        horizontal = kHexRowCells + HexOffsetExtraCells(Doc().GetFileSize());
        vertical = RowsMaximum(WithNoticeRow(LineCount()));
        break;
    case DocumentKind::Image:
        SetImageZoom(GetImageZoom());  // ranges over the picture and the pages
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return;
    case DocumentKind::Media:
        SetMediaZoom(GetMediaZoom());
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return;
    default:
        break;
    }
    const UINT mask = SIF_RANGE | SIF_POS | SIF_DISABLENOSCROLL;
    SetBar(m_hWnd, SB_HORZ, mask, horizontal, 0, 0, FALSE);
    SetBar(m_hWnd, SB_VERT, mask, vertical, 0, 0, FALSE);
    OnClientSize();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

// Picture and media ranges let a bar go when there is nothing to scroll (text
// and hex keep theirs); positions return to 0.
void CLSWndView::SetScrollMaxima(int horizontal, int vertical)
{
    SetBar(m_hWnd, SB_HORZ, SIF_RANGE | SIF_POS, horizontal, 0, 0);
    SetBar(m_hWnd, SB_VERT, SIF_RANGE | SIF_POS, vertical, 0, 0);
}

void CLSWndView::OnClientSize()
{
    RECT rc{};
    GetClientRect(m_hWnd, &rc);
    OnSize(rc.right - rc.left, rc.bottom - rc.top);
}

void CLSWndView::OnSize(int cx, int cy)
{
    // Setting scroll information and the frame can send WM_SIZE again while
    // this runs.
    static bool s_bSizing = false;
    if (s_bSizing || m_hWnd == nullptr) {
        return;
    }
    s_bSizing = true;
    m_clsBuffer.Resize(cx, cy);
    // The pages are worked out as if both bars were shown.
    const LONG_PTR style = GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    if ((style & WS_HSCROLL) == 0) {
        cy -= GetSystemMetrics(SM_CYHSCROLL);
    }
    if ((style & WS_VSCROLL) == 0) {
        cx -= GetSystemMetrics(SM_CXVSCROLL);
    }
    const UINT mask = SIF_PAGE | SIF_DISABLENOSCROLL;
    SetBar(m_hWnd, SB_HORZ, mask, 0, 0, ScrollPage(cx, HorizontalUnit()), FALSE);
    SetBar(m_hWnd, SB_VERT, mask, 0, 0, ScrollPage(cy, VerticalUnit()), FALSE);
    PlaceCaret();
    s_bSizing = false;
    if (GetDisplayMode() == DocumentKind::Media && GetMediaZoom() == 0) {
        RECT rc{};
        GetClientRect(m_hWnd, &rc);
        FitMedia(rc.right, rc.bottom);
    }
    SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

void CLSWndView::ScrollBy(int bar, long long delta)
{
    if (m_hWnd == nullptr) {
        return;
    }
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_POS;
    if (!GetScrollInfo(m_hWnd, bar, &si)) {
        si.nMin = si.nMax = si.nPos = 0;
    }
    const ScrollMove move = ClampScroll(si.nMin, si.nMax, si.nPos, delta);
    if (move.from == move.to) {
        return;
    }
    const int accepted = MoveBarPosition(m_hWnd, bar, move.from, move.to);
    if (GetDisplayMode() == DocumentKind::Media) {
        InvalidateRect(m_hWnd, nullptr, FALSE);  // painting moves the media window
    } else {
        const int unit = bar == SB_HORZ ? HorizontalUnit() : VerticalUnit();
        const long long pixels = static_cast<long long>(move.from - accepted) * unit;
        RECT rc{};
        GetClientRect(m_hWnd, &rc);
        const long long extent = bar == SB_HORZ ? rc.right : rc.bottom;
        if (pixels >= extent || -pixels >= extent) {
            InvalidateRect(m_hWnd, nullptr, FALSE);  // nothing drawn stays in sight
        } else {
            const int d = static_cast<int>(pixels);
            ScrollWindowEx(m_hWnd, bar == SB_HORZ ? d : 0, bar == SB_VERT ? d : 0, nullptr, nullptr, nullptr,
                           nullptr, SW_INVALIDATE);
        }
    }
    PlaceCaret();
    ReportFollowState();  // scrolled up it pauses, back at the end it goes on
}

void CLSWndView::OnScroll(int bar, int code)
{
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    if (!GetScrollInfo(m_hWnd, bar, &si)) {
        si.nPage = 0;
        si.nPos = si.nTrackPos = 0;
    }
    const int page = si.nPage > static_cast<UINT>(INT_MAX) ? INT_MAX : static_cast<int>(si.nPage);
    ScrollBy(bar, ScrollRequestDelta(RequestOf(code), page, si.nPos, si.nTrackPos));
}

void CLSWndView::OnMouseWheel(WPARAM wParam)
{
    if ((GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) != 0) {
        ZoomByWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return;
    }
    UINT lines = 0;
    const bool read = SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0) != FALSE;
    const WheelPlan plan = PlanWheel(read, lines, GET_WHEEL_DELTA_WPARAM(wParam));
    // A scroll line of a picture is one pixel: there each wheel line goes as
    // far as an arrow key does.
    if (IsPictureOrMediaMode() &&
        (plan.request == ScrollRequest::LineUp || plan.request == ScrollRequest::LineDown)) {
        for (unsigned i = 0; i < plan.count; ++i) {
            OnPaneKey(plan.request == ScrollRequest::LineUp ? VK_UP : VK_DOWN);
        }
        return;
    }
    const int code = CodeOf(plan.request);
    for (unsigned i = 0; i < plan.count; ++i) {
        SendMessageA(m_hWnd, WM_VSCROLL, static_cast<WPARAM>(code), 0);
    }
}

// The index thread is done: the vertical range becomes the whole file's, the
// position stays. One posted for a file since closed finds the current one
// ready already, or still being counted (its own message is yet to come).
// The same message comes early when the thread has found the encoding of a
// file whose sample decided nothing.
void CLSWndView::OnLinesReady()
{
    const bool wasAtEnd = IsAtEnd();  // as the file was before it grew
    const bool tookGrown = TakeGrownFile();
    ShowFoundEncoding();
    if (m_find.waiting && !Doc().IsLineIndexBuilding()) {
        LaunchFind();  // a search that waited for the lines
    }
    if (!IsTextMode() || Doc().IsLineIndexBuilding()) {
        return;
    }
    SetBar(m_hWnd, SB_VERT, SIF_RANGE | SIF_DISABLENOSCROLL, RowsMaximum(WithNoticeRow(LineCount())), 0, 0, FALSE);
    // Lines not yet read to their end were left out of what was shown.
    m_clsShownLines.Clear();
    OnClientSize();
    FinishAwaitedEnd();
    InvalidateRect(m_hWnd, nullptr, FALSE);  // rows after a long first line waited for the count
    FollowOnLinesReady(tookGrown, wasAtEnd);
}

// Lines decoded before were decoded for want of evidence: all are drawn again.
void CLSWndView::ShowFoundEncoding()
{
    if (!Doc().TakeFoundEncoding() || m_encOverride != TextEncoding::Auto) {
        return;
    }
    m_clsShownLines.Clear();
    m_clsLongLines.Clear();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    SendMessageA(m_hWndParent, WMU_ENCODING_FOUND, static_cast<WPARAM>(GetEffectiveEncoding()), 0);
}

void CLSWndView::OnWidestLine(LPARAM cells)
{
    // Posted by a paint; one from before an open or a change of view form
    // speaks of rows that are no longer shown.
    const int cellWidth = GetMetrics().cellWidth;
    if (!IsTextMode() || cellWidth <= 0 || cells != m_iWidestLine / cellWidth) {
        return;
    }
    WidenHorizontalRange(cells);
}

void CLSWndView::WidenHorizontalRange(long long cells)
{
    SetBar(m_hWnd, SB_HORZ, SIF_RANGE | SIF_DISABLENOSCROLL, AnnouncedMaximum(cells), 0, 0, FALSE);
    OnClientSize();
}

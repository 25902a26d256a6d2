// Following a file that another program appends to: the watch that notices
// its changes, reading what was appended (a grown text file is counted on from
// its old end on the index thread), and keeping the end in sight while the
// view shows it.
#include "view/WNDVIEW.h"

#include <climits>

void CLSWndView::SetFollow(bool on)
{
    m_bFollow = on;
    WatchForFollow();
    ReportFollowState();
}

FollowState CLSWndView::GetFollowState()
{
    if (!m_bFollow || !IsFollowable()) {
        return FollowState::Off;
    }
    return IsAtEnd() ? FollowState::Following : FollowState::Paused;
}

// The watch goes with the file shown: started for a new path, ended when
// following ends or nothing is shown. A file that could not be opened is
// watched too, so that a log that comes back under its name is shown.
void CLSWndView::WatchForFollow()
{
    const std::wstring& path = Doc().GetPath();
    if (!m_bFollow || path.empty() || m_hWnd == nullptr) {
        m_clsWatch.Stop();
        m_wsWatched.clear();
        return;
    }
    if (!m_clsWatch.IsWatching() || path != m_wsWatched) {
        m_wsWatched = m_clsWatch.Start(path, m_hWnd, WMU_FILE_CHANGED) ? path : std::wstring();
    }
}

// The watch saw the file change. A grown text file on disk is counted on from
// its old end (OnLinesReady shows it); any other change opens the file again
// here, as F5 does. While a count is under way, the change waits for it: a
// file that grows all the time is then read in steps rather than counted
// again and again from the same old end.
void CLSWndView::OnFileChanged()
{
    if (!m_bFollow || !IsFollowable()) {
        return;
    }
    if (m_grown) {
        m_bFollowAgain = true;
        return;
    }
    const bool failed = !m_strOpenFailure.empty();
    if (!failed && !Doc().HasChangedOnDisk()) {
        return;
    }
    const bool wasAtEnd = IsAtEnd();
    const std::uint64_t before = Doc().GetFileSize();
    Refresh();
    if (m_grown) {
        return;
    }
    // Opened anew: a file cut or replaced is followed from its new end, one
    // that grew as the view was.
    if (wasAtEnd || failed || Doc().GetFileSize() <= before) {
        FollowWhenCounted();
    }
    ReportFollowState();
}

// Text and hex are followed, and a file that could not be opened, until it
// can; pictures and media are not.
bool CLSWndView::IsFollowable()
{
    return !Doc().GetPath().empty() && (!m_strOpenFailure.empty() || IsTextMode() || IsHexMode());
}

// Whether the last row is in sight (also when the whole file fits).
bool CLSWndView::IsAtEnd()
{
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (m_hWnd == nullptr || !GetScrollInfo(m_hWnd, SB_VERT, &si)) {
        return true;
    }
    return static_cast<long long>(si.nPos) + si.nPage > si.nMax;
}

// The end of a text file whose lines are still counted on their thread is
// shown once they are: the window does not wait for the count.
void CLSWndView::FollowWhenCounted()
{
    if (IsTextMode() && !Doc().IsLineIndexReady()) {
        m_bFollowToEnd = true;
        return;
    }
    FollowToEnd();
}

void CLSWndView::FollowToEnd()
{
    m_bFollowToEnd = false;
    ScrollBy(SB_VERT, INT_MAX);  // as far as the bar goes
}

// The lines of a grown file, or of one opened anew, are counted: the end is
// shown if the view showed it before, and a change that came meanwhile is
// read now.
void CLSWndView::FollowOnLinesReady(bool tookGrown, bool wasAtEnd)
{
    if (m_bFollow && ((tookGrown && wasAtEnd) || m_bFollowToEnd)) {
        FollowToEnd();
    }
    if (tookGrown && m_bFollowAgain) {
        m_bFollowAgain = false;
        OnFileChanged();
    }
    ReportFollowState();
}

void CLSWndView::ReportFollowState()
{
    const FollowState state = GetFollowState();
    if (state != m_followReported && m_hWnd != nullptr) {
        m_followReported = state;
        SendMessageA(m_hWndParent, WMU_FOLLOW_STATE, static_cast<WPARAM>(state), 0);
    }
}

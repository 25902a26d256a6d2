// The pane and the state of its file on disk: the line shown in place of a
// file that cannot be opened, and opening again a file that another program
// has appended to, cut or replaced, keeping the caret and scroll positions.
#include "view/WNDVIEW.h"

#include "base/RESSTR.h"
#include "document/FINDFORM.h"
#include "resources/RESOURCE.h"
#include "view/HEXLAY.h"
#include "view/OPENFAIL.h"

#include <shlwapi.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

std::string SystemErrorText(DWORD error)
{
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = length != 0 && text != nullptr ? std::string(text, length) : std::string();
    LocalFree(text);
    return result;
}

// The name in the code page of the pane's narrow text.
std::string NarrowName(const WCHAR* name)
{
    return TextInCodePage(reinterpret_cast<const char16_t*>(name), CP_ACP);
}

}  // namespace

void CLSWndView::DescribeOpenFailure()
{
    const DWORD error = Doc().GetOpenError();
    if (error == NO_ERROR && !Doc().HasStalled()) {
        m_strOpenFailure.clear();
        return;
    }
    // The name alone: the path box above already shows where it is.
    const std::string name = NarrowName(PathFindFileNameW(Doc().GetPath().c_str()));
    if (Doc().HasStalled()) {
        std::string line = LoadResourceString(IDS_READ_STALLED);
        const std::size_t at = line.find("%s");
        m_strOpenFailure = at != std::string::npos ? line.replace(at, 2, name) : line;
        return;
    }
    m_strOpenFailure = OpenFailureLine(name, error, SystemErrorText(error));
}

// A read of the file that did not end in time, while opening, painting or
// moving the caret: the pane shows only why from now on.
void CLSWndView::NoticeStall()
{
    if (!Doc().HasStalled() || !m_strOpenFailure.empty()) {
        return;
    }
    DescribeOpenFailure();
    ResetCaret();
    if (m_hWnd != nullptr) {
        RefreshCaretShape();
        SetUpScrollBars();
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

void CLSWndView::PaintOpenFailure(HDC hdc)
{
    if (m_strOpenFailure.empty()) {
        return;
    }
    SetTextColor(hdc, m_clsText.EffectiveTextColor());
    const Metrics m = GetMetrics();
    TextOutA(hdc, m.cellWidth, (m.rowHeight - m.fontHeight) / 2, m_strOpenFailure.c_str(),
             static_cast<int>(m_strOpenFailure.size()));
}

bool CLSWndView::RowsCoverFile()
{
    switch (GetDisplayMode()) {
    case DocumentKind::Text:
        return Doc().LinesCoverFile();
    case DocumentKind::Hex:
        return HexRowCount(Doc().GetFileSize()) <= kHexRowsReachable;
    default:
        return true;
    }
}

// The rows and the one after the last that says the file goes on.
int CLSWndView::WithNoticeRow(int lines)
{
    return RowsCoverFile() || lines == INT_MAX ? lines : lines + 1;
}

// Rows that stop short of the file must not pass for all of it.
void CLSWndView::PaintEndNotice(HDC hdc, int x, int y)
{
    if (RowsCoverFile()) {
        return;
    }
    const char* notice = IsTextMode() ? "（メモリが足りないため、ここから先はテキストでは表示できません。16進表示でご覧ください）"
                                      : "（32 GiB を超える部分は表示できません）";
    TextOutA(hdc, x, y, notice, static_cast<int>(std::strlen(notice)));
}

void CLSWndView::RefreshIfChanged()
{
    // While a grown file is counted on, that count already covers what the
    // shown one lacks: only a change since it began starts another.
    const CLSFileStream& latest = m_grown ? *m_grown : Doc();
    if (latest.HasChangedOnDisk()) {
        Refresh();
    }
}

// A grown file is shown as it was until its new lines are counted, from the old
// end on the index thread; the caret, selection and scroll stay where they are.
bool CLSWndView::ExtendGrownFile()
{
    if (m_hWnd == nullptr || !IsTextMode()) {
        return false;
    }
    auto grown = std::make_shared<CLSFileStream>();
    grown->SetMemoryLimit(Doc().GetMemoryLimit());
    if (!grown->OpenGrown(m_doc, [hWnd = m_hWnd] { PostMessageA(hWnd, WMU_LINES_READY, 0, 0); })) {
        return false;
    }
    DropGrownFile();
    m_grown = std::move(grown);
    return true;
}

// The grown file's lines are counted: it becomes the document shown, its
// lines read anew (the last one shown before has grown); its rows become
// reachable as the count's notice goes on.
bool CLSWndView::TakeGrownFile()
{
    if (!m_grown || m_grown->IsLineIndexBuilding()) {
        return false;
    }
    m_doc = std::move(m_grown);
    m_grown.reset();
    Doc().GetLineCount();  // its count is done: taken from the thread at once
    m_clsShownLines.Clear();
    m_clsLongLines.Clear();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    SendMessageA(m_hWndParent, WMU_FILE_REREAD, 0, 0);
    return true;
}

void CLSWndView::Refresh()
{
    if (Doc().GetPath().empty() || ExtendGrownFile()) {
        return;
    }
    const ViewPos caret = m_posCaret;
    const ViewPos anchor = m_posAnchor;
    const int widest = m_iWidestLine;
    const int horizontal = GetScrollPos32(SB_HORZ);
    const int vertical = GetScrollPos32(SB_VERT);
    const std::wstring path = Doc().GetPath();
    OpenFile(path);
    if (m_hWnd != nullptr) {
        SendMessageA(m_hWndParent, WMU_FILE_REREAD, 0, 0);
    }
    if (!HasCaretMode() || m_hWnd == nullptr) {
        return;
    }
    // A place beyond the lines known so far needs the whole count, which a
    // grown text file on disk is still counting on its thread.
    const int furthest = std::max({caret.line, anchor.line, vertical});
    int count = IsTextMode() ? KnownLineCount() : LineCount();
    if (furthest >= count) {
        count = LineCount();
    }
    m_iWidestLine = widest;
    SetUpScrollBars();
    auto clamp = [&](ViewPos pos) {
        pos.line = std::min(pos.line, count - 1);
        pos.column = std::min(pos.column, LineLength(pos.line));
        return pos;
    };
    m_posCaret = clamp(caret);
    m_posAnchor = clamp(anchor);
    ScrollBy(SB_VERT, vertical);
    ScrollBy(SB_HORZ, horizontal);
    NotifyCaret();
    PlaceCaret();
}

// Finding in the pane: the search runs on a thread over the document's bytes
// and line index, the pane stays responsive and shows its progress through
// the parent, and the match found is selected with the caret after it.
#include "view/WNDVIEW.h"

#include "base/CLAMP.h"
#include "base/RESSTR.h"
#include "document/DETECT.h"
#include "document/FINDFORM.h"
#include "document/FINDTEXT.h"
#include "resources/RESOURCE.h"
#include "view/HEXLAY.h"

#include <algorithm>
#include <climits>
#include <string>

namespace {

constexpr UINT_PTR kFindTimer = 1;
constexpr UINT kFindTimerMs = 200;
// A selection longer than this is no query.
constexpr std::size_t kLongestQuery = 1024;
constexpr std::size_t kLongestHexQuery = 256;

}  // namespace

bool CLSWndView::StartFind(const std::u16string& text, bool matchCase, bool forward)
{
    CancelFind();
    if (!HasCaretMode() || text.empty()) {
        return false;
    }
    FindQuery& query = m_find.query;
    query = FindQuery();
    query.bytes = IsHexMode();
    query.matchCase = matchCase;
    query.text = text;
    if (query.bytes) {
        ParseHexPairs(TextInCodePage(text, CP_ACP), query.hex);
    }
    query.encoding = FindEncoding();
    // Text typed in the hex view is looked for as the file's encoding writes
    // it; a character that encoding cannot hold (𠮷 in Shift-JIS) has no bytes.
    if (query.bytes && query.hex.empty() && EncodeQueryBytes(text, query.encoding, nullptr).empty()) {
        MessageBoxA(m_hWndParent, LoadResourceString(IDS_FIND_NOT_IN_ENCODING).c_str(), "Glim!", MB_ICONINFORMATION);
        return true;
    }
    const OrderedSelection sel = Selection();
    m_find.origin = FindPosOf(forward ? sel.e : sel.s);
    m_find.range.forward = forward;
    m_find.range.from = m_find.origin;
    m_find.range.limit = forward ? FarEnd() : FindPos{0, 0};
    m_find.wrapped = false;
    m_find.active = true;
    LaunchFind();
    return true;
}

// The encoding shown, or for a file never shown as text (whose encoding was
// not looked for) the one its start suggests: text typed in the hex view is
// looked for in the bytes the file would hold.
TextEncoding CLSWndView::FindEncoding()
{
    const TextEncoding shown = GetEffectiveEncoding();
    if (shown != TextEncoding::Auto) {
        return shown;
    }
    unsigned char sample[kSampleBufferSize] = {};
    DWORD got = 0;
    if (Doc().SetPosition(0, FILE_BEGIN) == INVALID_SET_FILE_POINTER || !Doc().ReadBytes(sample, kSampleBytes, &got)) {
        got = 0;
    }
    return DetectEncoding(sample, got);
}

// Text searches need the whole line index: a big file's is waited for, the
// progress shown meanwhile.
void CLSWndView::LaunchFind()
{
    m_find.waiting = false;
    if (!m_find.query.bytes && Doc().IsLineIndexBuilding()) {
        m_find.waiting = true;
        Doc().RunLineIndex();
    } else {
        DocumentSource source;
        source.holder = m_doc;
        // Text searches take the complete line index: built here, or taken from its thread.
        if (!MakeDocumentSource(Doc(), !m_find.query.bytes, source) ||
            !m_clsFindJob.Start(m_find.query, m_find.range, std::move(source),
                                [hWnd = m_hWnd] { PostMessageA(hWnd, WMU_FIND_DONE, 0, 0); })) {
            EndFind();
            MessageBoxA(m_hWndParent, LoadResourceString(IDS_FIND_FAILED).c_str(), "Glim!", MB_ICONERROR);
            return;
        }
    }
    if (m_hWnd != nullptr) {
        SetTimer(m_hWnd, kFindTimer, kFindTimerMs, nullptr);
    }
}

void CLSWndView::CancelFind()
{
    m_clsFindJob.Cancel();
    EndFind();
}

void CLSWndView::EndFind()
{
    const bool wasActive = m_find.active;
    m_find.active = false;
    m_find.waiting = false;
    if (m_hWnd != nullptr) {
        KillTimer(m_hWnd, kFindTimer);
    }
    if (wasActive) {
        ShowFindProgress("");
    }
}

FindPos CLSWndView::FindPosOf(ViewPos pos) const
{
    const auto line = static_cast<std::uint64_t>(pos.line < 0 ? 0 : pos.line);
    const auto column = static_cast<std::uint64_t>(pos.column < 0 ? 0 : pos.column);
    if (m_find.query.bytes) {
        return FindPos{0, line * kHexBytesPerRow + column};
    }
    return FindPos{line, column};
}

ViewPos CLSWndView::ViewPosOf(FindPos pos) const
{
    if (m_find.query.bytes) {
        return ViewPos{static_cast<int>(pos.column % kHexBytesPerRow),
                       SaturateToInt(static_cast<std::int64_t>(pos.column / kHexBytesPerRow))};
    }
    return ViewPos{SaturateToInt(static_cast<std::int64_t>(pos.column > INT_MAX ? INT_MAX : pos.column)),
                   SaturateToInt(static_cast<std::int64_t>(pos.line > INT_MAX ? INT_MAX : pos.line))};
}

// Beyond the last character: the limit of a search forward, the start of one
// backward from the far end (for text without counting the lines).
FindPos CLSWndView::FarEnd() const
{
    return m_find.query.bytes ? FindPos{0, Doc().GetFileSize()} : FindPos{UINT64_MAX, 0};
}

// The place after the last character.
FindPos CLSWndView::FindEnd()
{
    if (m_find.query.bytes) {
        return FindPos{0, Doc().GetFileSize()};
    }
    const int last = LineCount() - 1;
    return FindPosOf(ViewPos{LineLength(last), last});
}

void CLSWndView::OnFindDone()
{
    if (!m_find.active || m_clsFindJob.IsRunning()) {
        return;  // cancelled meanwhile: the message of a search that is over
    }
    const FindResult result = m_clsFindJob.Result();
    m_clsFindJob.Cancel();  // the thread has ended: let its handles go
    switch (result.status) {
    case FindResult::Status::Found:
        EndFind();
        SelectFound(result);
        return;
    case FindResult::Status::NotFound:
        if (AskToWrap()) {
            return;
        }
        EndFind();
        MessageBoxA(m_hWndParent, LoadResourceString(IDS_FIND_NOT_FOUND).c_str(), "Glim!", MB_ICONINFORMATION);
        return;
    case FindResult::Status::Failed:
        EndFind();
        MessageBoxA(m_hWndParent, LoadResourceString(IDS_FIND_FAILED).c_str(), "Glim!", MB_ICONERROR);
        return;
    case FindResult::Status::Cancelled:
        EndFind();
        return;
    }
}

// At the end (or the start, backward) of the file the user is asked once
// whether to go on from the other end up to where the search began. True
// when the search goes on, or was declined (nothing more to say then).
bool CLSWndView::AskToWrap()
{
    const bool forward = m_find.range.forward;
    const FindPos farEnd = forward ? FindPos{0, 0} : FindEnd();
    const bool whole = !(m_find.origin < farEnd) && !(farEnd < m_find.origin);
    if (m_find.wrapped || whole) {
        return false;
    }
    KillTimer(m_hWnd, kFindTimer);
    const std::string question = LoadResourceString(forward ? IDS_FIND_WRAP_END : IDS_FIND_WRAP_START);
    if (MessageBoxA(m_hWndParent, question.c_str(), "Glim!", MB_YESNO | MB_ICONQUESTION) != IDYES || !m_find.active) {
        EndFind();
        return true;
    }
    m_find.wrapped = true;
    m_find.range.from = forward ? FindPos{0, 0} : FarEnd();
    m_find.range.limit = m_find.origin;
    LaunchFind();
    return true;
}

void CLSWndView::ShowFindProgress(const char* text)
{
    if (m_hWndParent != nullptr) {
        SendMessageA(m_hWndParent, WMU_FIND_PROGRESS, 0, reinterpret_cast<LPARAM>(text));
    }
}

void CLSWndView::OnFindTimer()
{
    if (!m_find.active) {
        return;
    }
    const int percent = m_find.waiting ? 0 : m_clsFindJob.Progress() / 10;
    const std::string text = LoadResourceString(IDS_FIND_PROGRESS) + " " + std::to_string(percent) + "%";
    ShowFindProgress(text.c_str());
}

void CLSWndView::SelectFound(const FindResult& result)
{
    const ViewPos oldCaret = m_posCaret;
    const ViewPos oldAnchor = m_posAnchor;
    m_posAnchor = ViewPosOf(result.start);
    m_posCaret = ViewPosOf(result.end);
    m_posGoalFrom = kNoCaretGoal;
    RepaintChangedRows(oldCaret, oldAnchor);
    KeepCaretVisible();
    NotifyCaret();
}

std::u16string CLSWndView::SelectedQuery()
{
    std::u16string query;
    const OrderedSelection sel = Selection();
    if (!HasSelection()) {
        return query;
    }
    if (IsHexMode()) {
        const long long start = static_cast<long long>(sel.s.line) * kHexBytesPerRow + sel.s.column;
        const long long end = static_cast<long long>(sel.e.line) * kHexBytesPerRow + sel.e.column;
        unsigned char bytes[kLongestHexQuery];
        DWORD got = 0;
        if (end - start > static_cast<long long>(kLongestHexQuery) || !Doc().SeekTo(static_cast<std::uint64_t>(start)) ||
            !Doc().ReadBytes(bytes, static_cast<DWORD>(end - start), &got) || got == 0) {
            return query;
        }
        std::string pairs(HexCopySize(got), '\0');
        pairs.resize(FormatHexCopy(bytes, got, pairs.data()));
        return std::u16string(pairs.begin(), pairs.end());
    }
    if (!IsTextMode()) {
        return query;
    }
    for (int line = sel.s.line; line <= sel.e.line; ++line) {
        if (line > sel.s.line) {
            query += u"\r\n";
        }
        LineByteReader read;
        if (CLSLineMap* map = LongLine(line, &read)) {
            // Only as much of a long line as a query can hold is read.
            const LineSlice slice = SelectedSlice(line, line < sel.e.line ? LineLength(line) : sel.e.column, sel);
            std::wstring units;
            if (!map->Units(read, static_cast<std::uint64_t>(slice.first),
                            std::min<std::uint64_t>(static_cast<std::uint64_t>(slice.count), kLongestQuery + 1), &units)) {
                return std::u16string();
            }
            query.append(units.begin(), units.end());
        } else {
            const CLSDecodedLine& text = ShownLine(line);
            const LineSlice slice = SelectedSlice(line, text.Length(), sel);
            query.append(reinterpret_cast<const char16_t*>(text.Text()) + slice.first,
                         static_cast<std::size_t>(slice.count));
        }
        if (query.size() > kLongestQuery) {
            return std::u16string();
        }
    }
    return query;
}

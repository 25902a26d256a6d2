// The search itself: lines read a block at a time and decoded as the view
// decodes them, but only those whose bytes can hold the query (the byte
// filter) when the encoding allows; the bytes of the hex view searched as
// bytes. Runs on its own thread; it reads the document's copy in memory or
// its own handle of the file, and the line index, all fixed while it runs.
#include "document/FINDJOB.h"

#include "base/CLAMP.h"
#include "document/FINDFORM.h"
#include "document/FINDTEXT.h"
#include "document/LINEDEC.h"
#include "document/LINEMAP.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

namespace {

// Bytes read at a time; a line longer than this is read whole.
constexpr std::uint64_t kBlockBytes = 1 << 20;
constexpr std::uint64_t kNone = UINT64_MAX;
// A line longer than this (a minified script, a dump on one line) is not
// decoded whole: it is searched in windows of this many units, read through a
// map of the line, so that memory stays the same whatever its length and a
// line of more than a gigabyte is searched too.
constexpr std::uint64_t kWindowedLineBytes = 4 << 20;
constexpr std::uint64_t kWindowUnits = 4 << 20;

class CLSSearch {
public:
    CLSSearch(const FindQuery& query, const DocumentSource& source, const std::atomic<bool>& stop,
              std::atomic<int>& progress)
        : m_query(query), m_source(source), m_stop(stop), m_progress(progress)
    {
    }

    FindResult Text(const FindRange& range);
    FindResult Bytes(const FindRange& range);

private:
    // Lines and their bytes.
    std::uint64_t LineStart(std::uint64_t k) const { return m_source.lineStart(k); }
    std::uint64_t LineEnd(std::uint64_t k) const
    {
        return m_source.LineEnd(k);
    }
    // The first line in [lo, hi) that starts after offset, else hi.
    std::uint64_t LineAfter(std::uint64_t offset, std::uint64_t lo, std::uint64_t hi) const;
    bool ReadAt(std::uint64_t offset, unsigned char* into, std::uint64_t n) const
    {
        return ReadSourceBytes(m_source, offset, into, n);
    }
    bool LoadBlock(std::uint64_t from, std::uint64_t to);
    void SetBlock(const unsigned char* bytes, std::uint64_t size, std::uint64_t start);
    CLSDecodedLine DecodeLine(std::uint64_t k);

    // Whether line k holds a match starting in columns [lo, hi); the last
    // (backward) or first such match goes to result.
    bool MatchLine(std::uint64_t k, std::uint64_t lo, std::uint64_t hi, bool forward, FindResult& result);
    bool MatchWindow(std::uint64_t k, const FindRange& range, bool forward, FindResult& result);
    // The columns [*lo, *hi) of line k in which the range lets a match start.
    static void ColumnsOf(std::uint64_t k, const FindRange& range, std::uint64_t* lo, std::uint64_t* hi);
    void TakeMatch(std::uint64_t k, std::uint64_t column, FindResult& result) const;
    bool ScanForward(std::uint64_t first, std::uint64_t end, const FindRange& range, FindResult& result);
    bool TextBlockForward(std::uint64_t first, std::uint64_t end, const FindRange& range, FindResult& result);
    bool TextBlockBackward(std::uint64_t first, std::uint64_t end, const FindRange& range, FindResult& result);
    bool IsWindowed(std::uint64_t first, std::uint64_t end) const;
    bool LongLineMayHold(std::uint64_t k);
    bool MatchLongLine(std::uint64_t k, const FindRange& range, FindResult& result);
    std::uint64_t FirstInWindows(CLSLineMap& map, const LineByteReader& read, std::uint64_t lo, std::uint64_t hi);
    std::uint64_t LastInWindows(CLSLineMap& map, const LineByteReader& read, std::uint64_t lo, std::uint64_t hi);
    int MatchUnits(CLSLineMap& map, const LineByteReader& read, std::uint64_t first, std::uint64_t count,
                   std::uint64_t starts, bool forward, std::wstring& text);
    std::vector<std::uint64_t> CandidateLines(std::uint64_t first, std::uint64_t end);
    bool BytesMatchAt(std::uint64_t start);
    void Report(std::uint64_t done, std::uint64_t total);
    bool Stopped() const { return m_stop.load(std::memory_order_relaxed); }

    const FindQuery& m_query;
    const DocumentSource& m_source;
    const std::atomic<bool>& m_stop;
    std::atomic<int>& m_progress;
    FoldTable m_fold = nullptr;
    std::vector<std::u16string> m_segments;
    std::optional<CLSLineMatcher> m_matcher;  // a query within a line
    std::vector<std::vector<unsigned char>> m_byteSets;
    CLSByteFilter m_filter;
    bool m_bFiltered = false;
    bool m_bFailed = false;
    // The bytes searched now: file bytes [m_blockStart, + m_blockSize), in
    // the memory copy or in what was read.
    const unsigned char* m_pBlock = nullptr;
    std::size_t m_blockSize = 0;
    std::uint64_t m_blockStart = 0;
    std::vector<unsigned char> m_storage;
};

std::uint64_t CLSSearch::LineAfter(std::uint64_t offset, std::uint64_t lo, std::uint64_t hi) const
{
    while (lo < hi) {
        const std::uint64_t mid = lo + (hi - lo) / 2;
        if (LineStart(mid) <= offset) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    return lo;
}

bool CLSSearch::LoadBlock(std::uint64_t from, std::uint64_t to)
{
    if (m_source.memory != nullptr) {
        SetBlock(m_source.memory + from, to - from, from);
        return true;
    }
    if (to - from > SIZE_MAX / 2) {
        m_bFailed = true;
        return false;
    }
    m_storage.resize(static_cast<std::size_t>(to - from));
    if (!ReadAt(from, m_storage.data(), to - from)) {
        m_bFailed = true;
        return false;
    }
    SetBlock(m_storage.data(), to - from, from);
    return true;
}

void CLSSearch::SetBlock(const unsigned char* bytes, std::uint64_t size, std::uint64_t start)
{
    m_pBlock = bytes;
    m_blockSize = static_cast<std::size_t>(size);
    m_blockStart = start;
}

// The line's bytes from the block when it holds them, else read anew.
CLSDecodedLine CLSSearch::DecodeLine(std::uint64_t k)
{
    const std::uint64_t start = LineStart(k);
    const std::uint64_t n = LineEnd(k) - start;
    if (n > kLongestLine) {
        return CLSDecodedLine();  // longer than the view can show
    }
    CLSGlobalOwner block(GlobalAlloc(GPTR, static_cast<SIZE_T>(n) + kLinePadding));
    if (!block) {
        m_bFailed = true;
        return CLSDecodedLine();
    }
    auto* bytes = static_cast<unsigned char*>(block.Get());
    if (start >= m_blockStart && start + n <= m_blockStart + m_blockSize) {
        std::memcpy(bytes, m_pBlock + (start - m_blockStart), static_cast<std::size_t>(n));
    } else if (!ReadAt(start, bytes, n)) {
        m_bFailed = true;
        return CLSDecodedLine();
    }
    return DecodeLineBytes(std::move(block), static_cast<DWORD>(n), m_query.encoding, k == 0);
}

bool CLSSearch::MatchLine(std::uint64_t k, std::uint64_t lo, std::uint64_t hi, bool forward, FindResult& result)
{
    const CLSDecodedLine line = DecodeLine(k);
    const auto* text = reinterpret_cast<const char16_t*>(line.Text());
    const int from = SaturateToInt(static_cast<std::int64_t>(lo > INT_MAX ? INT_MAX : lo));
    const int to = SaturateToInt(static_cast<std::int64_t>(hi > INT_MAX ? INT_MAX : hi));
    int column = -1;
    if (m_segments.size() == 1) {
        column = m_matcher->Find(text, line.Length(), from, to, forward, &m_stop);
    } else {
        std::vector<CLSDecodedLine> after;
        column = MatchAcrossLines(m_segments, m_fold, [&](std::size_t j, const char16_t*& t, int& length) {
            if (j == 0) {
                t = text;
                length = line.Length();
                return true;
            }
            if (k + j >= m_source.lineCount) {
                return false;
            }
            after.push_back(DecodeLine(k + j));
            t = reinterpret_cast<const char16_t*>(after.back().Text());
            length = after.back().Length();
            return true;
        });
        column = column >= from && column < to ? column : -1;
    }
    if (column < 0) {
        return false;
    }
    TakeMatch(k, static_cast<std::uint64_t>(column), result);
    return true;
}

// The match of the query starting at column of line k.
void CLSSearch::TakeMatch(std::uint64_t k, std::uint64_t column, FindResult& result) const
{
    result.status = FindResult::Status::Found;
    result.start = FindPos{k, column};
    const std::uint64_t breaks = m_segments.size() - 1;
    const std::uint64_t endColumn = breaks == 0 ? column + m_segments.front().size() : m_segments.back().size();
    result.end = FindPos{k + breaks, endColumn};
}

void CLSSearch::ColumnsOf(std::uint64_t k, const FindRange& range, std::uint64_t* lo, std::uint64_t* hi)
{
    const FindPos& low = range.forward ? range.from : range.limit;
    const FindPos& high = range.forward ? range.limit : range.from;
    *lo = k == low.line ? low.column : 0;
    *hi = k == high.line ? high.column : UINT64_MAX;
}

// Line k with the columns the range allows there.
bool CLSSearch::MatchWindow(std::uint64_t k, const FindRange& range, bool forward, FindResult& result)
{
    std::uint64_t lo = 0;
    std::uint64_t hi = 0;
    ColumnsOf(k, range, &lo, &hi);
    return lo < hi && MatchLine(k, lo, hi, forward, result);
}

// Lines in [first, end) that the filter lets through, in order; the last
// line of the file always, as its last UTF-16 unit may lack a byte.
std::vector<std::uint64_t> CLSSearch::CandidateLines(std::uint64_t first, std::uint64_t end)
{
    std::vector<std::uint64_t> lines;
    if (!m_bFiltered) {
        for (std::uint64_t k = first; k < end; ++k) {
            lines.push_back(k);
        }
        return lines;
    }
    const std::size_t length = m_filter.Length();
    std::size_t at = 0;
    for (;;) {
        const std::size_t hit = m_filter.FindEnd(m_pBlock, m_blockSize, at);
        if (hit == SIZE_MAX) {
            break;
        }
        const std::uint64_t k = LineAfter(m_blockStart + hit - length, first, end) - 1;
        lines.push_back(k);
        at = static_cast<std::size_t>(LineEnd(k) - m_blockStart);
    }
    if (end == m_source.lineCount && (lines.empty() || lines.back() != end - 1)) {
        lines.push_back(end - 1);
    }
    return lines;
}

bool CLSSearch::TextBlockForward(std::uint64_t first, std::uint64_t end, const FindRange& range, FindResult& result)
{
    if (IsWindowed(first, end)) {
        return MatchLongLine(first, range, result);
    }
    return LoadBlock(LineStart(first), LineEnd(end - 1)) && ScanForward(first, end, range, result);
}

// Lines [first, end) of the block: true once found, failed or stopped.
bool CLSSearch::ScanForward(std::uint64_t first, std::uint64_t end, const FindRange& range, FindResult& result)
{
    for (std::uint64_t k : CandidateLines(first, end)) {
        if (MatchWindow(k, range, true, result) || m_bFailed || Stopped()) {
            return true;
        }
    }
    return false;
}

bool CLSSearch::TextBlockBackward(std::uint64_t first, std::uint64_t end, const FindRange& range, FindResult& result)
{
    if (IsWindowed(first, end)) {
        return MatchLongLine(first, range, result);
    }
    if (!LoadBlock(LineStart(first), LineEnd(end - 1))) {
        return false;
    }
    const std::vector<std::uint64_t> lines = CandidateLines(first, end);
    for (auto k = lines.rbegin(); k != lines.rend(); ++k) {
        if (MatchWindow(*k, range, false, result) || m_bFailed || Stopped()) {
            return true;
        }
    }
    return false;
}

// A line longer than a block is a block of its own. A query that spans lines
// still takes its lines whole.
bool CLSSearch::IsWindowed(std::uint64_t first, std::uint64_t end) const
{
    return m_matcher.has_value() && end - first == 1 && LineEnd(first) - LineStart(first) > kWindowedLineBytes;
}

// Whether the bytes of line k hold the query's bytes anywhere, by the byte
// filter over pieces that overlap by the filter's length: a long line
// without them is passed at the speed of reading, not of decoding.
bool CLSSearch::LongLineMayHold(std::uint64_t k)
{
    if (!m_bFiltered) {
        return true;
    }
    const std::uint64_t end = LineEnd(k);
    const std::uint64_t overlap = m_filter.Length() - 1;
    for (std::uint64_t at = LineStart(k); at < end && !Stopped(); at += kBlockBytes) {
        const std::uint64_t to = end - at > kBlockBytes + overlap ? at + kBlockBytes + overlap : end;
        if (!LoadBlock(at, to)) {
            return false;
        }
        if (m_filter.FindEnd(m_pBlock, m_blockSize, 0) != SIZE_MAX) {
            return true;
        }
        if (to == end) {
            break;
        }
    }
    return false;
}

// Line k searched window by window; true once found, failed or stopped.
bool CLSSearch::MatchLongLine(std::uint64_t k, const FindRange& range, FindResult& result)
{
    std::uint64_t lo = 0;
    std::uint64_t hi = 0;
    ColumnsOf(k, range, &lo, &hi);
    if (lo >= hi || !LongLineMayHold(k)) {
        return m_bFailed || Stopped();
    }
    const std::uint64_t start = LineStart(k);
    const std::uint64_t span = LineEnd(k) - start;
    CLSLineMap map(span, m_query.encoding, k == 0, 1);
    const LineByteReader read = [this, start, span](std::uint64_t offset, unsigned char* into, DWORD n, DWORD* got) {
        *got = static_cast<DWORD>(std::min<std::uint64_t>(n, offset < span ? span - offset : 0));
        return *got == 0 || ReadAt(start + offset, into, *got);
    };
    const std::uint64_t column = range.forward ? FirstInWindows(map, read, lo, hi) : LastInWindows(map, read, lo, hi);
    if (column == kNone) {
        return m_bFailed || Stopped();
    }
    TakeMatch(k, column, result);
    return true;
}

// The first match starting in columns [lo, hi), else kNone. Each window
// reaches the query's length less one past its last start.
std::uint64_t CLSSearch::FirstInWindows(CLSLineMap& map, const LineByteReader& read, std::uint64_t lo,
                                        std::uint64_t hi)
{
    const std::uint64_t overlap = m_segments.front().size() - 1;
    std::wstring text;
    for (std::uint64_t w = lo; w < hi && !Stopped(); w += kWindowUnits) {
        const int found = MatchUnits(map, read, w, kWindowUnits + overlap, std::min(hi - w, kWindowUnits), true, text);
        if (found >= 0) {
            return w + static_cast<std::uint64_t>(found);
        }
        if (m_bFailed || text.size() < kWindowUnits + overlap) {
            break;  // a read failed, or the line has ended
        }
    }
    return kNone;
}

// The last match starting in columns [lo, hi), else kNone.
std::uint64_t CLSSearch::LastInWindows(CLSLineMap& map, const LineByteReader& read, std::uint64_t lo,
                                       std::uint64_t hi)
{
    std::uint64_t units = 0;
    if (!map.Length(read, &units)) {
        m_bFailed = true;
        return kNone;
    }
    const std::uint64_t overlap = m_segments.front().size() - 1;
    std::wstring text;
    for (std::uint64_t top = std::min(hi, units); top > lo && !Stopped();) {
        const std::uint64_t w = top - lo > kWindowUnits ? top - kWindowUnits : lo;
        const int found = MatchUnits(map, read, w, top - w + overlap, top - w, false, text);
        if (found >= 0) {
            return w + static_cast<std::uint64_t>(found);
        }
        if (m_bFailed) {
            break;
        }
        top = w;
    }
    return kNone;
}

// The first (or, backward, the last) match in count units of the line from
// column first on that starts in the first starts of them; -1 when there is
// none, or when the units cannot be read (failed then). The units are left
// in text.
int CLSSearch::MatchUnits(CLSLineMap& map, const LineByteReader& read, std::uint64_t first, std::uint64_t count,
                          std::uint64_t starts, bool forward, std::wstring& text)
{
    if (!map.Units(read, first, count, &text)) {
        m_bFailed = true;
        return -1;
    }
    return m_matcher->Find(reinterpret_cast<const char16_t*>(text.data()), static_cast<int>(text.size()), 0,
                           static_cast<int>(std::min<std::uint64_t>(starts, text.size())), forward, &m_stop);
}

void CLSSearch::Report(std::uint64_t done, std::uint64_t total)
{
    m_progress.store(total == 0 ? 1000 : static_cast<int>(done * 1000 / total));
}

FindResult CLSSearch::Text(const FindRange& range)
{
    FindResult result;
    m_fold = m_query.matchCase ? nullptr : CaselessUnits();
    m_segments = SplitQuery(m_query.text, m_fold);
    if (m_query.text.empty() || m_source.lineCount == 0) {
        return result;
    }
    if (m_segments.size() == 1) {
        m_matcher.emplace(m_segments.front(), m_fold);
    }
    m_bFiltered = m_segments.size() == 1 && BuildTextFilter(m_segments.front(), m_query.encoding, m_fold, m_filter);
    const std::uint64_t count = m_source.lineCount;
    const FindPos low = range.forward ? range.from : range.limit;
    const FindPos high = range.forward ? range.limit : range.from;
    const std::uint64_t lowLine = low.line;
    const std::uint64_t highLine = high.line < count ? high.line : count - 1;
    if (lowLine > highLine) {
        return result;
    }
    const std::uint64_t total = LineEnd(highLine) - LineStart(lowLine);
    if (range.forward) {
        for (std::uint64_t k = lowLine; k <= highLine;) {
            const std::uint64_t end = LineAfter(LineStart(k) + kBlockBytes - 1, k + 1, highLine + 1);
            if (TextBlockForward(k, end, range, result)) {
                break;
            }
            Report(LineEnd(end - 1) - LineStart(lowLine), total);
            if (Stopped() || m_bFailed) {
                break;
            }
            k = end;
        }
    } else {
        for (std::uint64_t k = highLine + 1; k > lowLine;) {
            const std::uint64_t back = LineEnd(k - 1) > kBlockBytes ? LineEnd(k - 1) - kBlockBytes : 0;
            std::uint64_t first = LineAfter(back, lowLine, k - 1);
            first = first > lowLine && LineStart(first - 1) >= back ? first - 1 : first;
            if (TextBlockBackward(first, k, range, result)) {
                break;
            }
            Report(LineEnd(highLine) - LineStart(first), total);
            if (Stopped() || m_bFailed) {
                break;
            }
            k = first;
        }
    }
    if (result.status != FindResult::Status::Found) {
        result.status = m_bFailed ? FindResult::Status::Failed
                        : Stopped() ? FindResult::Status::Cancelled
                                    : FindResult::Status::NotFound;
    }
    return result;
}

// The bytes past the filter's 64 positions, read where they lie.
bool CLSSearch::BytesMatchAt(std::uint64_t start)
{
    const std::size_t m = m_byteSets.size();
    const std::size_t f = m_filter.Length();
    if (m == f) {
        return true;
    }
    std::vector<unsigned char> rest(m - f);
    if (!ReadAt(start + f, rest.data(), rest.size())) {
        return false;
    }
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const std::vector<unsigned char>& set = m_byteSets[f + i];
        if (std::memchr(set.data(), rest[i], set.size()) == nullptr) {
            return false;
        }
    }
    return true;
}

FindResult CLSSearch::Bytes(const FindRange& range)
{
    FindResult result;
    if (!m_query.hex.empty()) {
        for (unsigned char b : m_query.hex) {
            m_byteSets.push_back({b});
        }
    } else {
        m_byteSets = EncodeQueryBytes(m_query.text, m_query.encoding, m_query.matchCase ? nullptr : CaselessUnits());
    }
    const std::uint64_t m = m_byteSets.size();
    const std::uint64_t size = m_source.size;
    if (m == 0 || m > size) {
        return result;
    }
    for (std::size_t i = 0; i < m && i < CLSByteFilter::kMaxPositions; ++i) {
        m_filter.AddPosition(m_byteSets[i]);
    }
    const std::uint64_t f = m_filter.Length();
    // Starts in [low, high), at most where the whole query still fits.
    const std::uint64_t lastStart = size - m;
    const std::uint64_t low = range.forward ? range.from.column : range.limit.column;
    std::uint64_t high = range.forward ? range.limit.column : range.from.column;
    high = high <= lastStart ? high : lastStart + 1;
    const std::uint64_t total = high > low ? high - low : 0;
    std::uint64_t done = 0;
    while (done < total && !Stopped() && !m_bFailed) {
        const std::uint64_t span = total - done < kBlockBytes ? total - done : kBlockBytes;
        const std::uint64_t first = range.forward ? low + done : high - done - span;
        if (!LoadBlock(first, first + span + f - 1)) {
            break;
        }
        std::uint64_t found = kNone;
        for (std::size_t at = 0;;) {
            const std::size_t hit = m_filter.FindEnd(m_pBlock, m_blockSize, at);
            if (hit == SIZE_MAX) {
                break;
            }
            const std::uint64_t start = first + hit - f;
            if (BytesMatchAt(start)) {
                found = start;
                if (range.forward) {
                    break;
                }
            }
            at = hit - f + 1;
        }
        if (found != kNone) {
            result.status = FindResult::Status::Found;
            result.start = FindPos{0, found};
            result.end = FindPos{0, found + m};
            return result;
        }
        done += span;
        Report(done, total);
    }
    result.status = m_bFailed ? FindResult::Status::Failed
                    : Stopped() ? FindResult::Status::Cancelled
                                : FindResult::Status::NotFound;
    return result;
}

}  // namespace

FindResult CLSFindJob::Run(const FindQuery& query, const FindRange& range, const DocumentSource& source,
                           const std::atomic<bool>& stop, std::atomic<int>& progress)
{
    CLSSearch search(query, source, stop, progress);
    return query.bytes ? search.Bytes(range) : search.Text(range);
}

bool CLSFindJob::Start(FindQuery query, FindRange range, DocumentSource source, std::function<void()> ended)
{
    Cancel();
    auto work = std::make_shared<Work>();
    work->query = std::move(query);
    work->range = range;
    work->source = std::move(source);
    work->notice = std::move(ended);
    // The thread's own share, handed over through the thread's argument.
    auto* share = new (std::nothrow) std::shared_ptr<Work>(work);
    if (share == nullptr) {
        return false;
    }
    m_hThread.Reset(CreateThread(nullptr, 0, ThreadMain, share, 0, nullptr));
    if (!m_hThread) {
        delete share;
        return false;
    }
    m_pWork = std::move(work);
    return true;
}

DWORD WINAPI CLSFindJob::ThreadMain(LPVOID share)
{
    const std::unique_ptr<std::shared_ptr<Work>> owned(static_cast<std::shared_ptr<Work>*>(share));
    Work& work = **owned;
    work.result = Run(work.query, work.range, work.source, work.stop, work.progress);
    work.source = DocumentSource();  // the file and the document go now, not with the job
    work.done.store(true);           // before the notice: its receiver reads the result
    if (work.notice && !work.stop.load()) {
        work.notice();
    }
    return 0;
}

void CLSFindJob::Wait()
{
    if (m_hThread) {
        WaitForSingleObject(m_hThread.Get(), INFINITE);
    }
}

void CLSFindJob::Cancel()
{
    if (m_pWork) {
        m_pWork->stop.store(true);
        m_pWork.reset();
    }
    m_hThread.Reset();
}

const char16_t* CaselessUnits()
{
    static const std::unique_ptr<char16_t[]> s_table = [] {
        auto table = std::make_unique<char16_t[]>(0x10000);
        for (unsigned u = 0; u < 0x10000; ++u) {
            table[u] = static_cast<char16_t>(u);
        }
        // Surrogates stay as they are; the rest is mapped a piece at a time.
        constexpr unsigned kPiece = 0x800;
        for (unsigned base = 0; base < 0x10000; base += kPiece) {
            if (base >= 0xD800 && base < 0xE000) {
                continue;
            }
            WCHAR lower[kPiece];
            auto* source = reinterpret_cast<const WCHAR*>(table.get() + base);
            if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, source, kPiece, lower, kPiece) == kPiece) {
                std::memcpy(table.get() + base, lower, sizeof(lower));
            }
        }
        return table;
    }();
    return s_table.get();
}

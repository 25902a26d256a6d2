// Gathering the text of a copy off the window's thread: the selected lines
// decoded into UTF-16 (or ANSI) joined by CR LF, or the selected bytes as hex
// pairs, into one moveable block that the clipboard then takes.
#include "view/COPYJOB.h"

#include "view/HEXLAY.h"
#include "view/LONGLINES.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace {

// Bytes of the file read at a time for the hex pairs.
constexpr std::uint64_t kHexPiece = 1 << 20;

}  // namespace

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

    // Whether bytes and the terminator fit without the block growing.
    bool Holds(std::uint64_t bytes) const { return m_lpbyData != nullptr && bytes + 2 <= m_cbRoom; }

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
    // block could not be had at all. Readers that take the block's size for
    // the text's (other programs, through Wine) would otherwise read the
    // unused room after the terminator: it is cut off, or zeroed where the
    // block cannot shrink.
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
        if (m_cbRoom <= m_cbUsed + 2) {
            return hBlock;
        }
        if (HGLOBAL hFitted = GlobalReAlloc(hBlock, m_cbUsed + 2, GMEM_MOVEABLE)) {
            return hFitted;
        }
        if (auto* data = static_cast<char*>(GlobalLock(hBlock))) {
            std::memset(data + m_cbUsed + 2, 0, m_cbRoom - m_cbUsed - 2);
            GlobalUnlock(hBlock);
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

namespace {

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

CLSCopyJob::CLSCopyJob() = default;

CLSCopyJob::~CLSCopyJob()
{
    m_bStop.store(true);
    Finish();
}

bool CLSCopyJob::Prepare(CopyOrder order)
{
    m_order = std::move(order);
    std::uint64_t expected = 0;
    if (m_order.hex) {
        expected = m_order.end > m_order.start ? HexCopySize(m_order.end - m_order.start) : 0;
        if (expected == 0) {
            return false;
        }
    } else {
        const OrderedSelection& sel = m_order.lines;
        // A line's bytes give at most as many UTF-16 units, or ANSI bytes,
        // and its break at most two.
        expected = (SourceLinesBytes(m_order.source, sel.s.line, sel.e.line) +
                    2 * static_cast<std::uint64_t>(sel.e.line - sel.s.line)) *
                   (m_order.unicode ? sizeof(WCHAR) : 1);
    }
    m_pBlock.reset(new (std::nothrow) CLSCopyBlock(expected));
    // The text grows as it is gathered, but hex has its exact size: when
    // that cannot be had, neither can the copy.
    return m_pBlock && (!m_order.hex || m_pBlock->Holds(expected));
}

void CLSCopyJob::Start()
{
    m_hThread.Reset(CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
    if (!m_hThread) {
        Gather();
    }
}

DWORD WINAPI CLSCopyJob::ThreadMain(LPVOID self)
{
    static_cast<CLSCopyJob*>(self)->Gather();
    return 0;
}

void CLSCopyJob::Finish()
{
    if (m_hThread) {
        WaitForSingleObject(m_hThread.Get(), INFINITE);
        m_hThread.Reset();
    }
    // The file and the document's index are no longer read.
    m_order.source = DocumentSource();
}

HGLOBAL CLSCopyJob::Take()
{
    Finish();
    HGLOBAL hBlock = m_pBlock ? m_pBlock->Finish() : nullptr;
    m_pBlock.reset();
    return hBlock;
}

void CLSCopyJob::Gather()
{
    if (m_pBlock) {
        if (m_order.hex) {
            GatherHex();
        } else {
            GatherText();
        }
    }
}

// A line that cannot be read ends the copy: what was gathered before it is
// copied. Short lines are read many at a time; a long one is read in pieces,
// so that only the copy itself grows with it.
void CLSCopyJob::GatherText()
{
    const OrderedSelection& sel = m_order.lines;
    const DocumentSource& source = m_order.source;
    if (sel.s.line < 0 || sel.e.line < sel.s.line || source.lineCount == 0) {
        return;
    }
    const std::uint64_t last = std::min<std::uint64_t>(static_cast<std::uint64_t>(sel.e.line), source.lineCount - 1);
    for (auto line = static_cast<std::uint64_t>(sel.s.line); line <= last && !Stopped();) {
        if (IsLongLine(line)) {
            if (!GatherLongLine(line++)) {
                return;
            }
            continue;
        }
        std::uint64_t end = line;
        while (end < last && !IsLongLine(end + 1)) {
            ++end;
        }
        const bool read = ReadSourceLines(source, line, end, m_order.encoding,
                                          [&](std::uint64_t k, const WCHAR* text, int length) {
                                              const LineSlice slice = SelectedSlice(static_cast<int>(k), length, sel);
                                              return !Stopped() && AppendLine(*m_pBlock, m_order.unicode,
                                                                              static_cast<int>(k) > sel.s.line,
                                                                              text + slice.first, slice.count);
                                          });
        if (!read) {
            return;
        }
        line = end + 1;
    }
}

bool CLSCopyJob::IsLongLine(std::uint64_t line) const
{
    return m_order.source.LineEnd(line) - m_order.source.lineStart(line) >= kLongLineBytes;
}

bool CLSCopyJob::GatherLongLine(std::uint64_t line)
{
    constexpr std::uint64_t kChunk = 1 << 20;  // units appended at a time
    const DocumentSource& source = m_order.source;
    const std::uint64_t start = source.lineStart(line);
    const LineByteReader read = [&source, start](std::uint64_t offset, unsigned char* into, DWORD n, DWORD* got) {
        *got = n;
        return ReadSourceBytes(source, start + offset, into, n);
    };
    CLSLineMap fresh(source.LineEnd(line) - start, m_order.encoding, line == 0, 1);
    CLSLineMap* known = nullptr;
    for (auto& [k, m] : m_order.longLines) {
        known = k == line ? &m : known;
    }
    CLSLineMap& map = known != nullptr ? *known : fresh;
    const OrderedSelection& sel = m_order.lines;
    std::uint64_t first = static_cast<int>(line) == sel.s.line ? static_cast<std::uint64_t>(sel.s.column) : 0;
    const std::uint64_t end = static_cast<int>(line) == sel.e.line ? static_cast<std::uint64_t>(sel.e.column) : UINT64_MAX;
    bool joint = static_cast<int>(line) > sel.s.line;
    std::wstring units;
    do {
        const std::uint64_t want = end > first ? std::min(kChunk, end - first) : 0;
        if (Stopped() || !map.Units(read, first, want, &units) ||
            !AppendLine(*m_pBlock, m_order.unicode, joint, units.data(), static_cast<int>(units.size()))) {
            return false;
        }
        joint = false;
        first += units.size();
    } while (units.size() == kChunk && first < end);
    return true;
}

// The bytes are read a piece at a time and their pairs written straight into
// the block. A file that shrank gives fewer bytes: only those are copied,
// never zeros in their place.
void CLSCopyJob::GatherHex()
{
    std::unique_ptr<unsigned char[]> piece(new (std::nothrow) unsigned char[kHexPiece]);
    bool first = true;
    for (std::uint64_t at = m_order.start; piece && at < m_order.end && !Stopped();) {
        const std::uint64_t want = m_order.end - at < kHexPiece ? m_order.end - at : kHexPiece;
        if (!ReadSourceBytes(m_order.source, at, piece.get(), want)) {
            break;
        }
        // A space before every piece but the first: the room prepared for
        // the whole copy then holds it without growing.
        const std::size_t joint = first ? 0 : 1;
        char* out = m_pBlock->Reserve(joint + HexCopySize(want));
        if (out == nullptr) {
            break;
        }
        std::size_t written = 0;
        if (joint != 0) {
            out[written++] = ' ';
        }
        written += FormatHexCopy(piece.get(), static_cast<std::size_t>(want), out + written);
        m_pBlock->Commit(written);
        first = false;
        at += want;
    }
}

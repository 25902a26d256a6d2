// The line index of the document. A file on disk is counted on a second
// thread with its own handle and its own index, which becomes the complete
// one once the thread has ended; until then the lines near the start are
// found by reading the start of the file here.
#include "document/LINEINDX.h"

#include "document/DETECT.h"
#include "document/LINESCAN.h"
#include "document/READAHED.h"

#include <new>

namespace {

// The disk is read in pieces of this size while the index is built.
constexpr DWORD kIndexPiece = 512 * 1024;
// The start of the file is read in pieces of this size, up to the limit:
// further on the whole index is worth waiting for.
constexpr DWORD kStartPiece = 16 * 1024;
constexpr DWORD kStartLimit = 1024 * 1024;

bool SeekHandle(HANDLE file, std::uint64_t offset)
{
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != FALSE;
}

// A piece of the start, read by the thread that shows it: through the reader,
// which gives up on a read that never ends, where there is one.
bool ReadStartPiece(const LineSource& source, std::uint64_t offset, unsigned char* into, DWORD n, DWORD* got)
{
    if (source.reader != nullptr) {
        return source.reader->ReadAt(offset, into, n, got);
    }
    return SeekHandle(source.file, offset) && ReadFile(source.file, into, n, got, nullptr);
}

}  // namespace

CLSLineIndex::CLSLineIndex() = default;

const CLSLineStarts& CLSLineIndex::Lines() const
{
    static const CLSLineStarts s_none;
    return m_pLines ? *m_pLines : s_none;
}

CLSLineIndex::~CLSLineIndex()
{
    Stop();
}

bool CLSLineIndex::Build(const LineSource& source)
{
    if (m_hThread) {
        if (!LetRun()) {
            return BuildInsteadOfThread(source);
        }
        Finish();
        return false;
    }
    if (m_pLines || !source.IsOpen()) {
        return false;
    }
    BuildHere(source);
    return true;
}

void CLSLineIndex::BuildHere(const LineSource& source)
{
    auto lines = std::make_shared<CLSLineStarts>();
    lines->push_back(0);
    CLSLineScanner scanner(*lines, source.encoding, source.size);
    if (source.memory != nullptr) {
        ScanPiece(scanner, source.memory, static_cast<std::size_t>(source.size));
        scanner.Finish();
    } else {
        ScanFromDisk(source.file, source.size, scanner);
    }
    EndSearch();
    lines->shrink_to_fit();
    m_pLines = std::move(lines);
}

bool CLSLineIndex::Start(const LineSource& source, HANDLE threadFile, LineIndexNotice notice)
{
    CLSHandle file(threadFile);
    if (!IsUnstarted() || !source.IsOpen()) {
        return false;
    }
    // A scan of memory is over before a thread would be; without a handle of
    // its own the thread would move the document's file pointer.
    if (source.memory != nullptr || !file) {
        BuildHere(source);
        return true;
    }
    m_hFile = std::move(file);
    m_ullSize = source.size;
    m_encoding = source.encoding;
    m_notice = std::move(notice);
    m_vecBuilding.clear();
    m_vecStart.clear();
    m_vecStart.push_back(0);
    m_pStartScanner = std::make_unique<CLSLineScanner>(m_vecStart, source.encoding);
    m_dwStartRead = 0;
    m_bStartEnded = false;
    m_bDone.store(false);
    m_hThread.Reset(CreateThread(nullptr, 0, ThreadMain, this, CREATE_SUSPENDED, nullptr));
    m_bHeld = static_cast<bool>(m_hThread);
    if (!m_hThread) {
        Stop();
        BuildHere(source);
        return true;
    }
    return false;
}

bool CLSLineIndex::Extend(const LineSource& source, HANDLE threadFile, LineIndexNotice notice,
                          std::shared_ptr<const CLSLineStarts> base)
{
    CLSHandle file(threadFile);
    if (!IsUnstarted() || source.file == nullptr || !file || !base || base->empty()) {
        return false;
    }
    m_pBase = std::move(base);
    if (Start(source, file.Release(), std::move(notice)) || !LetRun()) {
        Clear();
        return false;
    }
    return true;
}

DWORD WINAPI CLSLineIndex::ThreadMain(LPVOID self)
{
    static_cast<CLSLineIndex*>(self)->BuildOnThread();
    return 0;
}

// On the index thread: touches only its handle, its index and what stays
// fixed while the file is open (size, encoding, where to report).
void CLSLineIndex::BuildOnThread()
{
    const std::uint64_t from = TakeOverBase();
    // Stopped before it ran (the file was closed at once): no reader, no reading.
    if (!m_bStop.load()) {
        CLSLineScanner scanner(m_vecBuilding, m_encoding, m_ullSize);
        scanner.ResumeAt(from);
        ScanFromDisk(m_hFile.Get(), m_ullSize, scanner);
    }
    EndSearch();
    m_bDone.store(true);  // before the notice: its receiver asks for this
    if (!m_bStop.load() && m_notice) {
        m_notice();
    }
}

// The index thread's start: the lines known from before the file grew but the
// last two, whose ends the new bytes may move (a CR at the old end that an LF
// now follows), and the offset to read on from; else nothing, from 0.
std::uint64_t CLSLineIndex::TakeOverBase()
{
    if (m_pBase) {
        const std::size_t keep = m_pBase->size() > 1 ? m_pBase->size() - 1 : 1;
        const std::shared_ptr<const CLSLineStarts> base = std::move(m_pBase);
        if (m_vecBuilding.StartWith(base, keep)) {
            return (*base)[keep - 1];
        }
    }
    m_vecBuilding.clear();
    m_vecBuilding.push_back(0);
    return 0;
}

bool CLSLineIndex::Run(const LineSource& source)
{
    return !LetRun() && BuildInsteadOfThread(source);
}

// Lets a held thread go; false when it cannot be resumed: it is ended then,
// without having read anything.
bool CLSLineIndex::LetRun()
{
    if (!m_bHeld) {
        return true;
    }
    m_bHeld = false;
    if (ResumeThread(m_hThread.Get()) != static_cast<DWORD>(-1)) {
        return true;
    }
    TerminateThread(m_hThread.Get(), 0);
    return false;
}

// A thread that never runs would be waited for forever: the lines are counted
// here instead, and the notice comes all the same.
bool CLSLineIndex::BuildInsteadOfThread(const LineSource& source)
{
    const LineIndexNotice notice = std::move(m_notice);
    Stop();
    BuildHere(source);
    if (notice) {
        notice();
    }
    return true;
}

// Lets the thread run to its end (or ends one that cannot run), then closes
// what it had and drops what was read of the start.
void CLSLineIndex::EndThread()
{
    if (m_hThread) {
        LetRun();
        WaitForSingleObject(m_hThread.Get(), INFINITE);
        m_hThread.Reset();
    }
    m_hFile.Reset();
    m_pBase.reset();
    m_pStartScanner.reset();
    m_vecStart.clear();
}

// Waits for the thread and takes its index as the complete one.
void CLSLineIndex::Finish()
{
    if (!m_hThread) {
        return;
    }
    EndThread();
    auto lines = std::make_shared<CLSLineStarts>();
    lines->swap(m_vecBuilding);
    lines->shrink_to_fit();
    m_pLines = std::move(lines);
}

// Ends the thread early and drops its work.
void CLSLineIndex::Stop()
{
    m_bStop.store(true);
    EndThread();
    m_bStop.store(false);
    m_vecBuilding.clear();
}

void CLSLineIndex::Clear()
{
    Stop();
    m_pLines.reset();  // whoever shares it keeps it
    m_pSearch.reset();
    m_encFound.store(TextEncoding::Auto);  // a message still on its way finds nothing
}

bool CLSLineIndex::ReadStartTo(const LineSource& source, DWORD line)
{
    unsigned char piece[kStartPiece];
    while (!m_bStartEnded && m_vecStart.size() <= static_cast<std::size_t>(line) + 1) {
        const std::uint64_t left = source.size - m_dwStartRead;
        DWORD got = 0;
        if (m_dwStartRead >= kStartLimit ||
            !ReadStartPiece(source, m_dwStartRead, piece, left < kStartPiece ? static_cast<DWORD>(left) : kStartPiece,
                            &got)) {
            return false;
        }
        m_pStartScanner->Feed(piece, got);
        m_dwStartRead += got;
        if (got == 0 || m_dwStartRead >= source.size) {
            m_pStartScanner->Finish();
            m_bStartEnded = true;
        }
    }
    return true;
}

DWORD CLSLineIndex::StartLinesKnown() const
{
    // The last line found so far is complete only once the file has ended.
    const std::size_t known = m_bStartEnded ? m_vecStart.size() : m_vecStart.size() - 1;
    return known > 0 ? static_cast<DWORD>(known) : 1;
}

// Reads file up to size, on a second thread so that reading and scanning
// overlap. The two are not held to different processors: the scan (line
// breaks and the encoding search in one pass) is lighter than the read, and
// on a busy machine a thread held to one processor waits for it while another
// is free. A read that fails is tried again one unit at a time, so that the
// index keeps every line before the first unit that cannot be read; the scan
// stops there. Gives up early when told to stop.
void CLSLineIndex::ScanFromDisk(HANDLE file, std::uint64_t size, CLSLineScanner& scanner)
{
    std::uint64_t done = scanner.Consumed();
    {
        CLSReadAhead reader(file, done, size, kIndexPiece);
        const unsigned char* data = nullptr;
        DWORD got = 0;
        while (!m_bStop.load(std::memory_order_relaxed) && reader.Next(&data, &got)) {
            ScanPiece(scanner, data, got);
        }
        if (reader.IsRunning() && !reader.Failed()) {
            scanner.Finish();  // read to the end, or to where the file now ends
            return;
        }
        done = reader.StoppedAt();
    }
    ScanRestFromDisk(file, size, scanner, done);
}

// Plain reads from done on: without the thread, and after a failed read.
void CLSLineIndex::ScanRestFromDisk(HANDLE file, std::uint64_t size, CLSLineScanner& scanner, std::uint64_t done)
{
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[kIndexPiece]);
    unsigned char unit[2];
    unsigned char* into = buffer ? buffer.get() : unit;
    DWORD chunk = buffer ? kIndexPiece : scanner.UnitSize();
    if (!SeekHandle(file, done)) {
        return;
    }
    while (done < size && !m_bStop.load(std::memory_order_relaxed)) {
        const std::uint64_t left = size - done;
        DWORD got = 0;
        if (!ReadFile(file, into, chunk < left ? chunk : static_cast<DWORD>(left), &got, nullptr)) {
            if (chunk > scanner.UnitSize() && SeekHandle(file, done)) {
                chunk = scanner.UnitSize();
                continue;
            }
            return;
        }
        if (got == 0) {
            break;  // the file has shrunk since it was opened
        }
        ScanPiece(scanner, into, got);
        done += got;
    }
    scanner.Finish();
}

void CLSLineIndex::SearchEncoding(bool wanted)
{
    m_pSearch.reset(wanted ? new (std::nothrow) CLSEncodingSearch : nullptr);
}

// The encoding search rides along with the scan of the same bytes; once it
// is over it is let go, so that what it found can be told at once.
void CLSLineIndex::ScanPiece(CLSLineScanner& scanner, const unsigned char* data, std::size_t n)
{
    scanner.Watch(m_pSearch.get());
    scanner.Feed(data, n);
    if (m_pSearch && m_pSearch->IsOver()) {
        scanner.Watch(nullptr);
        EndSearch();
    }
}

// Keeps what the search found for the document to take, once. From the index
// thread the window hears of it at once, not only when the whole index is
// done: the lines shown meanwhile were decoded as Shift-JIS for want of
// evidence.
void CLSLineIndex::EndSearch()
{
    if (!m_pSearch) {
        return;
    }
    m_pSearch->Finish();
    const TextEncoding found = m_pSearch->Found();
    m_pSearch.reset();
    if (found == TextEncoding::Auto) {
        return;
    }
    m_encFound.store(found);
    if (m_hThread && m_notice && !m_bStop.load()) {
        m_notice();
    }
}

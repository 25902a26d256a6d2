// The line index of the document and the decoding of single lines. The index
// is built once per file, on first use; a line is read and decoded only when
// it is asked for.
#include "document/FILESTRM.h"

#include "document/DETECT.h"
#include "document/LINEDEC.h"
#include "document/LINESCAN.h"
#include "document/READAHED.h"

#include <memory>
#include <new>

namespace {

// The disk is read in pieces of this size while the index is built.
constexpr DWORD kIndexPiece = 512 * 1024;
// Longest line that can be decoded: its UTF-16 form must fit in an int count.
constexpr DWORD kLongestLine = 0x3FFFFFF0;

}  // namespace

// The encoding is taken from the start of the file: in memory from the copy
// itself (the bytes after the sample are file bytes and the final 0), on disk
// from one read of 8190 bytes into a zeroed 8192-byte buffer. A sample that
// decides nothing sends the search on through the file: here at once for a
// copy in memory, else along with the reading for the line index.
void CLSFileStream::DetectFromSample()
{
    m_pSearch.reset();
    if (m_lpbyMemory != nullptr) {
        const DWORD n = m_dwFileSize < kSampleBufferSize ? m_dwFileSize : DWORD(kSampleBufferSize);
        m_encDetected = DetectEncoding(m_lpbyMemory, n);
        if (SampleLacksEvidence(m_lpbyMemory, n)) {
            CLSEncodingSearch search;
            search.Feed(m_lpbyMemory, m_dwFileSize);
            search.Finish();
            if (search.Found() != TextEncoding::Auto) {
                m_encDetected = search.Found();
            }
        }
        return;
    }
    std::unique_ptr<unsigned char[]> sample(new (std::nothrow) unsigned char[kSampleBufferSize]());
    if (!sample) {
        return;
    }
    DWORD got = 0;
    if (!SeekTo(0) || !ReadFile(m_hFile.Get(), sample.get(), kSampleBytes, &got, nullptr)) {
        got = 0;
    }
    m_encDetected = DetectEncoding(sample.get(), got);
    if (SampleLacksEvidence(sample.get(), got)) {
        m_pSearch.reset(new (std::nothrow) CLSEncodingSearch);
    }
}

void CLSFileStream::BuildLineIndex()
{
    if (m_hIndexThread) {
        FinishLineIndex();
        return;
    }
    if (!m_vecLines.empty() || !IsOpen()) {
        return;
    }
    if (m_encDetected == TextEncoding::Auto) {
        DetectFromSample();
    }
    m_vecLines.push_back(0);
    CLSLineScanner scanner(m_vecLines, m_encDetected, m_ullFileSize);
    if (m_lpbyMemory != nullptr) {
        scanner.Feed(m_lpbyMemory, m_dwFileSize);
        scanner.Finish();
    } else {
        ScanFromDisk(m_hFile.Get(), scanner, false);
        EndSearch();
        TakeFoundEncoding();  // no line has been decoded yet
    }
    m_vecLines.shrink_to_fit();
    SetPosition(0, FILE_BEGIN);
}

// Reads file up to the document's size, on a second thread so that reading
// and scanning overlap (the two held to different processors only when the
// caller is the index thread). A read that fails is tried again one unit at a time,
// so that the index keeps every line before the first unit that cannot be
// read; the scan stops there. Gives up early when told to stop.
void CLSFileStream::ScanFromDisk(HANDLE file, CLSLineScanner& scanner, bool onIndexThread)
{
    std::uint64_t done = 0;
    {
        CLSReadAhead reader(file, 0, m_ullFileSize, kIndexPiece, onIndexThread);
        const unsigned char* data = nullptr;
        DWORD got = 0;
        while (!m_bStopIndex.load(std::memory_order_relaxed) && reader.Next(&data, &got)) {
            scanner.Feed(data, got);
            SearchFurther(data, got);
        }
        if (reader.IsRunning() && !reader.Failed()) {
            scanner.Finish();  // read to the end, or to where the file now ends
            return;
        }
        done = reader.StoppedAt();
    }
    ScanRestFromDisk(file, scanner, done);
}

// Plain reads from done on: without the thread, and after a failed read.
void CLSFileStream::ScanRestFromDisk(HANDLE file, CLSLineScanner& scanner, std::uint64_t done)
{
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[kIndexPiece]);
    unsigned char unit[2];
    unsigned char* into = buffer ? buffer.get() : unit;
    DWORD chunk = buffer ? kIndexPiece : scanner.UnitSize();
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(done);
    if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) {
        return;
    }
    while (done < m_ullFileSize && !m_bStopIndex.load(std::memory_order_relaxed)) {
        const std::uint64_t left = m_ullFileSize - done;
        DWORD got = 0;
        if (!ReadFile(file, into, chunk < left ? chunk : static_cast<DWORD>(left), &got, nullptr)) {
            at.QuadPart = static_cast<LONGLONG>(done);
            if (chunk > scanner.UnitSize() && SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) {
                chunk = scanner.UnitSize();
                continue;
            }
            return;
        }
        if (got == 0) {
            break;  // the file has shrunk since it was opened
        }
        scanner.Feed(into, got);
        SearchFurther(into, got);
        done += got;
    }
    scanner.Finish();
}

DWORD CLSFileStream::GetLineCount()
{
    BuildLineIndex();
    return static_cast<DWORD>(m_vecLines.size());
}

bool CLSFileStream::GetLineSpan(const CLSLineStarts& lines, DWORD line, std::uint64_t* start, DWORD* length)
{
    *start = lines[line];
    const std::uint64_t end = line + 1 < lines.size() ? lines[line + 1]
                              : lines.IsCut()          ? lines.CutAt()
                                                       : m_ullFileSize;
    const std::uint64_t span = end > *start ? end - *start : 0;
    *length = span <= kLongestLine ? static_cast<DWORD>(span) : kLongestLine + 1;
    return span <= kLongestLine;
}

// While the index is being built, lines near the start come from what has
// been read of the start; anything further waits for the whole index.
const CLSLineStarts& CLSFileStream::LinesThrough(DWORD line)
{
    if (m_hIndexThread && !ReadStartTo(line)) {
        FinishLineIndex();
    }
    if (!m_hIndexThread) {
        BuildLineIndex();
    }
    return m_hIndexThread ? m_vecStart : m_vecLines;
}

CLSDecodedLine CLSFileStream::GetLine(DWORD line, TextEncoding encoding)
{
    const CLSLineStarts& lines = LinesThrough(line);
    std::uint64_t start = 0;
    DWORD length = 0;
    if (line >= lines.size() || !GetLineSpan(lines, line, &start, &length) || !SeekTo(start)) {
        return CLSDecodedLine();
    }
    CLSGlobalOwner block(GlobalAlloc(GPTR, static_cast<SIZE_T>(length) + kLinePadding));
    DWORD got = 0;
    if (!block || !ReadBytes(block.Get(), length, &got)) {
        return CLSDecodedLine();
    }
    const TextEncoding effective = encoding != TextEncoding::Auto ? encoding : m_encDetected;
    return DecodeLineBytes(std::move(block), got, effective, line == 0);
}

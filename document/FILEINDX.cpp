// The document's side of its line index: the encoding is detected before the
// index is first built, the index is handed the file as it is held, and what
// the index thread found of the encoding becomes the detected one.
#include "document/FILESTRM.h"

#include "document/DETECT.h"
#include "document/LINESCAN.h"

#include <memory>
#include <new>

LineSource CLSFileStream::GetLineSource() const
{
    LineSource source;
    source.memory = m_lpbyMemory;
    source.file = m_hFile.Get();
    source.reader = m_reader.get();
    source.size = m_ullFileSize;
    source.encoding = m_encChosen != TextEncoding::Auto ? m_encChosen : m_encDetected;
    return source;
}

bool CLSFileStream::SplitsLinesAnew(TextEncoding chosen) const
{
    const TextEncoding split = chosen != TextEncoding::Auto ? chosen : m_encDetected;
    return !m_index.IsUnstarted() && LineUnitsOf(split) != LineUnitsOf(GetLineSource().encoding);
}

void CLSFileStream::SetLineEncoding(TextEncoding chosen)
{
    const bool anew = SplitsLinesAnew(chosen);
    m_encChosen = chosen;
    if (anew) {
        m_index.Clear();
    }
}

// The encoding is taken from the start of the file: in memory from the copy
// itself (the bytes after the sample are file bytes and the final 0), on disk
// from one read of 8190 bytes into a zeroed 8192-byte buffer. A sample that
// decides nothing sends the search on through the file, along with the
// scan for the line index (what it finds is taken once the index is built).
void CLSFileStream::DetectFromSample()
{
    m_index.SearchEncoding(false);
    if (m_lpbyMemory != nullptr) {
        const DWORD n = m_dwFileSize < kSampleBufferSize ? m_dwFileSize : DWORD(kSampleBufferSize);
        m_encDetected = DetectEncoding(m_lpbyMemory, n);
        m_index.SearchEncoding(SampleLacksEvidence(m_lpbyMemory, n));
        return;
    }
    std::unique_ptr<unsigned char[]> sample(new (std::nothrow) unsigned char[kSampleBufferSize]());
    if (!sample) {
        return;
    }
    DWORD got = 0;
    if (!ReadAt(0, sample.get(), kSampleBytes, &got)) {
        got = 0;
    }
    m_encDetected = DetectEncoding(sample.get(), got);
    m_index.SearchEncoding(SampleLacksEvidence(sample.get(), got));
}

void CLSFileStream::BuildLineIndex()
{
    if (IsOpen() && m_index.IsUnstarted() && m_encDetected == TextEncoding::Auto) {
        DetectFromSample();
    }
    if (m_index.Build(GetLineSource())) {
        AfterIndexBuiltHere();
    }
}

// The index was built on this thread, before any line was decoded: what the
// search found is the detected encoding from the start.
void CLSFileStream::AfterIndexBuiltHere()
{
    TakeFoundEncoding();
    SetPosition(0, FILE_BEGIN);
}

void CLSFileStream::StartLineIndex(LineIndexNotice notice)
{
    if (!IsOpen() || !m_index.IsUnstarted()) {
        return;
    }
    if (m_encDetected == TextEncoding::Auto) {
        DetectFromSample();
        SetPosition(0, FILE_BEGIN);
    }
    // A handle with a file pointer of its own, so that reading lines here
    // and reading the whole file there do not move each other's.
    if (m_index.Start(GetLineSource(), ReopenForReading(), std::move(notice))) {
        AfterIndexBuiltHere();
    }
}

bool CLSFileStream::OpenGrown(const std::shared_ptr<CLSFileStream>& shown, LineIndexNotice notice)
{
    if (shown->IsInMemory() || !shown->IsLineIndexReady() || !shown->LinesCoverFile() ||
        shown->m_kind != DocumentKind::Text) {
        return false;
    }
    const BY_HANDLE_FILE_INFORMATION& was = shown->m_infoOpened;
    if (!Open(shown->GetPath()) || IsInMemory() || m_ullFileSize <= shown->GetFileSize() ||
        m_infoOpened.dwVolumeSerialNumber != was.dwVolumeSerialNumber ||
        m_infoOpened.nFileIndexHigh != was.nFileIndexHigh || m_infoOpened.nFileIndexLow != was.nFileIndexLow) {
        Close();
        return false;
    }
    m_kind = shown->m_kind;
    m_encDetected = shown->m_encDetected;
    m_encChosen = shown->m_encChosen;  // the units its lines were split in
    // The lines counted before are shared with the shown document, not
    // copied; they stay when it closes.
    if (!m_index.Extend(GetLineSource(), ReopenForReading(), std::move(notice), shown->m_index.SharedLines())) {
        Close();
        return false;
    }
    return true;
}

void CLSFileStream::RunLineIndex()
{
    if (m_index.Run(GetLineSource())) {
        AfterIndexBuiltHere();
    }
}

HANDLE CLSFileStream::ReopenForReading() const
{
    if (!m_hFile) {
        return nullptr;
    }
    // Shared as the file itself was opened: a log that another program holds
    // open for writing can be reopened too.
    HANDLE file = ReOpenFile(m_hFile.Get(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
    return file != INVALID_HANDLE_VALUE ? file : nullptr;
}

DWORD CLSFileStream::GetLinesKnown()
{
    if (m_index.HasThread()) {
        return m_index.StartLinesKnown();
    }
    return IsOpen() ? GetLineCount() : 0;
}

bool CLSFileStream::TakeFoundEncoding()
{
    const TextEncoding found = m_index.TakeFoundEncoding();
    if (found == TextEncoding::Auto || found == m_encDetected) {
        return false;
    }
    m_encDetected = found;
    return true;
}

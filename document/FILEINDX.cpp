// The line index of a big file built on a second thread, so that the first
// screen can be shown at once: the thread has its own handle and its own
// index, which the document takes over once the thread has ended. Until then
// the lines near the start are found by reading the start of the file here.
#include "document/FILESTRM.h"

#include "document/DETECT.h"
#include "document/LINESCAN.h"

namespace {

// The start of the file is read in pieces of this size, up to the limit:
// further on the whole index is worth waiting for.
constexpr DWORD kStartPiece = 16 * 1024;
constexpr DWORD kStartLimit = 1024 * 1024;

}  // namespace

void CLSFileStream::StartLineIndex(HWND notify, UINT message)
{
    if (!IsOpen() || !m_vecLines.empty() || m_hIndexThread) {
        return;
    }
    if (m_encDetected == TextEncoding::Auto) {
        DetectFromSample();
        SetPosition(0, FILE_BEGIN);
    }
    if (m_lpbyMemory != nullptr) {
        BuildLineIndex();  // a scan of memory: over before a thread would be
        return;
    }
    // A handle with a file pointer of its own, so that reading lines here
    // and reading the whole file there do not move each other's.
    m_hIndexFile.Reset(ReopenForReading());
    if (!m_hIndexFile) {
        BuildLineIndex();
        return;
    }
    m_hWndIndexNotify = notify;
    m_uIndexMessage = message;
    m_vecBuilding.clear();
    m_vecStart.clear();
    m_vecStart.push_back(0);
    m_pStartScanner = std::make_unique<CLSLineScanner>(m_vecStart, m_encDetected);
    m_dwStartRead = 0;
    m_bStartEnded = false;
    m_bIndexDone.store(false);
    m_hIndexThread.Reset(CreateThread(nullptr, 0, IndexThreadMain, this, CREATE_SUSPENDED, nullptr));
    m_bIndexHeld = static_cast<bool>(m_hIndexThread);
    if (!m_hIndexThread) {
        StopLineIndex();
        BuildLineIndex();
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

DWORD WINAPI CLSFileStream::IndexThreadMain(LPVOID self)
{
    static_cast<CLSFileStream*>(self)->BuildIndexOnThread();
    return 0;
}

// On the index thread: touches only its handle, its index and what stays
// fixed while the file is open (size, encoding, where to report).
void CLSFileStream::BuildIndexOnThread()
{
    m_vecBuilding.push_back(0);
    // Stopped before it ran (the file was closed at once): no reader, no reading.
    if (!m_bStopIndex.load()) {
        CLSLineScanner scanner(m_vecBuilding, m_encDetected, m_ullFileSize);
        ScanFromDisk(m_hIndexFile.Get(), scanner, true);
    }
    EndSearch();
    m_bIndexDone.store(true);  // before the message: its receiver asks for this
    if (!m_bStopIndex.load() && m_hWndIndexNotify != nullptr) {
        PostMessageA(m_hWndIndexNotify, m_uIndexMessage, 0, 0);
    }
}

void CLSFileStream::RunLineIndex()
{
    if (!m_bIndexHeld) {
        return;
    }
    m_bIndexHeld = false;
    if (ResumeThread(m_hIndexThread.Get()) != static_cast<DWORD>(-1)) {
        return;
    }
    // A thread that never runs would be waited for forever: the lines are
    // counted here instead, and the message comes all the same.
    TerminateThread(m_hIndexThread.Get(), 0);
    const HWND notify = m_hWndIndexNotify;
    StopLineIndex();
    BuildLineIndex();
    if (notify != nullptr) {
        PostMessageA(notify, m_uIndexMessage, 0, 0);
    }
}

// Lets the thread run to its end, then closes what it had and drops what was
// read of the start.
void CLSFileStream::EndIndexThread()
{
    if (m_hIndexThread) {
        RunLineIndex();
        WaitForSingleObject(m_hIndexThread.Get(), INFINITE);
        m_hIndexThread.Reset();
    }
    m_hIndexFile.Reset();
    m_pStartScanner.reset();
    m_vecStart.clear();
}

// Waits for the thread and takes its index as the document's.
void CLSFileStream::FinishLineIndex()
{
    if (!m_hIndexThread) {
        return;
    }
    EndIndexThread();
    m_vecLines.swap(m_vecBuilding);
    m_vecBuilding.clear();
    m_vecLines.shrink_to_fit();
}

// Ends the thread early (the document is closing) and drops its work.
void CLSFileStream::StopLineIndex()
{
    m_bStopIndex.store(true);
    EndIndexThread();
    m_bStopIndex.store(false);
    m_vecBuilding.clear();
}

// Reads on from the start of the file until line is complete (its end is
// known) or the file ends; false when that would take too long or a read
// fails, and the whole index should be waited for instead.
bool CLSFileStream::ReadStartTo(DWORD line)
{
    unsigned char piece[kStartPiece];
    while (!m_bStartEnded && m_vecStart.size() <= static_cast<std::size_t>(line) + 1) {
        if (m_dwStartRead >= kStartLimit || !SeekTo(m_dwStartRead)) {
            return false;
        }
        const std::uint64_t left = m_ullFileSize - m_dwStartRead;
        DWORD got = 0;
        if (!ReadBytes(piece, left < kStartPiece ? static_cast<DWORD>(left) : kStartPiece, &got)) {
            return false;
        }
        m_pStartScanner->Feed(piece, got);
        m_dwStartRead += got;
        if (got == 0 || m_dwStartRead >= m_ullFileSize) {
            m_pStartScanner->Finish();
            m_bStartEnded = true;
        }
    }
    return true;
}

bool CLSFileStream::IsLineIndexBuilding() const
{
    return m_hIndexThread && !m_bIndexDone.load();
}

DWORD CLSFileStream::GetLinesKnown()
{
    if (!m_hIndexThread) {
        return IsOpen() ? GetLineCount() : 0;
    }
    // The last line found so far is complete only once the file has ended.
    const std::size_t known = m_bStartEnded ? m_vecStart.size() : m_vecStart.size() - 1;
    return known > 0 ? static_cast<DWORD>(known) : 1;
}

void CLSFileStream::SearchFurther(const unsigned char* data, DWORD n)
{
    if (m_pSearch && m_pSearch->Feed(data, n)) {
        EndSearch();
    }
}

// Hands on what the search found, once. From the index thread the window
// hears of it at once, not only when the whole index is done: the lines shown
// meanwhile were decoded as Shift-JIS for want of evidence.
void CLSFileStream::EndSearch()
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
    if (m_hIndexThread && m_hWndIndexNotify != nullptr && !m_bStopIndex.load()) {
        PostMessageA(m_hWndIndexNotify, m_uIndexMessage, 0, 0);
    }
}

bool CLSFileStream::TakeFoundEncoding()
{
    const TextEncoding found = m_encFound.exchange(TextEncoding::Auto);
    if (found == TextEncoding::Auto || found == m_encDetected) {
        return false;
    }
    m_encDetected = found;
    return true;
}

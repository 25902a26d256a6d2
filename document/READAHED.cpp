// The read-ahead thread and its ring of pieces. One lock guards the slot
// states; the buffers themselves are touched by one side at a time: the reader
// fills a slot that is not filled, the owner reads a slot that is.
#include "document/READAHED.h"

#include <cstdlib>

CLSReadAhead::CLSReadAhead(HANDLE file, DWORD from, DWORD to, DWORD pieceBytes)
    : m_hFile(file), m_dwFrom(from), m_dwTo(to), m_dwPiece(pieceBytes), m_dwTaken(from), m_dwStoppedAt(from)
{
    m_lpbyBuffers = static_cast<unsigned char*>(std::malloc(static_cast<std::size_t>(pieceBytes) * kSlots));
    if (m_lpbyBuffers == nullptr) {
        return;
    }
    for (int i = 0; i < kSlots; ++i) {
        m_slots[i].data = m_lpbyBuffers + static_cast<std::size_t>(pieceBytes) * i;
    }
    m_hThread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
}

CLSReadAhead::~CLSReadAhead()
{
    if (m_hThread != nullptr) {
        AcquireSRWLockExclusive(&m_lock);
        m_bStop = true;
        ReleaseSRWLockExclusive(&m_lock);
        WakeAllConditionVariable(&m_changed);
        WaitForSingleObject(m_hThread, INFINITE);
        CloseHandle(m_hThread);
    }
    std::free(m_lpbyBuffers);
}

DWORD WINAPI CLSReadAhead::ThreadMain(LPVOID self)
{
    static_cast<CLSReadAhead*>(self)->ReadAll();
    return 0;
}

// Fills the slots in turn, each as soon as the owner has given it back. Ends
// after the range, at the file's end, after a failed read, or when told to.
void CLSReadAhead::ReadAll()
{
    DWORD offset = m_dwFrom;
    for (int slot = 0;; slot = (slot + 1) % kSlots) {
        AcquireSRWLockExclusive(&m_lock);
        while (m_slots[slot].filled && !m_bStop) {
            SleepConditionVariableSRW(&m_changed, &m_lock, INFINITE, 0);
        }
        const bool stop = m_bStop || offset >= m_dwTo;
        ReleaseSRWLockExclusive(&m_lock);
        if (stop) {
            break;
        }
        const DWORD want = m_dwTo - offset < m_dwPiece ? m_dwTo - offset : m_dwPiece;
        OVERLAPPED at = {};
        at.Offset = offset;
        DWORD got = 0;
        // A read at an offset past the end fails with ERROR_HANDLE_EOF: that
        // is the end of a file that has become shorter, not a failure.
        const bool ok = ReadFile(m_hFile, m_slots[slot].data, want, &got, &at) != FALSE ||
                        GetLastError() == ERROR_HANDLE_EOF;
        AcquireSRWLockExclusive(&m_lock);
        m_slots[slot].bytes = ok ? got : 0;
        m_slots[slot].failed = !ok;
        m_slots[slot].filled = true;
        ReleaseSRWLockExclusive(&m_lock);
        WakeAllConditionVariable(&m_changed);
        offset += got;
        if (!ok || got == 0) {
            break;  // a failed read, or the file is shorter than it was
        }
    }
    AcquireSRWLockExclusive(&m_lock);
    m_bReaderDone = true;
    ReleaseSRWLockExclusive(&m_lock);
    WakeAllConditionVariable(&m_changed);
}

bool CLSReadAhead::Next(const unsigned char** data, DWORD* bytes)
{
    *data = nullptr;
    *bytes = 0;
    if (m_hThread == nullptr) {
        return false;
    }
    if (m_iHeld >= 0) {
        Release(m_iHeld);
        m_iHeld = -1;
    }
    Slot& slot = m_slots[m_iNext];
    AcquireSRWLockExclusive(&m_lock);
    while (!slot.filled && !m_bReaderDone) {
        SleepConditionVariableSRW(&m_changed, &m_lock, INFINITE, 0);
    }
    const bool filled = slot.filled;
    ReleaseSRWLockExclusive(&m_lock);
    if (!filled || slot.failed || slot.bytes == 0) {
        m_bFailed = filled && slot.failed;
        m_dwStoppedAt = m_dwTaken;
        return false;
    }
    m_iHeld = m_iNext;
    m_iNext = (m_iNext + 1) % kSlots;
    m_dwTaken += slot.bytes;
    m_dwStoppedAt = m_dwTaken;
    *data = slot.data;
    *bytes = slot.bytes;
    return true;
}

void CLSReadAhead::Release(int slot)
{
    AcquireSRWLockExclusive(&m_lock);
    m_slots[slot].filled = false;
    ReleaseSRWLockExclusive(&m_lock);
    WakeAllConditionVariable(&m_changed);
}

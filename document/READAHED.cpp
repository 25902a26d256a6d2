// The read-ahead thread and its ring of pieces. A slot is filled by the reader
// and emptied by the owner, each side touching a buffer only while the slot is
// its own. A side that must wait spins a little first: the other side is
// usually a fraction of a piece away, and waking a sleeping thread (a halted
// processor under a virtual machine) costs more than the read of a piece.
#include "document/READAHED.h"

#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>
#endif

namespace {

// A few hundred microseconds of spinning, depending on the processor.
constexpr int kSpinRounds = 20000;

inline void Pause()
{
#if defined(__x86_64__) || defined(__i386__)
    _mm_pause();
#endif
}

}  // namespace

CLSReadAhead::CLSReadAhead(HANDLE file, std::uint64_t from, std::uint64_t to, DWORD pieceBytes, bool keepApart)
    : m_hFile(file), m_ullFrom(from), m_ullTo(to), m_dwPiece(pieceBytes), m_ullTaken(from), m_ullStoppedAt(from)
{
    m_lpbyBuffers = static_cast<unsigned char*>(std::malloc(static_cast<std::size_t>(pieceBytes) * kSlots));
    if (m_lpbyBuffers == nullptr) {
        return;
    }
    for (int i = 0; i < kSlots; ++i) {
        m_slots[i].data = m_lpbyBuffers + static_cast<std::size_t>(pieceBytes) * i;
    }
    m_hThread.Reset(CreateThread(nullptr, 0, ThreadMain, this, CREATE_SUSPENDED, nullptr));
    if (!m_hThread) {
        return;
    }
    if (keepApart) {
        KeepApart();
    }
    if (ResumeThread(m_hThread.Get()) == static_cast<DWORD>(-1)) {
        // A reader that never runs would be waited for forever: the caller
        // reads the file itself instead.
        TerminateThread(m_hThread.Get(), 0);
        m_hThread.Reset();
        if (m_dwOwnerAffinity != 0) {
            SetThreadAffinityMask(GetCurrentThread(), m_dwOwnerAffinity);
            m_dwOwnerAffinity = 0;
        }
    }
}

// Puts the reader and the owner on different processors while the reading
// lasts. Left to itself the scheduler now and then runs both on one, and the
// whole pass takes twice as long. The reader takes its share itself, once it
// runs: a thread that has not started yet may not take an affinity.
void CLSReadAhead::KeepApart()
{
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    const DWORD current = GetCurrentProcessorNumber();
    if (current >= sizeof(DWORD_PTR) * 8 || !GetProcessAffinityMask(GetCurrentProcess(), &process, &system)) {
        return;
    }
    const DWORD_PTR own = DWORD_PTR(1) << current;
    if ((process & own) == 0 || (process & ~own) == 0) {
        return;  // one processor only: nothing to spread, and no spinning
    }
    m_bSpin = true;
    m_dwOwnerAffinity = SetThreadAffinityMask(GetCurrentThread(), own);
    if (m_dwOwnerAffinity != 0) {
        m_dwReaderAffinity = process & ~own;
    }
}

CLSReadAhead::~CLSReadAhead()
{
    if (m_hThread) {
        Publish(m_bStop, true);
        WaitForSingleObject(m_hThread.Get(), INFINITE);
        m_hThread.Reset();
    }
    if (m_dwOwnerAffinity != 0) {
        SetThreadAffinityMask(GetCurrentThread(), m_dwOwnerAffinity);
    }
    std::free(m_lpbyBuffers);
}

DWORD WINAPI CLSReadAhead::ThreadMain(LPVOID self)
{
    static_cast<CLSReadAhead*>(self)->ReadAll();
    return 0;
}

// Sets a flag the other side may be waiting for, and wakes it.
void CLSReadAhead::Publish(std::atomic<bool>& flag, bool value)
{
    AcquireSRWLockExclusive(&m_lock);
    flag.store(value, std::memory_order_release);
    ReleaseSRWLockExclusive(&m_lock);
    WakeAllConditionVariable(&m_changed);
}

// Returns once ready() holds: spins for a while (only when the other side has
// a processor of its own to make progress on), then sleeps until woken.
template <typename Ready>
void CLSReadAhead::WaitUntil(Ready ready)
{
    for (int i = 0; m_bSpin && i < kSpinRounds; ++i) {
        if (ready()) {
            return;
        }
        Pause();
    }
    AcquireSRWLockExclusive(&m_lock);
    while (!ready()) {
        SleepConditionVariableSRW(&m_changed, &m_lock, INFINITE, 0);
    }
    ReleaseSRWLockExclusive(&m_lock);
}

// Fills the slots in turn, each as soon as the owner has given it back. Ends
// after the range, at the file's end, after a failed read, or when told to.
void CLSReadAhead::ReadAll()
{
    if (m_dwReaderAffinity != 0) {
        SetThreadAffinityMask(GetCurrentThread(), m_dwReaderAffinity);
    }
    std::uint64_t offset = m_ullFrom;
    LARGE_INTEGER start;
    start.QuadPart = static_cast<LONGLONG>(offset);
    const bool placed = SetFilePointerEx(m_hFile, start, nullptr, FILE_BEGIN) != FALSE;
    for (int i = 0; offset < m_ullTo; i = (i + 1) % kSlots) {
        Slot& slot = m_slots[i];
        WaitUntil([&] {
            return !slot.filled.load(std::memory_order_acquire) || m_bStop.load(std::memory_order_acquire);
        });
        if (m_bStop.load(std::memory_order_acquire)) {
            break;
        }
        const DWORD want = m_ullTo - offset < m_dwPiece ? static_cast<DWORD>(m_ullTo - offset) : m_dwPiece;
        DWORD got = 0;
        // Plain reads at the file pointer: under Wine a read at an explicit
        // offset costs a round trip to the server each time.
        const bool ok = placed && ReadFile(m_hFile, slot.data, want, &got, nullptr) != FALSE;
        slot.bytes = ok ? got : 0;
        slot.failed = !ok;
        Publish(slot.filled, true);
        offset += got;
        if (!ok || got == 0) {
            break;  // a failed read, or the file is shorter than it was
        }
    }
    Publish(m_bReaderDone, true);
}

bool CLSReadAhead::Next(const unsigned char** data, DWORD* bytes)
{
    *data = nullptr;
    *bytes = 0;
    if (!m_hThread) {
        return false;
    }
    if (m_iHeld >= 0) {
        Publish(m_slots[m_iHeld].filled, false);
        m_iHeld = -1;
    }
    Slot& slot = m_slots[m_iNext];
    WaitUntil([&] {
        return slot.filled.load(std::memory_order_acquire) || m_bReaderDone.load(std::memory_order_acquire);
    });
    // The reader may have filled the slot just before it finished.
    if (!slot.filled.load(std::memory_order_acquire) || slot.failed || slot.bytes == 0) {
        m_bFailed = slot.filled.load(std::memory_order_acquire) && slot.failed;
        m_ullStoppedAt = m_ullTaken;
        return false;
    }
    m_iHeld = m_iNext;
    m_iNext = (m_iNext + 1) % kSlots;
    m_ullTaken += slot.bytes;
    m_ullStoppedAt = m_ullTaken;
    *data = slot.data;
    *bytes = slot.bytes;
    return true;
}

// Reads with a deadline: one reading thread per reader, which takes one
// request at a time and reads into the buffer that it shares with the owner.
#include "document/TIMEDREAD.h"

#include "base/OWNERS.h"

#include <cstring>
#include <new>

namespace {

constexpr DWORD kPiece = 1024 * 1024;

class CLSHandleSource : public CLSByteSource {
public:
    explicit CLSHandleSource(HANDLE file) : m_hFile(file) {}

    bool ReadAt(std::uint64_t offset, unsigned char* into, DWORD n, DWORD* got) override
    {
        // The offset travels with the read, so that no file pointer is shared
        // with whoever else holds the file.
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        *got = 0;
        if (!ReadFile(m_hFile.Get(), into, n, got, &at)) {
            return GetLastError() == ERROR_HANDLE_EOF;
        }
        return true;
    }

private:
    CLSHandle m_hFile;
};

}  // namespace

std::shared_ptr<CLSByteSource> MakeHandleSource(HANDLE file)
{
    return std::make_shared<CLSHandleSource>(file);
}

// What the owner and the reading thread share; whichever lets go last frees
// it, the buffer with it, so a read that ends after the owner is gone still
// writes into memory of its own.
struct CLSTimedReader::Shared {
    std::shared_ptr<CLSByteSource> source;
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE changed = CONDITION_VARIABLE_INIT;
    std::unique_ptr<unsigned char[]> buffer;
    std::uint64_t offset = 0;
    DWORD bytes = 0;
    DWORD got = 0;
    bool pending = false;  // a request waits for the thread or is being read
    bool ok = false;
    bool quit = false;
};

namespace {

using Shared = CLSTimedReader::Shared;

DWORD WINAPI ReaderMain(LPVOID param)
{
    const std::unique_ptr<std::shared_ptr<Shared>> hold(static_cast<std::shared_ptr<Shared>*>(param));
    Shared& s = **hold;
    AcquireSRWLockExclusive(&s.lock);
    for (;;) {
        while (!s.pending && !s.quit) {
            SleepConditionVariableSRW(&s.changed, &s.lock, INFINITE, 0);
        }
        if (s.quit) {
            break;
        }
        const std::uint64_t offset = s.offset;
        const DWORD bytes = s.bytes;
        unsigned char* into = s.buffer.get();
        ReleaseSRWLockExclusive(&s.lock);
        DWORD got = 0;
        const bool ok = s.source->ReadAt(offset, into, bytes, &got);
        AcquireSRWLockExclusive(&s.lock);
        s.got = ok ? got : 0;
        s.ok = ok;
        s.pending = false;
        WakeAllConditionVariable(&s.changed);
    }
    ReleaseSRWLockExclusive(&s.lock);
    return 0;
}

}  // namespace

CLSTimedReader::CLSTimedReader(std::shared_ptr<CLSByteSource> source, DWORD deadline)
    : m_shared(std::make_shared<Shared>()), m_dwDeadline(deadline)
{
    m_shared->source = std::move(source);
}

CLSTimedReader::~CLSTimedReader()
{
    AcquireSRWLockExclusive(&m_shared->lock);
    m_shared->quit = true;
    WakeAllConditionVariable(&m_shared->changed);
    ReleaseSRWLockExclusive(&m_shared->lock);
    // An idle thread ends at once, and the file is closed when this returns,
    // as whoever writes or deletes it next expects.
    if (m_hThread && !m_bStalled) {
        WaitForSingleObject(m_hThread.Get(), INFINITE);
    }
}

bool CLSTimedReader::StartThread()
{
    if (m_hThread) {
        return true;
    }
    m_shared->buffer.reset(new (std::nothrow) unsigned char[kPiece]);
    auto* hold = m_shared->buffer ? new (std::nothrow) std::shared_ptr<Shared>(m_shared) : nullptr;
    if (hold == nullptr) {
        return false;
    }
    m_hThread.Reset(CreateThread(nullptr, 0, ReaderMain, hold, 0, nullptr));
    if (!m_hThread) {
        delete hold;
        return false;
    }
    return true;
}

bool CLSTimedReader::ReadAt(std::uint64_t offset, void* into, DWORD n, DWORD* got)
{
    *got = 0;
    auto* out = static_cast<unsigned char*>(into);
    while (*got < n) {
        const DWORD piece = n - *got < kPiece ? n - *got : kPiece;
        DWORD read = 0;
        if (!ReadPiece(offset + *got, out + *got, piece, &read)) {
            return false;
        }
        if (read == 0) {
            break;
        }
        *got += read;
    }
    return true;
}

bool CLSTimedReader::ReadPiece(std::uint64_t offset, unsigned char* into, DWORD n, DWORD* got)
{
    if (m_bStalled || !StartThread()) {
        return false;
    }
    Shared& s = *m_shared;
    AcquireSRWLockExclusive(&s.lock);
    s.offset = offset;
    s.bytes = n;
    s.pending = true;
    WakeAllConditionVariable(&s.changed);
    const ULONGLONG until = GetTickCount64() + m_dwDeadline;
    for (ULONGLONG now = GetTickCount64(); s.pending && now < until; now = GetTickCount64()) {
        SleepConditionVariableSRW(&s.changed, &s.lock, static_cast<DWORD>(until - now), 0);
    }
    // Still pending: the thread keeps the buffer until its read ends, and
    // nothing is asked of it again.
    m_bStalled = s.pending;
    const bool ok = !s.pending && s.ok;
    if (ok) {
        std::memcpy(into, s.buffer.get(), s.got);
        *got = s.got;
    }
    ReleaseSRWLockExclusive(&s.lock);
    return ok;
}

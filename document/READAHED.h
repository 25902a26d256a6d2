// Sequential reading of a file on a second thread: while the caller works on
// one piece, the next ones are already being read. The line index of a file on
// disk costs little more than the read itself this way.
#pragma once

#include "base/OWNERS.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

class CLSReadAhead {
public:
    // Reads [from, to) of file in pieces of pieceBytes through the handle's
    // file pointer: the owner leaves the handle alone until this is gone.
    // keepApart holds the owner and the reader to different processors while
    // the reading lasts: only a worker thread may ask for it, never the
    // window's thread, which must stay free to run wherever it can.
    CLSReadAhead(HANDLE file, std::uint64_t from, std::uint64_t to, DWORD pieceBytes, bool keepApart = false);
    // Stops the reading thread and waits for it. Made and destroyed on the
    // same thread, whose own processors come back then.
    ~CLSReadAhead();
    CLSReadAhead(const CLSReadAhead&) = delete;
    CLSReadAhead& operator=(const CLSReadAhead&) = delete;

    // False when no thread or buffers could be had: read the file yourself.
    bool IsRunning() const { return static_cast<bool>(m_hThread); }

    // The next piece, in file order, valid until the next call; false once the
    // range is read, the file has ended early or a read failed.
    bool Next(const unsigned char** data, DWORD* bytes);
    // After Next returned false: whether a read failed (rather than the range
    // or the file having ended), and the offset where reading stopped.
    bool Failed() const { return m_bFailed; }
    std::uint64_t StoppedAt() const { return m_ullStoppedAt; }

private:
    static constexpr int kSlots = 4;

    struct Slot {
        unsigned char* data = nullptr;
        DWORD bytes = 0;
        bool failed = false;             // the read of this piece failed
        std::atomic<bool> filled{false};  // the reader has put a piece here
    };

    static DWORD WINAPI ThreadMain(LPVOID self);
    void ReadAll();
    void KeepApart();
    void Publish(std::atomic<bool>& flag, bool value);
    template <typename Ready>
    void WaitUntil(Ready ready);

    HANDLE m_hFile;
    std::uint64_t m_ullFrom;
    std::uint64_t m_ullTo;
    DWORD m_dwPiece;
    Slot m_slots[kSlots];
    unsigned char* m_lpbyBuffers = nullptr;
    SRWLOCK m_lock = SRWLOCK_INIT;
    CONDITION_VARIABLE m_changed = CONDITION_VARIABLE_INIT;
    std::atomic<bool> m_bStop{false};        // the reader is to end (set by the owner)
    std::atomic<bool> m_bReaderDone{false};  // the reader has read its last piece
    int m_iNext = 0;             // the slot the owner takes next
    int m_iHeld = -1;            // the slot the owner is working on
    std::uint64_t m_ullTaken;    // file offset after the pieces taken so far
    bool m_bFailed = false;
    std::uint64_t m_ullStoppedAt;
    CLSHandle m_hThread;
    DWORD_PTR m_dwOwnerAffinity = 0;  // the owner's own, while it is held to one processor
    DWORD_PTR m_dwReaderAffinity = 0;  // the processors left to the reader
    bool m_bSpin = false;              // there is more than one processor
};

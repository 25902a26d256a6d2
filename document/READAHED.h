// Sequential reading of a file on a second thread: while the caller works on
// one piece, the next ones are already being read. The line index of a file on
// disk costs little more than the read itself this way.
#pragma once

#include <windows.h>

class CLSReadAhead {
public:
    // Reads [from, to) of file in pieces of pieceBytes, each at its explicit
    // offset; the handle's file pointer ends wherever the last read left it.
    CLSReadAhead(HANDLE file, DWORD from, DWORD to, DWORD pieceBytes);
    // Stops the reading thread and waits for it.
    ~CLSReadAhead();
    CLSReadAhead(const CLSReadAhead&) = delete;
    CLSReadAhead& operator=(const CLSReadAhead&) = delete;

    // False when no thread or buffers could be had: read the file yourself.
    bool IsRunning() const { return m_hThread != nullptr; }

    // The next piece, in file order, valid until the next call; false once the
    // range is read, the file has ended early or a read failed.
    bool Next(const unsigned char** data, DWORD* bytes);
    // After Next returned false: whether a read failed (rather than the range
    // or the file having ended), and the offset where reading stopped.
    bool Failed() const { return m_bFailed; }
    DWORD StoppedAt() const { return m_dwStoppedAt; }

private:
    static constexpr int kSlots = 4;

    struct Slot {
        unsigned char* data = nullptr;
        DWORD bytes = 0;
        bool filled = false;
        bool failed = false;   // the read of this piece failed
    };

    static DWORD WINAPI ThreadMain(LPVOID self);
    void ReadAll();
    void Release(int slot);

    HANDLE m_hFile;
    DWORD m_dwFrom;
    DWORD m_dwTo;
    DWORD m_dwPiece;
    Slot m_slots[kSlots];
    unsigned char* m_lpbyBuffers = nullptr;
    SRWLOCK m_lock = SRWLOCK_INIT;
    CONDITION_VARIABLE m_changed = CONDITION_VARIABLE_INIT;
    bool m_bStop = false;        // the reader is to end (set by the owner)
    bool m_bReaderDone = false;  // the reader has read its last piece
    int m_iNext = 0;             // the slot the owner takes next
    int m_iHeld = -1;            // the slot the owner is working on
    DWORD m_dwTaken;             // file offset after the pieces taken so far
    bool m_bFailed = false;
    DWORD m_dwStoppedAt;
    HANDLE m_hThread = nullptr;
};

// Reads of the shown file that the window's thread makes, each given a
// deadline. The read itself runs on a thread of its own into a buffer of its
// own: a read that never ends (a share or a stick that went away) leaves that
// thread stuck rather than the window, and when it ends at last it writes into
// nothing that the caller has freed.
#pragma once

#include "base/OWNERS.h"

#include <windows.h>

#include <cstdint>
#include <memory>

// Where the bytes come from: the file, or whatever stands in for it.
class CLSByteSource {
public:
    virtual ~CLSByteSource() = default;
    // Up to n bytes at offset; got is 0 at the end. False on a read error.
    virtual bool ReadAt(std::uint64_t offset, unsigned char* into, DWORD n, DWORD* got) = 0;
};

// The bytes of a file through file, a handle that the source owns and closes.
std::shared_ptr<CLSByteSource> MakeHandleSource(HANDLE file);

class CLSTimedReader {
public:
    // Each read of source (in pieces of at most a megabyte) may take up to
    // deadline milliseconds.
    CLSTimedReader(std::shared_ptr<CLSByteSource> source, DWORD deadline);
    // Ends the reading thread, which lets go of the source; one stuck in a
    // read is only told to end, and ends when its read does.
    ~CLSTimedReader();
    CLSTimedReader(const CLSTimedReader&) = delete;
    CLSTimedReader& operator=(const CLSTimedReader&) = delete;

    // Reads n bytes at offset, fewer when the file ends first. False on a read
    // error, and when a read has not ended by its deadline: the reader has
    // stalled then, and every later read fails at once.
    bool ReadAt(std::uint64_t offset, void* into, DWORD n, DWORD* got);
    bool HasStalled() const { return m_bStalled; }

    struct Shared;

private:
    bool ReadPiece(std::uint64_t offset, unsigned char* into, DWORD n, DWORD* got);
    bool StartThread();

    std::shared_ptr<Shared> m_shared;
    CLSHandle m_hThread;
    DWORD m_dwDeadline;
    bool m_bStalled = false;
};

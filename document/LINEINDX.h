// The document's line index: built in one pass over the copy in memory, or
// for a file on disk on a thread of its own, so that the first screen can be
// shown at once; meanwhile the lines near the start are read here. The reading
// also looks on for an encoding that the sample at the start left undecided.
#pragma once

#include "base/OWNERS.h"
#include "document/ENCODING.h"
#include "document/LINESTRT.h"
#include "document/TIMEDREAD.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class CLSEncodingSearch;
class CLSLineScanner;

// The file the index is of, as the document holds it at the time of asking.
struct LineSource {
    const unsigned char* memory = nullptr;  // the copy in memory, else null
    HANDLE file = nullptr;  // on disk, the document's handle: its file pointer moves
    CLSTimedReader* reader = nullptr;  // on disk, how the caller's thread reads it
    std::uint64_t size = 0;
    TextEncoding encoding = TextEncoding::Auto;  // the detected one: its unit splits lines

    bool IsOpen() const { return memory != nullptr || file != nullptr; }
};

// Told that the index is complete, or that the encoding search found
// something; called on the index thread, so it only passes the word on.
using LineIndexNotice = std::function<void()>;

class CLSLineIndex {
public:
    CLSLineIndex();
    ~CLSLineIndex();
    CLSLineIndex(const CLSLineIndex&) = delete;
    CLSLineIndex& operator=(const CLSLineIndex&) = delete;

    // The whole index: taken over from the thread when there is one (waiting
    // for it), else built from source here and now unless it is there. True
    // when it was built here: what the encoding search found is then waiting.
    bool Build(const LineSource& source);
    // Makes the index thread of a file on disk, held until Run; threadFile is
    // a handle of its own for it (taken over). notice is called when the
    // index is complete. In memory, or when no thread or handle can be
    // had, the index is built here and now: true then, as for Build.
    bool Start(const LineSource& source, HANDLE threadFile, LineIndexNotice notice);
    // As Start, for a file that has grown since base, its complete index,
    // was built: the thread starts with base's lines (shared, not copied) and
    // reads on from the start of its last complete line. False, nothing
    // started, without a thread or handle.
    bool Extend(const LineSource& source, HANDLE threadFile, LineIndexNotice notice,
                std::shared_ptr<const CLSLineStarts> base);
    // Lets a held thread run. One that cannot be resumed would be waited for
    // forever: the index is built here instead and the notice given all
    // the same; true then, as for Build.
    bool Run(const LineSource& source);
    // Ends any thread early and forgets the index and the search: the file is
    // closing.
    void Clear();

    // Whether the index thread is made: until the index is taken from it,
    // lines come from the start of the file.
    bool HasThread() const { return static_cast<bool>(m_hThread); }
    // Whether the thread is still at work: its notice is yet to come.
    bool IsBuilding() const { return m_hThread && !m_bDone.load(); }
    // Whether the whole index is there, so that the count costs nothing.
    bool IsReady() const { return !m_hThread && m_pLines; }
    // Whether there is nothing yet: neither an index nor a thread at work on it.
    bool IsUnstarted() const { return !m_hThread && !m_pLines; }
    // The complete index (empty until it is built or taken from the thread).
    const CLSLineStarts& Lines() const;
    // The same, held: it no longer changes, and stays while it is held, also
    // after the file is closed or counted anew. Null until it is complete.
    std::shared_ptr<const CLSLineStarts> SharedLines() const { return m_pLines; }

    // While the thread is made: reads on from the start of the file until
    // line is complete (its end is known) or the file ends. False when that
    // would take too long or a read fails: the whole index is worth waiting
    // for then.
    bool ReadStartTo(const LineSource& source, DWORD line);
    // The lines read from the start, and how many of them are complete (at
    // least 1).
    const CLSLineStarts& StartLines() const { return m_vecStart; }
    DWORD StartLinesKnown() const;
    // Bytes of the start read so far.
    DWORD StartBytesRead() const { return m_dwStartRead; }

    // Whether the reading for the index is also to look for the encoding, as
    // the sample at the start decided nothing.
    void SearchEncoding(bool wanted);
    // What that search found, once; Auto when nothing (yet).
    TextEncoding TakeFoundEncoding() { return m_encFound.exchange(TextEncoding::Auto); }

private:
    void BuildHere(const LineSource& source);
    void ScanFromDisk(HANDLE file, std::uint64_t size, CLSLineScanner& scanner);
    void ScanRestFromDisk(HANDLE file, std::uint64_t size, CLSLineScanner& scanner, std::uint64_t done);
    void ScanPiece(CLSLineScanner& scanner, const unsigned char* data, std::size_t n);
    void EndSearch();
    static DWORD WINAPI ThreadMain(LPVOID self);
    void BuildOnThread();
    std::uint64_t TakeOverBase();
    bool LetRun();
    bool BuildInsteadOfThread(const LineSource& source);
    void EndThread();
    void Finish();
    void Stop();

    std::shared_ptr<const CLSLineStarts> m_pLines;

    // While the index is built on its thread: the thread's own handle to the
    // file and index (the thread's alone until it has ended), the file's size
    // and encoding, where to say it is done, and the lines near the start read
    // meanwhile for painting.
    CLSHandle m_hThread;
    bool m_bHeld = false;  // the thread is made but not yet running
    CLSHandle m_hFile;
    std::uint64_t m_ullSize = 0;
    TextEncoding m_encoding = TextEncoding::Auto;
    CLSLineStarts m_vecBuilding;
    LineIndexNotice m_notice;
    std::shared_ptr<const CLSLineStarts> m_pBase;  // the lines before the file grew, for the thread
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bDone{false};  // the thread's index is complete
    CLSLineStarts m_vecStart;
    std::unique_ptr<CLSLineScanner> m_pStartScanner;
    DWORD m_dwStartRead = 0;
    bool m_bStartEnded = false;
    std::unique_ptr<CLSEncodingSearch> m_pSearch;  // the index thread's alone while it runs
    std::atomic<TextEncoding> m_encFound{TextEncoding::Auto};
};

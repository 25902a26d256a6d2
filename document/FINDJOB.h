// A search of the open document on a thread of its own, so that a big file
// is searched while the window stays responsive: it reports how far it has
// come, stops when told to, and says when it has ended.
#pragma once

#include "base/OWNERS.h"
#include "document/DOCREAD.h"
#include "document/ENCODING.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A place in the document: a line and a column of its decoded text, or in a
// byte search line 0 and the byte offset as the column.
struct FindPos {
    std::uint64_t line;
    std::uint64_t column;
};

inline bool operator<(FindPos a, FindPos b)
{
    return a.line < b.line || (a.line == b.line && a.column < b.column);
}

// What is looked for.
struct FindQuery {
    bool bytes = false;             // the file's bytes (hex view), else its decoded lines
    std::u16string text;            // the text typed (for a byte search: unless hex is given)
    std::vector<unsigned char> hex; // a byte search typed as hex pairs
    bool matchCase = false;
    TextEncoding encoding = TextEncoding::ShiftJis;  // the encoding the file is shown in
};

// Where: forward, the first match that starts in [from, limit); backward,
// the last match that starts in [limit, from).
struct FindRange {
    bool forward = true;
    FindPos from{0, 0};
    FindPos limit{0, 0};
};

struct FindResult {
    enum class Status { Found, NotFound, Cancelled, Failed };
    Status status = Status::NotFound;
    FindPos start{0, 0};  // the match: from start up to, not including, end
    FindPos end{0, 0};
};

class CLSFindJob {
public:
    CLSFindJob() = default;
    ~CLSFindJob() { Cancel(); }
    CLSFindJob(const CLSFindJob&) = delete;
    CLSFindJob& operator=(const CLSFindJob&) = delete;

    // Starts the search; ended (if any) is called on the search's thread when
    // it has ended, whatever the outcome. A search still running is cancelled
    // first. False when no thread could be had.
    bool Start(FindQuery query, FindRange range, DocumentSource source, std::function<void()> ended);
    // Asks a running search to stop and forgets it, without waiting: its
    // thread ends on its own, gives no notice, and then lets go of the source
    // (and of the document the source holds).
    void Cancel();
    // Waits for the end without stopping it.
    void Wait();
    bool IsRunning() const { return m_pWork && !m_pWork->done.load(); }
    // Per mille of the range searched so far.
    int Progress() const { return m_pWork ? m_pWork->progress.load() : 0; }
    // The outcome, once the thread has ended.
    FindResult Result() const { return m_pWork ? m_pWork->result : FindResult(); }

    // The whole search, on the calling thread.
    static FindResult Run(const FindQuery& query, const FindRange& range, const DocumentSource& source,
                          const std::atomic<bool>& stop, std::atomic<int>& progress);

private:
    // What the search's thread works on, shared with it so that a search
    // that was cancelled can end after the job has moved on or gone.
    struct Work {
        FindQuery query;
        FindRange range;
        DocumentSource source;
        FindResult result;
        std::function<void()> notice;
        std::atomic<bool> stop{false};
        std::atomic<bool> done{false};
        std::atomic<int> progress{0};
    };
    static DWORD WINAPI ThreadMain(LPVOID work);

    std::shared_ptr<Work> m_pWork;
    CLSHandle m_hThread;
};

// The caseless form of every UTF-16 unit as Windows maps it to lower case
// (full-width letters included); built once.
const char16_t* CaselessUnits();

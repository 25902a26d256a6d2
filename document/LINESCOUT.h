// CLSLineScout: reads a long line through on a thread of its own, so that the
// map the pane keeps of it (CLSLineMap) can take over where its pieces start
// instead of reading them on the window thread when End or a scroll goes far.
#pragma once

#include "document/DOCREAD.h"
#include "document/LINEMAP.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

class CLSLineScout {
public:
    // Reads on from a copy of map, made for the line that starts at byte
    // start of the source (which holds the document while it reads), and
    // tells ended on its thread once it has read the line through or met a
    // read that failed (not when asked to stop). Does nothing when no thread
    // can be had.
    CLSLineScout(DocumentSource source, std::uint64_t start, const CLSLineMap& map,
                 std::function<void()> ended = nullptr);
    // Asks the thread to stop and returns at once: the thread holds what it
    // reads and ends on its own, after its current piece.
    ~CLSLineScout();
    CLSLineScout(const CLSLineScout&) = delete;
    CLSLineScout& operator=(const CLSLineScout&) = delete;

    // Gives map what the thread has found so far.
    void Feed(CLSLineMap& map);
    // Whether the thread has read the whole line (for the tests).
    bool IsComplete();
    // Whether the thread is still reading: what it will find is worth
    // waiting for, rather than reading the line here.
    bool IsReading();

private:
    struct State {
        State(DocumentSource from, std::uint64_t at, const CLSLineMap& copy, std::function<void()> told)
            : source(std::move(from)), start(at), map(copy), ended(std::move(told))
        {
        }
        DocumentSource source;
        std::uint64_t start;
        CLSLineMap map;
        std::function<void()> ended;
        std::mutex lock;
        std::vector<LineCheckpoint> found;
        bool complete = false;
        std::atomic<bool> reading{true};
        std::atomic<bool> stop{false};
    };
    static DWORD WINAPI Run(void* held);

    std::shared_ptr<State> m_state;
};

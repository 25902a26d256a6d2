// The text of a copy, gathered on a thread of its own: the clipboard is
// promised the text at once and asks for it when someone pastes, so that
// copying a selection of any size never holds up the window.
#pragma once

#include "base/OWNERS.h"
#include "document/DOCREAD.h"
#include "document/LINEMAP.h"
#include "view/CARETPOS.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// What is copied: the selected lines of the text decoded, or the selected
// bytes of the hex view as pairs.
struct CopyOrder {
    DocumentSource source;
    bool hex = false;
    OrderedSelection lines{};               // text: lines and columns
    TextEncoding encoding = TextEncoding::ShiftJis;
    bool unicode = true;                    // text: UTF-16, else ANSI bytes
    std::uint64_t start = 0, end = 0;       // hex: bytes [start, end)
    // text: the maps of long lines at the ends of the selection as the pane
    // has read them, so that the copy finds its columns without reading the
    // lines through again.
    std::vector<std::pair<std::uint64_t, CLSLineMap>> longLines;
};

class CLSCopyBlock;

class CLSCopyJob {
public:
    CLSCopyJob();
    ~CLSCopyJob();
    CLSCopyJob(const CLSCopyJob&) = delete;
    CLSCopyJob& operator=(const CLSCopyJob&) = delete;

    // Takes the order and the room its text needs; false when that room
    // cannot be had (gigabytes of hex), and nothing can be copied.
    bool Prepare(CopyOrder order);
    // Gathers the text on a thread, or here when no thread can be had.
    void Start();
    // The gathered text, once: what was gathered before a read failed or
    // memory ran out, null when nothing could be. Waits for it.
    HGLOBAL Take();
    // CF_UNICODETEXT or CF_TEXT.
    UINT Format() const { return m_order.unicode && !m_order.hex ? CF_UNICODETEXT : CF_TEXT; }

private:
    static DWORD WINAPI ThreadMain(LPVOID self);
    // Waits until the text is gathered, then lets go of the document.
    void Finish();
    void Gather();
    void GatherText();
    bool GatherLongLine(std::uint64_t line);
    bool IsLongLine(std::uint64_t line) const;
    void GatherHex();
    bool Stopped() const { return m_bStop.load(std::memory_order_relaxed); }

    CopyOrder m_order;
    std::unique_ptr<CLSCopyBlock> m_pBlock;
    CLSHandle m_hThread;
    std::atomic<bool> m_bStop{false};
};

// Watching the shown file for another program's writes while the pane follows
// it: a thread of its own looks at the file's size, time of last writing and
// identity a few dozen times a second and posts a message to the pane when any
// of them changes, so that the window's thread never polls and never waits for
// the look (a share that went away may take long to answer an open).
#pragma once

#include "base/OWNERS.h"

#include <windows.h>

#include <memory>
#include <string>

class CLSFileWatch {
public:
    CLSFileWatch() = default;
    // Stops watching without waiting: a look still under way ends on its own.
    ~CLSFileWatch();
    CLSFileWatch(const CLSFileWatch&) = delete;
    CLSFileWatch& operator=(const CLSFileWatch&) = delete;

    // Watches path, posting uMsg to hWnd after each change (and once when
    // the watch begins, so that nothing between opening and watching is
    // missed). Any earlier watch ends first. False when no thread can be had.
    bool Start(const std::wstring& path, HWND hWnd, UINT uMsg);
    void Stop();
    bool IsWatching() const { return static_cast<bool>(m_pShared); }

    struct Shared;

private:
    std::shared_ptr<Shared> m_pShared;
};

// CLSFolderWatcher: the background thread of a pane that polls change
// notifications of folders every 15 ms and hands each change to the pane's
// window as a posted message. Posting never waits for the UI thread, so Stop
// can always wait for the thread: no refresh can hold up the end.
#pragma once

#include "base/OWNERS.h"
#include "navigation/VOLUMES.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <vector>

// A change-notification handle, closed with FindCloseChangeNotification.
class CLSChangeNotification {
public:
    CLSChangeNotification(const wchar_t* path, DWORD filter) noexcept
        : m_h(FindFirstChangeNotificationW(path, FALSE, filter))
    {
    }
    ~CLSChangeNotification()
    {
        if (Valid()) {
            FindCloseChangeNotification(m_h);
        }
    }
    CLSChangeNotification(CLSChangeNotification&& other) noexcept
        : m_h(std::exchange(other.m_h, INVALID_HANDLE_VALUE))
    {
    }
    CLSChangeNotification& operator=(CLSChangeNotification&& other) noexcept
    {
        std::swap(m_h, other.m_h);
        return *this;
    }
    CLSChangeNotification(const CLSChangeNotification&) = delete;
    CLSChangeNotification& operator=(const CLSChangeNotification&) = delete;

    bool Valid() const noexcept { return m_h != INVALID_HANDLE_VALUE && m_h != nullptr; }
    // Signalled now; re-armed for the next change when it was.
    bool TakeChange() noexcept
    {
        if (!Valid() || WaitForSingleObject(m_h, 0) != WAIT_OBJECT_0) {
            return false;
        }
        FindNextChangeNotification(m_h);
        return true;
    }

private:
    HANDLE m_h;
};

class CLSFolderWatcher {
public:
    static constexpr DWORD kPollMilliseconds = 15;

    CLSFolderWatcher() noexcept;
    ~CLSFolderWatcher();
    CLSFolderWatcher(const CLSFolderWatcher&) = delete;
    CLSFolderWatcher& operator=(const CLSFolderWatcher&) = delete;

    // Ends any earlier thread and its watches, then polls for hWndTarget,
    // which receives uMsg with wParam = generation and lParam = the key of a
    // changed folder. Watches are added after Start.
    bool Start(HWND hWndTarget, UINT uMsg);
    // Closes every watch and waits for the thread to end.
    void Stop();
    // Watches one folder, without its sub-tree, under the key; false when the
    // system gives no notification for it.
    bool Watch(LPARAM key, const wchar_t* path, DWORD filter);
    void Unwatch(LPARAM key);
    // The volumes of the folders watched from now on are held there, so
    // that the system asks before one of them goes.
    void SetVolumeNotices(CLSVolumeNotices* volumes) noexcept { m_pVolumes = volumes; }
    // Closes the watches of every folder on the volume with that root: it is
    // about to be ejected.
    void UnwatchVolume(const std::wstring& root);
    // The receiver's check: the message comes from the running thread and
    // its key is still watched. It also allows the next message for that key.
    bool Accept(WPARAM generation, LPARAM key);
    bool IsRunning() const noexcept { return m_thread.Valid(); }
    std::size_t WatchCount();

private:
    struct Entry {
        LPARAM key;
        CLSChangeNotification change;
        bool posted;  // a message is on its way; one is enough
        std::wstring volume;  // the root, where volumes are held
    };

    static DWORD WINAPI ThreadProc(LPVOID param);
    bool PollOnce();

    CRITICAL_SECTION m_lock;
    std::vector<Entry> m_entries;
    bool m_bRunning = false;
    HWND m_hWndTarget = nullptr;
    UINT m_uMsg = 0;
    std::atomic<std::uint32_t> m_generation{0};
    CLSVolumeNotices* m_pVolumes = nullptr;  // borrowed: the main window's
    CLSHandle m_stop;  // set by Stop: the thread's sleep ends at once
    CLSHandle m_thread;
};

// The watcher thread: poll, re-arm, post; never a wait on the UI thread.
#include "navigation/WATCHER.h"

#include "base/WIDETEXT.h"

#include "base/ASSERT.h"

#include <algorithm>

namespace {

class CLSLock {
public:
    explicit CLSLock(CRITICAL_SECTION& cs) noexcept : m_cs(cs) { EnterCriticalSection(&m_cs); }
    ~CLSLock() { LeaveCriticalSection(&m_cs); }
    CLSLock(const CLSLock&) = delete;
    CLSLock& operator=(const CLSLock&) = delete;

private:
    CRITICAL_SECTION& m_cs;
};

}  // namespace

// The stop event lets Stop cut the thread's 15 ms sleep short, so that a
// folder switch does not wait out a polling cycle.
CLSFolderWatcher::CLSFolderWatcher() noexcept : m_stop(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    InitializeCriticalSection(&m_lock);
}

CLSFolderWatcher::~CLSFolderWatcher()
{
    Stop();
    DeleteCriticalSection(&m_lock);
}

bool CLSFolderWatcher::Start(HWND hWndTarget, UINT uMsg)
{
    Stop();
    {
        CLSLock lock(m_lock);
        m_hWndTarget = hWndTarget;
        m_uMsg = uMsg;
        m_bRunning = true;
        ++m_generation;
    }
    ResetEvent(m_stop.Get());
    m_thread.Reset(CreateThread(nullptr, 0, &CLSFolderWatcher::ThreadProc, this, 0, nullptr));
    if (!m_thread.Valid()) {
        CLSLock lock(m_lock);
        m_bRunning = false;
        return false;
    }
    return true;
}

void CLSFolderWatcher::Stop()
{
    {
        CLSLock lock(m_lock);
        m_bRunning = false;
        m_entries.clear();
        ++m_generation;  // whatever is still queued is stale now
    }
    SetEvent(m_stop.Get());
    if (m_thread.Valid()) {
        WaitForSingleObject(m_thread.Get(), INFINITE);
        m_thread.Reset();
    }
}

bool CLSFolderWatcher::Watch(LPARAM key, const wchar_t* path, DWORD filter)
{
    CLSChangeNotification change(LongPathForm(path).c_str(), filter);
    if (!change.Valid()) {
        return false;
    }
    std::wstring volume = m_pVolumes != nullptr ? m_pVolumes->Hold(path) : std::wstring();
    CLSLock lock(m_lock);
    m_entries.push_back(Entry{key, std::move(change), false, std::move(volume)});
    return true;
}

void CLSFolderWatcher::UnwatchVolume(const std::wstring& root)
{
    CLSLock lock(m_lock);
    std::erase_if(m_entries, [&root](const Entry& e) { return IsSameVolume(e.volume, root); });
}

void CLSFolderWatcher::Unwatch(LPARAM key)
{
    CLSLock lock(m_lock);
    auto it = std::find_if(m_entries.begin(), m_entries.end(), [key](const Entry& e) { return e.key == key; });
    if (it != m_entries.end()) {
        m_entries.erase(it);
    }
}

bool CLSFolderWatcher::Accept(WPARAM generation, LPARAM key)
{
    CLSLock lock(m_lock);
    if (!m_bRunning || generation != m_generation.load()) {
        return false;
    }
    auto it = std::find_if(m_entries.begin(), m_entries.end(), [key](const Entry& e) { return e.key == key; });
    if (it == m_entries.end()) {
        return false;
    }
    it->posted = false;
    return true;
}

std::size_t CLSFolderWatcher::WatchCount()
{
    CLSLock lock(m_lock);
    return m_entries.size();
}

// One cycle: every signalled entry is re-armed and posted, so that one busy
// folder cannot hide the changes of the others. PostMessage does not wait
// for the receiver, so the UI thread may hold up nothing here.
bool CLSFolderWatcher::PollOnce()
{
    CLSLock lock(m_lock);
    if (!m_bRunning) {
        return false;
    }
    for (Entry& e : m_entries) {
        if (e.change.TakeChange() && !e.posted) {
            e.posted = PostMessageA(m_hWndTarget, m_uMsg, m_generation.load(), e.key) != 0;
        }
    }
    return true;
}

DWORD WINAPI CLSFolderWatcher::ThreadProc(LPVOID param)
{
    auto* watcher = static_cast<CLSFolderWatcher*>(param);
    GLIM_ASSERT(watcher != nullptr);
    while (watcher->PollOnce()) {
        WaitForSingleObject(watcher->m_stop.Get(), kPollMilliseconds);
    }
    return 0;
}

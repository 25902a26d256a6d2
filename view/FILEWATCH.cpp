// The watching thread: one look at the file, a wait on the stop event, again.
#include "view/FILEWATCH.h"

#include <new>

namespace {

// Between looks: short enough that a line appended shows within a tenth of a
// second, long enough that the looks cost nothing worth measuring.
constexpr DWORD kLookInterval = 20;

// What a look at the file sees; all zero when it cannot be opened (gone,
// locked, on a share that went away).
struct FileLook {
    BY_HANDLE_FILE_INFORMATION info{};
    bool open = false;

    bool operator==(const FileLook& other) const
    {
        const BY_HANDLE_FILE_INFORMATION& a = info;
        const BY_HANDLE_FILE_INFORMATION& b = other.info;
        return open == other.open && a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow &&
               a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow &&
               a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
               CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
    }
};

// Opened for its attributes only and shared every way: the writer, and whoever renames
// or deletes the file, never meet this look.
FileLook LookAt(const std::wstring& path)
{
    FileLook look;
    const CLSHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    look.open = file && GetFileInformationByHandle(file.Get(), &look.info);
    if (!look.open) {
        look.info = BY_HANDLE_FILE_INFORMATION{};
    }
    return look;
}

}  // namespace

// What the owner and the thread share; the thread lets go of it last when the
// owner stops it in the middle of a look.
struct CLSFileWatch::Shared {
    std::wstring path;
    HWND hWnd = nullptr;
    UINT uMsg = 0;
    CLSHandle stop{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
};

namespace {

DWORD WINAPI WatchMain(LPVOID param)
{
    const std::unique_ptr<std::shared_ptr<CLSFileWatch::Shared>> hold(
        static_cast<std::shared_ptr<CLSFileWatch::Shared>*>(param));
    const CLSFileWatch::Shared& s = **hold;
    FileLook seen;
    bool first = true;
    do {
        const FileLook now = LookAt(s.path);
        if (first || !(now == seen)) {
            seen = now;
            first = false;
            if (WaitForSingleObject(s.stop.Get(), 0) != WAIT_OBJECT_0) {
                PostMessageA(s.hWnd, s.uMsg, 0, 0);
            }
        }
    } while (WaitForSingleObject(s.stop.Get(), kLookInterval) == WAIT_TIMEOUT);
    return 0;
}

}  // namespace

CLSFileWatch::~CLSFileWatch()
{
    Stop();
}

bool CLSFileWatch::Start(const std::wstring& path, HWND hWnd, UINT uMsg)
{
    Stop();
    auto shared = std::make_shared<Shared>();
    shared->path = path;
    shared->hWnd = hWnd;
    shared->uMsg = uMsg;
    auto* hold = shared->stop ? new (std::nothrow) std::shared_ptr<Shared>(shared) : nullptr;
    if (hold == nullptr) {
        return false;
    }
    const CLSHandle thread(CreateThread(nullptr, 0, WatchMain, hold, 0, nullptr));
    if (!thread) {
        delete hold;
        return false;
    }
    m_pShared = std::move(shared);
    return true;
}

void CLSFileWatch::Stop()
{
    if (m_pShared) {
        SetEvent(m_pShared->stop.Get());
        m_pShared.reset();
    }
}

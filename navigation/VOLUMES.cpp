// The volumes Glim holds handles on, registered for the notices that come
// before a volume is ejected or locked.
#include "navigation/VOLUMES.h"

#include "base/WIDETEXT.h"

#include <algorithm>

bool IsSameVolume(const std::wstring& root, const std::wstring& other)
{
    return !root.empty() && CompareStringOrdinal(root.c_str(), static_cast<int>(root.size()), other.c_str(),
                                                 static_cast<int>(other.size()), TRUE) == CSTR_EQUAL;
}

std::wstring VolumeOfPath(const std::wstring& path)
{
    if (path.empty()) {
        return std::wstring();
    }
    const std::wstring longPath = LongPathForm(path);
    std::wstring root(longPath.size() + 2, L'\0');
    if (!GetVolumePathNameW(longPath.c_str(), root.data(), static_cast<DWORD>(root.size()))) {
        return std::wstring();
    }
    root.resize(wcslen(root.c_str()));
    return root;
}

bool IsOnVolume(const std::wstring& path, const std::wstring& root)
{
    return IsSameVolume(VolumeOfPath(path), root);
}

std::wstring CLSVolumeNotices::Hold(const std::wstring& path)
{
    std::wstring root = VolumeOfPath(path);
    if (root.empty() || m_hWnd == nullptr) {
        return root;
    }
    if (HandleOf(path) != nullptr) {
        return root;
    }
    // Opened for no access at all, shared every way: the handle stands in the
    // way of nobody, and the system names it when the volume is to go.
    Volume volume{root, CLSHandle(CreateFileW(LongPathForm(root).c_str(), 0,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)),
                  CLSDeviceNotify()};
    if (!volume.handle) {
        return root;
    }
    DEV_BROADCAST_HANDLE filter{};
    filter.dbch_size = sizeof(filter);
    filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
    filter.dbch_handle = volume.handle.Get();
    volume.notify.Reset(RegisterDeviceNotificationW(m_hWnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
    if (volume.notify) {
        m_volumes.push_back(std::move(volume));
    }
    return root;
}

std::wstring CLSVolumeNotices::Release(const DEV_BROADCAST_HDR* hdr)
{
    if (hdr == nullptr || hdr->dbch_devicetype != DBT_DEVTYP_HANDLE) {
        return std::wstring();
    }
    const auto* notice = reinterpret_cast<const DEV_BROADCAST_HANDLE*>(hdr);
    auto it = std::find_if(m_volumes.begin(), m_volumes.end(), [notice](const Volume& v) {
        return v.handle.Get() == notice->dbch_handle || v.notify.Get() == notice->dbch_hdevnotify;
    });
    if (it == m_volumes.end()) {
        return std::wstring();
    }
    std::wstring root = std::move(it->root);
    m_volumes.erase(it);
    return root;
}

HANDLE CLSVolumeNotices::HandleOf(const std::wstring& path) const
{
    const std::wstring root = VolumeOfPath(path);
    for (const Volume& v : m_volumes) {
        if (IsSameVolume(v.root, root)) {
            return v.handle.Get();
        }
    }
    return nullptr;
}

// CLSVolumeNotices: the volumes on which Glim holds handles (watched folders,
// the open file), each registered for the system's notices about a handle to
// its root, so that a USB stick or card shown in Glim can still be ejected:
// asked whether the volume may go (DBT_DEVICEQUERYREMOVE), the main window
// closes what it holds there, and this handle with it.
#pragma once

#include "base/OWNERS.h"

#include <windows.h>

#include <dbt.h>

#include <string>
#include <vector>

// The root of the volume path is on ("E:\", or the folder a volume is
// mounted on); empty when the system cannot tell.
std::wstring VolumeOfPath(const std::wstring& path);
// Whether two roots name the same volume (none does when empty).
bool IsSameVolume(const std::wstring& root, const std::wstring& other);
// Whether path lies on the volume whose root is given.
bool IsOnVolume(const std::wstring& path, const std::wstring& root);

class CLSVolumeNotices {
public:
    CLSVolumeNotices() = default;
    CLSVolumeNotices(const CLSVolumeNotices&) = delete;
    CLSVolumeNotices& operator=(const CLSVolumeNotices&) = delete;

    // The window that receives WM_DEVICECHANGE for the volumes held.
    void SetWindow(HWND hWnd) { m_hWnd = hWnd; }
    // Registers the volume of path unless it is already; its root, or empty
    // when it has none.
    std::wstring Hold(const std::wstring& path);
    // For a notice about one of the handles held here: that handle and its
    // registration are given up, and the volume's root returned; else empty.
    std::wstring Release(const DEV_BROADCAST_HDR* hdr);
    // The handle held on the volume of path, which the system's notices
    // name; null when none is.
    HANDLE HandleOf(const std::wstring& path) const;
    void Clear() { m_volumes.clear(); }

private:
    struct Volume {
        std::wstring root;
        CLSHandle handle;  // the root, opened for nothing but the notices
        CLSDeviceNotify notify;  // declared after the handle: unregistered first
    };

    HWND m_hWnd = nullptr;
    std::vector<Volume> m_volumes;
};

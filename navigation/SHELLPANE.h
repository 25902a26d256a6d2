// CLSWndShellPane: what the folder tree and the file list share. Each is a
// STATIC container with the tree or list control inside under the same id;
// the container hears the control's notifications, hands the owner-drawn
// messages of a tracked shell menu to the menu, and receives its watcher's
// posts. The panes say what a notification, a menu request, a change and the
// container's end mean to them.
#pragma once

#include "window/WNDBASE.h"
#include "navigation/WATCHER.h"

#include <windows.h>

#include <shlobj.h>

// Posted by a pane's watcher to its container: wParam generation, lParam key.
constexpr UINT WMU_WATCH_CHANGED = WM_APP + 20;

class CLSWndShellPane : public CLSWndBase {
public:
    void Move(int x, int y, int cx, int cy);
    bool IsWatching() const noexcept { return m_watcher.IsRunning(); }
    // The volumes of the folders the pane watches are held there (the main
    // window's), so that the system asks before one of them is ejected.
    void SetVolumeNotices(CLSVolumeNotices* volumes) noexcept { m_watcher.SetVolumeNotices(volumes); }
    // The volume with that root is about to go: the pane's watches there close.
    void ReleaseVolume(const std::wstring& root) { m_watcher.UnwatchVolume(root); }

    LRESULT WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

protected:
    // The container and the control of that class and style inside it; false
    // when either cannot be created.
    bool CreateWindows(HWND hWndParent, int id, DWORD exStyle, const char* controlClass, DWORD style);

    // True when handled. Notifications come only from the control.
    virtual bool OnNotify(NMHDR* hdr) = 0;
    virtual bool OnContextMenu(HWND hWndClick, int x, int y) = 0;
    virtual void OnWatchChanged(LPARAM key) = 0;
    // The container goes: the control's items are still there to be freed.
    virtual void OnContainerDestroy() = 0;
    // Any other message of the container; true when handled.
    virtual bool OnPaneMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWndControl = nullptr;
    IContextMenu2* m_pMenuHandler = nullptr;  // borrowed while a menu is tracked
    CLSFolderWatcher m_watcher;

private:
    bool OnMenuMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
};

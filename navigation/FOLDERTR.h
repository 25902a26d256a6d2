// CLSWndFolderTree: the tree of the shell namespace from the desktop, folders
// only, read lazily as nodes are expanded. Selecting a node makes the main
// window show that folder; the tree also goes to a folder given as an
// item-ID list, goes up, follows devices that come and go, offers the shell's
// context menu, and re-reads a node whose sub-folders change on disk.
#pragma once

#include "base/OWNERS.h"
#include "navigation/ITEMIDL.h"
#include "navigation/SHELLPANE.h"

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstddef>
#include <vector>

constexpr UINT WMU_FOLDER_SELECTED = WM_APP + 11;

class CLSWndFolderTree : public CLSWndShellPane {
public:
    CLSWndFolderTree() noexcept;
    ~CLSWndFolderTree() override;

    bool Create(HWND hWndParent, int id);
    void Destroy();
    void Rebuild();
    // F5: the nodes read so far are read again in place, keeping the
    // selected folder, the expanded nodes and the scroll position.
    void Refresh();
    void ShowFolder(LPCITEMIDLIST pidl);
    void GoUp();
    std::wstring GetSelectedPath() const;
    void SetMonitor(bool on);

    HWND GetTreeWindow() const noexcept { return m_hWndControl; }
    // The item-ID list of the selected node; null when none is selected.
    LPCITEMIDLIST GetSelectedIdList() const;
    std::size_t WatchCount() { return m_watcher.WatchCount(); }

private:
    // A sub-folder as its parent's folder enumerated it.
    struct SubFolder {
        CLSItemIdList child;
        ULONG attributes;
    };
    static constexpr ULONG kSubFolderAttributes = SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_FOLDER;

    HTREEITEM InsertNode(HTREEITEM hParent, LPITEMIDLIST pidl, bool placeholder);
    void InsertPlaceholder(HTREEITEM hNode);
    void AddChild(HTREEITEM hParent, const SubFolder& sub, LPCITEMIDLIST pidlParent);
    void WatchNode(HTREEITEM hNode, LPCITEMIDLIST pidl);
    void WatchTree(HTREEITEM hFirst);
    void ReadChildren(HTREEITEM hNode);
    bool ReadSubFolders(HTREEITEM hNode, CLSComPtr<IShellFolder>& folder, std::vector<SubFolder>& subFolders);
    static bool MayHaveSubFolders(LPCITEMIDLIST pidl);
    void SortChildren(HTREEITEM hNode);
    bool IsRead(HTREEITEM hNode) const;
    bool IsWithin(HTREEITEM hNode, HTREEITEM hAncestor) const;
    void RefreshNode(HTREEITEM hNode);
    void RefreshButton(HTREEITEM hNode);
    void RefreshTree(HTREEITEM hNode);
    void ReplaceIdList(HTREEITEM hNode, LPITEMIDLIST pidl);
    bool RefreshMustWait() const;
    void OnDeferTimer();
    void ForgetNode(HTREEITEM hNode);
    LPITEMIDLIST NodeIdList(HTREEITEM hNode) const;
    HTREEITEM Child(HTREEITEM hNode) const;
    HTREEITEM Next(HTREEITEM hNode) const;
    HTREEITEM Parent(HTREEITEM hNode) const;
    HTREEITEM Selected() const;
    void Expand(HTREEITEM hNode) const;
    void ScrollAcrossTo(HTREEITEM hNode);
    bool OnNotify(NMHDR* hdr) override;
    void OnGetDispInfo(NMTVDISPINFOA* info) const;
    void OnDeleteItem(const NMTREEVIEWA* nm);
    void OnSelChanged(const NMTREEVIEWA* nm);
    bool OnPaneMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnDeviceChange(WPARAM event);
    bool OnContextMenu(HWND hWndClick, int x, int y) override;
    void OnContainerDestroy() override;
    void OnWatchChanged(LPARAM key) override;
    static int CALLBACK CompareNodes(LPARAM a, LPARAM b, LPARAM param);

    CLSComPtr<IShellFolder> m_pDesktop;
    bool m_bMonitor = true;
    int m_iQuiet = 0;  // selection changes made while re-reading a node are not reported
    std::vector<HTREEITEM> m_deferred;  // nodes whose refresh waits for a menu or a drag to end
};

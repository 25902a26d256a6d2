// CLSWndFileList: the pane that lists the folder chosen in the folder tree
// through the shell namespace, with four columns, sorting per column, the
// view styles, icons on request, the shell's context menu, and a watcher
// that re-reads the folder when files come, go or are renamed.
#pragma once

#include "base/OWNERS.h"
#include "navigation/ITEMIDL.h"
#include "navigation/SHELLPANE.h"

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

constexpr UINT WMU_FILE_SELECTED = WM_APP + 12;
constexpr UINT WMU_OPEN_FOLDER = WM_APP + 13;

// The text of one column of an item as the list shows it: name, size in the
// short byte form (files only), type name, modified time.
void ItemColumnText(LPCITEMIDLIST pidl, int column, char* buffer, int size);

class CLSWndFileList : public CLSWndShellPane {
public:
    static constexpr int kColumnCount = 4;  // name, size, type, modified

    CLSWndFileList() noexcept;
    ~CLSWndFileList() override;

    bool Create(HWND hWndParent, int id);
    void Destroy();
    void ShowFolder(LPCITEMIDLIST pidlFolder);
    void Refresh();
    // False when the list shows no item of that name.
    bool SelectItem(LPCITEMIDLIST pidl);
    // LVS_ICON, LVS_SMALLICON, LVS_LIST or LVS_REPORT.
    void SetViewStyle(DWORD style);
    void SortBy(int column);
    void SetMonitor(bool on) noexcept { m_bMonitor = on; }
    void SetShowFolders(bool on) noexcept { m_bShowFolders = on; }
    void SetColumnWidths(const int widths[kColumnCount]) noexcept;
    const int* GetColumnWidths() noexcept;

    HWND GetListWindow() const noexcept { return m_hWndControl; }
    LPCITEMIDLIST GetFolder() const noexcept { return m_pidlFolder.Get(); }

private:
    struct SortContext;

    void InsertColumns();
    void SetImageLists();
    void StartWatch();
    void AddItem(LPITEMIDLIST pidl, int index);
    void Sort();
    LPITEMIDLIST ItemIdList(int index) const;
    int FindItem(LPCITEMIDLIST wanted) const;
    bool OnNotify(NMHDR* hdr) override;
    void OnGetDispInfo(NMLVDISPINFOA* info);
    void OnItemChanged(const NMLISTVIEW* nm);
    void OnDoubleClick(const NMITEMACTIVATE* nm);
    bool OnContextMenu(HWND hWndClick, int x, int y) override;
    void OnContainerDestroy() override;
    void OnWatchChanged(LPARAM key) override;
    static int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM context);

    CLSComPtr<IShellFolder> m_pshf;
    CLSItemIdList m_pidlFolder;
    int m_iSortColumn = 0;
    int m_aiColumnWidths[kColumnCount] = {220, 70, 120, 120};
    bool m_abAscending[kColumnCount] = {true, true, true, true};
    bool m_bShowFolders = false;
    bool m_bMonitor = true;
};

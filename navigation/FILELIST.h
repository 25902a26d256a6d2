// CLSWndFileList: the pane that lists the folder chosen in the folder tree
// through the shell namespace, with four columns, sorting per column, the
// view styles, icons on request, the shell's context menu, and a watcher
// that re-reads the folder when files come, go or are renamed.
#pragma once

#include "base/OWNERS.h"
#include "navigation/FILEITEM.h"
#include "navigation/ITEMIDL.h"
#include "navigation/SHELLPANE.h"

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

constexpr UINT WMU_FILE_SELECTED = WM_APP + 12;
constexpr UINT WMU_OPEN_FOLDER = WM_APP + 13;
// Sent to the parent after the watcher had the folder read again: a file of
// it shown elsewhere may be gone.
constexpr UINT WMU_FOLDER_CHANGED = WM_APP + 15;

class CLSWndFileList : public CLSWndShellPane {
public:
    static constexpr int kColumnCount = 4;  // name, size, type, modified

    CLSWndFileList() noexcept;
    ~CLSWndFileList() override;

    bool Create(HWND hWndParent, int id);
    void Destroy();
    // False when the folder cannot be opened: the list is then empty.
    bool ShowFolder(LPCITEMIDLIST pidlFolder);
    // Reads the shown folder again and brings the rows up to date in place:
    // rows of unchanged items stay as they are, with their selection, focus
    // and what the shell said of them.
    void Refresh();
    // False when the list shows no item of that name.
    bool SelectItem(LPCITEMIDLIST pidl);
    // Selects the next (or previous) file after the focused row, passing
    // folders over, as a click would; false at the end, where nothing moves.
    bool SelectNeighbourFile(bool next);
    // The row of the item that pidl (absolute, freshly parsed) names takes
    // its size and time, as after a file shown elsewhere grew; false without
    // such a row.
    bool UpdateItem(LPCITEMIDLIST pidl);
    // LVS_ICON, LVS_SMALLICON, LVS_LIST or LVS_REPORT.
    void SetViewStyle(DWORD style);
    void SortBy(int column);
    void SetMonitor(bool on) noexcept { m_bMonitor = on; }
    void SetShowFolders(bool on) noexcept { m_bShowFolders = on; }
    void SetColumnWidths(const int widths[kColumnCount]) noexcept;
    const int* GetColumnWidths() noexcept;

    // The file system path of an item of the shown folder (as the list hands
    // it on): the folder's path joined to the item's name, without the shell's
    // own walk from the desktop; empty for an item off the file system.
    std::wstring PathOfItem(LPCITEMIDLIST item) const;
    // The type text of a file or folder of that name, as the 種類 column
    // shows it: asked of the shell once per extension.
    const std::wstring& TypeName(const std::wstring& name, DWORD attributes);

    HWND GetListWindow() const noexcept { return m_hWndControl; }
    LPCITEMIDLIST GetFolder() const noexcept { return m_pidlFolder.Get(); }

private:
    void InsertColumns();
    void SetImageLists();
    void StartWatch();
    void Fill();
    bool Enumerate(std::vector<CLSItemIdList>& children);
    std::unique_ptr<CLSFileItem> NewRecord(LPCITEMIDLIST child) const;
    void InsertRecord(std::unique_ptr<CLSFileItem> record, int index);
    void InsertSorted(std::unique_ptr<CLSFileItem> record);
    std::vector<CLSFileItem*> Records() const;
    std::wstring ParsingName(LPCITEMIDLIST record) const;
    void Sort();
    // Size, time and attributes (and with types, the type) of the records
    // that lack them, from one walk of the shown folder.
    void LoadFolderData(bool types);
    void LoadDetails();
    int Compare(CLSFileItem& a, CLSFileItem& b);
    int ItemCount() const;
    CLSFileItem* Record(int index) const;
    LPITEMIDLIST ItemIdList(int index) const;
    int FindItem(LPCITEMIDLIST wanted) const;
    void SelectRow(int index);
    bool OnNotify(NMHDR* hdr) override;
    void OnGetDispInfo(NMLVDISPINFOW* info);
    void OnItemChanged(const NMLISTVIEW* nm);
    void OnDoubleClick(const NMITEMACTIVATE* nm);
    bool OnContextMenu(HWND hWndClick, int x, int y) override;
    void OnContainerDestroy() override;
    void OnWatchChanged(LPARAM key) override;
    static int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM context);

    CLSComPtr<IShellFolder> m_pshf;
    CLSItemIdList m_pidlFolder;
    std::wstring m_strFolderPath;  // of the shown folder; empty off the file system
    int m_iSortColumn = 0;
    int m_aiColumnWidths[kColumnCount] = {220, 70, 120, 120};
    bool m_abAscending[kColumnCount] = {true, true, true, true};
    bool m_bShowFolders = false;
    bool m_bMonitor = true;
    bool m_bFolderWalked = false;  // since the rows last changed
    bool m_bTypesWalked = false;   // and their types with them
    std::unordered_map<std::wstring, std::wstring> m_types;  // type name by extension
};

// The file list: windows, enumeration, columns, sorting and selection.
#include "navigation/FILELIST.h"

#include "base/ASSERT.h"
#include "base/WIDETEXT.h"

#include <algorithm>

namespace {

constexpr UINT kListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LVS_SHAREIMAGELISTS |
                            LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_LIST;

struct ColumnSpec {
    const char* header;
    int format;
};
constexpr ColumnSpec kColumns[CLSWndFileList::kColumnCount] = {
    {"ファイル名", LVCFMT_LEFT}, {"サイズ", LVCFMT_RIGHT}, {"種類", LVCFMT_LEFT}, {"更新日時", LVCFMT_LEFT}};

}  // namespace

CLSWndFileList::CLSWndFileList() noexcept = default;

CLSWndFileList::~CLSWndFileList()
{
    Destroy();
}

bool CLSWndFileList::Create(HWND hWndParent, int id)
{
    Destroy();
    if (!CreateWindows(hWndParent, id, WS_EX_CLIENTEDGE, WC_LISTVIEWA, kListStyle)) {
        return false;
    }
    SendMessageA(m_hWndControl, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    // Texts are asked for wide (LVN_GETDISPINFOW): names need not fit the
    // ANSI code page.
    SendMessageA(m_hWndControl, LVM_SETUNICODEFORMAT, TRUE, 0);
    InsertColumns();
    SetImageLists();
    Refresh();
    return true;
}

void CLSWndFileList::InsertColumns()
{
    for (int i = 0; i < kColumnCount; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = kColumns[i].format;
        column.cx = m_aiColumnWidths[i];
        column.pszText = const_cast<char*>(kColumns[i].header);
        column.iSubItem = i;
        SendMessageA(m_hWndControl, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
}

// The shell's system image lists, shared: the list never destroys them.
void CLSWndFileList::SetImageLists()
{
    CLSItemIdList desktop;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, desktop.Address()))) {
        return;
    }
    SHFILEINFOA info{};
    const auto large = SHGetFileInfoA(reinterpret_cast<LPCSTR>(desktop.Get()), 0, &info, sizeof(info),
                                      SHGFI_PIDL | SHGFI_SYSICONINDEX);
    const auto small = SHGetFileInfoA(reinterpret_cast<LPCSTR>(desktop.Get()), 0, &info, sizeof(info),
                                      SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    SendMessageA(m_hWndControl, LVM_SETIMAGELIST, LVSIL_NORMAL, static_cast<LPARAM>(large));
    SendMessageA(m_hWndControl, LVM_SETIMAGELIST, LVSIL_SMALL, static_cast<LPARAM>(small));
}

void CLSWndFileList::Destroy()
{
    if (m_hWnd != nullptr) {
        DestroyWindow(m_hWnd);
    }
    m_watcher.Stop();
    m_pshf.Reset();
}

bool CLSWndFileList::ShowFolder(LPCITEMIDLIST pidlFolder)
{
    if (m_hWndControl == nullptr || pidlFolder == nullptr) {
        return false;
    }
    CLSItemIdList copy(CopyItemIdList(pidlFolder));
    CLSComPtr<IShellFolder> desktop;
    if (!copy || FAILED(SHGetDesktopFolder(desktop.Address()))) {
        return false;
    }
    m_pidlFolder = std::move(copy);
    // A folder the shell browses inside a file (an archive) has no items on disk.
    m_strFolderPath = PathOfIdList(m_pidlFolder.Get());
    const DWORD attributes = GetFileAttributesW(LongPathForm(m_strFolderPath).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        m_strFolderPath.clear();
    }
    // The desktop's own empty list cannot be bound: it is the desktop folder.
    // Any other folder that cannot be bound lists nothing, rather than the
    // desktop's items under its name.
    if (m_pidlFolder.Get()->mkid.cb == 0) {
        m_pshf = std::move(desktop);
    } else if (FAILED(desktop->BindToObject(m_pidlFolder.Get(), nullptr, IID_IShellFolder, m_pshf.VoidAddress()))) {
        m_pshf.Reset();
        m_watcher.Stop();
        SendMessageA(m_hWndControl, LVM_DELETEALLITEMS, 0, 0);
        return false;
    }
    StartWatch();
    Fill();
    return true;
}

// The shown folder is watched for files that come, go or change their names.
void CLSWndFileList::StartWatch()
{
    m_watcher.Stop();
    if (!m_bMonitor || m_strFolderPath.empty()) {
        return;
    }
    // Start drops every earlier watch, so the folder's watch comes after it.
    if (m_watcher.Start(m_hWnd, WMU_WATCH_CHANGED) &&
        !m_watcher.Watch(0, m_strFolderPath.c_str(), FILE_NOTIFY_CHANGE_FILE_NAME)) {
        m_watcher.Stop();
    }
}

// A folder newly shown: every row is new, so the list is filled whole and
// sorted once, without drawing in between.
void CLSWndFileList::Fill()
{
    if (m_hWndControl == nullptr || !m_pshf || !m_pidlFolder) {
        return;
    }
    SendMessageA(m_hWndControl, WM_SETREDRAW, FALSE, 0);
    SendMessageA(m_hWndControl, LVM_DELETEALLITEMS, 0, 0);
    m_bFolderWalked = false;
    m_bTypesWalked = false;
    HCURSOR hOld = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    std::vector<CLSItemIdList> children;
    if (Enumerate(children)) {
        SendMessageA(m_hWndControl, LVM_SETITEMCOUNT, children.size(), 0);
        int index = 0;
        for (const CLSItemIdList& child : children) {
            InsertRecord(NewRecord(child.Get()), index++);
        }
        Sort();
        LoadDetails();
    }
    SetCursor(hOld);
    SendMessageA(m_hWndControl, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hWndControl, nullptr, TRUE);
}

// The children of the shown folder, hidden ones included; false when the
// folder cannot be enumerated (it is gone, or not there yet).
bool CLSWndFileList::Enumerate(std::vector<CLSItemIdList>& children)
{
    const SHCONTF flags = SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN | (m_bShowFolders ? SHCONTF_FOLDERS : 0);
    CLSComPtr<IEnumIDList> items;
    if (m_pshf->EnumObjects(m_hWndControl, flags, items.Address()) != S_OK || !items) {
        return false;
    }
    LPITEMIDLIST child = nullptr;
    while (items->Next(1, &child, nullptr) == S_OK) {
        children.emplace_back(child);
    }
    return true;
}

std::unique_ptr<CLSFileItem> CLSWndFileList::NewRecord(LPCITEMIDLIST child) const
{
    LPITEMIDLIST pidl = JoinItemIdLists(m_pidlFolder.Get(), child);
    return pidl != nullptr ? std::make_unique<CLSFileItem>(pidl) : nullptr;
}

// Texts and icons are asked for when the item is drawn, so that a large
// folder costs its enumeration, not a shell look-up per item. The row owns
// its record from here on (freed at LVN_DELETEITEM).
void CLSWndFileList::InsertRecord(std::unique_ptr<CLSFileItem> record, int index)
{
    if (!record) {
        return;
    }
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.iImage = I_IMAGECALLBACK;
    item.lParam = reinterpret_cast<LPARAM>(record.get());
    if (SendMessageA(m_hWndControl, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) >= 0) {
        record.release();
    }
}

// The rows are in order already: a binary search finds the new row's place
// with a few comparisons instead of a sort of the whole list.
void CLSWndFileList::InsertSorted(std::unique_ptr<CLSFileItem> record)
{
    if (!record) {
        return;
    }
    int low = 0;
    int high = ItemCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        CLSFileItem* row = Record(middle);
        if (row != nullptr && Compare(*record, *row) < 0) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    InsertRecord(std::move(record), low);
}

int CLSWndFileList::ItemCount() const
{
    return static_cast<int>(SendMessageA(m_hWndControl, LVM_GETITEMCOUNT, 0, 0));
}

CLSFileItem* CLSWndFileList::Record(int index) const
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!SendMessageA(m_hWndControl, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) {
        return nullptr;
    }
    return reinterpret_cast<CLSFileItem*>(item.lParam);
}

LPITEMIDLIST CLSWndFileList::ItemIdList(int index) const
{
    CLSFileItem* record = Record(index);
    return record != nullptr ? record->IdList() : nullptr;
}

std::vector<CLSFileItem*> CLSWndFileList::Records() const
{
    const int count = ItemCount();
    std::vector<CLSFileItem*> records(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        records[static_cast<std::size_t>(i)] = Record(i);
    }
    return records;
}

// The item the shell calls equal to the last record of pidl. A record with
// the very same bytes is that item without asking the shell, which compares
// by name and is slow over a large folder; CompareIDs decides the rest.
int CLSWndFileList::FindItem(LPCITEMIDLIST wanted) const
{
    const std::vector<CLSFileItem*> records = Records();
    const std::string_view stamp = CLSFileItem::StampOf(wanted);
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i] != nullptr && records[i]->Stamp() == stamp) {
            return static_cast<int>(i);
        }
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        LPCITEMIDLIST last = records[i] != nullptr ? records[i]->LastId() : nullptr;
        if (last == nullptr) {
            continue;
        }
        const HRESULT hr = m_pshf->CompareIDs(0, last, wanted);
        if (SUCCEEDED(hr) && static_cast<short>(HRESULT_CODE(hr)) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool CLSWndFileList::SelectItem(LPCITEMIDLIST pidl)
{
    LPCITEMIDLIST wanted = LastItemId(pidl);
    if (m_hWndControl == nullptr || !m_pshf || wanted == nullptr) {
        return false;
    }
    const int index = FindItem(wanted);
    if (index < 0) {
        return false;
    }
    SelectRow(index);
    return true;
}

// Selects and focuses the row and scrolls it into view; the list is single
// selection, so the row selected before lets go, and the selection's change
// reaches the main window as a click's would.
void CLSWndFileList::SelectRow(int index)
{
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(m_hWndControl, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
    SendMessageA(m_hWndControl, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

std::wstring CLSWndFileList::PathOfItem(LPCITEMIDLIST item) const
{
    // The desktop holds items of several folders (and none): its rows go the long way.
    if (!m_strFolderPath.empty() && m_pshf && m_pidlFolder.Get()->mkid.cb != 0 && item != nullptr &&
        ILIsParent(m_pidlFolder.Get(), item, TRUE)) {
        const std::wstring name = InFolderParsingName(m_pshf.Get(), LastItemId(item));
        if (!name.empty()) {
            return m_strFolderPath + (m_strFolderPath.back() == L'\\' ? L"" : L"\\") + name;
        }
    }
    return PathOfIdList(item);
}

bool CLSWndFileList::UpdateItem(LPCITEMIDLIST pidl)
{
    LPCITEMIDLIST wanted = LastItemId(pidl);
    const int index = m_hWndControl != nullptr && m_pshf && wanted != nullptr ? FindItem(wanted) : -1;
    CLSFileItem* row = index >= 0 ? Record(index) : nullptr;
    LPITEMIDLIST fresh = row != nullptr ? JoinItemIdLists(nullptr, pidl) : nullptr;
    if (fresh == nullptr) {
        return false;
    }
    row->Replace(fresh);
    SendMessageA(m_hWndControl, LVM_REDRAWITEMS, static_cast<WPARAM>(index), static_cast<LPARAM>(index));
    if (m_iSortColumn != 0) {
        Sort();  // sorted by size or time, the row may move
    }
    return true;
}

void CLSWndFileList::SetViewStyle(DWORD style)
{
    if (m_hWndControl == nullptr) {
        return;
    }
    const LONG_PTR old = GetWindowLongPtrA(m_hWndControl, GWL_STYLE);
    SetWindowLongPtrA(m_hWndControl, GWL_STYLE, (old & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | style);
    SendMessageA(m_hWndControl, LVM_ARRANGE, LVA_ALIGNLEFT, 0);
    // The control repaints only where its items now lie; what the old style
    // drew elsewhere would stay on screen, over nothing that can be clicked.
    InvalidateRect(m_hWndControl, nullptr, TRUE);
    LoadDetails();
}

void CLSWndFileList::SortBy(int column)
{
    if (column < 0 || column >= kColumnCount) {
        return;
    }
    m_iSortColumn = column;
    m_abAscending[column] = !m_abAscending[column];
    Sort();
}

void CLSWndFileList::Sort()
{
    if (m_hWndControl == nullptr || !m_pshf) {
        return;
    }
    if (m_iSortColumn != 0) {
        LoadFolderData(m_iSortColumn == 2);
    }
    SendMessageA(m_hWndControl, LVM_SORTITEMS, reinterpret_cast<WPARAM>(this),
                 reinterpret_cast<LPARAM>(&CLSWndFileList::CompareItems));
}

int CALLBACK CLSWndFileList::CompareItems(LPARAM a, LPARAM b, LPARAM param)
{
    auto* list = reinterpret_cast<CLSWndFileList*>(param);
    GLIM_ASSERT(list != nullptr);
    return list->Compare(*reinterpret_cast<CLSFileItem*>(a), *reinterpret_cast<CLSFileItem*>(b));
}

// Names are ordered by the shell folder; sizes and times as 64-bit numbers
// (the modified column by its time, not by its text, whose hours may lack a
// leading zero); types by their text. What a comparison needs is asked of
// the shell once per item and kept in its record.
int CLSWndFileList::Compare(CLSFileItem& a, CLSFileItem& b)
{
    const int d = m_abAscending[m_iSortColumn] ? 1 : -1;
    if (m_iSortColumn == 0) {
        GLIM_ASSERT(m_pshf.Get() != nullptr);
        LPCITEMIDLIST first = a.LastId();
        LPCITEMIDLIST second = b.LastId();
        if (first == nullptr) {
            return -d;
        }
        if (second == nullptr) {
            return d;
        }
        return static_cast<short>(HRESULT_CODE(m_pshf->CompareIDs(0, first, second))) * d;
    }
    if (m_iSortColumn == 2) {
        return lstrcmpW(a.ColumnText(2, m_pshf.Get()).c_str(), b.ColumnText(2, m_pshf.Get()).c_str()) * d;
    }
    const ULONGLONG x = a.SortNumber(m_iSortColumn);
    const ULONGLONG y = b.SortNumber(m_iSortColumn);
    return x == y ? 0 : (x > y ? d : -d);
}

void CLSWndFileList::SetColumnWidths(const int widths[kColumnCount]) noexcept
{
    std::copy(widths, widths + kColumnCount, m_aiColumnWidths);
}

const int* CLSWndFileList::GetColumnWidths() noexcept
{
    if (m_hWndControl == nullptr) {
        return m_aiColumnWidths;
    }
    // The columns' own widths: outside the details view LVM_GETCOLUMNWIDTH
    // answers with the width of the list's cells instead.
    for (int i = 0; i < kColumnCount; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH;
        if (SendMessageA(m_hWndControl, LVM_GETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column))) {
            m_aiColumnWidths[i] = column.cx;
        }
    }
    return m_aiColumnWidths;
}

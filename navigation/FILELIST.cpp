// The file list: windows, enumeration, columns, sorting and selection.
#include "navigation/FILELIST.h"

#include "base/ASSERT.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr UINT kListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LVS_SHAREIMAGELISTS |
                            LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_LIST;

struct ColumnSpec {
    const char* header;
    int format;
};
constexpr ColumnSpec kColumns[CLSWndFileList::kColumnCount] = {
    {"ファイル名", LVCFMT_LEFT}, {"サイズ", LVCFMT_RIGHT}, {"種類", LVCFMT_LEFT}, {"更新日時", LVCFMT_LEFT}};

// Size, time and attributes of an item on disk; false for items without a
// file-system path and for drive roots. Read from the disk rather than from
// the item-ID list, which may carry only 32 bits of the size.
bool ItemFileData(LPCITEMIDLIST pidl, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    char path[MAX_PATH] = "";
    if (!SHGetPathFromIDListA(pidl, path) || path[0] == '\0' || PathIsRootA(path)) {
        return false;
    }
    return GetFileAttributesExA(path, GetFileExInfoStandard, &data) != 0;
}

ULONGLONG FileSizeOf(const WIN32_FILE_ATTRIBUTE_DATA& data)
{
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The stored (UTC) time as a calendar time, date in the short form of the
// user's locale, time forced to 24 hours.
void FormatModified(const FILETIME& ft, char* buffer, int size)
{
    buffer[0] = '\0';
    SYSTEMTIME st{};
    if (!FileTimeToSystemTime(&ft, &st)) {
        return;
    }
    const int date = GetDateFormatA(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE | DATE_SHORTDATE, &st, nullptr,
                                    buffer, size);
    if (date <= 0 || date + 1 >= size) {
        return;
    }
    buffer[date - 1] = ' ';
    GetTimeFormatA(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE | TIME_FORCE24HOURFORMAT, &st, nullptr,
                   buffer + date, size - date);
}

void TypeNameOf(LPCITEMIDLIST pidl, char* buffer, int size)
{
    SHFILEINFOA info{};
    SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof(info), SHGFI_PIDL | SHGFI_TYPENAME);
    lstrcpynA(buffer, info.szTypeName, size);
}

}  // namespace

void ItemColumnText(LPCITEMIDLIST pidl, int column, char* buffer, int size)
{
    buffer[0] = '\0';
    if (column == 0) {
        DisplayNameOf(pidl, buffer, static_cast<std::size_t>(size));
        return;
    }
    if (column == 2) {
        TypeNameOf(pidl, buffer, size);
        return;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!ItemFileData(pidl, data)) {
        return;
    }
    if (column == 1 && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        StrFormatByteSize64A(static_cast<LONGLONG>(FileSizeOf(data)), buffer, static_cast<UINT>(size));
    } else if (column == 3) {
        FormatModified(data.ftLastWriteTime, buffer, size);
    }
}

// What one sort needs: the keys of the columns that are not compared by the
// shell are read once per item before the control starts comparing.
struct CLSWndFileList::SortContext {
    CLSWndFileList* list;
    int column;
    int direction;  // +1 ascending, -1 descending
    std::unordered_map<LPARAM, std::string> texts;  // type names
    std::unordered_map<LPARAM, ULONGLONG> numbers;  // sizes, modified times
};

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

void CLSWndFileList::ShowFolder(LPCITEMIDLIST pidlFolder)
{
    if (m_hWndControl == nullptr || pidlFolder == nullptr) {
        return;
    }
    CLSItemIdList copy(CopyItemIdList(pidlFolder));
    if (!copy) {
        return;
    }
    CLSComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Address()))) {
        return;
    }
    m_pidlFolder = std::move(copy);
    // The desktop's own empty list cannot be bound: it is the desktop folder.
    if (m_pidlFolder.Get()->mkid.cb == 0 ||
        FAILED(desktop->BindToObject(m_pidlFolder.Get(), nullptr, IID_IShellFolder, m_pshf.VoidAddress()))) {
        m_pshf = std::move(desktop);
    }
    StartWatch();
    Refresh();
}

// The shown folder is watched for files that come, go or change their names.
void CLSWndFileList::StartWatch()
{
    m_watcher.Stop();
    char path[MAX_PATH] = "";
    if (!m_bMonitor || !SHGetPathFromIDListA(m_pidlFolder.Get(), path) || path[0] == '\0') {
        return;
    }
    // Start drops every earlier watch, so the folder's watch comes after it.
    if (m_watcher.Start(m_hWnd, WMU_WATCH_CHANGED) && !m_watcher.Watch(0, path, FILE_NOTIFY_CHANGE_FILE_NAME)) {
        m_watcher.Stop();
    }
}

void CLSWndFileList::Refresh()
{
    if (m_hWndControl == nullptr || !m_pshf || !m_pidlFolder) {
        return;
    }
    SendMessageA(m_hWndControl, WM_SETREDRAW, FALSE, 0);
    SendMessageA(m_hWndControl, LVM_DELETEALLITEMS, 0, 0);
    const SHCONTF flags = SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN | (m_bShowFolders ? SHCONTF_FOLDERS : 0);
    CLSComPtr<IEnumIDList> items;
    if (m_pshf->EnumObjects(m_hWndControl, flags, items.Address()) == S_OK && items) {
        HCURSOR hOld = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        int index = 0;
        LPITEMIDLIST child = nullptr;
        while (items->Next(1, &child, nullptr) == S_OK) {
            CLSItemIdList owned(child);
            AddItem(JoinItemIdLists(m_pidlFolder.Get(), owned.Get()), index++);
        }
        Sort();
        SetCursor(hOld);
    }
    SendMessageA(m_hWndControl, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hWndControl, nullptr, TRUE);
}

// Texts and icons are asked for when the item is drawn, so that a large
// folder costs its enumeration, not a shell look-up per item.
void CLSWndFileList::AddItem(LPITEMIDLIST pidl, int index)
{
    if (pidl == nullptr) {
        return;
    }
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.iImage = I_IMAGECALLBACK;
    item.lParam = reinterpret_cast<LPARAM>(pidl);
    if (SendMessageA(m_hWndControl, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) < 0) {
        CoTaskMemFree(pidl);
    }
}

LPITEMIDLIST CLSWndFileList::ItemIdList(int index) const
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!SendMessageA(m_hWndControl, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) {
        return nullptr;
    }
    return reinterpret_cast<LPITEMIDLIST>(item.lParam);
}

// The item the shell calls equal to the last record of pidl. A record with
// the very same bytes is that item without asking the shell, which compares
// by name and is slow over a large folder; CompareIDs decides the rest.
int CLSWndFileList::FindItem(LPCITEMIDLIST wanted) const
{
    const int count = static_cast<int>(SendMessageA(m_hWndControl, LVM_GETITEMCOUNT, 0, 0));
    std::vector<LPCITEMIDLIST> lasts(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        LPCITEMIDLIST last = LastItemId(ItemIdList(i));
        lasts[static_cast<std::size_t>(i)] = last;
        if (last != nullptr && last->mkid.cb == wanted->mkid.cb && std::memcmp(last, wanted, wanted->mkid.cb) == 0) {
            return i;
        }
    }
    for (int i = 0; i < count; ++i) {
        LPCITEMIDLIST last = lasts[static_cast<std::size_t>(i)];
        if (last == nullptr) {
            continue;
        }
        const HRESULT hr = m_pshf->CompareIDs(0, last, wanted);
        if (SUCCEEDED(hr) && static_cast<short>(HRESULT_CODE(hr)) == 0) {
            return i;
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
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(m_hWndControl, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
    SendMessageA(m_hWndControl, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
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
    SortContext context{this, m_iSortColumn, m_abAscending[m_iSortColumn] ? 1 : -1, {}, {}};
    if (m_iSortColumn != 0) {
        const int count = static_cast<int>(SendMessageA(m_hWndControl, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            LPITEMIDLIST pidl = ItemIdList(i);
            const auto key = reinterpret_cast<LPARAM>(pidl);
            if (m_iSortColumn == 2) {
                char text[MAX_PATH] = "";
                TypeNameOf(pidl, text, sizeof(text));
                context.texts[key] = text;
                continue;
            }
            WIN32_FILE_ATTRIBUTE_DATA data{};
            ULONGLONG value = 0;  // folders and virtual items count as 0
            if (ItemFileData(pidl, data)) {
                value = m_iSortColumn == 1 ? ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : FileSizeOf(data))
                                           : (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                                 data.ftLastWriteTime.dwLowDateTime;
            }
            context.numbers[key] = value;
        }
    }
    SendMessageA(m_hWndControl, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context),
                 reinterpret_cast<LPARAM>(&CLSWndFileList::CompareItems));
}

// Names are ordered by the shell folder; sizes and times as 64-bit numbers
// (the modified column by its time, not by its text, whose hours may lack a
// leading zero); types by their text.
int CALLBACK CLSWndFileList::CompareItems(LPARAM a, LPARAM b, LPARAM param)
{
    auto* context = reinterpret_cast<SortContext*>(param);
    GLIM_ASSERT(context != nullptr);
    const int d = context->direction;
    if (context->column == 0) {
        IShellFolder* folder = context->list->m_pshf.Get();
        GLIM_ASSERT(folder != nullptr);
        LPCITEMIDLIST first = LastItemId(reinterpret_cast<LPCITEMIDLIST>(a));
        LPCITEMIDLIST second = LastItemId(reinterpret_cast<LPCITEMIDLIST>(b));
        if (first == nullptr) {
            return -d;
        }
        if (second == nullptr) {
            return d;
        }
        return static_cast<short>(HRESULT_CODE(folder->CompareIDs(0, first, second))) * d;
    }
    if (context->column == 2) {
        return lstrcmpA(context->texts[a].c_str(), context->texts[b].c_str()) * d;
    }
    const ULONGLONG x = context->numbers[a];
    const ULONGLONG y = context->numbers[b];
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

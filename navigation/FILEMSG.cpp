// The file list's container: notifications of the list, icons on request,
// selection, double-click, the shell's context menu and the watcher's posts.
#include "navigation/FILELIST.h"

#include "base/ASSERT.h"
#include "navigation/SHELLMNU.h"

#include <windowsx.h>

// The items go while the container still hears their deletions, so that each
// row's record (with its item-ID list) is freed; the list window itself goes
// after the container's procedure has been put back.
void CLSWndFileList::OnContainerDestroy()
{
    if (m_hWndControl != nullptr) {
        SendMessageA(m_hWndControl, LVM_DELETEALLITEMS, 0, 0);
    }
}

void CLSWndFileList::OnWatchChanged(LPARAM)
{
    Refresh();
    SendMessageA(GetParent(m_hWnd), WMU_FOLDER_CHANGED, 0, 0);
}

bool CLSWndFileList::OnNotify(NMHDR* hdr)
{
    GLIM_ASSERT(hdr != nullptr);
    if (hdr->hwndFrom != m_hWndControl) {
        return false;
    }
    switch (hdr->code) {
    case LVN_KEYDOWN:
        // Backspace and the like are the main window's business.
        SendMessageA(GetParent(m_hWnd), WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID(m_hWnd)),
                     reinterpret_cast<LPARAM>(hdr));
        return true;
    case LVN_GETDISPINFOW:
        OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(hdr));
        return true;
    case LVN_COLUMNCLICK:
        SortBy(reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem);
        return true;
    case LVN_DELETEITEM:
        delete reinterpret_cast<CLSFileItem*>(reinterpret_cast<NMLISTVIEW*>(hdr)->lParam);
        return true;
    case LVN_ITEMCHANGED:
        OnItemChanged(reinterpret_cast<NMLISTVIEW*>(hdr));
        return true;
    case NM_DBLCLK:
        OnDoubleClick(reinterpret_cast<NMITEMACTIVATE*>(hdr));
        return true;
    default:
        return false;
    }
}

// Texts and icons come from the row's record, which asks the shell only the
// first time; the control asks only for the rows it draws.
void CLSWndFileList::OnGetDispInfo(NMLVDISPINFOW* info)
{
    LVITEMW& item = info->item;
    auto* record = reinterpret_cast<CLSFileItem*>(item.lParam);
    if (record == nullptr || record->IdList() == nullptr) {
        return;
    }
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
        lstrcpynW(item.pszText, record->ColumnText(item.iSubItem, m_pshf.Get()).c_str(), item.cchTextMax);
    }
    if ((item.mask & LVIF_IMAGE) == 0) {
        return;
    }
    const CLSFileItem::Image& image = record->ImageIn(m_pshf.Get());
    item.iImage = image.icon;
    item.state = image.state;
    item.stateMask = image.stateMask;
    if (image.stateMask != 0) {
        item.mask |= LVIF_STATE;
    }
}

// A newly selected item is opened before the selection call returns.
void CLSWndFileList::OnItemChanged(const NMLISTVIEW* nm)
{
    if ((nm->uChanged & LVIF_STATE) == 0 || (nm->uNewState & LVIS_SELECTED) == 0 ||
        (nm->uOldState & LVIS_SELECTED) != 0 || nm->iItem < 0) {
        return;
    }
    SendMessageA(GetParent(m_hWnd), WMU_FILE_SELECTED, 0, reinterpret_cast<LPARAM>(ItemIdList(nm->iItem)));
}

// Folders open in the panes; anything else with its associated program.
void CLSWndFileList::OnDoubleClick(const NMITEMACTIVATE* nm)
{
    if (nm->iItem == -1 || nm->iSubItem != 0) {
        return;
    }
    LPITEMIDLIST pidl = ItemIdList(nm->iItem);
    ULONG attributes = SFGAO_FOLDER;
    if (pidl == nullptr || !AttributesOfLast(m_pshf.Get(), pidl, attributes)) {
        return;
    }
    if (attributes & SFGAO_FOLDER) {
        SendMessageA(GetParent(m_hWnd), WMU_OPEN_FOLDER, 0, reinterpret_cast<LPARAM>(pidl));
        return;
    }
    SHELLEXECUTEINFOW sei{};
    sei.cbSize = sizeof(sei);
    sei.fMask = SEE_MASK_IDLIST;
    sei.hwnd = m_hWnd;
    sei.nShow = SW_SHOW;
    sei.lpIDList = pidl;
    ShellExecuteExW(&sei);
}

bool CLSWndFileList::OnContextMenu(HWND hWndClick, int x, int y)
{
    if (hWndClick != m_hWndControl) {
        return false;
    }
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    ScreenToClient(m_hWndControl, &hit.pt);
    const int index = static_cast<int>(SendMessageA(m_hWndControl, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    LPCITEMIDLIST last = index >= 0 ? LastItemId(ItemIdList(index)) : nullptr;
    if (last == nullptr || !m_pshf) {
        return false;
    }
    return TrackShellMenu(m_pshf.Get(), last, m_hWndControl, m_hWnd, POINT{x, y}, m_pMenuHandler);
}

// The folder tree's container: notifications of the tree, images on request,
// device changes, the shell's context menu and the watcher's posts.
#include "navigation/FOLDERTR.h"

#include "base/ASSERT.h"
#include "navigation/SHELLMNU.h"

#include <dbt.h>
#include <windowsx.h>

namespace {

constexpr UINT kOverlayShare = 1;  // the shared hand in the system image list

}  // namespace

// The nodes go while the container still hears their deletions, so that each
// item-ID list is freed.
void CLSWndFolderTree::OnContainerDestroy()
{
    if (m_hWndControl != nullptr) {
        ++m_iQuiet;
        SendMessageA(m_hWndControl, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        --m_iQuiet;
    }
}

// Only top-level windows hear of devices: the main window passes it on.
bool CLSWndFolderTree::OnPaneMessage(UINT uMsg, WPARAM wParam, LPARAM)
{
    switch (uMsg) {
    case WM_DEVICECHANGE:
        OnDeviceChange(wParam);
        return false;
    case WM_TIMER:
        OnDeferTimer();
        return true;
    default:
        return false;
    }
}

bool CLSWndFolderTree::OnNotify(NMHDR* hdr)
{
    GLIM_ASSERT(hdr != nullptr);
    if (hdr->hwndFrom != m_hWndControl) {
        return false;
    }
    switch (hdr->code) {
    case TVN_DELETEITEMA:
        OnDeleteItem(reinterpret_cast<NMTREEVIEWA*>(hdr));
        return true;
    case TVN_ITEMEXPANDINGA:
        ReadChildren(reinterpret_cast<NMTREEVIEWA*>(hdr)->itemNew.hItem);
        return true;  // the result 0 lets the expansion proceed
    case TVN_GETDISPINFOA:
        OnGetDispInfo(reinterpret_cast<NMTVDISPINFOA*>(hdr));
        return true;
    case TVN_SELCHANGEDA:
        OnSelChanged(reinterpret_cast<NMTREEVIEWA*>(hdr));
        return true;
    default:
        return false;
    }
}

void CLSWndFolderTree::OnGetDispInfo(NMTVDISPINFOA* info) const
{
    TVITEMA& item = info->item;
    auto pidl = reinterpret_cast<LPCITEMIDLIST>(item.lParam);
    if (pidl == nullptr || (item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)) == 0) {
        return;
    }
    item.iImage = SmallIconIndex(pidl);
    item.iSelectedImage = SmallIconIndex(pidl, SHGFI_OPENICON);
    item.state = 0;
    item.stateMask = 0;
    SHFILEINFOA file{};
    file.dwAttributes = SFGAO_SHARE | SFGAO_GHOSTED;
    if (SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &file, sizeof(file),
                       SHGFI_PIDL | SHGFI_ATTRIBUTES | SHGFI_ATTR_SPECIFIED) == 0) {
        return;
    }
    if (file.dwAttributes & SFGAO_SHARE) {
        item.mask |= TVIF_STATE;
        item.stateMask |= TVIS_OVERLAYMASK;
        item.state |= INDEXTOOVERLAYMASK(kOverlayShare);
    }
    if (file.dwAttributes & SFGAO_GHOSTED) {
        item.mask |= TVIF_STATE;
        item.stateMask |= TVIS_CUT;
        item.state |= TVIS_CUT;
    }
}

void CLSWndFolderTree::OnDeleteItem(const NMTREEVIEWA* nm)
{
    m_watcher.Unwatch(reinterpret_cast<LPARAM>(nm->itemOld.hItem));
    ForgetNode(nm->itemOld.hItem);
    CoTaskMemFree(reinterpret_cast<void*>(nm->itemOld.lParam));
}

void CLSWndFolderTree::OnSelChanged(const NMTREEVIEWA* nm)
{
    if (m_iQuiet == 0) {
        SendMessageA(GetParent(m_hWnd), WMU_FOLDER_SELECTED, 0, nm->itemNew.lParam);
    }
}

// A drive that comes or goes is shown at once when the computer is expanded.
void CLSWndFolderTree::OnDeviceChange(WPARAM event)
{
    if ((event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) || m_hWndControl == nullptr ||
        !m_pDesktop) {
        return;
    }
    CLSItemIdList computer;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, computer.Address()))) {
        return;
    }
    HTREEITEM hRoot = reinterpret_cast<HTREEITEM>(SendMessageA(m_hWndControl, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (HTREEITEM hNode = hRoot != nullptr ? Child(hRoot) : nullptr; hNode != nullptr; hNode = Next(hNode)) {
        LPCITEMIDLIST pidl = NodeIdList(hNode);
        if (pidl != nullptr && SameItemIdAtDepth(m_pDesktop.Get(), pidl, computer.Get(), 0)) {
            RefreshNode(hNode);
            return;
        }
    }
}

// The menu of a node comes from its parent's folder; the node is selected
// first so that the file list shows what the menu acts on.
bool CLSWndFolderTree::OnContextMenu(HWND hWndClick, int x, int y)
{
    if (hWndClick != m_hWndControl) {
        return false;
    }
    TVHITTESTINFO hit{};
    hit.pt = {x, y};
    ScreenToClient(m_hWndControl, &hit.pt);
    auto hNode = reinterpret_cast<HTREEITEM>(SendMessageA(m_hWndControl, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    LPCITEMIDLIST pidl = hNode != nullptr ? NodeIdList(hNode) : nullptr;
    LPCITEMIDLIST child = LastItemId(pidl);
    if (child == nullptr) {
        return false;
    }
    SendMessageA(m_hWndControl, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hNode));
    HTREEITEM hParent = Parent(hNode);
    LPCITEMIDLIST pidlParent = hParent != nullptr ? NodeIdList(hParent) : nullptr;
    auto folder = CLSComPtr<IShellFolder>::AddRef(m_pDesktop.Get());
    if (pidlParent != nullptr && pidlParent->mkid.cb != 0 &&
        FAILED(m_pDesktop->BindToObject(pidlParent, nullptr, IID_IShellFolder, folder.VoidAddress()))) {
        return false;
    }
    return TrackShellMenu(folder.Get(), child, m_hWndControl, m_hWnd, POINT{x, y}, m_pMenuHandler);
}

// The folder tree: windows, lazy reading of nodes, navigation to a folder.
#include "navigation/FOLDERTR.h"

#include "base/ASSERT.h"
#include "navigation/TREESCRL.h"

#include <cstring>

namespace {

constexpr UINT kTreeStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | TVS_HASBUTTONS |
                            TVS_HASLINES | TVS_DISABLEDRAGDROP | TVS_SHOWSELALWAYS;
constexpr DWORD kTreeWatchFilter = FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES;

}  // namespace

CLSWndFolderTree::CLSWndFolderTree() noexcept = default;

CLSWndFolderTree::~CLSWndFolderTree()
{
    Destroy();
}

bool CLSWndFolderTree::Create(HWND hWndParent, int id)
{
    Destroy();
    if (FAILED(SHGetDesktopFolder(m_pDesktop.Address()))) {
        return false;
    }
    CLSItemIdList desktop;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, desktop.Address()))) {
        return false;
    }
    if (!CreateWindows(hWndParent, id, WS_EX_CLIENTEDGE, WC_TREEVIEWA, kTreeStyle)) {
        return false;
    }
    SHFILEINFOA info{};
    const auto images = SHGetFileInfoA(reinterpret_cast<LPCSTR>(desktop.Get()), 0, &info, sizeof(info),
                                       SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    SendMessageA(m_hWndControl, TVM_SETIMAGELIST, TVSIL_NORMAL, static_cast<LPARAM>(images));
    Rebuild();
    return true;
}

void CLSWndFolderTree::Destroy()
{
    if (m_hWnd != nullptr) {
        DestroyWindow(m_hWnd);
    }
    m_watcher.Stop();
    m_pDesktop.Reset();
}

// The root's children are watched too: the thread starts before the root is
// read, so the watches made while reading it are kept.
void CLSWndFolderTree::Rebuild()
{
    if (m_hWndControl == nullptr || !m_pDesktop) {
        return;
    }
    m_watcher.Stop();
    SendMessageA(m_hWndControl, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    CLSItemIdList desktop;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, desktop.Address()))) {
        return;
    }
    HTREEITEM hRoot = InsertNode(TVI_ROOT, desktop.Release(), true);
    if (m_bMonitor) {
        m_watcher.Start(m_hWnd, WMU_WATCH_CHANGED);
    }
    Expand(hRoot);
}

HTREEITEM CLSWndFolderTree::InsertNode(HTREEITEM hParent, LPITEMIDLIST pidl, bool placeholder)
{
    // Inserted wide: the tree keeps the name as the shell gives it.
    std::wstring name = DisplayNameOf(pidl);
    TVINSERTSTRUCTW insert{};
    insert.hParent = hParent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = name.data();
    insert.item.iImage = I_IMAGECALLBACK;
    insert.item.iSelectedImage = I_IMAGECALLBACK;
    insert.item.lParam = reinterpret_cast<LPARAM>(pidl);
    auto hNode = reinterpret_cast<HTREEITEM>(
        SendMessageW(m_hWndControl, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (hNode == nullptr) {
        CoTaskMemFree(pidl);
        return nullptr;
    }
    if (placeholder) {
        InsertPlaceholder(hNode);
    }
    return hNode;
}

// An empty child with no list: the node shows an expand button until read.
void CLSWndFolderTree::InsertPlaceholder(HTREEITEM hNode)
{
    TVINSERTSTRUCTA empty{};
    empty.hParent = hNode;
    empty.hInsertAfter = TVI_LAST;
    empty.item.mask = TVIF_TEXT | TVIF_PARAM;
    empty.item.pszText = const_cast<char*>("");
    SendMessageA(m_hWndControl, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&empty));
}

// Reads a node's sub-folders the first time it is expanded.
void CLSWndFolderTree::ReadChildren(HTREEITEM hNode)
{
    GLIM_ASSERT(m_hWnd != nullptr);
    HTREEITEM hFirst = Child(hNode);
    if (hFirst == nullptr || NodeIdList(hFirst) != nullptr) {
        return;
    }
    SendMessageA(m_hWndControl, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hFirst));
    HCURSOR hOld = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    CLSComPtr<IShellFolder> folder;
    std::vector<SubFolder> subFolders;
    if (ReadSubFolders(hNode, folder, subFolders)) {  // a folder that cannot be opened stays without children
        for (const SubFolder& sub : subFolders) {
            AddChild(hNode, sub, NodeIdList(hNode));
        }
        SortChildren(hNode);
    }
    SetCursor(hOld);
}

void CLSWndFolderTree::AddChild(HTREEITEM hParent, const SubFolder& sub, LPCITEMIDLIST pidlParent)
{
    CLSItemIdList pidl(JoinItemIdLists(pidlParent, sub.child.Get()));
    if (!pidl) {
        return;
    }
    const bool button = (sub.attributes & SFGAO_HASSUBFOLDER) != 0 && MayHaveSubFolders(pidl.Get());
    LPCITEMIDLIST watched = pidl.Get();
    HTREEITEM hNode = InsertNode(hParent, pidl.Release(), button);
    if (hNode != nullptr) {
        WatchNode(hNode, watched);
    }
}

void CLSWndFolderTree::WatchNode(HTREEITEM hNode, LPCITEMIDLIST pidl)
{
    const std::wstring path = m_bMonitor ? PathOfIdList(pidl) : std::wstring();
    if (!path.empty()) {
        m_watcher.Watch(reinterpret_cast<LPARAM>(hNode), path.c_str(), kTreeWatchFilter);
    }
}

void CLSWndFolderTree::SortChildren(HTREEITEM hNode)
{
    TVSORTCB sort{};
    sort.hParent = hNode;
    sort.lpfnCompare = &CLSWndFolderTree::CompareNodes;
    sort.lParam = reinterpret_cast<LPARAM>(this);
    SendMessageA(m_hWndControl, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

int CALLBACK CLSWndFolderTree::CompareNodes(LPARAM a, LPARAM b, LPARAM param)
{
    auto* tree = reinterpret_cast<CLSWndFolderTree*>(param);
    GLIM_ASSERT(tree != nullptr);
    if (a == 0) {
        return -1;
    }
    if (b == 0) {
        return 1;
    }
    const HRESULT hr = tree->m_pDesktop->CompareIDs(0, reinterpret_cast<LPCITEMIDLIST>(a),
                                                    reinterpret_cast<LPCITEMIDLIST>(b));
    return static_cast<short>(HRESULT_CODE(hr));
}

void CLSWndFolderTree::ShowFolder(LPCITEMIDLIST target)
{
    if (m_hWndControl == nullptr || !m_pDesktop || target == nullptr) {
        return;
    }
    auto folder = CLSComPtr<IShellFolder>::AddRef(m_pDesktop.Get());
    HTREEITEM hCurrent = reinterpret_cast<HTREEITEM>(SendMessageA(m_hWndControl, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    if (hCurrent == nullptr) {
        return;
    }
    Expand(hCurrent);
    int level = 0;
    for (HTREEITEM hCandidate = Child(hCurrent); hCandidate != nullptr;) {
        LPCITEMIDLIST pidl = NodeIdList(hCandidate);
        if (pidl == nullptr || !SameItemIdAtDepth(folder.Get(), target, pidl, level)) {
            hCandidate = Next(hCandidate);
            continue;
        }
        if (FAILED(m_pDesktop->BindToObject(pidl, nullptr, IID_IShellFolder, folder.VoidAddress()))) {
            return;
        }
        hCurrent = hCandidate;
        Expand(hCurrent);
        hCandidate = Child(hCurrent);
        ++level;
    }
    SendMessageA(m_hWndControl, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hCurrent));
    ScrollAcrossTo(hCurrent);
}

// Selecting scrolls a node into view only up and down; a deep one also needs
// the tree scrolled across.
void CLSWndFolderTree::ScrollAcrossTo(HTREEITEM hNode)
{
    RECT text{};
    std::memcpy(&text, &hNode, sizeof(hNode));  // TVM_GETITEMRECT takes the node in the rectangle
    RECT client{};
    if (!SendMessageA(m_hWndControl, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)) ||
        !GetClientRect(m_hWndControl, &client)) {
        return;
    }
    const int icon = GetSystemMetrics(SM_CXSMICON) + GetSystemMetrics(SM_CXEDGE);
    const int dx = ScrollAcrossToShow(text.left - icon, text.right, client.right);
    if (dx != 0) {
        const int pos = GetScrollPos(m_hWndControl, SB_HORZ) + dx;
        SendMessageA(m_hWndControl, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos < 0 ? 0 : pos), 0);
    }
}

void CLSWndFolderTree::GoUp()
{
    HTREEITEM hSelected = Selected();
    HTREEITEM hParent = hSelected != nullptr ? Parent(hSelected) : nullptr;
    if (hParent != nullptr) {
        SendMessageA(m_hWndControl, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hParent));
    }
}

LPCITEMIDLIST CLSWndFolderTree::GetSelectedIdList() const
{
    HTREEITEM hSelected = Selected();
    return hSelected != nullptr ? NodeIdList(hSelected) : nullptr;
}

std::wstring CLSWndFolderTree::GetSelectedPath() const
{
    LPCITEMIDLIST pidl = GetSelectedIdList();
    return pidl != nullptr && m_pDesktop ? NameOf(m_pDesktop.Get(), pidl, SHGDN_FORPARSING) : std::wstring();
}

LPITEMIDLIST CLSWndFolderTree::NodeIdList(HTREEITEM hNode) const
{
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = hNode;
    if (!SendMessageA(m_hWndControl, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) {
        return nullptr;
    }
    return reinterpret_cast<LPITEMIDLIST>(item.lParam);
}

HTREEITEM CLSWndFolderTree::Child(HTREEITEM hNode) const
{
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(m_hWndControl, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(hNode)));
}

HTREEITEM CLSWndFolderTree::Next(HTREEITEM hNode) const
{
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(m_hWndControl, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(hNode)));
}

HTREEITEM CLSWndFolderTree::Parent(HTREEITEM hNode) const
{
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(m_hWndControl, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(hNode)));
}

HTREEITEM CLSWndFolderTree::Selected() const
{
    return m_hWndControl != nullptr
               ? reinterpret_cast<HTREEITEM>(SendMessageA(m_hWndControl, TVM_GETNEXTITEM, TVGN_CARET, 0))
               : nullptr;
}

void CLSWndFolderTree::Expand(HTREEITEM hNode) const
{
    SendMessageA(m_hWndControl, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hNode));
}

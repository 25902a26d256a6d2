// A node's sub-folders read again and brought up to date in place: the
// watcher's refresh and F5. Nodes of folders that stayed keep their handle,
// expansion, children and selection; only folders that came or went are
// added or removed, so the tree neither collapses nor scrolls by itself.
// A refresh that arrives while a menu is up or the mouse is captured waits:
// the tree control must not change under a modal loop that holds its items.
#include "navigation/FOLDERTR.h"

#include "base/ASSERT.h"
#include "base/WIDETEXT.h"
#include "navigation/ROWMATCH.h"

#include <algorithm>

namespace {

constexpr UINT_PTR kDeferTimer = 1;
constexpr UINT kDeferMilliseconds = 250;
constexpr int kEntriesToLookAt = 256;  // enough to find a sub-folder, few enough for a huge folder

std::string_view KeyOf(const std::wstring& name)
{
    return {reinterpret_cast<const char*>(name.data()), name.size() * sizeof(wchar_t)};
}

bool IsDotEntry(const wchar_t* name)
{
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

}  // namespace

// False only when a look at the folder's first entries finds they are all
// files: the shell says "may have sub-folders" of every file-system folder,
// which would give each empty folder an expand button.
bool CLSWndFolderTree::MayHaveSubFolders(LPCITEMIDLIST pidl)
{
    std::wstring path = PathOfIdList(pidl);
    if (path.empty()) {
        return true;
    }
    path += path.back() == L'\\' ? L"*" : L"\\*";
    path = LongPathForm(path);
    WIN32_FIND_DATAW found;
    CLSFindHandle search(FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchLimitToDirectories, nullptr,
                                          FIND_FIRST_EX_LARGE_FETCH));
    if (!search) {
        return GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_NO_MORE_FILES;
    }
    int looked = 0;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !IsDotEntry(found.cFileName)) {
            return true;
        }
    } while (++looked < kEntriesToLookAt && FindNextFileW(search.Get(), &found));
    return looked >= kEntriesToLookAt;
}

// The sub-folders of a node's folder as the shell enumerates them; false when
// the folder cannot be opened or read.
bool CLSWndFolderTree::ReadSubFolders(HTREEITEM hNode, CLSComPtr<IShellFolder>& folder,
                                      std::vector<SubFolder>& subFolders)
{
    LPCITEMIDLIST pidl = NodeIdList(hNode);
    if (pidl == nullptr || pidl->mkid.cb == 0) {
        folder = CLSComPtr<IShellFolder>::AddRef(m_pDesktop.Get());
    } else if (FAILED(m_pDesktop->BindToObject(pidl, nullptr, IID_IShellFolder, folder.VoidAddress()))) {
        return false;
    }
    CLSComPtr<IEnumIDList> items;
    if (folder->EnumObjects(m_hWndControl, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, items.Address()) != S_OK ||
        !items) {
        return false;
    }
    LPITEMIDLIST child = nullptr;
    while (items->Next(1, &child, nullptr) == S_OK) {
        CLSItemIdList owned(child);
        ULONG attributes = kSubFolderAttributes;
        LPCITEMIDLIST record = owned.Get();
        if (SUCCEEDED(folder->GetAttributesOf(1, &record, &attributes)) && (attributes & SFGAO_FOLDER) != 0) {
            subFolders.push_back(SubFolder{std::move(owned), attributes});
        }
    }
    return true;
}

bool CLSWndFolderTree::IsRead(HTREEITEM hNode) const
{
    HTREEITEM hFirst = Child(hNode);
    return hFirst == nullptr || NodeIdList(hFirst) != nullptr;
}

bool CLSWndFolderTree::IsWithin(HTREEITEM hNode, HTREEITEM hAncestor) const
{
    for (; hNode != nullptr; hNode = Parent(hNode)) {
        if (hNode == hAncestor) {
            return true;
        }
    }
    return false;
}

// A node not read yet only learns whether it has sub-folders now: its
// expand button comes or goes.
void CLSWndFolderTree::RefreshButton(HTREEITEM hNode)
{
    HTREEITEM hFirst = Child(hNode);
    LPCITEMIDLIST pidl = NodeIdList(hNode);
    const bool may = pidl != nullptr && MayHaveSubFolders(pidl);
    if (may && hFirst == nullptr) {
        InsertPlaceholder(hNode);
    } else if (!may && hFirst != nullptr) {
        SendMessageA(m_hWndControl, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hFirst));
    }
}

void CLSWndFolderTree::RefreshNode(HTREEITEM hNode)
{
    GLIM_ASSERT(m_hWndControl != nullptr);
    if (!IsRead(hNode)) {
        RefreshButton(hNode);
        return;
    }
    CLSComPtr<IShellFolder> folder;
    std::vector<SubFolder> subFolders;
    if (!ReadSubFolders(hNode, folder, subFolders)) {
        return;  // gone: the refresh of its parent removes the node
    }
    std::vector<HTREEITEM> nodes;
    std::vector<std::wstring> nodeNames;
    std::vector<std::wstring> freshNames;
    for (HTREEITEM h = Child(hNode); h != nullptr; h = Next(h)) {
        nodes.push_back(h);
        nodeNames.push_back(InFolderParsingName(folder.Get(), LastItemId(NodeIdList(h))));
    }
    for (const SubFolder& sub : subFolders) {
        freshNames.push_back(InFolderParsingName(folder.Get(), sub.child.Get()));
    }
    std::vector<std::string_view> nodeKeys(nodeNames.size());
    std::vector<std::string_view> freshKeys(freshNames.size());
    std::transform(nodeNames.begin(), nodeNames.end(), nodeKeys.begin(), KeyOf);
    std::transform(freshNames.begin(), freshNames.end(), freshKeys.begin(), KeyOf);
    const CLSRowMatch match = MatchKeys(nodeKeys, freshKeys);

    HTREEITEM hSelected = Selected();
    HTREEITEM hFirstVisible = reinterpret_cast<HTREEITEM>(
        SendMessageA(m_hWndControl, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
    LPCITEMIDLIST pidlParent = NodeIdList(hNode);
    bool selectionMoved = false;  // the selected folder went: its parent is shown instead
    ++m_iQuiet;
    for (const auto& [i, j] : match.pairs) {
        ReplaceIdList(nodes[i], JoinItemIdLists(pidlParent, subFolders[j].child.Get()));
    }
    for (std::size_t i : match.oldOnly) {
        if (IsWithin(hSelected, nodes[i])) {
            SendMessageA(m_hWndControl, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hNode));
            selectionMoved = true;
        }
        if (IsWithin(hFirstVisible, nodes[i])) {
            hFirstVisible = nullptr;
        }
        SendMessageA(m_hWndControl, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(nodes[i]));
    }
    for (std::size_t j : match.freshOnly) {
        AddChild(hNode, subFolders[j], pidlParent);
    }
    if (!match.freshOnly.empty()) {
        SortChildren(hNode);
    }
    // Put back only when the changes moved it: asked to scroll to where it
    // is, the control may still scroll and leave the old drawing behind.
    if (hFirstVisible != nullptr &&
        hFirstVisible != reinterpret_cast<HTREEITEM>(SendMessageA(m_hWndControl, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0))) {
        SendMessageA(m_hWndControl, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(hFirstVisible));
    }
    --m_iQuiet;
    if (selectionMoved) {
        SendMessageA(GetParent(m_hWnd), WMU_FOLDER_SELECTED, 0, reinterpret_cast<LPARAM>(NodeIdList(hNode)));
    }
}

// The node's folder enumerated anew (its time changed): the node keeps its
// place and owns the fresh list from here on.
void CLSWndFolderTree::ReplaceIdList(HTREEITEM hNode, LPITEMIDLIST pidl)
{
    if (pidl == nullptr) {
        return;
    }
    LPITEMIDLIST old = NodeIdList(hNode);
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = hNode;
    item.lParam = reinterpret_cast<LPARAM>(pidl);
    if (SendMessageA(m_hWndControl, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item))) {
        CoTaskMemFree(old);
    } else {
        CoTaskMemFree(pidl);
    }
}

// F5: every node that has been read, from the root down, and every node not
// read yet for its expand button. A node removed on the way takes its
// sub-tree with it, so the walk goes on from what is still there.
void CLSWndFolderTree::Refresh()
{
    if (m_hWndControl == nullptr || !m_pDesktop) {
        return;
    }
    HTREEITEM hRoot = reinterpret_cast<HTREEITEM>(SendMessageA(m_hWndControl, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    if (hRoot != nullptr) {
        RefreshTree(hRoot);
    }
}

void CLSWndFolderTree::RefreshTree(HTREEITEM hNode)
{
    const bool read = IsRead(hNode);
    RefreshNode(hNode);
    if (!read) {
        return;
    }
    for (HTREEITEM h = Child(hNode); h != nullptr; h = Next(h)) {
        RefreshTree(h);
    }
}

// The watch is switched without reading the tree again: the nodes and the
// user's place in them stay.
void CLSWndFolderTree::SetMonitor(bool on)
{
    if (on == m_bMonitor) {
        return;
    }
    m_bMonitor = on;
    m_watcher.Stop();
    if (!on || m_hWndControl == nullptr || !m_watcher.Start(m_hWnd, WMU_WATCH_CHANGED)) {
        return;
    }
    HTREEITEM hRoot = reinterpret_cast<HTREEITEM>(SendMessageA(m_hWndControl, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    WatchTree(hRoot != nullptr ? Child(hRoot) : nullptr);
}

void CLSWndFolderTree::WatchTree(HTREEITEM hFirst)
{
    for (HTREEITEM h = hFirst; h != nullptr; h = Next(h)) {
        LPCITEMIDLIST pidl = NodeIdList(h);
        if (pidl != nullptr) {
            WatchNode(h, pidl);
            WatchTree(Child(h));
        }
    }
}

bool CLSWndFolderTree::RefreshMustWait() const
{
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    if (m_pMenuHandler != nullptr || GetCapture() != nullptr) {
        return true;
    }
    return GetGUIThreadInfo(GetCurrentThreadId(), &gui) &&
           ((gui.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_INMOVESIZE)) != 0 || gui.hwndMenuOwner != nullptr);
}

void CLSWndFolderTree::OnWatchChanged(LPARAM key)
{
    auto hNode = reinterpret_cast<HTREEITEM>(key);
    if (!RefreshMustWait()) {
        RefreshNode(hNode);
        return;
    }
    if (std::find(m_deferred.begin(), m_deferred.end(), hNode) == m_deferred.end()) {
        m_deferred.push_back(hNode);
    }
    SetTimer(m_hWnd, kDeferTimer, kDeferMilliseconds, nullptr);
}

// Each waiting node is taken off the list before it is read again, so that
// one whose node an earlier refresh deleted (ForgetNode) is never touched.
void CLSWndFolderTree::OnDeferTimer()
{
    if (RefreshMustWait()) {
        return;
    }
    KillTimer(m_hWnd, kDeferTimer);
    while (!m_deferred.empty()) {
        HTREEITEM hNode = m_deferred.front();
        m_deferred.erase(m_deferred.begin());
        RefreshNode(hNode);
    }
}

// A waiting refresh of a node that goes is dropped with it.
void CLSWndFolderTree::ForgetNode(HTREEITEM hNode)
{
    m_deferred.erase(std::remove(m_deferred.begin(), m_deferred.end(), hNode), m_deferred.end());
}

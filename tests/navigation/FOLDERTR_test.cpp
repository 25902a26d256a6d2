// The folder tree on real folders: going to a folder, up, the selected path,
// and sub-folders created under an expanded node.
#include "NAVTEST.h"

#include "base/WIDETEXT.h"
#include "navigation/TREESCRL.h"

#include <gtest/gtest.h>

namespace {

std::string NodeText(HWND hWndTree, HTREEITEM hNode)
{
    char text[MAX_PATH] = "";
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = hNode;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(hWndTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::string> ChildTexts(HWND hWndTree, HTREEITEM hNode)
{
    std::vector<std::string> texts;
    for (auto h = TreeView_GetChild(hWndTree, hNode); h != nullptr; h = TreeView_GetNextSibling(hWndTree, h)) {
        texts.push_back(NodeText(hWndTree, h));
    }
    return texts;
}

}  // namespace

TEST(FolderTree, GoesToTheFolderOfAPathUpAgainAndFollowsNewSubFolders)
{
    TempFolder folder;
    const std::string japanese = folder.PathOf("表ソ");
    ASSERT_TRUE(CreateDirectoryA(japanese.c_str(), nullptr));
    CreateDirectoryA((japanese + "\\b").c_str(), nullptr);
    CreateDirectoryA((japanese + "\\a").c_str(), nullptr);
    WriteFileBytes(japanese + "\\file.txt", "x");
    PaneHost host;
    CLSWndFolderTree tree;
    ASSERT_TRUE(tree.Create(host.Get(), 1025));
    HWND hWndTree = tree.GetTreeWindow();

    // A file's path selects its folder, which the main window is told of.
    tree.ShowFolder(IdListOf(japanese + "\\file.txt").Get());
    EXPECT_EQ(host.selectedFolder, japanese);
    EXPECT_EQ(tree.GetSelectedPath(), WidenAnsi(japanese));
    HTREEITEM hNode = TreeView_GetSelection(hWndTree);
    EXPECT_EQ(NodeText(hWndTree, hNode), "表ソ");
    TreeView_Expand(hWndTree, hNode, TVE_EXPAND);
    EXPECT_EQ(ChildTexts(hWndTree, hNode), (std::vector<std::string>{"a", "b"}));  // folders only, sorted

    CreateDirectoryA((japanese + "\\c").c_str(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return ChildTexts(hWndTree, TreeView_GetSelection(hWndTree)).size() == 3; }));
    EXPECT_EQ(host.selectedFolder, japanese);  // the re-read keeps the selection

    tree.GoUp();
    EXPECT_EQ(host.selectedFolder, folder.Path());

    // Many rebuilds leave one watcher thread.
    for (int i = 0; i < 20; ++i) {
        tree.Rebuild();
    }
    EXPECT_TRUE(tree.IsWatching());
    tree.Destroy();
    EXPECT_FALSE(tree.IsWatching());
}

namespace {

bool IsExpanded(HWND hWndTree, HTREEITEM hNode)
{
    return (TreeView_GetItemState(hWndTree, hNode, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

HTREEITEM ChildNamed(HWND hWndTree, HTREEITEM hNode, const std::string& name)
{
    for (auto h = TreeView_GetChild(hWndTree, hNode); h != nullptr; h = TreeView_GetNextSibling(hWndTree, h)) {
        if (NodeText(hWndTree, h) == name) {
            return h;
        }
    }
    return nullptr;
}

// The node of a folder, selected and expanded.
HTREEITEM OpenFolder(CLSWndFolderTree& tree, const std::string& path)
{
    tree.ShowFolder(IdListOf(path).Get());
    HTREEITEM hNode = TreeView_GetSelection(tree.GetTreeWindow());
    TreeView_Expand(tree.GetTreeWindow(), hNode, TVE_EXPAND);
    return hNode;
}

}  // namespace

// Folders that come and go under an open node, F5 and the watch switched off
// and on: the nodes the user opened stay open with the same items, the
// selection stays, and a folder without sub-folders has no expand button.
TEST(FolderTree, RefreshesInPlaceKeepingTheUsersPlace)
{
    TempFolder folder;
    for (const char* sub : {"a", "a\\x", "b", "empty"}) {
        ASSERT_TRUE(CreateDirectoryA(folder.PathOf(sub).c_str(), nullptr));
    }
    PaneHost host;
    CLSWndFolderTree tree;
    ASSERT_TRUE(tree.Create(host.Get(), 1025));
    HWND hWndTree = tree.GetTreeWindow();
    HTREEITEM hFolder = OpenFolder(tree, folder.Path());
    HTREEITEM hA = ChildNamed(hWndTree, hFolder, "a");
    ASSERT_NE(hA, nullptr);
    TreeView_Expand(hWndTree, hA, TVE_EXPAND);
    EXPECT_EQ(TreeView_GetChild(hWndTree, ChildNamed(hWndTree, hFolder, "empty")), nullptr);

    const auto stays = [&](const char* step) {
        EXPECT_EQ(ChildNamed(hWndTree, hFolder, "a"), hA) << step;
        EXPECT_TRUE(IsExpanded(hWndTree, hFolder) && IsExpanded(hWndTree, hA)) << step;
        EXPECT_EQ(TreeView_GetSelection(hWndTree), hFolder) << step;
        EXPECT_EQ(host.selectedFolder, folder.Path()) << step;
    };
    ASSERT_TRUE(CreateDirectoryA(folder.PathOf("c").c_str(), nullptr));
    EXPECT_TRUE(PumpUntil([&] { return ChildTexts(hWndTree, hFolder).size() == 4; }));
    stays("created");
    EXPECT_EQ(TreeView_GetChild(hWndTree, ChildNamed(hWndTree, hFolder, "c")), nullptr);
    // A watched folder cannot go while its own watch holds it.
    tree.SetMonitor(false);
    ASSERT_TRUE(CreateDirectoryA(folder.PathOf("d").c_str(), nullptr));
    ASSERT_TRUE(RemoveDirectoryA(folder.PathOf("b").c_str()));
    tree.Refresh();  // F5
    EXPECT_EQ(ChildTexts(hWndTree, hFolder), (std::vector<std::string>{"a", "c", "d", "empty"}));
    stays("F5");
    tree.SetMonitor(true);
    stays("watch on");
    ASSERT_TRUE(CreateDirectoryA(folder.PathOf("a\\y").c_str(), nullptr));
    EXPECT_TRUE(PumpUntil([&] { return ChildTexts(hWndTree, hA).size() == 2; }));
}

namespace {

// What the timer does inside the menu's modal loop: creates a folder at the
// first tick, notes the node's children at the last and closes the menu.
struct MenuProbe {
    std::string path;
    HWND hWndTree = nullptr;
    HTREEITEM hNode = nullptr;
    int ticks = 0;
    std::size_t childrenUnderMenu = 0;
} g_probe;

void CALLBACK ProbeUnderMenu(HWND hWnd, UINT, UINT_PTR id, DWORD)
{
    if (++g_probe.ticks == 1) {
        CreateDirectoryA(g_probe.path.c_str(), nullptr);
    } else if (g_probe.ticks == 20) {
        g_probe.childrenUnderMenu = ChildTexts(g_probe.hWndTree, g_probe.hNode).size();
        KillTimer(hWnd, id);
        EndMenu();
    }
}

}  // namespace

// A change while a menu is up waits until it closes: the tree control must
// not change under the menu's modal loop.
TEST(FolderTree, RefreshWaitsForAnOpenMenu)
{
    TempFolder folder;
    PaneHost host;
    CLSWndFolderTree tree;
    ASSERT_TRUE(tree.Create(host.Get(), 1025));
    HWND hWndTree = tree.GetTreeWindow();
    HTREEITEM hFolder = OpenFolder(tree, folder.Path());

    g_probe = MenuProbe{folder.PathOf("new"), hWndTree, hFolder};
    SetTimer(host.Get(), 7, 30, &ProbeUnderMenu);
    HMENU hMenu = CreatePopupMenu();
    AppendMenuA(hMenu, MF_STRING, 1, "x");
    SetForegroundWindow(host.Get());
    TrackPopupMenu(hMenu, TPM_RETURNCMD, 0, 0, 0, host.Get(), nullptr);
    DestroyMenu(hMenu);
    EXPECT_EQ(g_probe.ticks, 20);
    EXPECT_EQ(g_probe.childrenUnderMenu, 0u);
    EXPECT_TRUE(PumpUntil([&] { return ChildTexts(hWndTree, hFolder).size() == 1; }));
}

// Across to a deep node (left, right, tree width: scroll): one shown stays; its end to
// the right edge; one wider than the tree or left of it, its start to the left edge.
TEST(TreeScroll, ANodeBeyondEitherEdgeComesIntoViewStartFirst)
{
    const int cases[][4] = {{10, 90, 100, 0}, {150, 230, 100, 130}, {150, 400, 100, 150}, {-40, 20, 100, -40}};
    for (const auto& c : cases) {
        EXPECT_EQ(ScrollAcrossToShow(c[0], c[1], c[2]), c[3]) << c[0] << ".." << c[1];
    }
}

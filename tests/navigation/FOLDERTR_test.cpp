// The folder tree on real folders: going to a folder, up, the selected path,
// and sub-folders created under an expanded node.
#include "NAVTEST.h"

#include "base/WIDETEXT.h"

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

// The file list on real folders: what it lists and how, sorting, selection,
// and the watcher: changes on disk, quick folder switches, ends mid-refresh.
#include "NAVTEST.h"

#include <gtest/gtest.h>

#include <shlwapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <functional>

namespace {

class FileList : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_list.Create(m_host.Get(), 1027));
        m_list.SetViewStyle(LVS_REPORT);
        m_list.Move(0, 0, 600, 400);
    }
    void Show(const std::string& path) { m_list.ShowFolder(IdListOf(path).Get()); }
    std::vector<std::string> Names(int column = 0) const { return ColumnTexts(m_list.GetListWindow(), column); }

    TempFolder m_folder;
    PaneHost m_host;
    CLSWndFileList m_list;
};

std::string ByteSize(ULONGLONG size)
{
    char text[64] = "";
    StrFormatByteSize64A(static_cast<LONGLONG>(size), text, sizeof(text));
    return text;
}

int ThreadsOfThisProcess()
{
    CLSHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry)) {
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    }
    return count;
}

}  // namespace

TEST_F(FileList, ListsFilesWithTheirSizesAndFoldersOnlyWhenAsked)
{
    constexpr ULONGLONG kGB = 1024ull * 1024 * 1024;
    m_folder.Write("empty.txt", "");
    WriteSparseFile(m_folder.PathOf("three.bin"), 3 * kGB);
    WriteSparseFile(m_folder.PathOf("five.bin"), 5 * kGB);
    CreateDirectoryA(m_folder.PathOf("sub").c_str(), nullptr);
    Show(m_folder.Path());
    EXPECT_EQ(Names(), (std::vector<std::string>{"empty.txt", "five.bin", "three.bin"}));
    EXPECT_EQ(Names(1), (std::vector<std::string>{ByteSize(0), ByteSize(5 * kGB), ByteSize(3 * kGB)}));
    for (int column : {2, 3}) {  // type and modified
        const auto texts = Names(column);
        EXPECT_EQ(std::count(texts.begin(), texts.end(), ""), 0) << column;
    }

    m_list.SetShowFolders(true);
    m_list.Refresh();
    EXPECT_EQ(Names(), (std::vector<std::string>{"sub", "empty.txt", "five.bin", "three.bin"}));  // the shell's order
    EXPECT_EQ(Names(1)[0], "");

    // Each column's first sort is descending, the next ascending.
    m_list.SortBy(1);
    EXPECT_EQ(Names()[0], "five.bin");
    EXPECT_EQ(Names()[1], "three.bin");
    m_list.SortBy(1);
    EXPECT_EQ(Names()[3], "five.bin");
    EXPECT_EQ(Names()[2], "three.bin");
    m_list.SortBy(0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"three.bin", "five.bin", "empty.txt", "sub"}));

    // A style switch repaints the whole list: nothing the old style drew stays where no item is.
    HWND list = m_list.GetListWindow();
    for (const DWORD style : {LVS_ICON, LVS_LIST, LVS_REPORT}) {
        UpdateWindow(list);
        CLSWindowDC dc(list);
        SetPixel(dc.Get(), 300, 300, RGB(255, 0, 0));
        m_list.SetViewStyle(style);
        UpdateWindow(list);
        EXPECT_EQ(GetPixel(dc.Get(), 300, 300), ListView_GetBkColor(list)) << style;
    }
}

TEST_F(FileList, JapaneseNamesShowAndSelectingOneOpensIt)
{
    // 表 and ソ end in the byte 0x5C, the backslash of ASCII.
    const std::string folder = m_folder.PathOf("表ソ");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    WriteFileBytes(folder + "\\表.txt", "a");
    WriteFileBytes(folder + "\\ソース.txt", "b");
    Show(folder);
    EXPECT_EQ(Names(), (std::vector<std::string>{"ソース.txt", "表.txt"}));
    EXPECT_TRUE(m_list.SelectItem(IdListOf(folder + "\\表.txt").Get()));
    EXPECT_EQ(m_host.selectedFile, folder + "\\表.txt");  // before SelectItem returned
    EXPECT_FALSE(m_list.SelectItem(IdListOf(m_folder.Path()).Get()));

    // What cannot be opened as a folder lists nothing, not the desktop's items.
    EXPECT_FALSE(m_list.ShowFolder(IdListOf(folder + "\\表.txt").Get()));
    EXPECT_EQ(Names(), std::vector<std::string>{});
}

// Changes on disk reach the rows in place: new rows at their sorted places,
// a grown file's new size, renamed and deleted rows gone, and the selected
// row stays selected without being opened again.
TEST_F(FileList, FollowsChangesInPlaceKeepingTheSelectionAndOutlivesItsFolder)
{
    const std::string folder = m_folder.PathOf("watched");
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteFileBytes(folder + "\\b.txt", "x");
    WriteFileBytes(folder + "\\d.txt", "x");
    Show(folder);
    EXPECT_TRUE(m_list.IsWatching());
    ASSERT_TRUE(m_list.SelectItem(IdListOf(folder + "\\d.txt").Get()));
    m_host.selectedFile.clear();
    const struct {
        std::function<void()> change;
        std::vector<std::string> names;
    } steps[] = {
        {[&] {
             WriteFileBytes(folder + "\\c.txt", "x");
             WriteFileBytes(folder + "\\a.txt", "x");
         },
         {"a.txt", "b.txt", "c.txt", "d.txt"}},
        // Growing alone is not watched; the rename beside it brings it in.
        {[&] {
             WriteSparseFile(folder + "\\d.txt", 5000);
             MoveFileA((folder + "\\b.txt").c_str(), (folder + "\\e.txt").c_str());
         },
         {"a.txt", "c.txt", "d.txt", "e.txt"}},
        {[&] { DeleteFileA((folder + "\\a.txt").c_str()); }, {"c.txt", "d.txt", "e.txt"}},
    };
    for (const auto& step : steps) {
        step.change();
        EXPECT_TRUE(PumpUntil([&] { return Names() == step.names; })) << step.names.size();
        const int selected = ListView_GetNextItem(m_list.GetListWindow(), -1, LVNI_SELECTED);
        EXPECT_EQ(selected >= 0 ? Names()[static_cast<std::size_t>(selected)] : "", "d.txt");
    }
    EXPECT_EQ(Names(1)[1], ByteSize(5000));  // of d.txt
    EXPECT_EQ(m_host.selectedFile, "");  // kept, not opened again

    // The shown folder taken away by another program: the list goes on.
    for (const auto& name : steps[2].names) {
        DeleteFileA((folder + "\\" + name).c_str());
    }
    RemoveDirectoryA(folder.c_str());
    PumpUntil([] { return false; }, 200);
    m_list.Refresh();
    EXPECT_TRUE(Names().empty());
    Show(m_folder.Path());
    EXPECT_TRUE(IsWindow(m_list.GetListWindow()));
}

TEST_F(FileList, QuickFolderSwitchesLeaveOneWatcherAndNoHandles)
{
    const std::string a = m_folder.PathOf("a");
    const std::string b = m_folder.PathOf("b");
    CreateDirectoryA(a.c_str(), nullptr);
    CreateDirectoryA(b.c_str(), nullptr);
    CLSItemIdList pidlA = IdListOf(a);
    CLSItemIdList pidlB = IdListOf(b);
    for (int i = 0; i < 10; ++i) {  // the shell's own caches settle first
        m_list.ShowFolder(i % 2 ? pidlA.Get() : pidlB.Get());
    }
    DWORD before = 0;
    GetProcessHandleCount(GetCurrentProcess(), &before);
    const int threads = ThreadsOfThisProcess();
    for (int i = 0; i < 1000; ++i) {
        m_list.ShowFolder(i % 2 ? pidlA.Get() : pidlB.Get());
    }
    DWORD after = 0;
    GetProcessHandleCount(GetCurrentProcess(), &after);
    EXPECT_LE(after, before + 5);
    EXPECT_EQ(ThreadsOfThisProcess(), threads);
    EXPECT_TRUE(m_list.IsWatching());
}

// A watcher's refresh on its way when the pane goes must neither hang the
// end nor reach a list that is gone.
TEST(FileListEnd, DestroyedWhileARefreshIsDueEndsCleanly)
{
    TempFolder folder;
    PaneHost host;
    CLSItemIdList pidl = IdListOf(folder.Path());
    for (int i = 0; i < 100; ++i) {
        CLSWndFileList list;
        ASSERT_TRUE(list.Create(host.Get(), 1027));
        list.ShowFolder(pidl.Get());
        const std::string name = std::to_string(i) + ".txt";
        folder.Write(name, "x");
        Sleep(i % 3 == 0 ? 0 : 20);
        list.Destroy();
        PumpUntil([] { return false; }, 5);
    }
    EXPECT_TRUE(IsWindow(host.Get()));
}

TEST_F(FileList, NeighbourFilesPassFoldersOverAndStopAtEitherEnd)
{
    for (const char* name : {"a.txt", "c.txt", "e.txt"}) {
        m_folder.Write(name, "x");
    }
    CreateDirectoryA(m_folder.PathOf("b").c_str(), nullptr);
    CreateDirectoryA(m_folder.PathOf("d").c_str(), nullptr);
    m_list.SetShowFolders(true);
    Show(m_folder.Path());
    ASSERT_EQ(Names(), (std::vector<std::string>{"b", "d", "a.txt", "c.txt", "e.txt"}));  // folders first

    const std::vector<std::string> forward = {"a.txt", "c.txt", "e.txt"};
    for (const std::string& name : forward) {  // nothing focused: the first file
        ASSERT_TRUE(m_list.SelectNeighbourFile(true));
        EXPECT_EQ(m_host.selectedFile, m_folder.PathOf(name));
    }
    EXPECT_FALSE(m_list.SelectNeighbourFile(true));
    EXPECT_EQ(m_host.selectedFile, m_folder.PathOf("e.txt"));
    ASSERT_TRUE(m_list.SelectNeighbourFile(false));
    ASSERT_TRUE(m_list.SelectNeighbourFile(false));
    EXPECT_EQ(m_host.selectedFile, m_folder.PathOf("a.txt"));
    EXPECT_FALSE(m_list.SelectNeighbourFile(false));  // only folders before it
    EXPECT_EQ(m_host.selectedFile, m_folder.PathOf("a.txt"));
}

// The main window's panes together: the path box navigating through the tree
// and the list, Backspace, drops, the panes laid out around the splitters,
// and the pane state that survives a restart.
#include "DLGDRIVE.h"
#include "MAINTEST.h"

#include <shlobj.h>
#include <shlwapi.h>

namespace {

class Navigation : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        Start();
        m_japanese = m_folder.PathOf("表ソ");
        CreateDirectoryA(m_japanese.c_str(), nullptr);
        m_file = m_japanese + "\\表.txt";
        WriteFileBytes(m_file, "ソース");
    }
    std::string TreePath() const
    {
        char path[MAX_PATH] = "";
        m_app->GetFolderTree().GetSelectedPath(path, sizeof(path));
        return path;
    }
    std::string PathBox() const
    {
        char text[MAX_PATH] = "";
        GetDlgItemTextA(Main(), kIdPathEdit, text, sizeof(text));
        return text;
    }
    int SelectedItem() const
    {
        return static_cast<int>(SendMessageA(m_app->GetFileList().GetListWindow(), LVM_GETNEXTITEM,
                                             static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    int ListLeft() const { return InMain(GetDlgItem(Main(), kIdFileList)).left; }

    std::string m_japanese, m_file;
};

}  // namespace

TEST_F(Navigation, TypedPathsSelectTheFolderAndOpenTheFileAndNothingChangesForNoFile)
{
    Navigate("\"" + m_file + "\"");  // as "copy as path" gives it
    EXPECT_EQ(TreePath(), m_japanese);
    EXPECT_EQ(SelectedItem(), 0);
    EXPECT_EQ(PathBox(), m_file);
    EXPECT_EQ(m_app->GetView().GetDisplayMode(), DocumentKind::Text);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), kIdPathEdit);

    // A file newer than the list is found too.
    const std::string newer = m_folder.Write("表ソ\\newer.txt", "x");
    Navigate(newer);
    EXPECT_EQ(PathBox(), newer);

    ModalDriver answers({});
    Navigate(m_folder.PathOf("nothing.txt"));
    EXPECT_EQ(answers.m_messages, std::vector<std::string>{"ファイルが見つかりません。"});
    EXPECT_EQ(TreePath(), m_japanese);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), kIdPathEdit);
}

TEST_F(Navigation, BackspaceInTheListGoesUpAndOnlyTheFirstDroppedFileOpens)
{
    Navigate(m_file);
    SendMessageA(m_app->GetFileList().GetListWindow(), WM_KEYDOWN, VK_BACK, 0);
    EXPECT_EQ(TreePath(), m_folder.Path());

    const std::string second = m_folder.Write("second.txt", "2");
    const std::string files = m_file + '\0' + second + '\0';
    HGLOBAL hDrop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + files.size() + 1);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(hDrop));
    drop->pFiles = sizeof(DROPFILES);
    memcpy(drop + 1, files.data(), files.size());
    GlobalUnlock(hDrop);
    SendMessageA(Main(), WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);  // freed by the window
    EXPECT_EQ(TreePath(), m_japanese);
    EXPECT_EQ(PathBox(), m_file);
}

// Where the panes go is the layout's arithmetic; here, that the window hides
// the tree and keeps the splitters inside a window shrunk to its minimum.
TEST_F(Navigation, PanesFollowTheTreeSwitchAndTheSplittersStayInRange)
{
    const int listLeft = ListLeft();
    Command(IDM_FOLDERTREE);
    EXPECT_EQ(ListLeft(), 0);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(Main(), kIdFolderTree)));
    Command(IDM_FOLDERTREE);
    EXPECT_EQ(ListLeft(), listLeft);

    CLSWndSeparator& vertical = m_app->GetVerticalBar();
    CLSWndSeparator& horizontal = m_app->GetHorizontalBar();
    SetWindowPos(Main(), nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);  // stops at the minimum size
    RECT client{};
    GetClientRect(Main(), &client);
    const int shrunkV = vertical.GetPos();
    const int shrunkH = horizontal.GetPos();
    EXPECT_LE(shrunkV, client.right - 77);
    EXPECT_LE(shrunkH, client.bottom - 107);
    SetWindowPos(Main(), nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(vertical.GetPos(), shrunkV);
    EXPECT_EQ(horizontal.GetPos(), shrunkH);

    // Another window taking the mouse (Alt+Tab) ends a drag.
    SendMessageA(vertical.GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    ASSERT_TRUE(vertical.IsDragging());
    SetCapture(Main());
    EXPECT_FALSE(vertical.IsDragging());
    ReleaseCapture();
}

TEST_F(Navigation, LastFolderAndSplittersSurviveARestart)
{
    Navigate(m_japanese);
    m_app->GetVerticalBar().SetPos(150);
    m_app->GetHorizontalBar().SetPos(120);
    Command(IDM_STYLE_DETAILS);
    SendMessageA(m_app->GetFileList().GetListWindow(), LVM_SETCOLUMNWIDTH, 1, 95);
    Command(IDM_STYLE_LIST);
    DestroyWindow(Main());
    // The columns' own widths, whichever view the list is in; they are handed
    // back for the run only (GLIM.INI has no key for them).
    EXPECT_EQ(m_app->GetSettings().GetColumnWidth(1), 95);
    m_app.reset();  // writes GLIM.INI
    UnregisterClassA("GlimMainClass", GetModuleHandleA(nullptr));

    m_app = std::make_unique<CLSWndMain>();
    ASSERT_TRUE(m_app->Register(GetModuleHandleA(nullptr)));
    ASSERT_TRUE(m_app->GetSettings().Load(RedirectSettings().c_str()));
    m_app->GetSettings().SetFlag(CLSGlimSettings::kShowLastFolder, true);
    ASSERT_TRUE(m_app->Create(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
    m_app->ApplyCommandLine("");
    RunLoop();
    EXPECT_EQ(TreePath(), m_japanese);
    EXPECT_EQ(m_app->GetVerticalBar().GetPos(), 150);
    EXPECT_EQ(m_app->GetHorizontalBar().GetPos(), 120);
}

// F5 in the preview reads the shown file again; the status bar's size and
// the list's row follow; a deleted shown file says so once the watcher sees it.
TEST_F(Navigation, TheShownFileIsReadAgainWithItsSizeAndItsGoingIsShown)
{
    Navigate(m_file);
    SetFocus(GetDlgItem(Main(), CLSWndView::kControlId));
    WriteFileBytes(m_file, std::string(1234, 'a'));
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_F5, 0);
    RunLoop();
    char text[64] = "";
    char size[64] = "";
    LVITEMA item{};
    item.iSubItem = 1;
    item.pszText = size;
    item.cchTextMax = sizeof(size);
    SendMessageA(m_app->GetFileList().GetListWindow(), LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(size, StrFormatByteSize64A(1234, text, sizeof(text)));
    SendDlgItemMessageA(Main(), kIdStatusBar, SB_GETTEXTA, 4, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "\t\t1,234バイト");
    ASSERT_TRUE(DeleteFileA(m_file.c_str()));
    const std::string& failure = m_app->GetView().GetOpenFailure();
    for (const DWORD start = GetTickCount(); failure.empty() && GetTickCount() - start < 5000;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        RunLoop();
    }
    EXPECT_FALSE(failure.empty());
}

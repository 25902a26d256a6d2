// The main window's panes together: the path box navigating through the tree
// and the list, Backspace, drops, the panes laid out around the splitters,
// and the pane state that survives a restart.
#include "DLGDRIVE.h"
#include "MAINTEST.h"
#include "tests/common/PUMP.h"
#include "tests/view/VIEWTEST.h"

#include <dbt.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace {

class Navigation : public StartedMainWindow {
protected:
    void SetUp() override
    {
        StartedMainWindow::SetUp();
        // Names Shift-JIS cannot hold ("ë", "é") beside "表", whose trail byte is a backslash.
        m_japanese = m_folder.MakeFolderWide(L"表ソ Zoë");
        m_file = m_folder.WriteWide(L"表ソ Zoë\\café表.txt", "ソース");
    }
    std::wstring TreePath() const { return m_app->GetFolderTree().GetSelectedPath(); }
    std::wstring PathBox() const
    {
        wchar_t text[1024] = L"";
        GetDlgItemTextW(Main(), kIdPathEdit, text, 1024);
        return text;
    }
    int SelectedItem() const
    {
        return static_cast<int>(SendMessageA(m_app->GetFileList().GetListWindow(), LVM_GETNEXTITEM,
                                             static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    int ListLeft() const { return InMain(GetDlgItem(Main(), kIdFileList)).left; }

    std::wstring m_japanese, m_file;
};

}  // namespace

TEST_F(Navigation, TypedPathsSelectTheFolderAndOpenTheFileAndNothingChangesForNoFile)
{
    Navigate(L"\"" + m_file + L"\"");  // as "copy as path" gives it
    EXPECT_EQ(TreePath(), m_japanese);
    EXPECT_EQ(SelectedItem(), 0);
    EXPECT_EQ(PathBox(), m_file);
    EXPECT_EQ(m_app->GetView().GetDisplayMode(), DocumentKind::Text);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), kIdPathEdit);

    // A file newer than the list is found too.
    const std::wstring newer = m_folder.WriteWide(L"表ソ Zoë\\newer😀.txt", "x");
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
    EXPECT_EQ(TreePath(), m_folder.WidePath());

    // Explorer drops wide names.
    const std::wstring second = m_folder.WriteWide(L"second.txt", "2");
    const std::wstring files = m_file + L'\0' + second + L'\0' + L'\0';
    HGLOBAL hDrop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + files.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(hDrop));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(drop + 1, files.data(), files.size() * sizeof(wchar_t));
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
    Stop();  // writes GLIM.INI

    Start(ReadFileBytes(RedirectSettings()).c_str());
    m_app->GetSettings().SetFlag(CLSGlimSettings::kShowLastFolder, true);
    m_app->ApplyCommandLine(L"");
    RunLoop();
    EXPECT_EQ(TreePath(), m_japanese);
    // Older readers find the folder above in the Shift-JIS key.
    const std::string ini = ReadFileBytes(RedirectSettings());
    EXPECT_NE(ini.find("LastFolder=" + m_folder.Path() + "\r\nLastFolderUtf8="), std::string::npos) << ini;
    EXPECT_EQ(m_app->GetVerticalBar().GetPos(), 150);
    EXPECT_EQ(m_app->GetHorizontalBar().GetPos(), 120);
}

// Names outside Shift-JIS and beyond the Basic Multilingual Plane are listed
// as the shell gives them, and selecting each opens it with its size and text.
// A path of three folders of 90 kanji each, longer than the shell and the plain
// file functions take, opens from the command line (through the path box) too.
TEST_F(Navigation, NamesOfEveryScriptAndPathsPastMaxPathOpen)
{
    const auto shownText = [this] {
        SetFocus(GetDlgItem(Main(), CLSWndView::kControlId));
        Command(IDM_SELECTALL);
        Command(IDM_COPY);
        return ClipboardText(Main());
    };
    const std::vector<std::wstring> names = {L"café.txt", L"𠮷田.txt", L"简体中文.txt", L"한국어.txt", L"😀.txt"};
    for (const std::wstring& name : names) {
        m_folder.WriteWide(L"表ソ Zoë\\" + name, Utf8OfWide(name));
    }
    Navigate(m_japanese);
    HWND hWndList = m_app->GetFileList().GetListWindow();
    ASSERT_EQ(ListView_GetItemCount(hWndList), 6) << "the fixture's file and the five";
    for (const std::wstring& name : names) {
        const LVFINDINFOW find{LVFI_STRING, name.c_str(), 0, {}, 0};
        const int i = static_cast<int>(SendMessageW(hWndList, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                                    reinterpret_cast<LPARAM>(&find)));
        ASSERT_GE(i, 0);
        ListView_SetItemState(hWndList, i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        EXPECT_EQ(StatusPart(4), "\t\t" + std::to_string(Utf8OfWide(name).size()) + "バイト");
        EXPECT_EQ(shownText(), name);
    }

    const std::wstring kanji(90, L'漢');
    std::wstring deep;
    for (const wchar_t* separator : {L"", L"\\", L"\\"}) {
        m_folder.MakeFolderWide(deep += separator + kanji);
    }
    const std::wstring file = m_folder.WriteWide(deep + L"\\café.txt", "deep");
    ModalDriver answers({});
    m_app->ApplyCommandLine((L"\"" + file + L"\"").c_str());
    RunLoop();
    EXPECT_EQ(PathBox(), file);
    EXPECT_EQ(file.rfind(TreePath() + L"\\", 0), 0u) << "the tree shows a folder on the way";
    EXPECT_EQ(shownText(), L"deep");
    EXPECT_EQ(answers.m_messages, std::vector<std::string>{});
}

// F5 in the preview reads the shown file again; the status bar's size and
// the list's row follow; a deleted shown file says so once the watcher sees it.
TEST_F(Navigation, TheShownFileIsReadAgainWithItsSizeAndItsGoingIsShown)
{
    Navigate(m_file);
    SetFocus(GetDlgItem(Main(), CLSWndView::kControlId));
    char text[64] = "";
    char size[64] = "";
    HWND list = m_app->GetFileList().GetListWindow();
    ListView_GetItemText(list, 0, 1, size, sizeof(size));  // the row learns the size it had
    m_folder.WriteWide(L"表ソ Zoë\\café表.txt", std::string(1234, 'a'));
    Command(IDM_REFRESH);  // F5, read back before the list's watcher can see the change
    ListView_GetItemText(list, 0, 1, size, sizeof(size));
    EXPECT_STREQ(size, StrFormatByteSize64A(1234, text, sizeof(text)));
    EXPECT_EQ(StatusPart(4), "\t\t1,234バイト");
    ASSERT_TRUE(DeleteFileW(m_file.c_str()));
    EXPECT_TRUE(PumpUntil([&] { return !m_app->GetView().GetOpenFailure().empty(); }));
}

// The system asks before it ejects the volume of the shown folder and file,
// naming the handle Glim holds on it: every watch and the file there close,
// so both open exclusively, and the pane says why the file went.
TEST_F(Navigation, AVolumeAboutToBeEjectedIsLetGo)
{
    Navigate(m_file);
    ASSERT_TRUE(m_app->GetView().Doc().IsOpen());
    DEV_BROADCAST_HANDLE notice{};
    notice.dbch_size = sizeof(notice);
    notice.dbch_devicetype = DBT_DEVTYP_HANDLE;
    notice.dbch_handle = m_app->GetVolumes().HandleOf(m_file);
    ASSERT_NE(notice.dbch_handle, nullptr);
    EXPECT_EQ(SendMessageA(Main(), WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE, reinterpret_cast<LPARAM>(&notice)), TRUE);
    for (const std::wstring& path : {m_japanese, m_file}) {
        const CLSHandle alone(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        EXPECT_TRUE(alone.Valid()) << GetLastError();
    }
    EXPECT_EQ(m_app->GetView().GetOpenFailure(), "ドライブが取り外されるため、ファイルを閉じました。");
    EXPECT_EQ(m_app->GetVolumes().HandleOf(m_file), nullptr);
}

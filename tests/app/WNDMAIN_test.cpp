// The main window hosting the content view: the path box opens a file into
// it, the Edit and View menu commands reach it with their checkmarks, and the
// caret it reports is remembered.
#include "app/WNDMAIN.h"

#include "resources/RESOURCE.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string WriteTempFile(const char* name, const std::string& bytes)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof(temp), temp);
    const std::string path = std::string(temp) + name;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return path;
}

std::wstring ClipboardText(HWND owner)
{
    std::wstring text;
    if (OpenClipboard(owner)) {
        HANDLE h = GetClipboardData(CF_UNICODETEXT);
        if (h != nullptr) {
            text = static_cast<const wchar_t*>(GlobalLock(h));
            GlobalUnlock(h);
        }
        CloseClipboard();
    }
    return text;
}

// One main window for the suite: its class registers once per process.
class MainWindow : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_app = new CLSWndMain;
        ASSERT_TRUE(s_app->Register(GetModuleHandleA(nullptr)));
        ASSERT_TRUE(s_app->Create(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
    }
    static void TearDownTestSuite()
    {
        DestroyWindow(s_app->GetMainWindow());
        delete s_app;
        s_app = nullptr;
    }

    HWND Main() const { return s_app->GetMainWindow(); }
    HWND ViewWindow() const { return GetDlgItem(Main(), CLSWndView::kControlId); }
    void Command(int id) const { SendMessageA(Main(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
    void OpenThroughPathBox(const std::string& path) const
    {
        SetDlgItemTextA(Main(), kIdPathEdit, path.c_str());
        Command(IDC_NAVIGATE);
    }
    bool Checked(int id) const
    {
        return (GetMenuState(GetMenu(Main()), static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    UINT StateAfterInitMenu(int id) const
    {
        SendMessageA(Main(), WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(Main())), 0);
        return GetMenuState(GetMenu(Main()), static_cast<UINT>(id), MF_BYCOMMAND);
    }

    static CLSWndMain* s_app;
};

CLSWndMain* MainWindow::s_app = nullptr;

}  // namespace

TEST_F(MainWindow, ViewFillsTheClientAreaBelowThePathBox)
{
    RECT client{};
    GetClientRect(Main(), &client);
    RECT edit{};
    GetWindowRect(GetDlgItem(Main(), kIdPathEdit), &edit);
    RECT view{};
    GetWindowRect(ViewWindow(), &view);
    MapWindowPoints(nullptr, Main(), reinterpret_cast<POINT*>(&edit), 2);
    MapWindowPoints(nullptr, Main(), reinterpret_cast<POINT*>(&view), 2);
    EXPECT_EQ(view.top, edit.bottom);
    EXPECT_EQ(view.left, 0);
    EXPECT_EQ(view.right, client.right);
    EXPECT_EQ(view.bottom, client.bottom);
}

TEST_F(MainWindow, PathBoxOpensTheFileAndEditCommandsFollowTheFocus)
{
    OpenThroughPathBox(WriteTempFile("glim_main_open.txt", "first\r\nsecond line"));
    EXPECT_EQ(s_app->GetView().GetDisplayMode(), DocumentKind::Text);

    // Select all in the path box selects its text, not the view's.
    SetFocus(GetDlgItem(Main(), kIdPathEdit));
    Command(IDM_SELECTALL);
    EXPECT_FALSE(s_app->GetView().HasSelection());
    EXPECT_EQ(StateAfterInitMenu(IDM_COPY) & MF_GRAYED, 0u);  // the path box has a selection

    SetFocus(ViewWindow());
    EXPECT_NE(StateAfterInitMenu(IDM_COPY) & MF_GRAYED, 0u);  // nothing selected in the view
    EXPECT_EQ(StateAfterInitMenu(IDM_SELECTALL) & MF_GRAYED, 0u);
    Command(IDM_SELECTALL);
    EXPECT_EQ(s_app->GetCaretLine(), 1);  // the view's report is remembered
    EXPECT_EQ(s_app->GetCaretColumn(), 11);
    EXPECT_EQ(StateAfterInitMenu(IDM_COPY) & MF_GRAYED, 0u);
    Command(IDM_COPY);
    EXPECT_EQ(ClipboardText(Main()), L"first\r\nsecond line");

    SetFocus(Main());  // neither the path box nor the view
    EXPECT_NE(StateAfterInitMenu(IDM_COPY) & MF_GRAYED, 0u);
    EXPECT_NE(StateAfterInitMenu(IDM_SELECTALL) & MF_GRAYED, 0u);
    EXPECT_NE(StateAfterInitMenu(IDM_REFRESH) & MF_GRAYED, 0u);
}

TEST_F(MainWindow, EncodingAndViewFormCommandsWithTheirRadioMarks)
{
    OpenThroughPathBox(WriteTempFile("glim_main_forms.txt", "text"));
    struct Step {
        int id;
        TextEncoding encoding;
    };
    const Step encodings[] = {
        {IDM_ENC_SJIS, TextEncoding::ShiftJis}, {IDM_ENC_UTF16BE, TextEncoding::Utf16Be},
        {IDM_ENC_UTF7, TextEncoding::Utf7},     {IDM_ENC_AUTO, TextEncoding::ShiftJis},  // detected again
    };
    for (const Step& s : encodings) {
        Command(s.id);
        EXPECT_EQ(s_app->GetView().GetEffectiveEncoding(), s.encoding) << s.id;
        for (int id = IDM_ENC_AUTO; id <= IDM_ENC_UTF7; ++id) {
            EXPECT_EQ(Checked(id), id == s.id) << "after " << s.id << ", item " << id;
        }
    }

    const std::pair<int, DocumentKind> forms[] = {
        {IDM_VIEW_HEX, DocumentKind::Hex}, {IDM_VIEW_TEXT, DocumentKind::Text}, {IDM_VIEW_AUTO, DocumentKind::Text}};
    for (const auto& [chosen, kind] : forms) {
        Command(chosen);
        EXPECT_EQ(s_app->GetView().GetDisplayMode(), kind) << chosen;
        EXPECT_EQ(s_app->GetCaretLine(), 0);
        for (int id = IDM_VIEW_AUTO; id <= IDM_VIEW_HEX; ++id) {
            EXPECT_EQ(Checked(id), id == chosen) << "after " << chosen << ", item " << id;
        }
    }
}

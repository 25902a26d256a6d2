// The main window hosting the content view: the path box opens a file into
// it, the Edit and View menu commands reach it with their checkmarks, and the
// caret it reports is remembered.
#include "app/WNDMAIN.h"

#include "resources/RESOURCE.h"
#include "tests/common/TEMPDIR.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

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

class HostedView : public testing::Test {
protected:
    void SetUp() override
    {
        std::strcpy(m_savedSettingsPath, g_szSettingsPath);
        m_app = std::make_unique<CLSWndMain>();
        ASSERT_TRUE(m_app->Register(GetModuleHandleA(nullptr)));
        // The destructor writes the settings: never beside the test executable.
        std::strcpy(g_szSettingsPath, m_folder.PathOf("GLIM.INI").c_str());
        ASSERT_TRUE(m_app->Create(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
    }
    void TearDown() override
    {
        if (m_app->GetMainWindow() != nullptr && IsWindow(m_app->GetMainWindow())) {
            DestroyWindow(m_app->GetMainWindow());
        }
        m_app.reset();
        UnregisterClassA("GlimMainClass", GetModuleHandleA(nullptr));
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        std::strcpy(g_szSettingsPath, m_savedSettingsPath);
    }

    HWND Main() const { return m_app->GetMainWindow(); }
    HWND ViewWindow() const { return GetDlgItem(Main(), CLSWndView::kControlId); }
    void Command(int id) const { SendMessageA(Main(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
    void OpenThroughPathBox(const char* name, const std::string& bytes) const
    {
        const std::string path = m_folder.PathOf(name);
        WriteFileBytes(path, bytes);
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

    TempFolder m_folder;
    std::unique_ptr<CLSWndMain> m_app;
    char m_savedSettingsPath[MAX_PATH] = "";
};

}  // namespace

TEST_F(HostedView, ViewFillsTheClientAreaBelowThePathBox)
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

TEST_F(HostedView, PathBoxOpensTheFileAndEditCommandsFollowTheFocus)
{
    OpenThroughPathBox("open.txt", "first\r\nsecond line");
    EXPECT_EQ(m_app->GetView().GetDisplayMode(), DocumentKind::Text);

    // Select all in the path box selects its text, not the view's.
    SetFocus(GetDlgItem(Main(), kIdPathEdit));
    Command(IDM_SELECTALL);
    EXPECT_FALSE(m_app->GetView().HasSelection());
    EXPECT_EQ(StateAfterInitMenu(IDM_COPY) & MF_GRAYED, 0u);  // the path box has a selection

    SetFocus(ViewWindow());
    EXPECT_NE(StateAfterInitMenu(IDM_COPY) & MF_GRAYED, 0u);  // nothing selected in the view
    EXPECT_EQ(StateAfterInitMenu(IDM_SELECTALL) & MF_GRAYED, 0u);
    Command(IDM_SELECTALL);
    EXPECT_EQ(m_app->GetCaretLine(), 1);  // the view's report is remembered
    EXPECT_EQ(m_app->GetCaretColumn(), 11);
    EXPECT_EQ(StateAfterInitMenu(IDM_COPY) & MF_GRAYED, 0u);
    Command(IDM_COPY);
    EXPECT_EQ(ClipboardText(Main()), L"first\r\nsecond line");

    SetFocus(Main());  // neither the path box nor the view
    EXPECT_NE(StateAfterInitMenu(IDM_COPY) & MF_GRAYED, 0u);
    EXPECT_NE(StateAfterInitMenu(IDM_SELECTALL) & MF_GRAYED, 0u);
    EXPECT_NE(StateAfterInitMenu(IDM_REFRESH) & MF_GRAYED, 0u);
}

TEST_F(HostedView, EncodingAndViewFormCommandsWithTheirRadioMarks)
{
    OpenThroughPathBox("forms.txt", "text");
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
        EXPECT_EQ(m_app->GetView().GetEffectiveEncoding(), s.encoding) << s.id;
        for (int id = IDM_ENC_AUTO; id <= IDM_ENC_UTF7; ++id) {
            EXPECT_EQ(Checked(id), id == s.id) << "after " << s.id << ", item " << id;
        }
    }

    const std::pair<int, DocumentKind> forms[] = {
        {IDM_VIEW_HEX, DocumentKind::Hex}, {IDM_VIEW_TEXT, DocumentKind::Text}, {IDM_VIEW_AUTO, DocumentKind::Text}};
    for (const auto& [chosen, kind] : forms) {
        Command(chosen);
        EXPECT_EQ(m_app->GetView().GetDisplayMode(), kind) << chosen;
        EXPECT_EQ(m_app->GetCaretLine(), 0);
        for (int id = IDM_VIEW_AUTO; id <= IDM_VIEW_HEX; ++id) {
            EXPECT_EQ(Checked(id), id == chosen) << "after " << chosen << ", item " << id;
        }
    }
}

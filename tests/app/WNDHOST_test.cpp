// The main window hosting the content view: the path box opens a file into
// it, the Edit and View menu commands reach it with their checkmarks, the
// zoom commands reach the zoom of the mode shown, full-screen comes back to
// the layout below the path box, and the caret the view reports is remembered.
#include "MAINTEST.h"

#include "tests/view/MEDIAFILE.h"
#include "tests/view/VIEWTEST.h"

namespace {

class HostedView : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        Start();
    }
    // The program's own message loop until everything posted so far is done.
    void RunLoop() const
    {
        PostQuitMessage(0);
        m_app->Run();
    }
    // The view's window also while it is not the main window's child.
    HWND Pane() const { return m_app->GetView().GetHandle(); }
    // A window's rectangle in the main window's client coordinates.
    RECT InMain(HWND hWnd) const
    {
        RECT rc{};
        GetWindowRect(hWnd, &rc);
        MapWindowPoints(nullptr, Main(), reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    HWND ViewWindow() const { return GetDlgItem(Main(), CLSWndView::kControlId); }
    void Command(int id) const { SendMessageA(Main(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
    void OpenThroughPathBox(const char* name, const std::string& bytes) const
    {
        SetDlgItemTextA(Main(), kIdPathEdit, m_folder.Write(name, bytes).c_str());
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
};

}  // namespace

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

TEST_F(HostedView, ZoomCommandsGoToTheZoomOfTheModeShown)
{
    struct Step {
        const char* name;
        int command;
        int imageZoom;  // the settings afterwards
        int mediaZoom;
    };
    const std::string picture = MakeBitmap(60, 40, [](int, int) { return 0x336699u; });
    const std::string video = MakeAvi(64, 48, 2, 2);
    // Each step opens a file of its own: the media window holds its file open.
    const Step steps[] = {
        {"zoom1.bmp", IDM_ZOOM_400, 400, 100}, {"zoom2.bmp", IDM_ZOOM_FIT, 0, 100},
        {"zoom3.avi", IDM_ZOOM_200, 0, 200},   {"zoom4.avi", IDM_ZOOM_25, 0, 25},
        {"zoom5.txt", IDM_ZOOM_50, 0, 25},  // text has no zoom
        {"zoom6.bmp", IDM_ZOOM_100, 100, 25},
    };
    for (const Step& s : steps) {
        const std::string name = s.name;
        const bool isPicture = name.ends_with(".bmp");
        OpenThroughPathBox(s.name, isPicture ? picture : name.ends_with(".avi") ? video : std::string("text"));
        Command(s.command);
        EXPECT_EQ(m_app->GetSettings().GetImage().GetZoom(), s.imageZoom) << s.name << " " << s.command;
        EXPECT_EQ(m_app->GetSettings().GetMedia().GetZoom(), s.mediaZoom) << s.name << " " << s.command;
        EXPECT_EQ(static_cast<int>(m_app->GetView().GetImageZoom()), s.imageZoom) << s.name << " " << s.command;
        EXPECT_EQ(static_cast<int>(m_app->GetView().GetMediaZoom()), s.mediaZoom) << s.name << " " << s.command;
        for (int id = IDM_ZOOM_25; id <= IDM_ZOOM_FIT; ++id) {
            EXPECT_EQ(Checked(id), id == s.command) << "after " << s.command << ", item " << id;
        }
    }
    // The picture's scroll bars follow the command at once.
    OpenThroughPathBox("zoom7.bmp", picture);
    Command(IDM_ZOOM_400);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE;
    GetScrollInfo(ViewWindow(), SB_HORZ, &si);
    EXPECT_EQ(si.nMax, 240);
}

TEST_F(HostedView, ZoomItemsShowTheZoomOfTheModeWhenTheMenuOpens)
{
    Stop();
    Start("[Image]\r\nZoom=150\r\n[Media]\r\nZoom=0\r\n");
    struct Case {
        const char* name;
        std::string bytes;
        int checked;  // 0: all grayed
    };
    const Case cases[] = {
        {"menu.txt", "some text", 0},
        {"menu.bmp", MakeBitmap(10, 10, [](int, int) { return 0u; }), IDM_ZOOM_200},  // 150 shows as 200
        {"menu.avi", MakeAvi(32, 24, 2, 2), IDM_ZOOM_FIT},
        {"menu.bin", std::string("\0\1\2\3", 4), 0},
    };
    for (const Case& c : cases) {
        OpenThroughPathBox(c.name, c.bytes);
        for (int id = IDM_ZOOM_25; id <= IDM_ZOOM_FIT; ++id) {
            const UINT state = StateAfterInitMenu(id);
            if (c.checked == 0) {
                EXPECT_NE(state & MF_GRAYED, 0u) << c.name << ", item " << id;
                EXPECT_EQ(state & MF_CHECKED, 0u) << c.name << ", item " << id;
            } else {
                EXPECT_EQ(state & MF_GRAYED, 0u) << c.name << ", item " << id;
                EXPECT_EQ((state & MF_CHECKED) != 0, id == c.checked) << c.name << ", item " << id;
            }
        }
    }
    // The hex view form of a picture has no zoom either.
    OpenThroughPathBox("menu2.bmp", cases[1].bytes);
    Command(IDM_VIEW_HEX);
    EXPECT_NE(StateAfterInitMenu(IDM_ZOOM_200) & MF_GRAYED, 0u);
}

TEST_F(HostedView, FullScreenThroughTheMessageLoopAndBackToTheLayout)
{
    OpenThroughPathBox("full.bmp", MakeBitmap(60, 40, [](int x, int) { return x < 30 ? 0xFF0000u : 0xFFu; }));
    SetFocus(ViewWindow());
    RECT client{};
    GetClientRect(Main(), &client);
    const RECT laidOut{0, InMain(GetDlgItem(Main(), kIdPathEdit)).bottom, client.right, client.bottom};
    RECT now = InMain(Pane());
    EXPECT_TRUE(EqualRect(&now, &laidOut)) << "the view fills the client area below the path box";

    // Enter in the pane reaches it through the dialog-style loop.
    PostMessageA(ViewWindow(), WM_KEYDOWN, VK_RETURN, 1);
    RunLoop();
    ASSERT_TRUE(m_app->GetView().IsFullScreen());
    EXPECT_EQ(GetAncestor(Pane(), GA_PARENT), GetDesktopWindow());
    EXPECT_FALSE(IsWindowEnabled(Main()));

    PostMessageA(Pane(), WM_KEYDOWN, VK_ESCAPE, 1);
    RunLoop();
    EXPECT_FALSE(m_app->GetView().IsFullScreen());
    EXPECT_TRUE(IsWindowEnabled(Main()));
    ASSERT_EQ(GetParent(Pane()), Main());
    now = InMain(Pane());
    EXPECT_TRUE(EqualRect(&now, &laidOut)) << now.left << "," << now.top << " " << now.right << "," << now.bottom;

    // Closing the full-screen pane returns it too, and the program goes on.
    SendMessageA(ViewWindow(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
    ASSERT_TRUE(m_app->GetView().IsFullScreen());
    EXPECT_EQ(SendMessageA(Pane(), WM_CLOSE, 0, 0), 0);
    RunLoop();
    EXPECT_TRUE(IsWindow(Main()));
    now = InMain(Pane());
    EXPECT_TRUE(EqualRect(&now, &laidOut));
    EXPECT_EQ(m_app->GetView().GetDisplayMode(), DocumentKind::Image);
}

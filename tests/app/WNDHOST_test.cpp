// The main window hosting the content view: the path box opens a file into
// it, the Edit and View menu commands reach it with their checkmarks, the
// zoom commands reach the zoom of the mode shown, full-screen comes back to
// the layout below the path box (how the pane itself goes full-screen and back
// is the view's test), and the caret the view reports is remembered.
#include "MAINTEST.h"

#include "tests/common/MEDIAFILE.h"
#include "tests/view/VIEWTEST.h"

namespace {

class HostedView : public StartedMainWindow {
protected:
    // The view's window also while it is not the main window's child.
    HWND Pane() const { return m_app->GetView().GetHandle(); }
    HWND ViewWindow() const { return GetDlgItem(Main(), CLSWndView::kControlId); }
    void OpenThroughPathBox(const char* name, const std::string& bytes) const
    {
        Navigate(m_folder.Write(name, bytes));
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
    RunLoop();  // the message loop sets the Copy button as the item
    EXPECT_TRUE(SendDlgItemMessageA(Main(), kIdToolBar, TB_ISBUTTONENABLED, IDM_COPY, 0));

    SetFocus(ViewWindow());
    EXPECT_NE(StateAfterInitMenu(IDM_COPY) & MF_GRAYED, 0u);  // nothing selected in the view
    RunLoop();
    EXPECT_FALSE(SendDlgItemMessageA(Main(), kIdToolBar, TB_ISBUTTONENABLED, IDM_COPY, 0));
    EXPECT_EQ(StateAfterInitMenu(IDM_SELECTALL) & MF_GRAYED, 0u);
    EXPECT_EQ(StateAfterInitMenu(IDM_REFRESH) & MF_GRAYED, 0u);  // F5 reads the shown file again
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

TEST_F(HostedView, ZoomItemsShowAndCommandsSetTheZoomOfTheModeShown)
{
    Stop();
    Start("[Image]\r\nZoom=150\r\n[Media]\r\nZoom=0\r\n");
    struct Step {
        const char* name;
        const std::string& bytes;
        int shown;  // the item checked when the menu opens; 0: all grayed
        int command;
        int imageZoom, mediaZoom;  // the settings afterwards
        const char* status;        // the status bar's caret part afterwards, if checked
    };
    const std::string picture = MakeBitmap(60, 40, [](int, int) { return 0x336699u; });
    const std::string video = MakeAvi(64, 48, 2, 2);
    const std::string text = "text";
    // Each step opens a file of its own: the media window holds its file open.
    // Which item a zoom checks is the zoom table's rule; here, that each
    // mode shows and keeps its own zoom, the other's being different, and
    // text has none.
    const Step steps[] = {
        {"zoom1.bmp", picture, IDM_ZOOM_200, IDM_ZOOM_400, 400, 0, "\t60 × 40  400%"},  // 150 shows as 200
        {"zoom2.avi", video, IDM_ZOOM_FIT, IDM_ZOOM_25, 400, 25, nullptr},
        {"zoom3.txt", text, 0, IDM_ZOOM_50, 400, 25, "\t    1:1    "},  // a caret, no picture
        {"zoom4.bmp", picture, IDM_ZOOM_400, IDM_ZOOM_FIT, 0, 25, nullptr},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        OpenThroughPathBox(s.name, s.bytes);
        for (int id = IDM_ZOOM_25; id <= IDM_ZOOM_FIT; ++id) {
            const UINT state = StateAfterInitMenu(id);
            EXPECT_EQ((state & MF_GRAYED) != 0, s.shown == 0) << "item " << id;
            EXPECT_EQ((state & MF_CHECKED) != 0, id == s.shown) << "item " << id;
        }
        Command(s.command);
        EXPECT_EQ(m_app->GetSettings().GetImage().GetZoom(), s.imageZoom);
        EXPECT_EQ(m_app->GetSettings().GetMedia().GetZoom(), s.mediaZoom);
        EXPECT_EQ(static_cast<int>(m_app->GetView().GetImageZoom()), s.imageZoom);
        EXPECT_EQ(static_cast<int>(m_app->GetView().GetMediaZoom()), s.mediaZoom);
        for (int id = IDM_ZOOM_25; id <= IDM_ZOOM_FIT; ++id) {
            EXPECT_EQ(Checked(id), id == s.command) << "after the command, item " << id;
        }
        if (s.status != nullptr) {
            EXPECT_EQ(StatusPart(2), s.status);
        }
    }
    // The hex view form of a picture has no zoom either.
    Command(IDM_VIEW_HEX);
    EXPECT_NE(StateAfterInitMenu(IDM_ZOOM_200) & MF_GRAYED, 0u);
}

TEST_F(HostedView, CtrlWheelStepsThePictureZoomAndTheFontOfTextUntilCtrl0)
{
    const auto wheel = [this](int delta) {
        SendMessageA(ViewWindow(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, delta), 0);
    };
    OpenThroughPathBox("step.bmp", MakeBitmap(60, 40, [](int, int) { return 0x336699u; }));
    Command(IDM_ZOOM_100);
    wheel(120);
    EXPECT_EQ(m_app->GetSettings().GetImage().GetZoom(), 200);
    EXPECT_TRUE(Checked(IDM_ZOOM_200));
    wheel(-60);  // half a notch is no step yet
    wheel(-60 - 120);
    EXPECT_EQ(m_app->GetSettings().GetImage().GetZoom(), 50);
    Command(IDM_ZOOM_RESET);
    EXPECT_EQ(m_app->GetSettings().GetImage().GetZoom(), 100);

    // A larger font shows fewer rows a page; Ctrl+0 goes back to the stored size.
    std::string lines;
    for (int i = 0; i < 300; ++i) {
        lines += "line\r\n";
    }
    OpenThroughPathBox("step.txt", lines);
    const auto page = [this] {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_PAGE;
        GetScrollInfo(ViewWindow(), SB_VERT, &si);
        return si.nPage;
    };
    const UINT stored = page();
    wheel(120);
    EXPECT_LT(page(), stored);
    Command(IDM_ZOOM_RESET);
    EXPECT_EQ(page(), stored);
    Command(IDM_ZOOM_OUT);
    EXPECT_GT(page(), stored);
}

TEST_F(HostedView, FullScreenThroughTheMessageLoopAndBackToTheLayout)
{
    OpenThroughPathBox("full.bmp", MakeBitmap(60, 40, [](int x, int) { return x < 30 ? 0xFF0000u : 0xFFu; }));
    SetFocus(ViewWindow());
    RECT client{};
    GetClientRect(Main(), &client);
    const RECT edit = InMain(GetDlgItem(Main(), kIdPathEdit));
    const RECT laidOut{edit.left, edit.bottom, client.right, InMain(GetDlgItem(Main(), CLSStatusBar::kControlId)).top};
    RECT now = InMain(Pane());
    EXPECT_TRUE(EqualRect(&now, &laidOut)) << "the view fills the right-hand column from the path box to the status bar";

    // Enter in the pane reaches it through the dialog-style loop.
    PostMessageA(ViewWindow(), WM_KEYDOWN, VK_RETURN, 1);
    RunLoop();
    ASSERT_TRUE(m_app->GetView().IsFullScreen());

    PostMessageA(Pane(), WM_KEYDOWN, VK_ESCAPE, 1);
    RunLoop();
    EXPECT_FALSE(m_app->GetView().IsFullScreen());
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

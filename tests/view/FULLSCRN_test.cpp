// Full-screen display of pictures and media: Enter, Esc, a double click, two
// real clicks on the media window, and a pane that goes while full-screen.
#include "MEDIAFILE.h"
#include "VIEWTEST.h"

#include <gtest/gtest.h>

namespace {

std::string PicturePath()
{
    static const std::string path =
        WriteTestFile("full.bmp", MakeBitmap(40, 30, [](int x, int) { return x < 20 ? 0xFF0000u : 0x0000FFu; }));
    return path;
}

// Everything a user can tell about where the pane is.
void ExpectFullScreen(CLSViewHarness& h)
{
    EXPECT_TRUE(h.view.IsFullScreen());
    EXPECT_EQ(GetAncestor(h.View(), GA_PARENT), GetDesktopWindow());
    const LONG_PTR style = GetWindowLongPtrA(h.View(), GWL_STYLE);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_EQ(style & WS_CHILD, 0);
    EXPECT_NE(GetWindowLongPtrA(h.View(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    RECT rc{};
    GetWindowRect(h.View(), &rc);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rc.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_FALSE(IsWindowEnabled(h.Parent())) << "the parent waits while the pane is full-screen";
    EXPECT_EQ(GetFocus(), h.View()) << "Esc must reach the pane";
}

void ExpectInThePane(CLSViewHarness& h)
{
    EXPECT_FALSE(h.view.IsFullScreen());
    EXPECT_EQ(GetParent(h.View()), h.Parent());
    const LONG_PTR style = GetWindowLongPtrA(h.View(), GWL_STYLE);
    EXPECT_NE(style & WS_CHILD, 0);
    EXPECT_EQ(style & WS_POPUP, 0);
    EXPECT_EQ(GetWindowLongPtrA(h.View(), GWL_EXSTYLE), WS_EX_CLIENTEDGE);
    EXPECT_TRUE(IsWindowEnabled(h.Parent()));
}

// The system's double-click time for a test, the user's own put back after.
class CLSDoubleClickTime {
public:
    explicit CLSDoubleClickTime(UINT ms) : m_uSaved(GetDoubleClickTime()) { SetDoubleClickTime(ms); }
    ~CLSDoubleClickTime() { SetDoubleClickTime(m_uSaved); }
    CLSDoubleClickTime(const CLSDoubleClickTime&) = delete;
    CLSDoubleClickTime& operator=(const CLSDoubleClickTime&) = delete;

private:
    UINT m_uSaved;
};

// A real left click through the system's input at a client point of the
// pane where the media window is: the pane itself only hears of it.
void ClickOnMedia(CLSViewHarness& h, POINT client)
{
    POINT screen = client;
    ClientToScreen(h.View(), &screen);
    HWND hWndMedia = h.view.GetMediaWindow();
    const HWND hit = WindowFromPoint(screen);
    ASSERT_TRUE(hit == hWndMedia || IsChild(hWndMedia, hit)) << "the click would miss the media window";
    for (DWORD flags : {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
        h.Mouse(flags, screen.x, screen.y);
    }
    h.Pump();
}

}  // namespace

TEST(FullScreen, EnterEntersAndEscLeavesInPictureModeOnly)
{
    CLSViewHarness h;
    h.Open(WriteTestFile("enter.txt", "text"));
    h.Key(VK_RETURN);
    EXPECT_FALSE(h.view.IsFullScreen()) << "Enter in text mode does nothing";

    h.Open(PicturePath());
    RECT inPane{};
    GetWindowRect(h.View(), &inPane);
    h.Key(VK_ESCAPE);
    EXPECT_FALSE(h.view.IsFullScreen()) << "Esc never enters";
    h.Key(VK_RETURN);
    ExpectFullScreen(h);
    h.Key(VK_ESCAPE);
    ExpectInThePane(h);
    RECT back{};
    GetWindowRect(h.View(), &back);
    EXPECT_TRUE(EqualRect(&back, &inPane)) << "the parent laid the pane out again";

    h.Key(VK_RETURN);  // and Enter toggles back as well
    ExpectFullScreen(h);
    h.Key(VK_RETURN);
    ExpectInThePane(h);
}

TEST(FullScreen, DoubleClickTogglesPicturesAndMediaOnly)
{
    const std::pair<std::string, bool> files[] = {{WriteTestFile("dbl.txt", "text"), false},
                                                  {PicturePath(), true},
                                                  {WriteTestFile("dbl.avi", MakeAvi(32, 24, 2, 2)), true}};
    CLSViewHarness h;
    for (const auto& [path, toggles] : files) {
        h.Open(path);
        SendMessageA(h.View(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_EQ(h.view.IsFullScreen(), toggles) << path;
        if (toggles) {
            ExpectFullScreen(h);
            SendMessageA(h.View(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
            ExpectInThePane(h);
        }
    }
}

// The pane hears of clicks on the media window only from its parent
// notifications; how clicks pair up is the media layout's rule.
TEST(FullScreen, TwoClicksOnTheMediaWindowToggle)
{
    CLSDoubleClickTime generous(5000);  // a busy machine still clicks twice in time
    CLSViewHarness h;
    h.Open(WriteTestFile("clicks.avi", MakeAvi(64, 48, 2, 2)));
    ASSERT_NE(h.view.GetMediaWindow(), nullptr);
    const POINT onVideo{20, 20};  // inside the media window, above its play bar
    ClickOnMedia(h, onVideo);
    EXPECT_FALSE(h.view.IsFullScreen()) << "one click is no double click";
    ClickOnMedia(h, onVideo);
    ExpectFullScreen(h);
}

TEST(FullScreen, PaneDestroyedWhileFullScreenLeavesItsParentEnabled)
{
    CLSViewHarness h;
    h.Open(PicturePath());
    h.view.ToggleFullScreen();
    ASSERT_FALSE(IsWindowEnabled(h.Parent()));
    h.view.Destroy();
    EXPECT_TRUE(IsWindowEnabled(h.Parent()));
}

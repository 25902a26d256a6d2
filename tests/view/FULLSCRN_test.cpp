// Full-screen display of pictures and media: Enter, Esc, a double click, two
// real clicks on the media window, and a pane that goes while full-screen.
#include "VIEWTEST.h"
#include "tests/common/MEDIAFILE.h"

#include <gtest/gtest.h>

namespace {

std::string PicturePath()
{
    static const std::string path =
        TestFolder().Write("full.bmp", MakeBitmap(40, 30, [](int x, int) { return x < 20 ? 0xFF0000u : 0x0000FFu; }));
    return path;
}

// Everything a user can tell about where the pane is.
void ExpectFullScreen(CLSViewHarness& h)
{
    EXPECT_TRUE(h.view.IsFullScreen());
    EXPECT_EQ(GetWindowLongPtrA(h.View(), GWL_STYLE) & (WS_POPUP | WS_CHILD), WS_POPUP);
    EXPECT_NE(GetWindowLongPtrA(h.View(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    RECT rc{};
    GetWindowRect(h.View(), &rc);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_TRUE(EqualRect(&rc, &screen));
    EXPECT_FALSE(IsWindowEnabled(h.Parent())) << "the parent waits while the pane is full-screen";
    EXPECT_EQ(GetFocus(), h.View()) << "Esc must reach the pane";
}

void ExpectInThePane(CLSViewHarness& h, const RECT& inPane)
{
    EXPECT_FALSE(h.view.IsFullScreen());
    EXPECT_EQ(GetAncestor(h.View(), GA_PARENT), h.Parent()) << "a child again";
    EXPECT_EQ(GetWindowLongPtrA(h.View(), GWL_EXSTYLE), WS_EX_CLIENTEDGE) << "no longer topmost";
    EXPECT_TRUE(IsWindowEnabled(h.Parent()));
    RECT back{};
    GetWindowRect(h.View(), &back);
    EXPECT_TRUE(EqualRect(&back, &inPane)) << "the parent laid the pane out again";
}

// A real left click through the system's input at a client point of the
// pane where the media window is: the pane itself only hears of it.
void ClickOnMedia(CLSViewHarness& h, POINT client)
{
    POINT screen = client;
    ClientToScreen(h.View(), &screen);
    HWND hWndMedia = h.view.Shown().MediaWindow();
    const HWND hit = WindowFromPoint(screen);
    ASSERT_TRUE(hit == hWndMedia || IsChild(hWndMedia, hit)) << "the click would miss the media window";
    for (DWORD flags : {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
        SendInput(1, &input, sizeof(input));
    }
    h.Pump();
}

}  // namespace

// Which keys toggle is the key plan's rule; here, that text mode ignores them,
// that both ways in and out really move the pane, and that a pane destroyed
// while full-screen leaves its parent enabled.
TEST(FullScreen, EnterAndDoubleClickTogglePicturesAndMediaOnly)
{
    const std::pair<std::string, bool> files[] = {{TestFolder().Write("dbl.txt", "text"), false},
                                                  {PicturePath(), true},
                                                  {TestFolder().Write("dbl.avi", MakeAvi(32, 24, 2, 2)), true}};
    CLSViewHarness h;
    RECT inPane{};
    GetWindowRect(h.View(), &inPane);
    for (const auto& [path, toggles] : files) {
        SCOPED_TRACE(path);
        h.Open(path);
        h.Key(VK_RETURN);
        EXPECT_EQ(h.view.IsFullScreen(), toggles);
        if (!toggles) {
            SendMessageA(h.View(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
            EXPECT_FALSE(h.view.IsFullScreen());
            continue;
        }
        ExpectFullScreen(h);
        h.Key(VK_ESCAPE);
        ExpectInThePane(h, inPane);
        SendMessageA(h.View(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        ExpectFullScreen(h);
        SendMessageA(h.View(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        ExpectInThePane(h, inPane);
    }
    h.Key(VK_RETURN);
    ASSERT_FALSE(IsWindowEnabled(h.Parent()));
    h.view.Destroy();
    EXPECT_TRUE(IsWindowEnabled(h.Parent()));
}

// The pane hears of clicks on the media window only from its parent
// notifications; how clicks pair up is the media layout's rule.
TEST(FullScreen, TwoClicksOnTheMediaWindowToggle)
{
    const CLSSystemSetting generous([] { return GetDoubleClickTime(); }, [](UINT ms) { SetDoubleClickTime(ms); },
                                    5000);  // a busy machine still clicks twice in time
    CLSViewHarness h;
    h.Open(TestFolder().Write("clicks.avi", MakeAvi(64, 48, 2, 2)));
    ASSERT_NE(h.view.Shown().MediaWindow(), nullptr);
    const POINT onVideo{20, 20};  // inside the media window, above its play bar
    ClickOnMedia(h, onVideo);
    EXPECT_FALSE(h.view.IsFullScreen()) << "one click is no double click";
    ClickOnMedia(h, onVideo);
    ExpectFullScreen(h);
}

// Picture mode read back from the screen: the picture painted from the
// top-left corner at the size the zoom arithmetic gives, the background around
// it, the scroll bars over it and the keys and wheel that move its pixels.
#include "VIEWTEST.h"
#include "tests/common/MEDIAFILE.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kPictureBack = RGB(0, 128, 128);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

void ApplyPictureSettings(CLSViewHarness& h, int zoom, COLORREF back = kPictureBack)
{
    CLSGlimImageSettings image;
    image.SetBackColor(back);
    image.SetZoom(zoom);
    h.Apply(image);
}

// Left half red, right half blue: a crop or a mirror shows at once.
std::string HalvesPicture(const char* name, int width, int height)
{
    return TestFolder().Write(name, MakeBitmap(width, height, [width](int x, int) { return x < width / 2 ? 0xFF0000u : 0xFFu; }));
}

}  // namespace

TEST(PictureView, PaintsTheZoomedOrFittedPictureAtTheTopLeftOnItsBackground)
{
    const std::string path = HalvesPicture("halves.bmp", 100, 50);
    // Fitted, shrunk and enlarged, each inside the 300 x 300 pane.
    const std::pair<int, int> zooms[] = {{0, 300}, {25, 25}, {150, 150}};
    CLSViewHarness h(304, 304);  // the client edge takes 2 pixels on each side
    for (const auto& [zoom, w] : zooms) {
        SCOPED_TRACE(zoom);
        ApplyPictureSettings(h, zoom);
        h.Open(path);
        ASSERT_EQ(h.view.GetDisplayMode(), DocumentKind::Image);
        const int hh = w / 2;
        const Shot s = h.Capture();
        if (zoom == 0) {
            ASSERT_EQ(s.cx, 300) << "fitting leaves no scroll bar";
        }
        EXPECT_EQ(s.At(0, 0), kRed);
        EXPECT_EQ(s.At(w / 4, hh / 2), kRed);
        EXPECT_EQ(s.At(3 * w / 4, hh / 2), kBlue);
        EXPECT_EQ(s.At(w - 1, hh - 1), kBlue);
        EXPECT_EQ(s.At(w < s.cx ? w : 0, w < s.cx ? 0 : hh), kPictureBack) << "right of or below the picture";
        EXPECT_EQ(s.At(s.cx - 1, s.cy - 1), kPictureBack);
    }
    // A new background surrounds the picture shown without opening it again.
    ApplyPictureSettings(h, 150, RGB(200, 10, 10));
    const Shot s = h.Capture();
    EXPECT_EQ(s.At(200, 200), RGB(200, 10, 10));
    EXPECT_EQ(s.At(5, 5), kRed);
}

// How far each key goes is the key plan's rule; the pane moves its bar and
// its pixels by that much, and a wheel line as far as an arrow key. A new zoom
// starts again at the top-left corner; fitting has no bars and nothing scrolls.
TEST(PictureView, ScrollBarsKeysAndTheWheelFollowTheZoom)
{
    // 120 x 80 at 400 %: red up to x = 240, then blue.
    CLSViewHarness h(300, 200);
    ApplyPictureSettings(h, 400);
    h.Open(HalvesPicture("keys.bmp", 120, 80));
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nMax, 480);
    // The pixels moved with the bar: red ends at 240 - 24 after two steps right.
    h.Key(VK_RIGHT);
    h.Key(VK_RIGHT);
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nPos, 24);
    const Shot s = h.Capture();
    EXPECT_EQ(s.At(210, 50), kRed);
    EXPECT_EQ(s.At(222, 50), kBlue);
    EXPECT_EQ(s.At(234, 50), kBlue);  // red before the scroll
    const CLSSystemSetting lines(
        [] {
            UINT n = 3;
            SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &n, 0);
            return n;
        },
        [](UINT n) { SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, n, nullptr, 0); }, 2);
    SendMessageA(h.View(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(h.ScrollBar(SB_VERT).nPos, 24);

    h.Key(VK_END, false, true);
    EXPECT_GT(h.ScrollBar(SB_HORZ).nPos, 24);
    h.view.SetImageZoom(200);
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nPos, 0);
    EXPECT_EQ(h.ScrollBar(SB_VERT).nPos, 0);

    h.view.SetImageZoom(0);
    EXPECT_EQ(GetWindowLongPtrA(h.View(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0) << "no bar while fitting";
    for (UINT vk : {VK_END, VK_NEXT, VK_RIGHT, VK_DOWN}) {
        h.Key(vk, false, true);
    }
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nPos, 0);
    EXPECT_EQ(h.ScrollBar(SB_VERT).nPos, 0);
    EXPECT_EQ(h.Capture().At(0, 0), kRed);

    // A hand-edited settings file can hold any zoom: the corner still paints.
    h.view.SetImageZoom(0xFFFFFFFFu);
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nMax, INT_MAX);
    EXPECT_EQ(h.Capture().At(10, 10), kRed);
}

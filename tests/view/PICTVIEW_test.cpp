// Picture mode read back from the screen: fitted and zoomed sizes at the
// top-left corner, the background around them and a new one, scroll ranges
// over the zoomed picture and the keys that scroll it.
#include "MEDIAFILE.h"
#include "VIEWTEST.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kPictureBack = RGB(0, 128, 128);
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kGreen = 0x00FF00;

COLORREF Screen(std::uint32_t rgb)
{
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

void ApplyPictureSettings(CLSViewHarness& h, int zoom, COLORREF back = kPictureBack)
{
    CLSGlimImageSettings image;
    image.SetBackColor(back);
    image.SetZoom(zoom);
    h.Apply(image);
}

// Left half red, right half blue: a crop or a mirror shows at once.
std::string HalvesPicture(int width, int height)
{
    return MakeBitmap(width, height, [width](int x, int) { return x < width / 2 ? kRed : kBlue; });
}

}  // namespace

TEST(PictureView, FitDrawsTheWholePictureAtTheTopLeftKeepingItsAspect)
{
    struct Case {
        int paneW, paneH, w, h;
    };
    const std::string path = WriteTestFile("halves.bmp", HalvesPicture(100, 50));
    for (const auto& [paneW, paneH, w, hh] : {Case{300, 300, 300, 150}, Case{300, 100, 200, 100}}) {
        SCOPED_TRACE(std::to_string(paneW) + "x" + std::to_string(paneH));
        CLSViewHarness h(paneW + 4, paneH + 4);  // the client edge takes 2 pixels on each side
        ApplyPictureSettings(h, 0);
        h.Open(path);
        ASSERT_EQ(h.view.GetDisplayMode(), DocumentKind::Image);
        ASSERT_EQ(h.view.GetBitmapWidth(), 100);
        const Shot s = h.Capture();
        ASSERT_EQ(s.cx, paneW) << "fitting leaves no scroll bar";
        ASSERT_EQ(s.cy, paneH);
        EXPECT_EQ(s.At(0, 0), Screen(kRed));
        EXPECT_EQ(s.At(w / 4, hh / 2), Screen(kRed));
        EXPECT_EQ(s.At(3 * w / 4, hh / 2), Screen(kBlue));
        EXPECT_EQ(s.At(w - 1, hh - 1), Screen(kBlue));
        // The background below or right of the picture, whichever is left.
        EXPECT_EQ(s.At(hh < paneH ? 0 : w, hh < paneH ? hh : 0), kPictureBack);
        EXPECT_EQ(s.At(paneW - 1, paneH - 1), kPictureBack);
    }
}

TEST(PictureView, ZoomDrawsThatShareOfThePictureAndANewBackgroundShowsAtOnce)
{
    const std::string path = WriteTestFile("green10.bmp", MakeBitmap(10, 10, [](int, int) { return kGreen; }));
    const std::pair<int, int> zooms[] = {{25, 2}, {100, 10}, {150, 15}, {400, 40}};
    CLSViewHarness h(200, 200);
    for (const auto& [zoom, side] : zooms) {
        ApplyPictureSettings(h, zoom);
        h.Open(path);
        const Shot s = h.Capture();
        EXPECT_EQ(s.At(0, 0), Screen(kGreen)) << zoom;
        EXPECT_EQ(s.At(side - 1, side - 1), Screen(kGreen)) << zoom;
        EXPECT_EQ(s.At(side, 0), kPictureBack) << zoom;
        EXPECT_EQ(s.At(0, side), kPictureBack) << zoom;
        EXPECT_EQ(s.At(side, side), kPictureBack) << zoom;
    }
    // A new background surrounds the picture shown without opening it again.
    ApplyPictureSettings(h, 100, RGB(200, 10, 10));
    const Shot s = h.Capture();
    EXPECT_EQ(s.At(50, 50), RGB(200, 10, 10));
    EXPECT_EQ(s.At(5, 5), Screen(kGreen));
}

TEST(PictureView, ScrollRangesCoverTheZoomedPictureAndNothingWhenFitting)
{
    const std::string path = WriteTestFile("halves120.bmp", HalvesPicture(120, 80));
    CLSViewHarness h(200, 150);
    ApplyPictureSettings(h, 100);
    h.Open(path);

    h.view.SetImageZoom(400);
    RECT client{};
    GetClientRect(h.View(), &client);
    SCROLLINFO hs = h.ScrollBar(SB_HORZ);
    SCROLLINFO vs = h.ScrollBar(SB_VERT);
    EXPECT_EQ(hs.nMin, 0);
    EXPECT_EQ(hs.nMax, 480);
    EXPECT_EQ(vs.nMax, 320);
    EXPECT_EQ(hs.nPage, static_cast<UINT>(client.right));  // a page is what the pane shows
    EXPECT_EQ(vs.nPage, static_cast<UINT>(client.bottom));

    // A new zoom starts again at the top-left corner.
    h.Key(VK_END, false, true);
    EXPECT_GT(h.ScrollBar(SB_HORZ).nPos, 0);
    h.view.SetImageZoom(200);
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nMax, 240);
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nPos, 0);
    EXPECT_EQ(h.ScrollBar(SB_VERT).nPos, 0);

    h.view.SetImageZoom(0);
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nMax, 1);
    EXPECT_EQ(h.ScrollBar(SB_VERT).nMax, 1);
    const LONG_PTR style = GetWindowLongPtrA(h.View(), GWL_STYLE);
    EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), 0) << "no bar while fitting";
    for (UINT vk : {VK_END, VK_NEXT, VK_RIGHT, VK_DOWN}) {
        h.Key(vk, false, true);
    }
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nPos, 0);
    EXPECT_EQ(h.ScrollBar(SB_VERT).nPos, 0);
    EXPECT_EQ(h.Capture().At(0, 0), Screen(kRed));
}

// How far each key goes is the key plan's rule; the pane moves its bar and
// its pixels by that much, and a wheel line as far as an arrow key.
TEST(PictureView, KeysScrollByPixels)
{
    // 120 x 80 at 400 %: red up to x = 240, then blue.
    const std::string path = WriteTestFile("keys.bmp", HalvesPicture(120, 80));
    CLSViewHarness h(300, 200);
    ApplyPictureSettings(h, 400);
    h.Open(path);
    // The pixels moved with the bar: red ends at 240 - 24 after two steps right.
    h.Key(VK_RIGHT);
    h.Key(VK_RIGHT);
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nPos, 24);
    const Shot s = h.Capture();
    EXPECT_EQ(s.At(210, 50), Screen(kRed));
    EXPECT_EQ(s.At(222, 50), Screen(kBlue));
    EXPECT_EQ(s.At(234, 50), Screen(kBlue));  // red before the scroll

    // Each wheel line goes as far as an arrow key.
    CLSWheelLines lines(2);
    SendMessageA(h.View(), WM_MOUSEWHEEL, WheelNotch(-WHEEL_DELTA), 0);
    EXPECT_EQ(h.ScrollBar(SB_VERT).nPos, 24);
}

TEST(PictureView, ZoomBeyondEveryScreenStillPaintsItsCorner)
{
    // A hand-edited settings file can hold any number; -1 is read as the
    // largest zoom there is.
    const std::string path = WriteTestFile("huge.bmp", HalvesPicture(64, 64));
    CLSViewHarness h(120, 120);
    ApplyPictureSettings(h, -1);
    h.Open(path);
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nMax, INT_MAX);
    EXPECT_EQ(h.Capture().At(10, 10), Screen(kRed));
}

// Media mode on real media windows: a sound's play bar, AutoPlay, the zoom and
// the fit to the pane, scrolling, and the other view forms.
#include "VIEWTEST.h"
#include "base/WIDEN.h"
#include "tests/common/MEDIAFILE.h"
#include "view/PANEOBJ.h"

#include <gtest/gtest.h>

#include <vfw.h>

namespace {

void ApplyMediaSettings(CLSViewHarness& h, int zoom, bool autoPlay)
{
    CLSGlimMediaSettings media;
    media.SetZoom(zoom);
    media.SetAutoPlay(autoPlay);
    h.Apply(CLSGlimImageSettings(), media);
}

// The media window's rectangle in the pane's client coordinates.
RECT MediaInPane(CLSViewHarness& h)
{
    RECT rc = h.view.GetMediaRect();
    MapWindowPoints(nullptr, h.View(), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

const std::string& AviPath()
{
    // 64 x 48, ten seconds: still playing whenever a test looks.
    static const std::string path = TestFolder().Write("clip.avi", MakeAvi(64, 48, 20, 2));
    return path;
}

}  // namespace

TEST(ShownObject, SoundBecomesAChildMediaWindowAndTextIsQuietlyRefused)
{
    const std::string wav = TestFolder().Write("tone.wav", MakeWave(200));
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, nullptr, nullptr,
                                  nullptr, nullptr);
    CLSFileStream doc;
    CLSShownObject shown;
    ASSERT_TRUE(doc.Open(WidenAnsi(wav)));
    shown.Recognise(doc, parent, RGB(255, 255, 255), nullptr);
    ASSERT_EQ(shown.Kind(), DocumentKind::Media);
    HWND media = shown.MediaWindow();
    ASSERT_NE(media, nullptr);
    EXPECT_EQ(GetParent(media), parent);
    EXPECT_NE(GetWindowLongPtrA(media, GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetWindowLongPtrA(media, GWL_STYLE) & WS_BORDER, 0);

    // The next file closes the media window; text is no media.
    ASSERT_TRUE(doc.Open(WidenAnsi(TestFolder().Write("note.txt", "just text\r\n"))));
    shown.Recognise(doc, parent, RGB(255, 255, 255), nullptr);
    EXPECT_FALSE(IsWindow(media));
    EXPECT_EQ(shown.Kind(), DocumentKind::None);
    EXPECT_EQ(doc.GetKind(), DocumentKind::Text);
    EXPECT_EQ(GetWindow(parent, GW_CHILD), nullptr) << "the refused media window is gone";

    // Without a window to play in, a sound file is no media.
    ASSERT_TRUE(doc.Open(WidenAnsi(wav)));
    shown.Recognise(doc, nullptr, RGB(255, 255, 255), nullptr);
    EXPECT_EQ(shown.Kind(), DocumentKind::None);
    EXPECT_EQ(doc.GetKind(), DocumentKind::Hex);
    DestroyWindow(parent);
}

// A sound has no video, only the play bar: it must still be wide enough to
// be played, across the pane when fitting.
TEST(MediaView, SoundGetsAPlayBarWideEnoughToUse)
{
    const std::string sound = TestFolder().Write("bar.wav", MakeWave(500));
    for (int zoom : {0, 100}) {
        CLSViewHarness h;
        ApplyMediaSettings(h, zoom, false);
        h.Open(sound);
        ASSERT_EQ(h.view.GetDisplayMode(), DocumentKind::Media);
        RECT pane{};
        GetClientRect(h.View(), &pane);
        const RECT media = MediaInPane(h);
        EXPECT_GT(media.bottom - media.top, 0) << zoom;
        EXPECT_EQ(media.right - media.left, zoom == 0 ? pane.right : 240) << zoom;
    }
}

// AutoPlay starts the video here, and not in the next test.
TEST(MediaView, FitFollowsEveryResizeKeepingTheVideoAspect)
{
    CLSViewHarness h(300, 300);
    ApplyMediaSettings(h, 0, true);
    h.Open(AviPath());
    EXPECT_EQ(SendMessageA(h.view.Shown().MediaWindow(), MCIWNDM_GETMODEA, 0, 0), MCI_MODE_PLAY) << "AutoPlay";
    const std::pair<int, int> sizes[] = {{300, 300}, {500, 200}, {200, 400}, {420, 315}};
    for (const auto& [cx, cy] : sizes) {
        h.Resize(cx, cy);
        RECT pane{};
        GetClientRect(h.View(), &pane);
        const RECT media = MediaInPane(h);
        EXPECT_EQ(media.left, 0);
        EXPECT_EQ(media.top, 0);
        EXPECT_TRUE((media.right == pane.right && media.bottom <= pane.bottom) ||
                    (media.bottom == pane.bottom && media.right <= pane.right));
        RECT video{};
        ASSERT_EQ(SendMessageA(h.view.Shown().MediaWindow(), MCIWNDM_GET_DEST, 0, reinterpret_cast<LPARAM>(&video)), 0);
        const int vw = video.right - video.left;
        const int vh = video.bottom - video.top;
        EXPECT_GT(vw, 64);
        EXPECT_LE(std::abs(vw * 48 - vh * 64), 64 + 48) << "video " << vw << "x" << vh << " is not 4:3";
        EXPECT_EQ(h.ScrollBar(SB_HORZ).nMax, 2);  // nothing to scroll
        EXPECT_EQ(h.ScrollBar(SB_VERT).nMax, 2);
    }
}

TEST(MediaView, FixedZoomKeepsItsSizeOnResizeAndScrollsTheWindow)
{
    CLSViewHarness h(120, 100);
    ApplyMediaSettings(h, 200, false);
    h.Open(AviPath());
    EXPECT_EQ(SendMessageA(h.view.Shown().MediaWindow(), MCIWNDM_GETMODEA, 0, 0), MCI_MODE_STOP) << "no AutoPlay";
    const RECT before = h.view.GetMediaRect();
    const int w = before.right - before.left;
    const int hh = before.bottom - before.top;
    EXPECT_GE(w, 128);  // twice the video, and the play bar
    EXPECT_GE(hh, 96);
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nMax, w - 1);
    EXPECT_EQ(h.ScrollBar(SB_VERT).nMax, hh - 1);

    h.Resize(90, 80);
    const RECT after = h.view.GetMediaRect();
    EXPECT_EQ(after.right - after.left, w);
    EXPECT_EQ(after.bottom - after.top, hh);

    // Scrolling moves the whole media window.
    h.Key(VK_RIGHT);
    h.Key(VK_DOWN);
    h.Paint();
    const RECT moved = MediaInPane(h);
    EXPECT_EQ(moved.left, -12);
    EXPECT_EQ(moved.top, -12);

    // Another zoom: ranges follow its new rectangle, positions start again.
    h.view.SetMediaZoom(100);
    h.Paint();
    const RECT smaller = h.view.GetMediaRect();
    EXPECT_LT(smaller.right - smaller.left, w);
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nMax, smaller.right - smaller.left - 1);
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nPos, 0);
    EXPECT_EQ(MediaInPane(h).left, 0);
}

TEST(MediaView, TextAndHexFormsHideTheMediaWindowAndAutomaticShowsItAgain)
{
    CLSViewHarness h;
    h.Open(AviPath());
    HWND hWndMedia = h.view.Shown().MediaWindow();
    const RECT shown = MediaInPane(h);
    const std::pair<ViewMode, DocumentKind> forms[] = {{ViewMode::Hex, DocumentKind::Hex},
                                                       {ViewMode::Text, DocumentKind::Text}};
    for (const auto& [form, kind] : forms) {
        h.view.SetViewMode(form);
        h.Paint();
        EXPECT_EQ(h.view.GetDisplayMode(), kind);
        EXPECT_FALSE(IsWindowVisible(hWndMedia));
        EXPECT_EQ(h.view.Shown().MediaWindow(), hWndMedia) << "hidden, not closed";
    }
    h.view.SetViewMode(ViewMode::Auto);
    h.Paint();
    EXPECT_TRUE(IsWindowVisible(hWndMedia));
    const RECT again = MediaInPane(h);
    EXPECT_TRUE(EqualRect(&again, &shown)) << "where it was";
}

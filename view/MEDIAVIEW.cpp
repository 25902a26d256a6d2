// Media mode of the pane: the media window that the document opened, zoomed
// or fitted to the pane, moved by the scroll bars, started when AutoPlay is on.
#include "view/WNDVIEW.h"

#include "view/MEDIALAY.h"

#include <vfw.h>

namespace {

MediaExtent ExtentOf(const RECT& rc)
{
    return {rc.right - rc.left, rc.bottom - rc.top};
}

}  // namespace

void CLSWndView::SetMediaZoom(std::uint32_t zoom)
{
    m_clsMedia.SetZoom(static_cast<int>(zoom));
    if (m_hWnd == nullptr || GetDisplayMode() != DocumentKind::Media) {
        return;
    }
    RECT rc{};
    if (zoom != 0) {
        SetMediaWindowZoom(zoom);
        SizeSoundOnlyMedia(0, false);
        rc = GetMediaRect();
    }
    const MediaExtent maxima = MediaScrollMaxima(zoom, ExtentOf(rc));
    SetScrollMaxima(maxima.width, maxima.height);
    // The pages of the pane again (a bar's page shrank with its range); at
    // zoom 0 this fits the media window. It ends with the frame recomputed.
    OnClientSize();
}

void CLSWndView::PaintMedia()
{
    // The pane around it was filled with the media background; scrolling
    // moves the whole media window.
    MoveMedia(-GetScrollPos32(SB_HORZ), -GetScrollPos32(SB_VERT));
}

void CLSWndView::ShowMedia(bool visible)
{
    HWND hWndMedia = Doc().GetMediaWindow();
    if (hWndMedia != nullptr) {
        ShowWindow(hWndMedia, visible ? SW_SHOW : SW_HIDE);
    }
}

void CLSWndView::PlayMedia()
{
    HWND hWndMedia = Doc().GetMediaWindow();
    if (hWndMedia != nullptr) {
        SendMessageA(hWndMedia, MCI_PLAY, 0, 0);
    }
}

void CLSWndView::SetMediaWindowZoom(std::uint32_t percent)
{
    HWND hWndMedia = Doc().GetMediaWindow();
    if (hWndMedia != nullptr) {
        SendMessageA(hWndMedia, MCIWNDM_SETZOOM, 0, static_cast<LPARAM>(percent));
    }
}

void CLSWndView::MoveMedia(int x, int y)
{
    HWND hWndMedia = Doc().GetMediaWindow();
    if (hWndMedia != nullptr) {
        SetWindowPos(hWndMedia, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

RECT CLSWndView::GetMediaRect() const
{
    RECT rc{};
    HWND hWndMedia = Doc().GetMediaWindow();
    if (hWndMedia == nullptr || !GetWindowRect(hWndMedia, &rc)) {
        return RECT{};
    }
    return rc;
}

void CLSWndView::FitMedia(int width, int height)
{
    HWND hWndMedia = Doc().GetMediaWindow();
    if (hWndMedia == nullptr) {
        return;
    }
    MediaExtent fitted{};
    if (SizeSoundOnlyMedia(width, true) ||
        !FitMediaSize(ExtentOf(MediaSource()), ExtentOf(GetMediaRect()), MediaExtent{width, height}, fitted)) {
        return;
    }
    ResizeMediaWindow(fitted);
}

// The video's own rectangle; empty for a sound, which has none.
RECT CLSWndView::MediaSource() const
{
    RECT source{};
    HWND hWndMedia = Doc().GetMediaWindow();
    if (hWndMedia == nullptr ||
        SendMessageA(hWndMedia, MCIWNDM_GET_SOURCE, 0, reinterpret_cast<LPARAM>(&source)) != 0) {
        return RECT{};
    }
    return source;
}

// A media window without video is its play bar alone, which the media layer
// makes 0 pixels wide: it is given a usable width. False for a video.
bool CLSWndView::SizeSoundOnlyMedia(int paneWidth, bool fitting)
{
    const RECT source = MediaSource();
    if (Doc().GetMediaWindow() == nullptr || (source.right > source.left && source.bottom != source.top)) {
        return false;
    }
    ResizeMediaWindow(SoundOnlySize(ExtentOf(GetMediaRect()), paneWidth, fitting));
    return true;
}

void CLSWndView::ResizeMediaWindow(MediaExtent size)
{
    HWND hWndMedia = Doc().GetMediaWindow();
    // Hidden while it changes size, so that it repaints once, at the new size.
    ShowWindow(hWndMedia, SW_HIDE);
    SetWindowPos(hWndMedia, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(hWndMedia, SW_SHOW);
}

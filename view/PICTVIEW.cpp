// Picture mode of the pane: the picture stretched to its zoom or fitted to the
// pane, anchored at the top-left corner, with scroll bars over its zoomed size.
#include "view/WNDVIEW.h"

#include "image/PICTZOOM.h"

void CLSWndView::SetImageZoom(std::uint32_t zoom)
{
    m_clsImage.SetZoom(static_cast<int>(zoom));
    if (m_hWnd == nullptr || GetDisplayMode() != DocumentKind::Image) {
        return;
    }
    const PictureExtent maxima = PictureScrollMaxima(Doc().GetBitmapWidth(), Doc().GetBitmapHeight(), zoom);
    SetScrollMaxima(maxima.width, maxima.height);
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
    // The bars hold a page no larger than their old range: a longer range
    // needs the page of the pane again. This ends with the frame recomputed.
    OnClientSize();
}

bool CLSWndView::GetPictureStatus(int& width, int& height, int& percent)
{
    if (m_hWnd == nullptr || GetDisplayMode() != DocumentKind::Image || Doc().GetBitmapWidth() <= 0) {
        return false;
    }
    width = Doc().GetBitmapWidth();
    height = Doc().GetBitmapHeight();
    percent = static_cast<int>(GetImageZoom());
    if (percent == 0) {
        RECT client{};
        GetClientRect(m_hWnd, &client);
        const PictureExtent fitted = ZoomedPictureSize(width, height, 0, client.right, client.bottom);
        percent = static_cast<int>((static_cast<long long>(fitted.width) * 100 + width / 2) / width);
    }
    return true;
}

void CLSWndView::DrawPicture(HDC hdc, int x, int y, int width, int height, std::uint32_t zoom)
{
    HBITMAP hbmp = Doc().GetBitmap();
    if (hbmp == nullptr) {
        return;
    }
    const int pw = Doc().GetBitmapWidth();
    const int ph = Doc().GetBitmapHeight();
    const PictureExtent size = ZoomedPictureSize(pw, ph, zoom, width, height);
    // Only what reaches the surface is stretched: at a large zoom the whole
    // picture would be millions of pixels wide, beyond what StretchBlt takes.
    RECT clip{};
    StretchAxis across{};
    StretchAxis down{};
    if (GetClipBox(hdc, &clip) == NULLREGION ||
        !VisiblePartOfStretch(x, size.width, pw, clip.left, clip.right, across) ||
        !VisiblePartOfStretch(y, size.height, ph, clip.top, clip.bottom, down)) {
        return;
    }
    CLSMemoryDC picture(hdc);
    if (!picture) {
        return;
    }
    CLSSelectObject selected(picture.Get(), hbmp);
    StretchBlt(hdc, across.destOrigin, down.destOrigin, across.destExtent, down.destExtent, picture.Get(),
               across.sourceOrigin, down.sourceOrigin, across.sourceExtent, down.sourceExtent, SRCCOPY);
}

void CLSWndView::PaintPicture(HDC hdc, const RECT& rc)
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    // Only the update rectangle is copied to the screen: stretching the rest
    // of a large picture would be work for nothing, most of all while
    // scrolling, which repaints a strip at a time.
    const int saved = SaveDC(hdc);
    IntersectClipRect(hdc, rc.left, rc.top, rc.right, rc.bottom);
    SetStretchBltMode(hdc, HALFTONE);
    SetBrushOrgEx(hdc, 0, 0, nullptr);  // HALFTONE needs its brush origin set again
    DrawPicture(hdc, -GetScrollPos32(SB_HORZ), -GetScrollPos32(SB_VERT), client.right, client.bottom,
                GetImageZoom());
    RestoreDC(hdc, saved);
}

// Zooming the pane by steps: the font of text and hex for as long as Glim
// runs, and, through the main window's commands, the zoom of pictures and
// media, so that the menu and the settings follow.
#include "view/WNDVIEW.h"

#include "resources/RESOURCE.h"
#include "view/ZOOMSTEP.h"

HFONT CLSWndView::ZoomedFont(const CLSGlimFont& font) const
{
    if (m_iTextZoom == 0) {
        return font.CreateFont(m_hWnd);
    }
    CLSGlimFont zoomed = font;
    zoomed.SetHeight(ScaleFontHeight(font.GetHeight(), TextZoomPercent(m_iTextZoom)));
    return zoomed.CreateFont(m_hWnd);
}

void CLSWndView::ZoomText(int by)
{
    const int step = StepTextZoom(m_iTextZoom, by);
    if (step == m_iTextZoom) {
        return;
    }
    m_iTextZoom = step;
    // As a new font from the settings: rows, caret and scroll ranges follow.
    ApplySettings(m_clsText, m_clsBinary, m_clsImage, m_clsMedia);
    PlaceCaret();
}

void CLSWndView::ResetTextZoom()
{
    ZoomText(-m_iTextZoom);
}

std::uint32_t CLSWndView::ShownPictureZoom()
{
    int width = 0;
    int height = 0;
    int percent = 0;
    if (GetPictureStatus(width, height, percent)) {
        return static_cast<std::uint32_t>(percent);
    }
    const auto zoom = static_cast<std::uint32_t>(m_clsImage.GetZoom());
    return zoom != 0 ? zoom : 100;
}

// Each notch (or each whole notch's worth of a fine wheel) is one step, sent
// to the main window as the menu's command.
void CLSWndView::ZoomByWheel(int delta)
{
    m_iWheelZoomRest += delta;
    while (m_iWheelZoomRest >= WHEEL_DELTA || m_iWheelZoomRest <= -WHEEL_DELTA) {
        const bool in = m_iWheelZoomRest > 0;
        m_iWheelZoomRest += in ? -WHEEL_DELTA : WHEEL_DELTA;
        SendMessageA(m_hWndParent, WM_COMMAND, MAKEWPARAM(in ? IDM_ZOOM_IN : IDM_ZOOM_OUT, 0), 0);
    }
}

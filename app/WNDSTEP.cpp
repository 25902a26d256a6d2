// Commands that step from what is shown: the zoom a step up or down (pictures
// and media through the zoom menu, text and hex through the font), the next
// or previous file of the list without leaving the preview, and the encoding
// menu opened from the status bar.
#include "app/WNDMAIN.h"

#include "base/RESSTR.h"
#include "image/PICTZOOM.h"
#include "resources/RESOURCE.h"
#include "view/ZOOMSTEP.h"

namespace {

// The pop-up of menu that holds the command id, searched in depth.
HMENU FindPopupOf(HMENU menu, UINT id)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (sub == nullptr) {
            if (GetMenuItemID(menu, i) == id) {
                return menu;
            }
            continue;
        }
        if (HMENU found = FindPopupOf(sub, id)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

void CLSWndMain::OnZoomStep(int id)
{
    const DocumentKind mode = m_clsView.GetDisplayMode();
    if (mode == DocumentKind::Text || mode == DocumentKind::Hex) {
        if (id == IDM_ZOOM_RESET) {
            m_clsView.ResetTextZoom();
        } else {
            m_clsView.ZoomText(id == IDM_ZOOM_IN ? 1 : -1);
        }
        return;
    }
    if (mode != DocumentKind::Image && mode != DocumentKind::Media) {
        return;
    }
    std::uint32_t zoom = 100;
    if (id != IDM_ZOOM_RESET) {
        const std::uint32_t shown = mode == DocumentKind::Image ? m_clsView.ShownPictureZoom()
                                    : m_clsView.GetMediaZoom() != 0 ? m_clsView.GetMediaZoom()
                                                                     : 100;
        zoom = StepPictureZoom(shown, id == IDM_ZOOM_IN ? 1 : -1);
    }
    OnZoom(IDM_ZOOM_25 + MenuItemOfZoom(zoom));
}

// The focus stays where it is: the list's selection moves and the preview
// shows the file, as a click in the list would.
void CLSWndMain::OnNeighbourFile(bool next)
{
    if (m_clsFileList.SelectNeighbourFile(next)) {
        m_clsStatusBar.SetHintText(nullptr);
    } else {
        m_clsStatusBar.SetHintText(LoadResourceString(next ? IDS_NO_NEXT_FILE : IDS_NO_PREV_FILE).c_str());
    }
}

void CLSWndMain::OnStatusBarClick(const NMMOUSE* click)
{
    if (click->dwItemSpec != static_cast<DWORD_PTR>(kStatusEncodingPart)) {
        return;
    }
    HMENU encodings = FindPopupOf(GetMenu(m_hWnd), IDM_ENC_AUTO);
    POINT at{};
    if (encodings == nullptr || !GetCursorPos(&at)) {
        return;
    }
    TrackPopupMenu(encodings, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
}

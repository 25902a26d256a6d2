// A volume Glim holds handles on is about to be ejected (or was pulled out):
// the watches there and the file shown from it are closed, so that the
// system may let it go, and the pane says why its file went.
#include "app/WNDMAIN.h"

#include "base/RESSTR.h"
#include "resources/RESOURCE.h"

bool CLSWndMain::OnVolumeLeaving(WPARAM event, const DEV_BROADCAST_HDR* hdr)
{
    if (event != DBT_DEVICEQUERYREMOVE && event != DBT_DEVICEREMOVEPENDING && event != DBT_DEVICEREMOVECOMPLETE) {
        return false;
    }
    const std::wstring root = m_clsVolumes.Release(hdr);
    if (root.empty()) {
        return false;
    }
    m_clsFolderTree.ReleaseVolume(root);
    m_clsFileList.ReleaseVolume(root);
    if (m_clsView.Doc().IsOpen() && IsOnVolume(m_clsView.Doc().GetPath(), root)) {
        m_clsView.CloseFile(LoadResourceString(IDS_FILE_EJECTED));
    }
    return true;
}

// The volume of the file just shown is held too: the system asks before
// ejecting it, and the file is let go.
void CLSWndMain::HoldShownFileVolume()
{
    if (m_clsView.Doc().IsOpen()) {
        m_clsVolumes.Hold(m_clsView.Doc().GetPath());
    }
}

// The media step of opening: an MCI window tries the file; one that cannot
// play it is closed again without a word to the user.
#include "document/FILESTRM.h"

#include <vfw.h>

namespace {

constexpr DWORD kMediaFlags = MCIWNDF_NOOPEN | MCIWNDF_NOERRORDLG | MCIWNDF_NOMENU;  // 0xC008
// The styles that Windows gives a media window with a parent when none are
// asked for. Named here because Wine leaves out WS_CHILD and makes a floating
// top-level window instead (one that also takes seconds to destroy without a
// window manager). Without a parent no child window can be made: no media.
constexpr DWORD kMediaWindowStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;

}  // namespace

bool CLSFileStream::OpenMedia(HWND parent, const char* path)
{
    HINSTANCE instance = parent != nullptr
                             ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE))
                             : GetModuleHandleA(nullptr);
    HWND media = MCIWndCreateA(parent, instance, kMediaFlags | kMediaWindowStyle, path);
    if (media == nullptr) {
        return false;
    }
    m_hObject = media;
    if (SendMessageA(media, MCIWNDM_CAN_PLAY, 0, 0) != 0) {
        const LONG_PTR style = GetWindowLongPtrA(media, GWL_STYLE);
        SetWindowLongPtrA(media, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_BORDER));
        return true;
    }
    SendMessageA(media, WM_CLOSE, 0, 0);
    m_hObject = nullptr;
    return false;
}

// A picture or media file made into what the pane shows: the picture loaders
// read the document's stream; an MCI window tries a file whose extension names
// an MCI driver, and one that cannot play it is closed again without a word to
// the user.
#include "view/PANEOBJ.h"

#include "document/FILESTRM.h"
#include "image/PICTLOAD.h"

#include <shlwapi.h>
#include <vfw.h>

#include <string>

namespace {

constexpr DWORD kMediaFlags = MCIWNDF_NOOPEN | MCIWNDF_NOERRORDLG | MCIWNDF_NOMENU;  // 0xC008
// The styles that Windows gives a media window with a parent when none are
// asked for. Named here because Wine leaves out WS_CHILD and makes a floating
// top-level window instead (one that also takes seconds to destroy without a
// window manager). Without a parent no child window can be made: no media.
constexpr DWORD kMediaWindowStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;

int BitmapInfo(HBITMAP bitmap, bool width)
{
    BITMAP info;
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof(info), &info) == 0) {
        return 0;
    }
    return width ? info.bmWidth : info.bmHeight;
}

// MCI picks its driver by the file's extension alone: a file whose extension
// names none cannot be played, and making a player window only to learn that
// costs more than the rest of opening a small file.
bool HasMediaDriver(const wchar_t* path)
{
    const wchar_t* extension = PathFindExtensionW(path);
    return extension[0] == L'.' && extension[1] != L'\0' &&
           SHGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI Extensions",
                       extension + 1, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace

void CLSShownObject::Recognise(CLSFileStream& doc, HWND parent, COLORREF background, const wchar_t* pluginFolder)
{
    Clear();
    if (!doc.IsOpen()) {
        return;
    }
    const std::wstring& path = doc.GetPath();
    {
        const CLSWindowDC dc(parent);
        m_clsPicture.Reset(LoadPicture(&doc, dc.Get(), background, pluginFolder, path.c_str()));
    }
    if (!m_clsPicture) {
        OpenMedia(parent, path.c_str());
    }
    doc.SeekTo(0);
}

bool CLSShownObject::OpenMedia(HWND parent, const wchar_t* path)
{
    if (!HasMediaDriver(path)) {
        return false;
    }
    HINSTANCE instance = parent != nullptr
                             ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE))
                             : GetModuleHandleA(nullptr);
    HWND media = MCIWndCreateW(parent, instance, kMediaFlags | kMediaWindowStyle, path);
    if (media == nullptr) {
        return false;
    }
    if (SendMessageA(media, MCIWNDM_CAN_PLAY, 0, 0) == 0) {
        SendMessageA(media, WM_CLOSE, 0, 0);
        return false;
    }
    const LONG_PTR style = GetWindowLongPtrA(media, GWL_STYLE);
    SetWindowLongPtrA(media, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_BORDER));
    m_hWndMedia = media;
    return true;
}

void CLSShownObject::Clear()
{
    m_clsPicture.Reset();
    if (m_hWndMedia != nullptr) {
        SendMessageA(m_hWndMedia, WM_CLOSE, 0, 0);
        m_hWndMedia = nullptr;
    }
}

DocumentKind CLSShownObject::Kind() const
{
    if (m_clsPicture) {
        return DocumentKind::Image;
    }
    return m_hWndMedia != nullptr ? DocumentKind::Media : DocumentKind::None;
}

int CLSShownObject::BitmapWidth() const
{
    return BitmapInfo(m_clsPicture.Get(), true);
}

int CLSShownObject::BitmapHeight() const
{
    return BitmapInfo(m_clsPicture.Get(), false);
}

// What the pane shows of a file that turns out to be a picture or media: the
// picture loaded through the document's IStream face, or the media window
// that plays the file inside the pane. The document itself stays text or hex.
#pragma once

#include "base/OWNERS.h"
#include "document/ENCODING.h"

#include <windows.h>

class CLSFileStream;

class CLSShownObject {
public:
    CLSShownObject() = default;
    ~CLSShownObject() { Clear(); }
    CLSShownObject(const CLSShownObject&) = delete;
    CLSShownObject& operator=(const CLSShownObject&) = delete;

    // Lets go of what was shown, then tries doc: picture first, whatever the
    // file is called (transparent parts over background; pluginFolder null
    // when picture plug-ins are off), then media in a window inside parent.
    // Neither is a failure: the file is then shown as text or hex.
    void Recognise(CLSFileStream& doc, HWND parent, COLORREF background, const wchar_t* pluginFolder);
    void Clear();

    // Image, Media, or None for a file that is neither.
    DocumentKind Kind() const;
    HBITMAP Bitmap() const { return m_clsPicture.Get(); }
    HWND MediaWindow() const { return m_hWndMedia; }
    int BitmapWidth() const;
    int BitmapHeight() const;

private:
    bool OpenMedia(HWND parent, const wchar_t* path);

    CLSBitmapOwner m_clsPicture;
    HWND m_hWndMedia = nullptr;  // closed with WM_CLOSE, as the media layer asks
};

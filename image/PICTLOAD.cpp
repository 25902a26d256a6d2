// Placeholder until the loaders are built: no file is a picture yet.
#include "image/PICTLOAD.h"

HBITMAP LoadPicture(IStream* /*stream*/, HDC /*dc*/, COLORREF /*background*/,
                    const char* /*pluginFolder*/, const char* /*path*/)
{
    return nullptr;
}

// The low line of fonts that cannot draw it.
#include "view/LOWLINE.h"

CLSLowLine::CLSLowLine(HDC hdc)
{
    static const MAT2 kIdentity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    GLYPHMETRICS gm{};
    TEXTMETRICW tm{};
    // A font without outlines (a raster font) answers neither question and
    // draws its own low line.
    if (GetGlyphOutlineW(hdc, L'_', GGO_METRICS, &gm, 0, nullptr, &kIdentity) == GDI_ERROR ||
        !GetTextMetricsW(hdc, &tm)) {
        return;
    }
    const DWORD bitmap = GetGlyphOutlineW(hdc, L'_', GGO_BITMAP, &gm, 0, nullptr, &kIdentity);
    if (bitmap != GDI_ERROR && bitmap != 0) {
        return;  // the font draws it
    }
    const int top = tm.tmAscent - gm.gmptGlyphOrigin.y;
    const int height = gm.gmBlackBoxY > 0 ? static_cast<int>(gm.gmBlackBoxY) : 1;
    m_rcLine = RECT{gm.gmptGlyphOrigin.x, top, gm.gmptGlyphOrigin.x + static_cast<int>(gm.gmBlackBoxX), top + height};
    m_bDraw = m_rcLine.right > m_rcLine.left;
}

void CLSLowLine::Draw(HDC hdc, int x, int y, const WCHAR* text, int count, const INT* advances) const
{
    if (!m_bDraw) {
        return;
    }
    const COLORREF back = SetBkColor(hdc, GetTextColor(hdc));
    int advanced = 0;  // the sum of the advances before unit i
    for (int i = 0; i < count; ++i) {
        if (text[i] == L'_') {
            SIZE before{advanced, 0};
            if (advances == nullptr) {
                GetTextExtentPoint32W(hdc, text, i, &before);
            }
            RECT line = m_rcLine;
            OffsetRect(&line, x + before.cx, y);
            ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &line, nullptr, 0, nullptr);
        }
        advanced += advances != nullptr ? advances[i] : 0;
    }
    SetBkColor(hdc, back);
}

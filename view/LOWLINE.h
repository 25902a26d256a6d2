// CLSLowLine: the low line '_' drawn by the view itself for a font that
// cannot draw it. The Japanese fixed faces as Wine's font replacement gives
// them have a glyph for it whose outline yields no pixels below about 30
// pixels of height: "snake_case_name" would read "snake case name".
#pragma once

#include <windows.h>

class CLSLowLine {
public:
    // Asks the font selected into hdc whether it draws '_'; cheap enough for
    // every paint.
    explicit CLSLowLine(HDC hdc);

    // After text[0..count) was drawn with its cells' top left at (x, y): the
    // low lines among it, in the text colour. advances: each unit's advance,
    // or null to measure the text.
    void Draw(HDC hdc, int x, int y, const WCHAR* text, int count, const INT* advances) const;

private:
    bool m_bDraw = false;
    RECT m_rcLine{};  // the glyph's black box, from its cell's top left
};

// The font record beyond what the saved file shows: its LOGFONT, the font it
// makes and the effective colours.
#include "settings/GLIMSET.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

int ScreenDpi()
{
    HDC hDC = GetDC(nullptr);
    const int iDpi = GetDeviceCaps(hDC, LOGPIXELSY);
    ReleaseDC(nullptr, hDC);
    return iDpi;
}

}  // namespace

TEST(GlimFont, ConvertsToAndFromALogFont)
{
    const CLSGlimFont font(10, CLSGlimFont::kBold | CLSGlimFont::kUnderline, SHIFTJIS_CHARSET, "ＭＳ 明朝");
    LOGFONTA lf;
    std::memset(&lf, 0x55, sizeof(lf));
    font.ToLogFont(nullptr, lf);
    EXPECT_EQ(lf.lfHeight, -MulDiv(10, ScreenDpi(), 72));
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfStrikeOut, 0);
    EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_STREQ(lf.lfFaceName, "ＭＳ 明朝");

    CLSGlimFont back;
    back.FromLogFont(nullptr, lf);
    EXPECT_EQ(back.GetHeight(), 10);
    EXPECT_EQ(back.GetStyle(), CLSGlimFont::kBold | CLSGlimFont::kUnderline);
    EXPECT_EQ(back.GetCharSet(), SHIFTJIS_CHARSET);
    EXPECT_STREQ(back.GetFaceName().GetString(), "ＭＳ 明朝");

    // A semi-bold choice is not bold; a full face array need not be terminated.
    lf.lfWeight = 600;
    lf.lfItalic = 1;
    lf.lfUnderline = 0;
    lf.lfStrikeOut = 1;
    std::memset(lf.lfFaceName, 'F', sizeof(lf.lfFaceName));
    back.FromLogFont(nullptr, lf);
    EXPECT_EQ(back.GetStyle(), CLSGlimFont::kItalic | CLSGlimFont::kStrikeOut);
    EXPECT_EQ(std::string(back.GetFaceName().GetString()), std::string(32, 'F'));

    // Long face names are cut to whole characters, and the font made is that one.
    const std::pair<std::string, std::string> faces[] = {
        {std::string(40, 'a'), std::string(31, 'a')},
        {std::string(30, 'a') + "ゴシック", std::string(30, 'a')},
        {std::string(29, 'a') + "ゴシック", std::string(29, 'a') + "ゴ"},
    };
    for (const auto& [face, cut] : faces) {
        CLSGlimFont(9, 0, 0, face.c_str()).ToLogFont(nullptr, lf);
        EXPECT_EQ(std::string(lf.lfFaceName), cut);
    }
    HFONT hFont = CLSGlimFont(9, 0, 0, faces[2].first.c_str()).CreateFont();
    ASSERT_NE(hFont, nullptr);
    ASSERT_EQ(GetObjectA(hFont, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
    EXPECT_EQ(std::string(lf.lfFaceName), faces[2].second);
    EXPECT_EQ(lf.lfHeight, -MulDiv(9, ScreenDpi(), 72));
    DeleteObject(hFont);
}

namespace {

// Puts a system colour back however the test ends.
class SysColorChange {
public:
    SysColorChange(int iIndex, COLORREF cr) : m_iIndex(iIndex), m_crOld(GetSysColor(iIndex))
    {
        SetSysColors(1, &m_iIndex, &cr);
    }
    ~SysColorChange() { SetSysColors(1, &m_iIndex, &m_crOld); }

private:
    INT m_iIndex;
    COLORREF m_crOld;
};

}  // namespace

TEST(GlimFont, EffectiveColoursFollowTheSystemWhileAskedTo)
{
    CLSGlimFont font;
    font.SetTextColor(RGB(255, 0, 0));
    font.SetBackColor(RGB(0, 0, 255));
    font.SetSelectedTextColor(RGB(1, 2, 3));
    font.SetSelectedBackColor(RGB(4, 5, 6));
    EXPECT_EQ(font.EffectiveBackColor(), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(font.EffectiveSelectedTextColor(), GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(font.EffectiveSelectedBackColor(), GetSysColor(COLOR_HIGHLIGHT));
    {
        const COLORREF crScheme = GetSysColor(COLOR_WINDOWTEXT) == RGB(10, 20, 30) ? RGB(40, 50, 60) : RGB(10, 20, 30);
        SysColorChange change(COLOR_WINDOWTEXT, crScheme);
        EXPECT_EQ(font.EffectiveTextColor(), crScheme) << "read at the moment of the call";
    }
    font.SetUseSystemColor(false);
    EXPECT_EQ(font.EffectiveTextColor(), RGB(255, 0, 0));
    EXPECT_EQ(font.EffectiveBackColor(), RGB(0, 0, 255));
    EXPECT_EQ(font.EffectiveSelectedTextColor(), RGB(1, 2, 3));
    EXPECT_EQ(font.EffectiveSelectedBackColor(), RGB(4, 5, 6));
}

// The settings model: defaults, the keys each section object takes, and the
// font record's LOGFONT, font and effective colours.
#include "settings/GLIMSET.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

TEST(GlimSettings, StartsWithTheDefaults)
{
    const CLSGlimSettings settings;
    EXPECT_EQ(settings.GetLeft(), CW_USEDEFAULT);
    EXPECT_EQ(settings.GetTop(), CW_USEDEFAULT);
    EXPECT_EQ(settings.GetWidth(), static_cast<int>(0x80000000));
    EXPECT_EQ(settings.GetHeight(), CW_USEDEFAULT);
    EXPECT_EQ(settings.GetFlags(), 94u);
    EXPECT_FALSE(settings.GetFlag(CLSGlimSettings::kMaximized));
    EXPECT_TRUE(settings.GetFlag(CLSGlimSettings::kMonitorFolder));
    EXPECT_EQ(settings.GetMaxMemFileSize(), 4194304);
    EXPECT_EQ(settings.GetFolderTreeWidth(), 200);
    EXPECT_EQ(settings.GetFileListHeight(), 150);
    EXPECT_EQ(settings.GetFileListStyle(), 2);
    const int kColumns[] = {220, 70, 120, 120};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(settings.GetColumnWidth(i), kColumns[i]);
    }
    EXPECT_STREQ(settings.GetStartFolder().GetString(), "");
    EXPECT_STREQ(settings.GetLastFolder().GetString(), "");

    for (const CLSGlimFont* pFont : {static_cast<const CLSGlimFont*>(&settings.GetText()), &settings.GetBinary()}) {
        EXPECT_STREQ(pFont->GetFaceName().GetString(), "ＭＳ ゴシック");
        EXPECT_EQ(pFont->GetHeight(), 12);
        EXPECT_EQ(pFont->GetStyle(), 0u);
        EXPECT_EQ(pFont->GetCharSet(), 1);
        EXPECT_EQ(pFont->GetLineHeight(), 140);
        EXPECT_EQ(pFont->GetTextColor(), GetSysColor(COLOR_WINDOWTEXT));
        EXPECT_EQ(pFont->GetBackColor(), GetSysColor(COLOR_WINDOW));
        EXPECT_EQ(pFont->GetSelectedTextColor(), GetSysColor(COLOR_HIGHLIGHTTEXT));
        EXPECT_EQ(pFont->GetSelectedBackColor(), GetSysColor(COLOR_HIGHLIGHT));
        EXPECT_TRUE(pFont->GetUseSystemColor());
    }
    EXPECT_EQ(settings.GetText().GetTabStop(), 4);
    EXPECT_EQ(settings.GetImage().GetBackColor(), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(settings.GetImage().GetZoom(), 100);
    EXPECT_STREQ(settings.GetImage().GetSPIFolder().GetString(), "");
    EXPECT_FALSE(settings.GetImage().GetUseSPI());
    EXPECT_EQ(settings.GetMedia().GetBackColor(), 0u);
    EXPECT_EQ(settings.GetMedia().GetZoom(), 100);
    EXPECT_FALSE(settings.GetMedia().GetAutoPlay());
}

namespace {

// One key line given to a fresh record; the value read back as a number.
template <typename Record>
struct KeyCase {
    const char* lpszKey;
    const char* lpszValue;
    bool bKnown;
    std::function<long long(const Record&)> read;
    long long llExpected;
};

template <typename Record>
void CheckKeys(const std::vector<KeyCase<Record>>& rows)
{
    for (const auto& row : rows) {
        Record record;
        EXPECT_EQ(record.ParseLine(CLSTString(row.lpszKey), CLSTString(row.lpszValue)), row.bKnown)
            << row.lpszKey << "=" << row.lpszValue;
        EXPECT_EQ(row.read(record), row.llExpected) << row.lpszKey << "=" << row.lpszValue;
    }
}

}  // namespace

TEST(GlimSettings, WindowAndGeneralKeys)
{
    using S = CLSGlimSettings;
    const auto flags = [](const S& s) { return static_cast<long long>(s.GetFlags()); };
    const auto height = [](const S& s) { return static_cast<long long>(s.GetHeight()); };
    const auto maxMem = [](const S& s) { return static_cast<long long>(s.GetMaxMemFileSize()); };
    CheckKeys<S>({
        {"Height", "10", true, height, 10},
        {"height", "10", false, height, CW_USEDEFAULT},
        {"Left", "-20", true, [](const S& s) { return static_cast<long long>(s.GetLeft()); }, -20},
        {"Top", "0x10", true, [](const S& s) { return static_cast<long long>(s.GetTop()); }, 16},
        {"Width", "800", true, [](const S& s) { return static_cast<long long>(s.GetWidth()); }, 800},
        {"FolderTreeWidth", "1", true, [](const S& s) { return static_cast<long long>(s.GetFolderTreeWidth()); }, 1},
        {"FileListHeight", "2", true, [](const S& s) { return static_cast<long long>(s.GetFileListHeight()); }, 2},
        {"FileListStyle", "7", true, [](const S& s) { return static_cast<long long>(s.GetFileListStyle()); }, 7},
        {"MaxMemFileSize", "0x400000", true, maxMem, 64},
        {"MaxMemFileSize", "0x1000000", true, maxMem, 16777216},
        {"Maximized", "1", true, flags, 95},
        {"ShowToolBar", "0", true, flags, 92},
        {"ShowStatusBar", "abc", true, flags, 90},
        {"ShowFolderTree", "0", true, flags, 86},
        {"ShowLastFolder", "0", true, flags, 78},
        {"ShowFolderInFileList", "2", true, flags, 126},
        {"MonitorFolder", "-1", true, flags, 94},
        {"MonitorFolder", "0", true, flags, 30},
        {"TabStop", "8", false, flags, 94},
    });
    CLSGlimSettings settings;
    EXPECT_TRUE(settings.ParseLine(CLSTString("StartFolder"), CLSTString("C:\\フォルダ\\")));
    EXPECT_TRUE(settings.ParseLine(CLSTString("LastFolder"), CLSTString("")));
    EXPECT_STREQ(settings.GetStartFolder().GetString(), "C:\\フォルダ\\");
    EXPECT_STREQ(settings.GetLastFolder().GetString(), "");
    settings.SetFlag(CLSGlimSettings::kMaximized, true);
    settings.SetFlag(CLSGlimSettings::kShowToolBar, false);
    EXPECT_EQ(settings.GetFlags(), 93u);
}

TEST(GlimSettings, FontImageAndMediaKeys)
{
    using F = CLSGlimFont;
    using T = CLSGlimTextSettings;
    const auto style = [](const F& f) { return static_cast<long long>(f.GetStyle()); };
    CheckKeys<F>({
        {"Height", "10", true, [](const F& f) { return static_cast<long long>(f.GetHeight()); }, 10},
        {"Bold", "1", true, style, 1},
        {"Italic", "1", true, style, 2},
        {"Underline", "5", true, style, 4},
        {"StrikeOut", "1", true, style, 8},
        {"bold", "1", false, style, 0},
        {"CharSet", "128", true, [](const F& f) { return static_cast<long long>(f.GetCharSet()); }, 128},
        {"LineHeight", "10", true, [](const F& f) { return static_cast<long long>(f.GetLineHeight()); }, 10},
        {"TextColor", "0xFF0000", true, [](const F& f) { return static_cast<long long>(f.GetTextColor()); }, 255},
        {"BackColor", "0x00FF00", true, [](const F& f) { return static_cast<long long>(f.GetBackColor()); }, 65280},
        {"SelectedTextColor", "0x0000FF", true,
         [](const F& f) { return static_cast<long long>(f.GetSelectedTextColor()); }, 16711680},
        {"SelectedBackColor", "0x010203", true,
         [](const F& f) { return static_cast<long long>(f.GetSelectedBackColor()); }, 0x030201},
        {"UseSystemColor", "0", true, [](const F& f) { return static_cast<long long>(f.GetUseSystemColor()); }, 0},
        {"TabStop", "8", false, style, 0},
    });
    CheckKeys<T>({
        {"TabStop", "8", true, [](const T& t) { return static_cast<long long>(t.GetTabStop()); }, 8},
        {"Italic", "1", true, [](const T& t) { return static_cast<long long>(t.GetStyle()); }, 2},
    });
    CLSGlimFont font;
    font.ParseLine(CLSTString("Bold"), CLSTString("1"));
    font.ParseLine(CLSTString("StrikeOut"), CLSTString("1"));
    font.ParseLine(CLSTString("Bold"), CLSTString("0"));
    EXPECT_EQ(font.GetStyle(), CLSGlimFont::kStrikeOut);
    EXPECT_TRUE(font.ParseLine(CLSTString("FaceName"), CLSTString("Courier New")));
    EXPECT_STREQ(font.GetFaceName().GetString(), "Courier New");

    using I = CLSGlimImageSettings;
    using M = CLSGlimMediaSettings;
    CheckKeys<I>({
        {"Zoom", "0", true, [](const I& i) { return static_cast<long long>(i.GetZoom()); }, 0},
        {"BackColor", "0x0000FF", true, [](const I& i) { return static_cast<long long>(i.GetBackColor()); }, 16711680},
        {"UseSPI", "1", true, [](const I& i) { return static_cast<long long>(i.GetUseSPI()); }, 1},
        {"AutoPlay", "1", false, [](const I& i) { return static_cast<long long>(i.GetZoom()); }, 100},
    });
    CheckKeys<M>({
        {"Zoom", "50", true, [](const M& m) { return static_cast<long long>(m.GetZoom()); }, 50},
        {"BackColor", "0xFFFFFF", true, [](const M& m) { return static_cast<long long>(m.GetBackColor()); }, 0xFFFFFF},
        {"AutoPlay", "1", true, [](const M& m) { return static_cast<long long>(m.GetAutoPlay()); }, 1},
        {"SPIFolder", "C:\\", false, [](const M& m) { return static_cast<long long>(m.GetZoom()); }, 100},
    });
    CLSGlimImageSettings image;
    EXPECT_TRUE(image.ParseLine(CLSTString("SPIFolder"), CLSTString("C:\\spi")));
    EXPECT_STREQ(image.GetSPIFolder().GetString(), "C:\\spi");
}

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
    EXPECT_EQ(font.GetLineHeight(), 140) << "the rest stays at the defaults";
    LOGFONTA lf;
    std::memset(&lf, 0x55, sizeof(lf));
    font.ToLogFont(nullptr, lf);
    EXPECT_EQ(lf.lfHeight, -MulDiv(10, ScreenDpi(), 72));
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfStrikeOut, 0);
    EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfOutPrecision, 0);
    EXPECT_EQ(lf.lfPitchAndFamily, 0);
    EXPECT_STREQ(lf.lfFaceName, "ＭＳ 明朝");

    CLSGlimFont back;
    back.FromLogFont(nullptr, lf);
    EXPECT_EQ(back.GetHeight(), 10);
    EXPECT_EQ(back.GetStyle(), CLSGlimFont::kBold | CLSGlimFont::kUnderline);
    EXPECT_EQ(back.GetCharSet(), SHIFTJIS_CHARSET);
    EXPECT_STREQ(back.GetFaceName().GetString(), "ＭＳ 明朝");

    // A semi-bold choice is not bold; italic and strike-out come from their bytes.
    lf.lfWeight = 600;
    lf.lfItalic = 1;
    lf.lfUnderline = 0;
    lf.lfStrikeOut = 1;
    std::memset(lf.lfFaceName, 'F', sizeof(lf.lfFaceName));  // full, unterminated
    back.FromLogFont(nullptr, lf);
    EXPECT_EQ(back.GetStyle(), CLSGlimFont::kItalic | CLSGlimFont::kStrikeOut);
    EXPECT_EQ(std::string(back.GetFaceName().GetString()), std::string(32, 'F'));
}

TEST(GlimFont, LongFaceNamesAreCutToWholeCharacters)
{
    const struct {
        std::string strFace;
        std::string strExpected;
    } kRows[] = {
        {std::string(40, 'a'), std::string(31, 'a')},
        {std::string(30, 'a') + "ゴシック", std::string(30, 'a')},
        {std::string(29, 'a') + "ゴシック", std::string(29, 'a') + "ゴ"},
        {"Arial", "Arial"},
    };
    for (const auto& row : kRows) {
        CLSGlimFont font(9, 0, 0, row.strFace.c_str());
        LOGFONTA lf;
        font.ToLogFont(nullptr, lf);
        EXPECT_EQ(std::string(lf.lfFaceName), row.strExpected);

        HFONT hFont = font.CreateFont();
        ASSERT_NE(hFont, nullptr);
        LOGFONTA created;
        ASSERT_EQ(GetObjectA(hFont, sizeof(created), &created), static_cast<int>(sizeof(created)));
        EXPECT_EQ(std::string(created.lfFaceName), row.strExpected);
        EXPECT_EQ(created.lfHeight, -MulDiv(9, ScreenDpi(), 72));
        DeleteObject(hFont);
    }
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
    EXPECT_EQ(font.EffectiveTextColor(), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(font.EffectiveBackColor(), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(font.EffectiveSelectedTextColor(), GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(font.EffectiveSelectedBackColor(), GetSysColor(COLOR_HIGHLIGHT));
    {
        const COLORREF crScheme = GetSysColor(COLOR_WINDOWTEXT) == RGB(10, 20, 30) ? RGB(40, 50, 60) : RGB(10, 20, 30);
        SysColorChange change(COLOR_WINDOWTEXT, crScheme);
        EXPECT_EQ(font.EffectiveTextColor(), crScheme) << "read at the moment of the call";
        EXPECT_EQ(font.GetTextColor(), RGB(255, 0, 0)) << "the stored colour stays";
    }
    font.SetUseSystemColor(false);
    EXPECT_EQ(font.EffectiveTextColor(), RGB(255, 0, 0));
    EXPECT_EQ(font.EffectiveBackColor(), RGB(0, 0, 255));
    EXPECT_EQ(font.EffectiveSelectedTextColor(), RGB(1, 2, 3));
    EXPECT_EQ(font.EffectiveSelectedBackColor(), RGB(4, 5, 6));
}

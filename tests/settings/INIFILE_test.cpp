// GLIM.INI on disk: the saved bytes, the reading rules and their quirks, files
// that cannot be read or written, and garbage.
#include "settings/GLIMSET.h"

#include "base/WIDETEXT.h"
#include "tests/settings/BRKPIPE.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// The saved file, written over a longer one that it must replace whole.
std::string Saved(const CLSGlimSettings& settings)
{
    TempFolder folder;
    folder.Write("GLIM.INI", std::string(20000, 'x'));
    EXPECT_TRUE(settings.Save(WidenAnsi(folder.PathOf("GLIM.INI")).c_str()));
    return ReadFileBytes(folder.PathOf("GLIM.INI"));
}

CLSGlimSettings Loaded(const std::string& strIni)
{
    TempFolder folder;
    CLSGlimSettings settings;
    EXPECT_TRUE(settings.Load(WidenAnsi(folder.Write("GLIM.INI", strIni)).c_str()));
    return settings;
}

// Every value differs from its default and from its neighbours. Folders Shift-JIS cannot
// hold (no best fit: "¥" is no backslash) name the nearest it can, beside a UTF-8 key.
const std::string kEveryValue =
    "[Window]\r\nMaximized=1\r\nLeft=-8\r\nTop=16\r\nWidth=1024\r\nHeight=768\r\nFolderTreeWidth=180\r\n"
    "FileListHeight=90\r\nFileListStyle=3\r\nShowToolBar=0\r\nShowStatusBar=1\r\nShowFolderTree=0\r\n\r\n"
    "[General]\r\nStartFolder=C:\\Users\r\nStartFolderUtf8=C:\\Users\\Zo\xC3\xAB\\\xE5\x86\x99\xE7\x9C\x9F\r\n"
    "LastFolder=C:\\写真\\\r\nShowLastFolder=0\r\nShowFolderInFileList=1\r\n"
    "MaxMemFileSize=1024\r\nMonitorFolder=0\r\nFollowFile=1\r\n\r\n"
    "[Text]\r\nFaceName=Courier New\r\nHeight=9\r\nBold=1\r\nItalic=0\r\nUnderline=0\r\nStrikeOut=1\r\n"
    "CharSet=0\r\nLineHeight=200\r\nTextColor=0xFF0000\r\nBackColor=0x0000FF\r\nSelectedTextColor=0x123456\r\n"
    "SelectedBackColor=0x010203\r\nUseSystemColor=0\r\nTabStop=8\r\n\r\n"
    "[Binary]\r\nFaceName=ＭＳ 明朝\r\nHeight=14\r\nBold=0\r\nItalic=1\r\nUnderline=1\r\nStrikeOut=0\r\n"
    "CharSet=128\r\nLineHeight=100\r\nTextColor=0x00FF00\r\nBackColor=0xFFFFFF\r\nSelectedTextColor=0x000000\r\n"
    "SelectedBackColor=0xABCDEF\r\nUseSystemColor=1\r\n\r\n"
    "[Image]\r\nBackColor=0x800000\r\nZoom=0\r\nSPIFolder=C:\\\r\nSPIFolderUtf8=C:\\a\xC2\xA5\\spi=\xF0\xA0\xAE\xB7\r\n"
    "UseSPI=1\r\n\r\n"
    "[Media]\r\nBackColor=0x000080\r\nZoom=400\r\nAutoPlay=1\r\n";

}  // namespace

TEST(IniFile, ReadsEveryValueIntoItsPlaceAndSavesItBackUnchanged)
{
    CLSGlimSettings settings = Loaded(kEveryValue);
    EXPECT_EQ(settings.GetLeft(), -8);
    EXPECT_EQ(settings.GetTop(), 16);
    using G = CLSGlimSettings;
    EXPECT_EQ(settings.GetFlags(), G::kMaximized | G::kShowStatusBar | G::kShowFolderInFileList | G::kFollowFile);
    EXPECT_EQ(Utf8OfWide(settings.GetStartFolder()), "C:\\Users\\Zo\xC3\xAB\\\xE5\x86\x99\xE7\x9C\x9F");
    EXPECT_EQ(settings.GetText().GetTextColor(), RGB(255, 0, 0));
    EXPECT_EQ(settings.GetText().GetBackColor(), RGB(0, 0, 255));
    EXPECT_EQ(settings.GetBinary().GetSelectedBackColor(), RGB(0xAB, 0xCD, 0xEF));
    EXPECT_EQ(settings.GetBinary().GetCharSet(), SHIFTJIS_CHARSET);
    EXPECT_EQ(settings.GetImage().GetSPIFolder(), L"C:\\a\u00A5\\spi=\U00020BB7");
    EXPECT_EQ(settings.GetMedia().GetBackColor(), RGB(0, 0, 0x80));
    EXPECT_EQ(Saved(settings), kEveryValue);

    // Values set by the program reach the file the same way.
    settings.SetLeft(-9);
    CLSGlimTextSettings text = settings.GetText();
    text.SetSelectedTextColor(RGB(0xFE, 0xDC, 0xBA));
    settings.SetText(text);
    std::string strExpected = kEveryValue;
    strExpected.replace(strExpected.find("Left=-8"), 7, "Left=-9");
    strExpected.replace(strExpected.find("0x123456"), 8, "0xFEDCBA");
    EXPECT_EQ(Saved(settings), strExpected);
}

TEST(IniFile, ReadingRulesAndTheirQuirks)
{
    using S = const CLSGlimSettings&;
    const struct {
        const char* lpszWhat;
        std::string strIni;
        std::function<void(S)> check;
    } kRows[] = {
        {"Window and General share their keys", "[Window]\r\nStartFolder=C:\\x\\\r\n[General]\r\nLeft=5\r\n",
         [](S s) { EXPECT_EQ(s.GetStartFolder(), L"C:\\x\\"); EXPECT_EQ(s.GetLeft(), 5); }},
        {"names are case-sensitive", "[window]\r\nWidth=800\r\n[Window]\r\nwidth=900\r\n[Text]\r\nbold=1\r\n",
         [](S s) { EXPECT_EQ(s.GetWidth(), CW_USEDEFAULT); EXPECT_EQ(s.GetText().GetStyle(), 0u); }},
        {"blanks around the equals sign", "[Window]\r\nWidth = 800\r\nHeight=600\r\nTop= 7\r\n", [](S s) {
             EXPECT_EQ(s.GetWidth(), CW_USEDEFAULT);
             EXPECT_EQ(s.GetHeight(), 600);
             EXPECT_EQ(s.GetTop(), 7);
         }},
        {"a byte-order mark spoils the first header",
         "\xEF\xBB\xBF[Window]\r\nLeft=5\r\n[General]\r\nStartFolder=D:\\\r\n",
         [](S s) { EXPECT_EQ(s.GetLeft(), CW_USEDEFAULT); EXPECT_EQ(s.GetStartFolder(), L"D:\\"); }},
        {"the last key wins and sections add up",
         "[Text]\r\nTabStop=2\r\n[Binary]\r\nHeight=9\r\n[Text]\r\nTabStop=8\r\nBold=1\r\n", [](S s) {
             EXPECT_EQ(s.GetText().GetTabStop(), 8);
             EXPECT_EQ(s.GetText().GetStyle(), CLSGlimFont::kBold);
             EXPECT_EQ(s.GetText().GetHeight(), 12);
             EXPECT_EQ(s.GetBinary().GetHeight(), 9);
         }},
        {"on is any non-zero number, off anything else",
         "[Window]\r\nShowToolBar=abc\r\nMaximized=-1\r\nShowFolderInFileList=5\r\n[Text]\r\nBold=1\r\n"
         "Bold=0\r\nItalic=2\r\n",
         [](S s) {
             using G = CLSGlimSettings;
             EXPECT_EQ(s.GetFlags(), (G::kDefaultFlags & ~G::kShowToolBar) | G::kMaximized | G::kShowFolderInFileList);
             EXPECT_EQ(s.GetText().GetStyle(), CLSGlimFont::kItalic);
         }},
        {"an 8-byte 0x number is a colour", "[General]\r\nMaxMemFileSize=0x400000\r\n",
         [](S s) { EXPECT_EQ(s.GetMaxMemFileSize(), 64); }},
        {"keys before the first header", "Left=5\r\n[Window]\r\nTop=6\r\n",
         [](S s) { EXPECT_EQ(s.GetLeft(), CW_USEDEFAULT); EXPECT_EQ(s.GetTop(), 6); }},
        {"an unknown section takes no keys",
         "[Window]\r\nLeft=5\r\n[Other]\r\nTop=6\r\n[]\r\nHeight=1\r\n[Window]x\r\nWidth=7\r\n", [](S s) {
             EXPECT_EQ(s.GetLeft(), 5);
             EXPECT_EQ(s.GetWidth(), 7);
             EXPECT_EQ(s.GetTop(), CW_USEDEFAULT);
             EXPECT_EQ(s.GetHeight(), CW_USEDEFAULT);
         }},
        {"no closing bracket is no header", "[Window]\r\n[Text\r\nLeft=5\r\n[Binary=1\r\n",
         [](S s) { EXPECT_EQ(s.GetLeft(), 5); }},
        {"a double-byte character ending in a bracket is no header", "[Window]\r\n[ゾ\r\nLeft=5\r\n",
         [](S s) { EXPECT_EQ(s.GetLeft(), 5); }},
        {"a UTF-8 folder wins wherever it stands", "[General]\r\nLastFolderUtf8=C:\\Zo\xC3\xAB\r\nLastFolder=C:\\\r\n",
         [](S s) { EXPECT_EQ(Utf8OfWide(s.GetLastFolder()), "C:\\Zo\xC3\xAB"); }},
        {"values are taken as they are", "[General]\r\nStartFolder=X\r\nStartFolder=\r\nLastFolder= a=b \r\n",
         [](S s) { EXPECT_EQ(s.GetStartFolder(), L""); EXPECT_EQ(s.GetLastFolder(), L" a=b "); }},
        {"Height and TabStop belong to their sections",
         "[Window]\r\nHeight=10\r\n[Binary]\r\nHeight=11\r\nTabStop=9\r\n", [](S s) {
             EXPECT_EQ(s.GetHeight(), 10);
             EXPECT_EQ(s.GetBinary().GetHeight(), 11);
             EXPECT_EQ(s.GetText().GetTabStop(), 4);
         }},
        {"a comment is just another line", "[Window]\r\n;Left=5\r\nTop=6\r\n",
         [](S s) { EXPECT_EQ(s.GetLeft(), CW_USEDEFAULT); EXPECT_EQ(s.GetTop(), 6); }},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.lpszWhat);
        row.check(Loaded(row.strIni));
    }
}

// A read-only file is the writer's to refuse; here, that a refusal is
// reported and nothing is written.
TEST(IniFile, AnIniThatCannotBeWrittenIsLeftAlone)
{
    TempFolder folder;
    const std::string strHeld = folder.Write("held.ini", "[Window]\r\nLeft=1\r\n");
    HANDLE hHolder = CreateFileA(strHeld.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hHolder, INVALID_HANDLE_VALUE);
    const CLSGlimSettings settings;
    EXPECT_FALSE(settings.Save(WidenAnsi(strHeld).c_str()));
    EXPECT_EQ(ReadFileBytes(strHeld), "[Window]\r\nLeft=1\r\n");
    EXPECT_FALSE(settings.Save(WidenAnsi(folder.PathOf("gone\\GLIM.INI")).c_str()));
    CloseHandle(hHolder);
}

TEST(IniFile, AFailedLoadKeepsTheLinesReadBeforeIt)
{
    // The pipe breaks while the last line is still unfinished: it may be cut
    // short, so it must not be used.
    BreakingPipe pipe(BreakingPipe::kFeeding, "[Window]\r\nLeft=5\r\n[Text]\r\nTabStop=8\r\n[Window]\r\nWidth=1234");
    CLSGlimSettings settings;
    EXPECT_FALSE(settings.Load(WidenAnsi(pipe.Path()).c_str()));
    pipe.Finish();
    EXPECT_EQ(settings.GetLeft(), 5);
    EXPECT_EQ(settings.GetText().GetTabStop(), 8);
    EXPECT_EQ(settings.GetWidth(), CW_USEDEFAULT);
    EXPECT_EQ(settings.GetTop(), CW_USEDEFAULT);

    // And the program goes on: the same object still reads a good file.
    TempFolder folder;
    EXPECT_TRUE(settings.Load(WidenAnsi(folder.Write("GLIM.INI", "[Window]\r\nWidth=640\r\n")).c_str()));
    EXPECT_EQ(settings.GetWidth(), 640);
    EXPECT_EQ(settings.GetLeft(), 5);
}

TEST(IniFile, AFailedSaveLeavesWhatWasWritten)
{
    const CLSGlimSettings settings = Loaded(kEveryValue);
    const std::string strWhole = Saved(settings);
    BreakingPipe pipe(BreakingPipe::kDraining, "[General]\r\n");
    EXPECT_FALSE(settings.Save(WidenAnsi(pipe.Path()).c_str()));
    const std::string strReceived = pipe.Finish();
    EXPECT_LT(strReceived.size(), strWhole.size());
    EXPECT_EQ(strReceived, strWhole.substr(0, strReceived.size()));
    EXPECT_NE(strReceived.find("ShowFolderTree=0\r\n\r\n[General]\r\n"), std::string::npos);

    EXPECT_EQ(Saved(settings), strWhole) << "a later save works as before";
}

// Which values are the defaults is the settings model's; here, that no input
// moves any of them.
TEST(IniFile, WithoutAnIniOrFromGarbageTheDefaultsStay)
{
    const std::string strDefaults = Saved(CLSGlimSettings());
    TempFolder folder;
    CLSGlimSettings settings;
    EXPECT_FALSE(settings.Load(WidenAnsi(folder.PathOf("GLIM.INI")).c_str()));
    EXPECT_EQ(Saved(settings), strDefaults);

    unsigned uSeed = 12345;
    const auto next = [&uSeed] {
        uSeed = uSeed * 1103515245u + 12345u;
        return static_cast<char>(uSeed >> 16);
    };
    for (const size_t size : {1u, 1025u, 1026u, 70000u}) {
        std::string strRandom;
        for (size_t i = 0; i < size; ++i) {
            strRandom += next();
        }
        EXPECT_EQ(Saved(Loaded(strRandom)), strDefaults) << size << " random bytes";
    }

    std::string strOneLine = "[Window]";
    while (strOneLine.size() < 1024 * 1024) {
        strOneLine += "Left=5 ";
    }
    EXPECT_EQ(Saved(Loaded(strOneLine)), strDefaults) << "a header with 1 MB after it";
    EXPECT_EQ(Saved(Loaded(strOneLine.substr(8))), strDefaults) << "1 MB of keys without a header";

    std::string strSections;
    for (int i = 0; i < 100000; ++i) {
        strSections += "[S" + std::to_string(i) + "]\r\nLeft=" + std::to_string(i) + "\r\n";
    }
    EXPECT_EQ(Saved(Loaded(strSections)), strDefaults) << "100,000 unknown sections";

    // A known key with a value of 1 MB is taken whole: lines have no limit.
    const std::string strFolder(1024 * 1024, 'f');
    EXPECT_EQ(Loaded("[General]\r\nStartFolder=" + strFolder).GetStartFolder(), WidenAnsi(strFolder));
}

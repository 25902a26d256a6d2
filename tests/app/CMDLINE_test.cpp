// The first command-line argument and the paths beside the executable.
#include "app/CMDLINE.h"

#include <gtest/gtest.h>

#include <string>

TEST(CommandLine, ProgramNameThenFirstArgumentWhole)
{
    const std::wstring longPath = L"C:\\" + std::wstring(320, L'表');  // far over 260 bytes in Shift-JIS
    const struct {
        std::wstring line, expected;
    } cases[] = {
        {L"glim.exe", L""},
        {L"glim.exe C:\\My Files\\a.txt", L"C:\\My"},  // unquoted: cut at the space
        {L"\"C:\\Program Files\\glim.exe\" \"C:\\My Files\\a.txt\" more words", L"C:\\My Files\\a.txt"},
        {L"glim \"C:\\never closed", L""},  // an unclosed quote is no argument at all
        {L"glim \"\" C:\\x", L""},
        {L"glim\tC:\\a\tb c", L"C:\\a\tb"},  // tabs do not separate arguments
        {L"\"C:\\Zoë\\glim.exe\"   \"C:\\Zoë\\café.txt\"", L"C:\\Zoë\\café.txt"},
        {L"glim \"" + longPath + L"\"", longPath},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirstArgument(ArgumentsOf(c.line.c_str()).c_str()), c.expected);
    }
    EXPECT_EQ(FirstArgument(nullptr), L"");
}

TEST(SiblingPath, ReplacesTheFileNameOrFallsBackToTheBareName)
{
    const std::wstring deep = L"C:\\" + std::wstring(300, L'漢') + L"\\glim.exe";
    const struct {
        std::wstring module, expected;
    } cases[] = {
        {L"C:\\Program Files\\Glim\\glim.exe", L"C:\\Program Files\\Glim\\GLIM.INI"},
        {L"C:\\Users\\Zoë\\表\\glim.exe", L"C:\\Users\\Zoë\\表\\GLIM.INI"},
        {L"", L"GLIM.INI"},
        {deep, deep.substr(0, deep.size() - 8) + L"GLIM.INI"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SiblingPath(c.module, L"GLIM.INI"), c.expected);
    }
}

TEST(PathBox, OnePairOfQuotesAndTheBlanksAroundThePathGo)
{
    const struct {
        const wchar_t* typed;
        const wchar_t* path;
    } cases[] = {
        {L"\"C:\\My Files\\a.txt\"", L"C:\\My Files\\a.txt"},
        {L"  \"C:\\a\"\t", L"C:\\a"},
        {L"\"\"C:\\a\"\"", L"\"C:\\a\""},  // one pair only
        {L"\"C:\\unclosed", L"\"C:\\unclosed"},
        {L"\"", L"\""},
        {L"   ", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathBoxText(c.typed), c.path);
    }
}

// The first command-line argument and the paths beside the executable.
#include "app/CMDLINE.h"

#include <gtest/gtest.h>

#include <string>

TEST(CommandLine, FirstArgument)
{
    const std::string longPath(400, 'x');
    const struct {
        std::string line, expected;
    } cases[] = {
        {"", ""},
        {"C:\\My Files\\a.txt", "C:\\My"},  // unquoted: cut at the space
        {"\"C:\\My Files\\a.txt\" more words", "C:\\My Files\\a.txt"},
        {"\"C:\\never closed", ""},  // an unclosed quote is no argument at all
        {"\"\" C:\\x", ""},
        {"C:\\a\tb c", "C:\\a\tb"},  // tabs do not separate
        {" leading", ""},
        {longPath, longPath.substr(0, kMaxPathChars)},  // cut to what the path box takes
        {"\"" + longPath + "\"", longPath.substr(0, kMaxPathChars)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirstArgument(c.line.c_str()), c.expected) << "command line: " << c.line;
    }
    EXPECT_EQ(FirstArgument(nullptr), "");
}

TEST(SiblingPath, ReplacesTheFileNameOrFallsBackToTheBareName)
{
    const std::string d247(247, 'd');
    const struct {
        const char* what;
        std::string module;  // empty: no module path at all
        std::string expected;  // what the buffer holds
        bool fits;
    } cases[] = {
        {"plain", "C:\\Program Files\\Glim\\glim.exe", "C:\\Program Files\\Glim\\GLIM.INI", true},
        // "表" is 0x95 0x5C: its trail byte is no backslash.
        {"double-byte folder", "C:\\\x95\x5C\\glim.exe", "C:\\\x95\x5C\\GLIM.INI", true},
        {"double-byte name", "C:\\dir\\\x95\x5C.exe", "C:\\dir\\GLIM.INI", true},
        {"no module path", "", "GLIM.INI", false},
        {"exactly fills the buffer", "C:\\" + d247 + "\\glim.exe", "C:\\" + d247 + "\\GLIM.INI", true},
        {"one byte too long", "C:\\" + d247 + "d\\glim.exe", "GLIM.INI", false},
    };
    for (const auto& c : cases) {
        char out[260] = "";
        const char* module = c.module.empty() ? nullptr : c.module.c_str();
        EXPECT_EQ(BuildSiblingPath(module, "GLIM.INI", out, sizeof(out)), c.fits) << c.what;
        EXPECT_EQ(std::string(out), c.expected) << c.what;
    }
}

TEST(PathBox, OnePairOfQuotesAndTheBlanksAroundThePathGo)
{
    const struct {
        const char* typed;
        const char* path;
    } cases[] = {
        {"\"C:\\My Files\\a.txt\"", "C:\\My Files\\a.txt"},
        {"  \"C:\\a\"\t", "C:\\a"},
        {"\"\"C:\\a\"\"", "\"C:\\a\""},  // one pair only
        {"\"C:\\unclosed", "\"C:\\unclosed"},
        {"\"", "\""},
        {"   ", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathBoxText(c.typed), c.path) << c.typed;
    }
}

// The first command-line argument and the paths beside the executable.
#include "app/CMDLINE.h"

#include <gtest/gtest.h>

#include <string>

TEST(CommandLine, FirstArgument)
{
    struct Case {
        const char* line;
        const char* expected;
    };
    const Case cases[] = {
        {"", ""},
        {"C:\\data", "C:\\data"},
        {"C:\\My Files\\a.txt", "C:\\My"},  // unquoted: cut at the space
        {"\"C:\\My Files\\a.txt\" more words", "C:\\My Files\\a.txt"},
        {"\"C:\\never closed", ""},  // an unclosed quote is no argument at all
        {"\"\" C:\\x", ""},
        {"C:\\a\tb c", "C:\\a\tb"},  // tabs do not separate
        {" leading", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FirstArgument(c.line), c.expected) << "command line: " << c.line;
    }
    EXPECT_EQ(FirstArgument(nullptr), "");
}

TEST(CommandLine, OverlongArgumentIsCutToThePathBox)
{
    const std::string longPath(400, 'x');
    EXPECT_EQ(FirstArgument(longPath.c_str()).size(), kMaxPathChars);
    EXPECT_EQ(FirstArgument(("\"" + longPath + "\"").c_str()).size(), kMaxPathChars);
}

TEST(SiblingPath, ReplacesTheFileNamePart)
{
    char out[260];
    EXPECT_TRUE(BuildSiblingPath("C:\\Program Files\\Glim\\glim.exe", "GLIM.INI", out, sizeof(out)));
    EXPECT_STREQ(out, "C:\\Program Files\\Glim\\GLIM.INI");

    // "表" is 0x95 0x5C in Shift-JIS: its trail byte must not be taken for the
    // last backslash of the path.
    const char sjisFolder[] = "C:\\\x95\x5C\\glim.exe";
    EXPECT_TRUE(BuildSiblingPath(sjisFolder, "GLIM.CHM", out, sizeof(out)));
    EXPECT_STREQ(out, "C:\\\x95\x5C\\GLIM.CHM");
    const char sjisName[] = "C:\\dir\\\x95\x5C.exe";
    EXPECT_TRUE(BuildSiblingPath(sjisName, "GLIM.INI", out, sizeof(out)));
    EXPECT_STREQ(out, "C:\\dir\\GLIM.INI");
}

TEST(SiblingPath, FallsBackToTheBareNameWhenItDoesNotFit)
{
    const std::string folder = "C:\\" + std::string(250, 'd') + "\\g.exe";  // 259 bytes
    char out[260];
    EXPECT_FALSE(BuildSiblingPath(folder.c_str(), "GLIM.INI", out, sizeof(out)));
    EXPECT_STREQ(out, "GLIM.INI");
    EXPECT_FALSE(BuildSiblingPath(nullptr, "GLIM.CHM", out, sizeof(out)));
    EXPECT_STREQ(out, "GLIM.CHM");

    // Exactly filling the buffer, terminator included, still fits.
    const std::string exact = "C:\\" + std::string(247, 'd') + "\\glim.exe";  // folder part 251 bytes
    EXPECT_TRUE(BuildSiblingPath(exact.c_str(), "GLIM.INI", out, sizeof(out)));
    EXPECT_EQ(std::string(out).size(), 259u);
}

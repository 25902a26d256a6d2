// The string class: buffer granules, range rules, the Shift-JIS aware search,
// numbers and colours, window texts and the instance count.
#include "settings/TSTRING.h"

#include "app/ASSERT.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <string>

TEST(TString, BufferGrowsAndShrinksInWholeGranules)
{
    CLSTString str;
    EXPECT_EQ(str.GetCapacity(), 256);
    const struct {
        int iLength;
        int iCapacity;
    } kRows[] = {{254, 256}, {255, 512}, {510, 512}, {511, 768}};
    for (const auto& row : kRows) {
        while (str.GetLength() < row.iLength) {
            str.Append("x");
        }
        EXPECT_EQ(str.GetCapacity(), row.iCapacity) << "appended to " << row.iLength << " bytes";
    }
    str.Replace(10, -1, nullptr);
    EXPECT_STREQ(str.GetString(), "xxxxxxxxxx");
    EXPECT_EQ(str.GetCapacity(), 256);

    // Construction sizes for the text alone, appending leaves room for one more.
    const std::string str255(255, 'y');
    CLSTString built(str255.c_str());
    EXPECT_EQ(built.GetCapacity(), 256);
    CLSTString appended;
    appended.Append(str255.c_str());
    EXPECT_EQ(appended.GetCapacity(), 512);
    EXPECT_EQ(CLSTString(appended).GetCapacity(), 256);
    EXPECT_EQ(CLSTString(std::string(256, 'y').c_str()).GetCapacity(), 512);
}

TEST(TString, ReplaceOutsideTheStringChangesNothing)
{
    const struct {
        int iStart;
        int iCount;
        const char* lpszText;
        const char* lpszExpected;
    } kRows[] = {
        {2, 2, "XYZ", "abXYZef"}, {0, -1, "new", "new"},    {6, 0, "!", "abcdef!"},   {1, 4, nullptr, "af"},
        {3, -1, "", "abc"},       {7, 0, "!", "abcdef"},    {-1, 1, "!", "abcdef"},  {4, 3, "!", "abcdef"},
        {2, -2, "!", "abcdef"},   {6, -1, "gh", "abcdefgh"},
    };
    for (const auto& row : kRows) {
        CLSTString str("abcdef");
        str.Replace(row.iStart, row.iCount, row.lpszText);
        EXPECT_STREQ(str.GetString(), row.lpszExpected) << row.iStart << "," << row.iCount;
        EXPECT_EQ(str.GetLength(), static_cast<int>(std::string(row.lpszExpected).size()));
    }
}

TEST(TString, MidOfAnInvalidRangeIsEmptyButConstructionThrows)
{
    const struct {
        int iStart;
        int iCount;
        const char* lpszExpected;  // null: the range is invalid
    } kRows[] = {{2, 3, "cde"}, {2, -1, "cdef"}, {6, -1, ""}, {0, 0, ""},      {7, 0, nullptr},
                 {-1, 2, nullptr}, {4, 3, nullptr}, {0, -2, nullptr}, {7, -1, nullptr}};
    const CLSTString str("abcdef");
    for (const auto& row : kRows) {
        const char* lpszMid = row.lpszExpected != nullptr ? row.lpszExpected : "";
        EXPECT_STREQ(str.Mid(row.iStart, row.iCount).GetString(), lpszMid) << row.iStart << "," << row.iCount;
        if (row.lpszExpected != nullptr) {
            EXPECT_STREQ(CLSTString("abcdef", row.iStart, row.iCount).GetString(), row.lpszExpected);
        } else {
            EXPECT_THROW(CLSTString("abcdef", row.iStart, row.iCount), std::bad_alloc);
        }
    }
    EXPECT_STREQ(CLSTString(nullptr, 3, 5).GetString(), "");
}

TEST(TString, FindStepsOverDoubleByteCharacters)
{
    // The katakana ZO is 0x83 0x5D in Shift-JIS: its trail byte is a "]".
    ASSERT_EQ(std::string("ゾ"), "\x83\x5D");
    ASSERT_EQ(std::string("表"), "\x95\x5C");  // this one ends in a backslash
    const struct {
        const char* lpszText;
        const char* lpszFind;
        int iStart;
        char chEscape;
        int iExpected;
    } kRows[] = {
        {"[ゾ]", "]", 0, 0, 3},      {"ゾ", "]", 0, 0, -1},          {"\x81 ]", "]", 0, 0, 2},
        {"ab]cd]", "]", 3, 0, 5},    {"ab]cd]", "cd", 0, 0, 3},     {"ab]cd]", "cd]x", 0, 0, -1},
        {"ab]", "]", 3, 0, -1},      {"ab]", "]", -1, 0, -1},       {"a\\]b]", "]", 0, '\\', 4},
        {"a\\ゾ]", "]", 0, '\\', 4}, {"表\\", "\\", 0, 0, 2},
    };
    for (const auto& row : kRows) {
        EXPECT_EQ(CLSTString(row.lpszText).Find(row.lpszFind, row.iStart, row.chEscape), row.iExpected)
            << row.lpszFind << " in " << row.lpszText << " from " << row.iStart;
    }
    EXPECT_EQ(CLSTString("[ゾ]").Find(']'), 3);
    EXPECT_EQ(CLSTString("abc").Find(nullptr), -1);
    EXPECT_EQ(CLSTString("").Find("a"), -1);
}

TEST(TString, ToIntReadsNumbersAndRedGreenBlueColours)
{
    const struct {
        const char* lpszText;
        int iExpected;
    } kRows[] = {
        {"0xFF0000", 255},   {"0x0000FF", 16711680}, {"0X00ff00", 65280}, {"0x400000", 64},
        {"0xZZ00FF", 16711680}, {"0x123", 291},      {"0x12345678", 0x12345678}, {"-5", -5},
        {"42", 42},          {"", 0},                {"abc", 0},         {"0x", 0},
    };
    for (const auto& row : kRows) {
        EXPECT_EQ(CLSTString(row.lpszText).ToInt(), row.iExpected) << row.lpszText;
    }
}

TEST(TString, AppendAssignConcatenateAndCompare)
{
    CLSTString str("ab");
    str.Append(12);
    str.Append(-3);
    EXPECT_STREQ(str.GetString(), "ab12-3");
    str.Append(str);
    EXPECT_STREQ(str.GetString(), "ab12-3ab12-3");
    str.Assign(str.GetString() + 2);
    EXPECT_STREQ(str.GetString(), "12-3ab12-3");
    str = str;
    EXPECT_STREQ(str.GetString(), "12-3ab12-3");

    // Appending a string to itself across a granule boundary moves the buffer.
    std::string strLong(200, 'q');
    strLong[199] = 'e';
    CLSTString longer(strLong.c_str());
    longer.Append(longer.GetString());
    EXPECT_EQ(std::string(longer.GetString()), strLong + strLong);

    const CLSTString joined = CLSTString("x") + "y" + CLSTString(-2147483647 - 1);
    EXPECT_STREQ(joined.GetString(), "xy-2147483648");
    EXPECT_TRUE(joined == "xy-2147483648");
    EXPECT_FALSE(joined == "XY-2147483648");
    EXPECT_FALSE(joined == "xy");
    EXPECT_TRUE(CLSTString() == nullptr);
    EXPECT_TRUE(CLSTString("a") == CLSTString("a"));
    EXPECT_EQ(joined.CharAt(0), 'x');
    EXPECT_EQ(joined.CharAt(12), '8');
    EXPECT_EQ(joined.CharAt(13), '\0');
    EXPECT_EQ(joined.CharAt(-1), '\0');
}

TEST(TString, CountsLiveInstances)
{
    const int iBefore = CLSTString::m_iClassCount;
    {
        CLSTString a;
        CLSTString b("x");
        CLSTString c(b);
        CLSTString d(7);
        const CLSTString e = b + c;
        const CLSTString f = e.Mid(0, 1);
        EXPECT_EQ(CLSTString::m_iClassCount, iBefore + 6);
    }
    EXPECT_EQ(CLSTString::m_iClassCount, iBefore);
}

TEST(TStringDeathTest, DestructorReportsABrokenCount)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            SetAssertionHandler([](const std::string& message) {
                std::fprintf(stderr, "%s\n", message.c_str());
                std::fflush(stderr);
                ExitProcess(3);
            });
            CLSTString* pStr = new CLSTString("x");
            CLSTString::m_iClassCount = 0;
            delete pStr;
        },
        "Assertion failed: m_iClassCount >= 0, file TSTRING, line \\d+");
}

TEST(TString, TakesTheTextOfAWindowOrADialogControl)
{
    HINSTANCE hInstance = GetModuleHandleA(nullptr);
    HWND hParent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, hInstance, nullptr);
    ASSERT_NE(hParent, nullptr);
    HWND hEdit = CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 200, 20, hParent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(1234)), hInstance, nullptr);
    ASSERT_NE(hEdit, nullptr);
    const std::string strText = "C:\\フォルダ\\" + std::string(600, 'a');
    SetWindowTextA(hEdit, strText.c_str());

    CLSTString str("old contents");
    str.FromWindowText(hEdit);
    EXPECT_EQ(std::string(str.GetString()), strText);
    EXPECT_EQ(str.GetLength(), static_cast<int>(strText.size()));
    EXPECT_GT(str.GetCapacity(), str.GetLength());

    SetWindowTextA(hEdit, "ゾ]");
    str.FromWindowText(hParent, 1234);
    EXPECT_STREQ(str.GetString(), "ゾ]");
    EXPECT_EQ(str.GetCapacity(), 256);
    str.FromWindowText(hParent, 999);  // no such control
    EXPECT_STREQ(str.GetString(), "");
    DestroyWindow(hParent);
}

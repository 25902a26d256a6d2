// The string class: range rules, the Shift-JIS aware search, numbers and
// colours, growth that keeps the text, window texts and the instance count.
#include "settings/TSTRING.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

TEST(TString, RangesOutsideTheStringChangeNothingAndThrowOnlyInConstruction)
{
    const struct {
        int iStart, iCount;
        const char* lpszText;
        const char* lpszReplaced;
        const char* lpszMid;  // null: an invalid range
    } kRows[] = {
        {2, 2, "XYZ", "abXYZef", "cd"}, {0, -1, "new", "new", "abcdef"}, {6, 0, "!", "abcdef!", ""},
        {1, 4, nullptr, "af", "bcde"},  {3, -1, "", "abc", "def"},       {6, -1, "gh", "abcdefgh", ""},
        {7, 0, "!", "abcdef", nullptr}, {-1, 1, "!", "abcdef", nullptr}, {4, 3, "!", "abcdef", nullptr},
        {2, -2, "!", "abcdef", nullptr}, {7, -1, "!", "abcdef", nullptr},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(std::to_string(row.iStart) + "," + std::to_string(row.iCount));
        CLSTString str("abcdef");
        str.Replace(row.iStart, row.iCount, row.lpszText);
        EXPECT_STREQ(str.GetString(), row.lpszReplaced);
        EXPECT_EQ(str.GetLength(), static_cast<int>(std::string(row.lpszReplaced).size()));
        const CLSTString original("abcdef");
        EXPECT_STREQ(original.Mid(row.iStart, row.iCount).GetString(), row.lpszMid ? row.lpszMid : "");
        if (row.lpszMid != nullptr) {
            EXPECT_STREQ(CLSTString("abcdef", row.iStart, row.iCount).GetString(), row.lpszMid);
        } else {
            EXPECT_THROW(CLSTString("abcdef", row.iStart, row.iCount), std::bad_alloc);
        }
    }
    EXPECT_STREQ(CLSTString(nullptr, 3, 5).GetString(), "");
}

TEST(TString, FindStepsOverDoubleByteCharacters)
{
    ASSERT_EQ(std::string("ゾ"), "\x83\x5D");  // its trail byte is a "]"
    ASSERT_EQ(std::string("表"), "\x95\x5C");  // this one's is a backslash
    const struct {
        const char* lpszText;
        const char* lpszFind;
        int iStart;
        char chEscape;
        int iExpected;
    } kRows[] = {
        {"[ゾ]", "]", 0, 0, 3},      {"ゾ", "]", 0, 0, -1},      {"表\\", "\\", 0, 0, 2},
        {"\x81 ]", "]", 0, 0, 2},    {"ab]cd]", "]", 3, 0, 5},  {"ab]cd]", "cd", 0, 0, 3},
        {"ab]cd]", "cd]x", 0, 0, -1}, {"ab]", "]", 3, 0, -1},    {"ab]", "]", -1, 0, -1},
        {"a\\]b]", "]", 0, '\\', 4}, {"a\\ゾ]", "]", 0, '\\', 4}, {"", "a", 0, 0, -1},
    };
    for (const auto& row : kRows) {
        EXPECT_EQ(CLSTString(row.lpszText).Find(row.lpszFind, row.iStart, row.chEscape), row.iExpected)
            << row.lpszFind << " in " << row.lpszText << " from " << row.iStart;
    }
    EXPECT_EQ(CLSTString("[ゾ]").Find(']'), 3);
    EXPECT_EQ(CLSTString("abc").Find(nullptr), -1);
}

TEST(TString, ToIntReadsNumbersAndRedGreenBlueColours)
{
    const struct {
        const char* lpszText;
        int iExpected;
    } kRows[] = {
        {"0xFF0000", 255},      {"0x0000FF", 16711680}, {"0X00ff00", 65280},        {"0x400000", 64},
        {"0xZZ00FF", 16711680}, {"0x123", 291},         {"0x12345678", 0x12345678}, {"-5", -5},
        {"42", 42},             {"", 0},                {"abc", 0},                 {"0x", 0},
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
    str.Append(str);
    EXPECT_STREQ(str.GetString(), "ab12-3ab12-3");
    str.Assign(str.GetString() + 2);
    str = str;
    EXPECT_STREQ(str.GetString(), "12-3ab12-3");

    // Appending a string to itself across a granule boundary moves the buffer.
    std::string strLong(200, 'q');
    strLong[199] = 'e';
    CLSTString longer(strLong.c_str());
    longer.Append(longer.GetString());
    EXPECT_EQ(std::string(longer.GetString()), strLong + strLong);

    const CLSTString joined = CLSTString("x") + "y" + CLSTString(-2147483647 - 1);
    EXPECT_TRUE(joined == "xy-2147483648");
    EXPECT_FALSE(joined == "XY-2147483648");
    EXPECT_FALSE(joined == "xy");
    EXPECT_TRUE(CLSTString() == nullptr);
    EXPECT_TRUE(CLSTString("a") == CLSTString("a"));
    EXPECT_EQ(std::string() + joined.CharAt(0) + joined.CharAt(12) + joined.CharAt(13) + joined.CharAt(-1),
              std::string("x8") + '\0' + '\0');
}

// Every way of making a string counts, so the count never goes negative
// (which would assert) when they go.
TEST(TString, CountsEveryInstance)
{
    const int iBefore = CLSTString::m_iClassCount;
    {
        const CLSTString a, b("x"), c(b), d(7), e = b + c, f = e.Mid(0, 1);
        EXPECT_EQ(CLSTString::m_iClassCount, iBefore + 6);
    }
    EXPECT_EQ(CLSTString::m_iClassCount, iBefore);
}

TEST(TString, TakesTheTextOfAWindowOrADialogControl)
{
    HWND hParent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    HWND hEdit = CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 200, 20, hParent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(1234)), nullptr, nullptr);
    ASSERT_NE(hEdit, nullptr);
    const std::string strText = "C:\\フォルダ\\" + std::string(600, 'a');
    SetWindowTextA(hEdit, strText.c_str());
    CLSTString str("old contents");
    str.FromWindowText(hEdit);
    EXPECT_EQ(std::string(str.GetString()), strText);
    EXPECT_EQ(str.GetLength(), static_cast<int>(strText.size()));

    SetWindowTextA(hEdit, "ゾ]");
    str.FromWindowText(hParent, 1234);
    EXPECT_STREQ(str.GetString(), "ゾ]");
    str.FromWindowText(hParent, 999);  // no such control
    EXPECT_STREQ(str.GetString(), "");
    DestroyWindow(hParent);
}

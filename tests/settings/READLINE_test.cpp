// The line reader and the text writer on real files: every kind of line
// break, the 1,025-byte chunk boundary, files that cannot be opened. A read or
// write that fails part-way is shown by GLIM.INI (INIFILE_test.cpp).
#include "settings/READLINE.h"

#include "base/WIDETEXT.h"
#include "tests/common/TEMPDIR.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> ReadAllLines(CLSFileReadLine& reader)
{
    std::vector<std::string> lines;
    CLSTString strLine("stale");
    while (reader.ReadLine(strLine)) {
        lines.emplace_back(strLine.GetString(), strLine.GetLength());
    }
    EXPECT_STREQ(strLine.GetString(), "") << "after the last line";
    EXPECT_TRUE(reader.IsEnd());
    EXPECT_FALSE(reader.ReadLine(strLine)) << "once ended, stays ended";
    return lines;
}

std::string Digits(size_t length)
{
    std::string str;
    for (size_t i = 0; i < length; ++i) {
        str += static_cast<char>('0' + i % 10);
    }
    return str;
}

}  // namespace

TEST(ReadLine, SplitsLinesAtEveryKindOfBreak)
{
    const std::string x1024(1024, 'x');
    const std::string x1025(1025, 'x');
    const struct {
        const char* lpszWhat;
        std::string strBytes;
        std::vector<std::string> lines;
    } kRows[] = {
        {"CR LF and an empty line", "a\r\n\r\nb", {"a", "", "b"}},
        {"no break after the last line", "one\ntwo", {"one", "two"}},
        {"empty file", "", {}},
        {"only a break", "\r\n", {""}},
        {"lone CRs", "a\rb\r", {"a", "b"}},
        {"LF then CR is two breaks", "a\n\rb", {"a", "", "b"}},
        {"a NUL ends a line", std::string("ab\0cd\n", 6), {"ab", "cd"}},
        {"CR LF split across chunks", x1024 + "\r\ny", {x1024, "y"}},
        {"CR ending the first chunk, then text", x1024 + "\rz\n", {x1024, "z"}},
        {"CR ending the first chunk, then two LFs", x1024 + "\r\n\n", {x1024, ""}},
        {"CR ending the file", x1024 + "\r", {x1024}},
        {"LF starting the second chunk", x1025 + "\nw", {x1025, "w"}},
        {"line longer than several chunks", Digits(3000) + "\r\nend", {Digits(3000), "end"}},
    };
    TempFolder folder;
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.lpszWhat);
        CLSFileReadLine reader(WidenAnsi(folder.Write("lines.txt", row.strBytes)).c_str());
        EXPECT_FALSE(reader.IsEnd());
        EXPECT_EQ(ReadAllLines(reader), row.lines);
    }
}

TEST(ReadLine, ReopeningStartsAfreshAndAMissingFileReadsNothing)
{
    TempFolder folder;
    CLSFileReadLine reader;
    CLSTString strLine;
    EXPECT_FALSE(reader.ReadLine(strLine)) << "nothing open";
    ASSERT_TRUE(reader.Open(WidenAnsi(folder.Write("a.txt", std::string(1024, 'a') + "\r")).c_str()));
    ASSERT_TRUE(reader.ReadLine(strLine));
    // The CR pending from a.txt must not swallow the LF that starts b.txt.
    ASSERT_TRUE(reader.Open(WidenAnsi(folder.Write("b.txt", "\nb1")).c_str()));
    EXPECT_EQ(ReadAllLines(reader), (std::vector<std::string>{"", "b1"}));
    EXPECT_FALSE(reader.Open(WidenAnsi(folder.PathOf("missing.txt")).c_str()));
    EXPECT_FALSE(reader.ReadLine(strLine));
}

// Replacing a file and the texts written are shown byte for byte by the saved
// GLIM.INI; appending is the writer's own.
TEST(WriteString, AppendsButNeverTouchesAReadOnlyFile)
{
    TempFolder folder;
    const std::string strPath = folder.Write("out.txt", "old\r\n");
    CLSFileWriteString writer;
    ASSERT_TRUE(writer.Open(WidenAnsi(strPath).c_str(), true));
    writer.WriteLine('c');
    writer.Write(nullptr);
    writer.Close();
    EXPECT_EQ(ReadFileBytes(strPath), "old\r\nc\r\n");

    SetFileAttributesA(strPath.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(writer.Open(WidenAnsi(strPath).c_str(), true)) << "a read-only file is not appended to";
    EXPECT_FALSE(writer.Open(WidenAnsi(strPath).c_str(), false)) << "nor replaced";
    EXPECT_EQ(ReadFileBytes(strPath), "old\r\nc\r\n");
    EXPECT_THROW(writer.Write("closed"), CLSError);
}

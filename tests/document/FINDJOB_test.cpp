// Searching real documents: the decoded text in each encoding, caseless as
// Windows compares, backward and within a range, the bytes of the hex view,
// and a big file on disk searched on a thread and stopped.
#include "document/FILESTRM.h"
#include "base/WIDEN.h"
#include "document/FINDJOB.h"
#include "document/FINDTEXT.h"

#include "TESTFILES.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

struct Search {
    bool bytes;
    const char* query;
    bool matchCase;
    bool forward;
    FindPos from;
    FindPos limit;
};

// The source as the pane makes it, from a document opened on the file.
FindResult SearchIn(CLSFileStream& doc, const Search& s, const std::atomic<bool>& stop)
{
    DocumentSource source;
    EXPECT_TRUE(MakeDocumentSource(doc, !s.bytes, source));
    FindQuery query;
    query.bytes = s.bytes;
    const std::wstring wide = Wide(s.query, 932);  // narrow literals are Shift-JIS here
    query.text.assign(wide.begin(), wide.end());
    query.matchCase = s.matchCase;
    query.encoding = doc.GetDetectedEncoding();
    if (s.bytes) {
        ParseHexPairs(s.query, query.hex);
    }
    std::atomic<int> progress{0};
    return CLSFindJob::Run(query, FindRange{s.forward, s.from, s.limit}, source, stop, progress);
}

constexpr FindPos kStart{0, 0};
constexpr FindPos kEnd{UINT64_MAX, 0};
constexpr FindPos kNowhere{9, 9};  // the expected place of no match

}  // namespace

TEST(FindJob, FindsTextBytesAndRangesInEveryEncoding)
{
    const std::string text = "abc\r\nあいう\r\nxyz";
    const std::string& sjis = text;
    const Search iu{false, "いう", false, true, kStart, kEnd};
    struct Case {
        std::string file;
        Search search;
        FindPos start, end;
    } cases[] = {
        {sjis, iu, {1, 1}, {1, 3}},
        {"abc\r\n" + Bytes({0xA4, 0xA2, 0xA4, 0xA4, 0xA4, 0xA6}) + "\r\nxyz", iu, {1, 1}, {1, 3}},
        {"\xEF\xBB\xBF" + Encode(Wide(text, 932), 65001), iu, {1, 1}, {1, 3}},
        {"\xFF\xFE" + Utf16(Wide(text, 932)), iu, {1, 1}, {1, 3}},
        {sjis, {false, "う\r\nx", false, true, kStart, kEnd}, {1, 2}, {2, 1}},
        {std::string("ａｂｃ ＡＢＣ"), {false, "ＡＢＣ", false, true, kStart, kEnd}, {0, 0}, {0, 3}},
        {std::string("ａｂｃ ＡＢＣ"), {false, "ＡＢＣ", true, true, kStart, kEnd}, {0, 4}, {0, 7}},
        {"Abc abc ABC", {false, "abc", false, false, {0, 8}, kStart}, {0, 4}, {0, 7}},
        {"abc abc", {false, "abc", false, true, kStart, {0, 4}}, {0, 0}, {0, 3}},
        {"abc abc", {false, "abc", false, true, {0, 1}, {0, 4}}, kNowhere, kNowhere},
        {sjis, {false, "xyzw", false, true, kStart, kEnd}, kNowhere, kNowhere},  // cut by the end of the file
        {std::string("a").append(Bytes({0xFA, 0x54})).append("\r\nb"), {false, "¬", false, true, kStart, kEnd}, {0, 1}, {0, 2}},  // a second form
        {sjis, {true, "82 A2", false, true, kStart, {0, 16}}, {0, 7}, {0, 9}},
        {sjis, {true, "いう", false, true, kStart, {0, 16}}, {0, 7}, {0, 11}},
        {"xxabc", {true, "ABC", false, true, kStart, {0, 5}}, {0, 2}, {0, 5}},
        {"xxabc", {true, "ABC", true, true, kStart, {0, 5}}, kNowhere, kNowhere},
        {"ab ab", {true, "61 62", false, false, {0, 5}, kStart}, {0, 3}, {0, 5}},
    };
    TempFolder folder;
    const std::atomic<bool> go{false};
    for (const Case& c : cases) {
        CLSFileStream doc;
        ASSERT_TRUE(doc.Open(WidenAnsi(folder.Write("find.txt", c.file))));
        const FindResult result = SearchIn(doc, c.search, go);
        const bool expected = c.start.line != kNowhere.line;
        EXPECT_EQ(result.status, expected ? FindResult::Status::Found : FindResult::Status::NotFound) << c.search.query;
        if (expected) {
            EXPECT_EQ(std::make_tuple(result.start.line, result.start.column, result.end.line, result.end.column),
                      std::make_tuple(c.start.line, c.start.column, c.end.line, c.end.column))
                << c.search.query;
        }
    }
}

// One line of 4 MiB of a single letter, and a query of a thousand of it and
// another letter: compared place by place that is 4 * 10^9 steps; a stop
// asked for must be heard inside the line.
TEST(FindJob, OneLongLineIsMatchedInLinearTimeAndStoppedWithin)
{
    const std::string query = std::string(1000, 'a') + "b";
    const std::string file = std::string(std::size_t{4} << 20, 'a') + "b";
    TempFolder folder;
    CLSFileStream doc;
    ASSERT_TRUE(doc.Open(WidenAnsi(folder.Write("one.txt", file))));
    const Search s{false, query.c_str(), true, true, kStart, kEnd};
    std::atomic<bool> stop{false};
    const FindResult found = SearchIn(doc, s, stop);
    EXPECT_EQ(found.status, FindResult::Status::Found);
    EXPECT_EQ(found.start.column, file.size() - query.size());
    stop = true;
    EXPECT_EQ(SearchIn(doc, s, stop).status, FindResult::Status::Cancelled);
}

// A line of 9 MiB is searched in windows of 4 Mi units: a match across the
// seam of two windows, the next after a start, the last backward and within
// a limit, caseless, and a query whose bytes the line lacks.
TEST(FindJob, ALongLineIsSearchedWindowByWindow)
{
    constexpr std::uint64_t kSeam = std::uint64_t{4} << 20;
    constexpr std::uint64_t kSecond = std::uint64_t{7} << 20;
    std::string file(std::size_t{9} << 20, 'a');
    file.replace(kSeam - 3, 6, "needle");
    file.replace(kSecond, 6, "needle");
    TempFolder folder;
    CLSFileStream doc;
    doc.SetMemoryLimit(1000);
    ASSERT_TRUE(doc.Open(WidenAnsi(folder.Write("long.txt", file))));
    const struct {
        Search search;
        std::uint64_t column;  // UINT64_MAX: not found
    } cases[] = {
        {{false, "needle", true, true, kStart, kEnd}, kSeam - 3},
        {{false, "NEEDLE", false, true, {0, kSeam - 2}, kEnd}, kSecond},
        {{false, "needle", true, false, kEnd, kStart}, kSecond},
        {{false, "needle", true, false, {0, kSecond}, kStart}, kSeam - 3},
        {{false, "needles", true, true, kStart, kEnd}, UINT64_MAX},
    };
    const std::atomic<bool> go{false};
    for (const auto& c : cases) {
        const FindResult result = SearchIn(doc, c.search, go);
        if (c.column == UINT64_MAX) {
            EXPECT_EQ(result.status, FindResult::Status::NotFound) << c.search.query;
            continue;
        }
        EXPECT_EQ(result.status, FindResult::Status::Found) << c.search.query << " " << c.column;
        EXPECT_EQ(std::make_tuple(result.start.line, result.start.column, result.end.column),
                  std::make_tuple(std::uint64_t{0}, c.column, c.column + 6))
            << c.search.query << " " << c.column;
    }
}

TEST(FindJob, ABigFileOnDiskIsSearchedOnAThreadAndCanBeStopped)
{
    std::string file;
    while (file.size() < 3 * 1024 * 1024) {
        file += "これは検索のための長い行です abc\r\n";
    }
    const std::uint64_t lastLine = file.size() / std::string("これは検索のための長い行です abc\r\n").size();
    file += "最後に見つかる語\r\n";
    TempFolder folder;
    CLSFileStream doc;
    doc.SetMemoryLimit(1000);
    ASSERT_TRUE(doc.Open(WidenAnsi(folder.Write("big.txt", file))));
    ASSERT_FALSE(doc.IsInMemory());

    const Search last{false, "見つかる", false, true, kStart, kEnd};
    std::atomic<bool> stop{true};
    EXPECT_EQ(SearchIn(doc, last, stop).status, FindResult::Status::Cancelled);

    DocumentSource source;
    ASSERT_TRUE(MakeDocumentSource(doc, true, source));
    FindQuery query;
    query.text = u"見つかる";
    query.encoding = TextEncoding::ShiftJis;
    CLSFindJob job;
    ASSERT_TRUE(job.Start(query, FindRange{true, kStart, kEnd}, std::move(source), nullptr));
    job.Wait();
    EXPECT_FALSE(job.IsRunning());
    EXPECT_EQ(job.Result().status, FindResult::Status::Found);
    EXPECT_EQ(job.Result().start.line, lastLine);
    EXPECT_EQ(job.Result().start.column, 3u);
}

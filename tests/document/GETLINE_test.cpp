// Lines of real files: where they start, how each encoding decodes, the
// user's choice of encoding, and Japanese text made by nkf and iconv.
#include "document/DOCREAD.h"
#include "base/WIDEN.h"
#include "document/FILESTRM.h"

#include "TESTFILES.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::wstring>;

// Every line of the file decoded with the given encoding (Auto: detected),
// one by one.
Lines AllLines(CLSFileStream& doc, TextEncoding encoding = TextEncoding::Auto)
{
    Lines lines;
    const DWORD count = doc.GetLineCount();
    for (DWORD k = 0; k < count; ++k) {
        CLSDecodedLine line = doc.GetLine(k, encoding);
        EXPECT_TRUE(line) << "line " << k;
        EXPECT_EQ(line.Length(), lstrlenW(line.Text()));
        lines.emplace_back(line.Text());
    }
    EXPECT_FALSE(doc.GetLine(count, encoding)) << "past the last line";
    // Read as a run for a copy, from the second line past the last: the same.
    Lines run;
    DocumentSource source;
    EXPECT_TRUE(MakeDocumentSource(doc, true, source));
    const TextEncoding effective = encoding != TextEncoding::Auto ? encoding : doc.GetDetectedEncoding();
    EXPECT_TRUE(ReadSourceLines(source, 1, count + 5, effective, [&](std::uint64_t k, const WCHAR* text, int length) {
        EXPECT_EQ(k, run.size() + 1);
        run.emplace_back(text, length);
        return true;
    }));
    EXPECT_EQ(run, Lines(lines.begin() + (count > 1 ? 1 : count), lines.end()));
    return lines;
}

// A document opened on the bytes, held in memory unless the limit is lower.
class CLSOpenedBytes {
public:
    explicit CLSOpenedBytes(const std::string& bytes, DWORD limit = 0xFFFFFFFF)
    {
        m_doc.SetMemoryLimit(limit);
        EXPECT_TRUE(m_doc.Open(WidenAnsi(m_folder.Write("doc.txt", bytes))));
    }
    CLSFileStream& Doc() { return m_doc; }

private:
    TempFolder m_folder;
    CLSFileStream m_doc;
};

Lines CorpusLines()
{
    const std::string corpus = ReadFixture("corpus.txt");
    Lines lines;
    std::size_t from = 0;
    for (std::size_t lf; (lf = corpus.find('\n', from)) != std::string::npos; from = lf + 1) {
        lines.push_back(Wide(corpus.substr(from, lf - from)));
    }
    lines.push_back(Wide(corpus.substr(from)));
    return lines;
}

}  // namespace

// Megabytes of mixed breaks, one byte and two bytes a unit, read through the
// index buffer on disk: the same lines as in memory.
TEST(GetLine, LongFileOnDiskGivesTheSameLinesAsInMemory)
{
    std::string text;
    std::string wide = Bytes({0xFF, 0xFE});
    Lines expected;
    for (int i = 0; i < 30000; ++i) {
        const std::string line = std::string(static_cast<std::size_t>(i % 90), 'x') + std::to_string(i);
        text += line + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
        expected.push_back(std::wstring(line.begin(), line.end()));
    }
    expected.push_back(L"");
    wide += Utf16(std::wstring(text.begin(), text.end()));
    for (const std::string* bytes : {&text, &wide}) {
        for (DWORD limit : {0xFFFFFFFFu, 1000u}) {
            CLSOpenedBytes opened(*bytes, limit);
            EXPECT_EQ(opened.Doc().IsInMemory(), limit != 1000);
            EXPECT_EQ(AllLines(opened.Doc()), expected) << bytes->size() << " bytes, limit " << limit;
        }
    }
}

// Each encoding's plain text is the corpus test's; here, the marks, odd
// ends and breaks that the corpus does not hold.
TEST(GetLine, BreaksEncodingsAndMarksOnTheFirstLineOnly)
{
    const struct {
        const char* what;
        std::string bytes;
        TextEncoding detected;
        Lines lines;
    } cases[] = {
        {"empty file: one empty line", "", TextEncoding::ShiftJis, {L""}},
        {"trailing breaks", "one\r\r\ntwo\n\nthree\r", TextEncoding::ShiftJis,
         {L"one", L"", L"two", L"", L"three", L""}},
        {"UTF-16LE mark on line 1 stays", Bytes({0xFF, 0xFE, 0x41, 0x00, 0x0A, 0x00, 0xFF, 0xFE}),
         TextEncoding::Utf16Le, {L"A", L"\xFEFF"}},
        {"UTF-16BE with an odd last byte", Bytes({0xFE, 0xFF, 0x30, 0x42, 0x00, 0x0A, 0x4E, 0x9C, 0x41}),
         TextEncoding::Utf16Be, {L"\x3042", L"\x4E9C"}},
        {"UTF-8 with mark", Bytes({0xEF, 0xBB, 0xBF, 0xE3, 0x81, 0x82, 0x0A, 0xEF, 0xBB, 0xBF, 0x41}),
         TextEncoding::Utf8, {L"\x3042", L"\xFEFF" L"A"}},
        {"text stops at its first zero", Bytes({0x61, 0x62, 0x00, 0x63, 0x64}), TextEncoding::Binary, {L"ab"}},
    };
    for (const auto& c : cases) {
        CLSOpenedBytes opened(c.bytes);
        EXPECT_EQ(AllLines(opened.Doc()), c.lines) << c.what;
        EXPECT_EQ(opened.Doc().GetDetectedEncoding(), c.detected) << c.what;
        EXPECT_EQ(opened.Doc().GetKind(), c.detected == TextEncoding::Binary ? DocumentKind::Hex : DocumentKind::Text)
            << c.what;
    }
}

TEST(GetLine, ChosenEncodingDecodesAndItsUnitsSplitTheLines)
{
    // Asked for without a choice: split at single bytes, read as UTF-16
    // units. Line 0 keeps its first two bytes, which are no mark.
    CLSOpenedBytes sjis(Bytes({0x41, 0x30, 0x0A, 0x42, 0x30}));
    EXPECT_EQ(AllLines(sjis.Doc(), TextEncoding::Utf16Le), (Lines{L"\x3041", L"\x3042"}));
    EXPECT_EQ(sjis.Doc().GetDetectedEncoding(), TextEncoding::ShiftJis);
    // Chosen: UTF-16 without a mark (an odd byte at the end keeps it from
    // being detected) splits at 2-byte units in its byte order, and back.
    const struct {
        std::string bytes;
        TextEncoding chosen;
    } wide[] = {
        {Bytes({'a', 0, 'b', 0, 0x0D, 0, 0x0A, 0, 'c', 0, 'd', 0, 0x0D, 0, 0x0A, 0, 'e'}), TextEncoding::Utf16Le},
        {Bytes({0, 'a', 0, 'b', 0, 0x0D, 0, 0x0A, 0, 'c', 0, 'd', 0, 0x0D, 0, 0x0A, 0}), TextEncoding::Utf16Be},
    };
    for (const auto& c : wide) {
        for (DWORD limit : {DWORD(0xFFFFFFFF), DWORD(0)}) {
            CLSOpenedBytes opened(c.bytes, limit);
            EXPECT_EQ(opened.Doc().GetLineCount(), 5u);
            opened.Doc().SetLineEncoding(c.chosen);
            opened.Doc().StartLineIndex(nullptr);
            const Lines lines = AllLines(opened.Doc(), c.chosen);
            EXPECT_EQ(Lines(lines.begin(), lines.begin() + 2), (Lines{L"ab", L"cd"})) << limit;
            EXPECT_EQ(lines.size(), 3u);
            opened.Doc().SetLineEncoding(TextEncoding::Auto);
            EXPECT_EQ(opened.Doc().GetLineCount(), 5u);
        }
    }
    // Detected as UTF-16LE and read as UTF-8: split at single bytes, and the
    // second line shows nothing before its first 00.
    CLSOpenedBytes marked(Bytes({0xFF, 0xFE, 0x41, 0x30, 0x0A, 0x00, 0x42, 0x00}));
    marked.Doc().SetLineEncoding(TextEncoding::Utf8);
    EXPECT_EQ(AllLines(marked.Doc(), TextEncoding::Utf8), (Lines{L"\xFFFD\xFFFD" L"A0", std::wstring()}));
    CLSOpenedBytes widely(Bytes({0xFF, 0xFE, 0x0A, 0x4E, 0x0A, 0x00, 0x42, 0x00}));
    EXPECT_EQ(AllLines(widely.Doc()), (Lines{L"\x4E0A", L"B"}));
    EXPECT_EQ(std::wstring(widely.Doc().GetLine(0, TextEncoding::Utf16Be).Text()), L"\xFFFE\x0A4E\x0A00");
    EXPECT_EQ(widely.Doc().GetLineCount(), 2u);
    // JIS bytes shown as Shift-JIS keep their escapes.
    CLSOpenedBytes jis(Bytes({0x1B, 0x24, 0x42, 0x30, 0x21, 0x1B, 0x28, 0x42}));
    EXPECT_EQ(std::wstring(jis.Doc().GetLine(0, TextEncoding::ShiftJis).Text()), L"\x1B$B0!\x1B(B");
    EXPECT_EQ(std::wstring(jis.Doc().GetLine(0).Text()), L"\x4E9C");
}

// The corpus, written as UTF-8 and converted by nkf and iconv into every
// encoding; each file must detect as its encoding and give back every line.
TEST(GetLine, JapaneseCorpusInEveryEncoding)
{
    const Lines expected = CorpusLines();
    ASSERT_EQ(expected.size(), 8u);
    const struct {
        const char* file;
        TextEncoding detected;
    } fixtures[] = {
        {"sjis.txt", TextEncoding::ShiftJis},       {"sjis-crlf.txt", TextEncoding::ShiftJis},
        {"jis.txt", TextEncoding::Jis},             {"jis-crlf.txt", TextEncoding::Jis},
        {"euc.txt", TextEncoding::Euc},             {"euc-cr.txt", TextEncoding::Euc},
        {"utf16le.txt", TextEncoding::Utf16Le},     {"utf16le-crlf.txt", TextEncoding::Utf16Le},
        {"utf16be.txt", TextEncoding::Utf16Be},     {"utf8.txt", TextEncoding::Utf8},
        {"utf8-bom-crlf.txt", TextEncoding::Utf8},  {"utf7.txt", TextEncoding::Utf7},
    };
    for (const auto& f : fixtures) {
        CLSOpenedBytes opened(ReadFixture(f.file));
        EXPECT_EQ(AllLines(opened.Doc()), expected) << f.file;
        EXPECT_EQ(opened.Doc().GetDetectedEncoding(), f.detected) << f.file;
        EXPECT_EQ(opened.Doc().GetKind(), DocumentKind::Text) << f.file;
    }
    // iconv closes some base64 runs without '-'; such a file is not taken for
    // UTF-7 by the detector, but decodes once the user chooses UTF-7.
    CLSOpenedBytes implicit(ReadFixture("utf7-implicit.txt"));
    EXPECT_EQ(AllLines(implicit.Doc(), TextEncoding::Utf7), expected);
    EXPECT_EQ(implicit.Doc().GetDetectedEncoding(), TextEncoding::ShiftJis);
}

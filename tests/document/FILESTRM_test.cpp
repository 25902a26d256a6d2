// The document as a file: storage form by size, the memory limit, the cursor,
// the IStream face, refusals, media, and files changed behind its back.
#include "document/FILESTRM.h"

#include "base/WIDEN.h"
#include "TESTFILES.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD kFailed = 0xFFFFFFFF;
constexpr DWORD kDiskLimit = 1000;  // the smallest limit: files above it stay on disk

std::string Letters(std::size_t n)
{
    std::string text;
    for (std::size_t i = 0; i < n; ++i) {
        text.push_back(i % 61 == 60 ? '\n' : static_cast<char>('a' + i % 26));
    }
    return text;
}

std::string ReadAll(CLSFileStream& doc, DWORD count)
{
    std::string bytes(count, '\0');
    DWORD got = 0;
    EXPECT_TRUE(doc.ReadBytes(bytes.data(), count, &got));
    bytes.resize(got);
    return bytes;
}

}  // namespace

TEST(FileStream, MemoryLimitDecidesTheStorageForm)
{
    CLSFileStream doc;
    EXPECT_EQ(doc.GetKind(), DocumentKind::Hex) << "a new document is an empty hex view";
    EXPECT_EQ(doc.GetLineCount(), 0u);
    doc.SetMemoryLimit(1000);
    doc.SetMemoryLimit(999);  // below the smallest limit: ignored

    TempFolder folder;
    ASSERT_TRUE(doc.Open(WidenAnsi(folder.Write("at.txt", Letters(1000)))));
    EXPECT_TRUE(doc.IsInMemory()) << "exactly at the limit";
    ASSERT_TRUE(doc.Open(WidenAnsi(folder.Write("above.txt", Letters(1001)))));
    EXPECT_FALSE(doc.IsInMemory()) << "one byte above it";
    EXPECT_TRUE(doc.IsOpen());
    EXPECT_EQ(doc.GetFileSize(), 1001u);
    EXPECT_EQ(ReadAll(doc, 2000), Letters(1001));
}

TEST(FileStream, CursorMovesOnlyWithinTheFileInMemory)
{
    TempFolder folder;
    CLSFileStream doc;
    ASSERT_TRUE(doc.Open(WidenAnsi(folder.Write("ten.txt", "0123456789"))));
    ASSERT_TRUE(doc.IsInMemory());
    const struct {
        LONG distance;
        DWORD origin;
        DWORD expected;  // kFailed: the cursor stays where it was
    } moves[] = {
        {4, FILE_BEGIN, 4},   {3, FILE_CURRENT, 7}, {4, FILE_CURRENT, kFailed}, {3, FILE_CURRENT, 10},
        {-11, FILE_CURRENT, kFailed}, {-10, FILE_CURRENT, 0}, {-1, FILE_BEGIN, kFailed}, {11, FILE_BEGIN, kFailed},
        {10, FILE_BEGIN, 10}, {1, FILE_END, kFailed},   {-10, FILE_END, 0},        {-11, FILE_END, kFailed},
        {0, FILE_END, 10},    {-3, FILE_END, 7},        {0, 3, kFailed},
    };
    DWORD position = 0;
    for (const auto& m : moves) {
        const DWORD result = doc.SetPosition(m.distance, m.origin);
        EXPECT_EQ(result, m.expected) << m.distance << " from " << m.origin;
        position = result != kFailed ? result : position;
        EXPECT_EQ(doc.SetPosition(0, FILE_CURRENT), position);
    }
    EXPECT_EQ(ReadAll(doc, 5), "789");
    EXPECT_EQ(ReadAll(doc, 5), "");  // the end is no failure
    DWORD got = 99;
    EXPECT_FALSE(doc.ReadBytes(nullptr, 1, &got));
    EXPECT_EQ(got, 0u);
}

TEST(FileStream, FilesThatCannotBeReadLeaveNothingOpen)
{
    TempFolder folder;
    CLSFileStream doc;
    ASSERT_TRUE(doc.Open(WidenAnsi(folder.Write("first.txt", "first"))));
    EXPECT_FALSE(doc.Open(WidenAnsi(folder.PathOf("missing.txt"))));
    EXPECT_FALSE(doc.IsOpen());
    EXPECT_EQ(doc.GetKind(), DocumentKind::None);
    EXPECT_EQ(doc.GetLineCount(), 0u);
    EXPECT_FALSE(doc.Open(WidenAnsi(folder.Path()))) << "a folder";
    EXPECT_EQ(doc.GetKind(), DocumentKind::None);

    // A file another program holds without read sharing is refused; one it
    // reads or writes while sharing reads (a log being written) is not.
    // (Sharing is checked per handle, whichever process holds it.)
    const std::string path = folder.Write("held.txt", "held by another program");
    const struct {
        const char* holder;
        DWORD access, share;
        bool opens;
    } holders[] = {
        {"exclusive reader", GENERIC_READ, 0, false},
        {"writer sharing reads", GENERIC_WRITE, FILE_SHARE_READ, true},
        {"reader sharing reads", GENERIC_READ, FILE_SHARE_READ, true},
    };
    for (const auto& h : holders) {
        const CLSHandle held(CreateFileA(path.c_str(), h.access, h.share, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held) << h.holder;
        EXPECT_EQ(doc.Open(WidenAnsi(path)), h.opens) << h.holder;
        EXPECT_EQ(doc.IsOpen(), h.opens) << h.holder;
        doc.Close();
    }
}

TEST(FileStream, OpeningASecondFileForgetsTheFirst)
{
    TempFolder folder;
    CLSFileStream doc;
    ASSERT_TRUE(doc.Open(WidenAnsi(folder.Write("a.txt", reinterpret_cast<const char*>(u8"一\n二\n三")))));
    EXPECT_EQ(doc.GetLineCount(), 3u);
    EXPECT_EQ(doc.GetDetectedEncoding(), TextEncoding::Utf8);
    ASSERT_TRUE(doc.Open(WidenAnsi(folder.Write("b.txt", Bytes({0xA4, 0xA2, 0xA4, 0xA4})))));
    EXPECT_EQ(doc.GetDetectedEncoding(), TextEncoding::Auto);
    EXPECT_EQ(doc.GetLineCount(), 1u);
    EXPECT_EQ(doc.GetDetectedEncoding(), TextEncoding::Euc);
    EXPECT_EQ(std::wstring(doc.GetLine(0).Text()), L"\x3042\x3044");
}

TEST(FileStream, SamplesForKindAndEncoding)
{
    TempFolder folder;
    // A zero byte at offset 8190 lies outside the kind sample but inside the
    // 8192 bytes that detection reads from a copy in memory.
    std::string lateZero = Letters(9000);
    lateZero[8190] = '\0';
    // A UTF-8 character cut after its first byte by the end of the disk sample.
    const std::string cut = std::string(8189, 'a') + reinterpret_cast<const char*>(u8"あいう");
    const struct {
        const char* what;
        const std::string& bytes;
        DWORD limit;
        bool indexFirst;
        DocumentKind kind;
        TextEncoding encoding;  // Auto: not looked at
    } cases[] = {
        {"late zero, kind first", lateZero, 0xFFFFFFFF, false, DocumentKind::Text, TextEncoding::Auto},
        {"late zero in memory, index first", lateZero, 0xFFFFFFFF, true, DocumentKind::Hex, TextEncoding::Binary},
        {"late zero on disk, index first", lateZero, kDiskLimit, true, DocumentKind::Text, TextEncoding::ShiftJis},
        {"UTF-8 cut by the disk sample", cut, kDiskLimit, true, DocumentKind::Text, TextEncoding::Utf8},
    };
    for (const auto& c : cases) {
        CLSFileStream doc;
        doc.SetMemoryLimit(c.limit);
        ASSERT_TRUE(doc.Open(WidenAnsi(folder.Write("sample.txt", c.bytes))));
        if (c.indexFirst) {
            doc.GetLineCount();
        }
        EXPECT_EQ(doc.GetKind(), c.kind) << c.what;
        if (c.encoding != TextEncoding::Auto) {
            EXPECT_EQ(doc.GetDetectedEncoding(), c.encoding) << c.what;
        }
    }
}

TEST(FileStreamCom, InterfacesReferenceCountReadAndWrite)
{
    CLSFileStream doc;
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(doc.QueryInterface(IID_ISequentialStream, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(doc.QueryInterface(IID_IPersist, &object), E_NOINTERFACE);
    ASSERT_EQ(doc.QueryInterface(IID_IStream, &object), S_OK);
    EXPECT_EQ(object, static_cast<IStream*>(&doc));
    ASSERT_EQ(doc.QueryInterface(IID_IUnknown, &object), S_OK);
    EXPECT_EQ(doc.Release(), 2u) << "the owner's and QueryInterface's";
    EXPECT_EQ(doc.Release(), 1u);

    // Read gives what there is; Write is refused.
    TempFolder folder;
    ASSERT_TRUE(doc.Open(WidenAnsi(folder.Write("abc.txt", "abcdef"))));
    char buffer[8] = {};
    ULONG got = 0;
    EXPECT_EQ(doc.Read(buffer, 4, &got), S_OK);
    EXPECT_EQ(std::string(buffer, got), "abcd");
    EXPECT_EQ(doc.Read(buffer, 8, &got), S_OK) << "fewer bytes than asked is no failure";
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(doc.Read(nullptr, 8, &got), S_FALSE);
    EXPECT_EQ(doc.Write("x", 1, &got), STG_E_CANTSAVE);
}

TEST(FileStreamCom, SeekBackwardsWorksOnDiskOnly)
{
    TempFolder folder;
    const std::string path = folder.Write("seek.txt", Letters(3000));
    CLSFileStream disk, memory;
    disk.SetMemoryLimit(kDiskLimit);
    ASSERT_TRUE(disk.Open(WidenAnsi(path)));
    ASSERT_TRUE(memory.Open(WidenAnsi(path)));
    const struct {
        CLSFileStream& doc;
        LONGLONG move;
        DWORD origin;
        HRESULT result;
        ULONGLONG position;  // after the move (the old one when it fails)
    } cases[] = {
        {disk, 100, STREAM_SEEK_SET, S_OK, 100},
        {disk, -40, STREAM_SEEK_CUR, S_OK, 60},
        {disk, 0, STREAM_SEEK_END, S_OK, 3000},
        {disk, -1, STREAM_SEEK_SET, STG_E_INVALIDPOINTER, 3000},
        {memory, 100, STREAM_SEEK_SET, S_OK, 100},
        {memory, -40, STREAM_SEEK_CUR, STG_E_INVALIDPOINTER, 100},
        {memory, 0, STREAM_SEEK_END, S_OK, 3000},
        {memory, 0x80000000LL, STREAM_SEEK_CUR, STG_E_INVALIDPOINTER, 3000},
        {memory, 0xFFFFFFFFLL, STREAM_SEEK_CUR, STG_E_INVALIDPOINTER, 3000},
        {memory, 5, 3, STG_E_INVALIDFUNCTION, 3000},
    };
    for (const auto& c : cases) {
        const char* form = &c.doc == &disk ? "disk " : "memory ";
        LARGE_INTEGER move;
        move.QuadPart = c.move;
        ULARGE_INTEGER position;
        position.QuadPart = 12345;
        EXPECT_EQ(c.doc.Seek(move, c.origin, &position), c.result) << form << c.move;
        if (c.result == S_OK) {
            EXPECT_EQ(position.QuadPart, c.position) << form << c.move;
        }
        const LARGE_INTEGER none = {};
        ASSERT_EQ(c.doc.Seek(none, STREAM_SEEK_CUR, &position), S_OK);
        EXPECT_EQ(position.QuadPart, c.position) << form << c.move;
    }
}

// Another program cuts or deletes the file while it is shown from disk; only a
// process outside Windows can do that to a file opened without write sharing.
TEST(FileStreamFaults, FileCutOrDeletedOnDiskIsReadAsFarAsItGoes)
{
    TempFolder folder;
    std::string text;
    for (int i = 0; i < 400; ++i) {
        text += "line " + std::to_string(i) + "\r\n";
    }
    const struct {
        const char* command;
        bool indexFirst;
        DWORD lines;             // the line count afterwards
        DWORD lastText;          // lines past it are empty
        const wchar_t* lastLine;
    } cases[] = {
        {"truncate -s 100", false, 13, 12, L"li"},  // "line 11\r\n" ends at 98
        {"truncate -s 100", true, 401, 12, L"li"},
        {"rm -f", false, 401, 399, L"line 399"},  // the open file stays readable
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.command) + (c.indexFirst ? ", index first" : ""));
        const std::string path = folder.Write(UniqueName("shown") + ".txt", text);
        const std::string host = HostPath(path);
        if (host.empty()) {
            GTEST_SKIP() << "no host process here";
        }
        CLSFileStream doc;
        doc.SetMemoryLimit(kDiskLimit);
        ASSERT_TRUE(doc.Open(WidenAnsi(path)));
        if (c.indexFirst) {
            ASSERT_EQ(doc.GetLineCount(), 401u);
        }
        ASSERT_TRUE(RunHostCommand(std::string(c.command) + " '" + host + "'", folder));
        ASSERT_EQ(doc.GetLineCount(), c.lines);
        EXPECT_EQ(std::wstring(doc.GetLine(11).Text()), L"line 11");
        EXPECT_EQ(std::wstring(doc.GetLine(c.lastText).Text()), c.lastLine);
        for (DWORD k = c.lastText + 1; k < c.lines; ++k) {
            CLSDecodedLine line = doc.GetLine(k);
            ASSERT_TRUE(line) << k;
            EXPECT_EQ(line.Length(), 0) << k;
        }
        EXPECT_EQ(doc.GetKind(), DocumentKind::Text);
    }
}

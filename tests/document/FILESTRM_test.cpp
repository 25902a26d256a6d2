// The document as a file: storage form by size, the memory limit, the cursor,
// the IStream face, refusals, media, and files changed behind its back.
#include "document/FILESTRM.h"

#include "TESTFILES.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD kFailed = 0xFFFFFFFF;

std::string Letters(std::size_t n)
{
    std::string text;
    for (std::size_t i = 0; i < n; ++i) {
        text.push_back(i % 61 == 60 ? '\n' : static_cast<char>('a' + i % 26));
    }
    return text;
}

// A document whose limit forces the storage form of the test.
struct Form {
    const char* name;
    DWORD limit;
};
const Form kMemory = {"memory", 0xFFFFFFFF};
const Form kDisk = {"disk", 1000};

std::string ReadAll(CLSFileStream& doc, DWORD count)
{
    std::string bytes(count, '\0');
    DWORD got = 0;
    EXPECT_TRUE(doc.ReadBytes(bytes.data(), count, &got));
    bytes.resize(got);
    return bytes;
}

// A window to hold media windows, as the view does.
class CLSParentWindow {
public:
    CLSParentWindow()
        : m_hWnd(CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr))
    {
    }
    ~CLSParentWindow() { DestroyWindow(m_hWnd); }
    HWND Handle() const { return m_hWnd; }

private:
    HWND m_hWnd;
};

}  // namespace

TEST(FileStream, NewDocumentIsAnEmptyHexView)
{
    CLSFileStream doc;
    EXPECT_EQ(doc.GetKind(), DocumentKind::Hex);
    EXPECT_EQ(doc.GetMemoryLimit(), 4000000u);
    EXPECT_EQ(doc.GetPictureBackground(), RGB(255, 255, 255));
    EXPECT_FALSE(doc.IsOpen());
    EXPECT_EQ(doc.GetBitmapWidth(), 0);
    EXPECT_EQ(doc.GetLineCount(), 0u);
    EXPECT_FALSE(doc.GetLine(0));
}

TEST(FileStream, MemoryLimitIgnoresSmallValuesAndReadsMinusOneAsUnsigned)
{
    CLSFileStream doc;
    doc.SetMemoryLimit(999);
    EXPECT_EQ(doc.GetMemoryLimit(), 4000000u);
    doc.SetMemoryLimit(1000);
    EXPECT_EQ(doc.GetMemoryLimit(), 1000u);
    doc.SetMemoryLimit(static_cast<DWORD>(-1));
    EXPECT_EQ(doc.GetMemoryLimit(), 4294967295u);
}

TEST(FileStream, AFileExactlyAtTheLimitIsHeldInMemoryAndOneByteMoreStaysOnDisk)
{
    CLSTempFolder folder;
    const std::string at = folder.Write("at.txt", Letters(4000000));
    const std::string above = folder.Write("above.txt", Letters(4000001));
    CLSFileStream doc;
    ASSERT_TRUE(doc.Open(at.c_str(), nullptr, nullptr));
    EXPECT_TRUE(doc.IsInMemory());
    EXPECT_EQ(doc.GetFileSize(), 4000000u);
    ASSERT_TRUE(doc.Open(above.c_str(), nullptr, nullptr));
    EXPECT_FALSE(doc.IsInMemory());
    EXPECT_TRUE(doc.IsOpen());
    EXPECT_EQ(doc.GetFileSize(), 4000001u);

    doc.SetMemoryLimit(1000);
    const std::string small = folder.Write("1000.txt", Letters(1000));
    const std::string bigger = folder.Write("1001.txt", Letters(1001));
    ASSERT_TRUE(doc.Open(small.c_str(), nullptr, nullptr));
    EXPECT_TRUE(doc.IsInMemory());
    ASSERT_TRUE(doc.Open(bigger.c_str(), nullptr, nullptr));
    EXPECT_FALSE(doc.IsInMemory());
    // Both forms give the same bytes.
    EXPECT_EQ(ReadAll(doc, 2000), Letters(1001));
}

TEST(FileStream, CursorMovesOnlyWithinTheFileInMemory)
{
    CLSTempFolder folder;
    const std::string path = folder.Write("ten.txt", "0123456789");
    CLSFileStream doc;
    ASSERT_TRUE(doc.Open(path.c_str(), nullptr, nullptr));
    ASSERT_TRUE(doc.IsInMemory());
    struct Move {
        LONG distance;
        DWORD origin;
        DWORD expected;  // kFailed: the cursor stays where it was
    };
    const Move moves[] = {
        {4, FILE_BEGIN, 4},   {3, FILE_CURRENT, 7}, {4, FILE_CURRENT, kFailed}, {3, FILE_CURRENT, 10},
        {-11, FILE_CURRENT, kFailed}, {-10, FILE_CURRENT, 0}, {-1, FILE_BEGIN, kFailed}, {11, FILE_BEGIN, kFailed},
        {10, FILE_BEGIN, 10}, {1, FILE_END, kFailed},   {-10, FILE_END, 0},        {-11, FILE_END, kFailed},
        {0, FILE_END, 10},    {-3, FILE_END, 7},        {0, 3, kFailed},
    };
    DWORD position = 0;
    for (const Move& m : moves) {
        const DWORD result = doc.SetPosition(m.distance, m.origin);
        EXPECT_EQ(result, m.expected) << m.distance << " from " << m.origin;
        if (result != kFailed) {
            position = result;
        }
        EXPECT_EQ(doc.SetPosition(0, FILE_CURRENT), position);
    }
    EXPECT_EQ(ReadAll(doc, 5), "789");
    EXPECT_EQ(ReadAll(doc, 5), "");  // the end is no failure
    DWORD got = 99;
    EXPECT_FALSE(doc.ReadBytes(nullptr, 1, &got));
    EXPECT_EQ(got, 0u);
}

TEST(FileStream, EmptyFileOpensInMemoryAsOneEmptyTextLine)
{
    CLSTempFolder folder;
    const std::string path = folder.Write("empty.txt", "");
    for (const Form& form : {kMemory, kDisk}) {
        CLSFileStream doc;
        doc.SetMemoryLimit(form.limit);
        ASSERT_TRUE(doc.Open(path.c_str(), nullptr, nullptr)) << form.name;
        EXPECT_TRUE(doc.IsInMemory()) << "a 0-byte file is never above the limit";
        EXPECT_EQ(doc.SetPosition(0, FILE_END), 0u);
        EXPECT_EQ(ReadAll(doc, 4), "");
        EXPECT_EQ(doc.GetKind(), DocumentKind::Text);
        EXPECT_EQ(doc.GetLineCount(), 1u);
        CLSDecodedLine line = doc.GetLine(0);
        ASSERT_TRUE(line);
        EXPECT_EQ(line.Length(), 0);
        EXPECT_FALSE(doc.GetLine(1));
        EXPECT_EQ(doc.GetDetectedEncoding(), TextEncoding::ShiftJis);
    }
}

TEST(FileStream, FilesThatCannotBeReadLeaveNothingOpen)
{
    CLSTempFolder folder;
    const std::string first = folder.Write("first.txt", "first");
    CLSFileStream doc;
    ASSERT_TRUE(doc.Open(first.c_str(), nullptr, nullptr));
    EXPECT_FALSE(doc.Open(folder.PathOf("missing.txt").c_str(), nullptr, nullptr));
    EXPECT_FALSE(doc.IsOpen());
    EXPECT_EQ(doc.GetKind(), DocumentKind::None);
    EXPECT_EQ(doc.GetLineCount(), 0u);
    EXPECT_FALSE(doc.Open(folder.Path().c_str(), nullptr, nullptr)) << "a folder";
    EXPECT_EQ(doc.GetKind(), DocumentKind::None);
}

TEST(FileStream, FilesHeldByAnotherProgramWithoutReadSharingAreRefused)
{
    CLSTempFolder folder;
    const std::string path = folder.Write("held.txt", "held by another program");
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string helper(self);
    helper = helper.substr(0, helper.find_last_of('\\') + 1) + "lockhold.exe";
    struct Holder {
        const char* mode;
        bool opens;
    };
    for (const Holder& h : {Holder{"exclusive", false}, Holder{"write", false}, Holder{"read", true}}) {
        const std::string readyName = std::string("glimdoc-ready-") + h.mode;
        const std::string quitName = std::string("glimdoc-quit-") + h.mode;
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
        HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, quitName.c_str());
        std::string command = "\"" + helper + "\" \"" + path + "\" " + h.mode + " " + readyName + " " + quitName;
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &process));
        ASSERT_EQ(WaitForSingleObject(ready, 20000), WAIT_OBJECT_0) << h.mode;
        CLSFileStream doc;
        EXPECT_EQ(doc.Open(path.c_str(), nullptr, nullptr), h.opens) << h.mode;
        EXPECT_EQ(doc.IsOpen(), h.opens) << h.mode;
        doc.Close();
        SetEvent(quit);
        WaitForSingleObject(process.hProcess, 20000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        CloseHandle(ready);
        CloseHandle(quit);
    }
}

TEST(FileStream, WavOpensAsMediaAndTextIsQuietlyRefused)
{
    CLSTempFolder folder;
    const std::string wav = folder.Write("tone.wav", SilentWav(1600));
    const std::string text = folder.Write("note.txt", "just text\r\n");
    CLSParentWindow parent;
    CLSFileStream doc;
    ASSERT_TRUE(doc.Open(wav.c_str(), parent.Handle(), nullptr));
    ASSERT_EQ(doc.GetKind(), DocumentKind::Media);
    HWND media = doc.GetMediaWindow();
    ASSERT_NE(media, nullptr);
    EXPECT_EQ(GetParent(media), parent.Handle());
    EXPECT_NE(GetWindowLongPtrA(media, GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetWindowLongPtrA(media, GWL_STYLE) & WS_BORDER, 0);
    EXPECT_EQ(doc.GetObjectHandle(), static_cast<HANDLE>(media));

    // The next file closes the media window; text is no media.
    ASSERT_TRUE(doc.Open(text.c_str(), parent.Handle(), nullptr));
    EXPECT_FALSE(IsWindow(media));
    EXPECT_EQ(doc.GetObjectHandle(), nullptr);
    EXPECT_EQ(doc.GetKind(), DocumentKind::Text);
    EXPECT_EQ(GetWindow(parent.Handle(), GW_CHILD), nullptr) << "the refused media window is gone";

    // Without a window to play in, a sound file is no media.
    ASSERT_TRUE(doc.Open(wav.c_str(), nullptr, nullptr));
    EXPECT_EQ(doc.GetKind(), DocumentKind::Hex);
}

TEST(FileStream, OpeningASecondFileForgetsTheFirst)
{
    CLSTempFolder folder;
    const std::string utf8 = folder.Write("a.txt", reinterpret_cast<const char*>(u8"一\n二\n三"));
    const std::string euc = folder.Write("b.txt", Bytes({0xA4, 0xA2, 0xA4, 0xA4}));
    CLSFileStream doc;
    ASSERT_TRUE(doc.Open(utf8.c_str(), nullptr, nullptr));
    EXPECT_EQ(doc.GetLineCount(), 3u);
    EXPECT_EQ(doc.GetDetectedEncoding(), TextEncoding::Utf8);
    ASSERT_TRUE(doc.Open(euc.c_str(), nullptr, nullptr));
    EXPECT_EQ(doc.GetDetectedEncoding(), TextEncoding::Auto);
    EXPECT_EQ(doc.GetLineCount(), 1u);
    EXPECT_EQ(doc.GetDetectedEncoding(), TextEncoding::Euc);
    EXPECT_EQ(std::wstring(doc.GetLine(0).Text()), Wide(u8"あい"));
}

TEST(FileStream, KindComesFromTheFirst8190BytesButDetectionInMemorySeesTheCopy)
{
    // A zero byte at offset 8190 lies outside the kind sample but inside the
    // 8192 bytes that detection reads from a copy in memory.
    std::string bytes = Letters(9000);
    bytes[8190] = '\0';
    CLSTempFolder folder;
    const std::string path = folder.Write("late-zero.txt", bytes);
    struct Case {
        Form form;
        bool indexFirst;
        DocumentKind kind;
    };
    const Case cases[] = {
        {kMemory, false, DocumentKind::Text},
        {kMemory, true, DocumentKind::Hex},
        {kDisk, true, DocumentKind::Text},
    };
    for (const Case& c : cases) {
        CLSFileStream doc;
        doc.SetMemoryLimit(c.form.limit);
        ASSERT_TRUE(doc.Open(path.c_str(), nullptr, nullptr));
        if (c.indexFirst) {
            doc.GetLineCount();
        }
        EXPECT_EQ(doc.GetKind(), c.kind) << c.form.name << (c.indexFirst ? " index first" : "");
    }
}

TEST(FileStream, Utf8CutAtTheEndOfTheDiskSampleIsStillUtf8)
{
    std::string bytes(8189, 'a');
    bytes += reinterpret_cast<const char*>(u8"あいう");  // the sample ends after its first byte
    CLSTempFolder folder;
    const std::string path = folder.Write("cut.txt", bytes);
    CLSFileStream doc;
    doc.SetMemoryLimit(kDisk.limit);
    ASSERT_TRUE(doc.Open(path.c_str(), nullptr, nullptr));
    ASSERT_FALSE(doc.IsInMemory());
    EXPECT_EQ(doc.GetKind(), DocumentKind::Text);
    EXPECT_EQ(doc.GetLineCount(), 1u);
    EXPECT_EQ(doc.GetDetectedEncoding(), TextEncoding::Utf8);
}

TEST(FileStreamCom, QueryInterfaceAnswersOnlyIUnknownAndIStream)
{
    CLSFileStream doc;
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(doc.QueryInterface(IID_ISequentialStream, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(doc.QueryInterface(IID_IPersist, &object), E_NOINTERFACE);
    ASSERT_EQ(doc.QueryInterface(IID_IStream, &object), S_OK);
    EXPECT_EQ(object, static_cast<IStream*>(&doc));
    ASSERT_EQ(doc.QueryInterface(IID_IUnknown, &object), S_OK);
    EXPECT_EQ(doc.AddRef(), 4u) << "1 of the owner, 2 from QueryInterface, this one";
    EXPECT_EQ(doc.Release(), 3u);
    EXPECT_EQ(doc.Release(), 2u);
    EXPECT_EQ(doc.Release(), 1u);
}

TEST(FileStreamCom, TheLastReleaseDestroysAHeapObject)
{
    struct Probe : CLSFileStream {
        explicit Probe(bool* flag) : destroyed(flag) {}
        ~Probe() override { *destroyed = true; }
        bool* destroyed;
    };
    bool destroyed = false;
    IStream* stream = new Probe(&destroyed);
    EXPECT_EQ(stream->AddRef(), 2u);
    EXPECT_EQ(stream->Release(), 1u);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(stream->Release(), 0u);
    EXPECT_TRUE(destroyed);
}

TEST(FileStreamCom, ReadWriteAndTheOperationsNotOffered)
{
    CLSTempFolder folder;
    const std::string path = folder.Write("abc.txt", "abcdef");
    CLSFileStream doc;
    ASSERT_TRUE(doc.Open(path.c_str(), nullptr, nullptr));
    char buffer[8] = {};
    ULONG got = 0;
    EXPECT_EQ(doc.Read(buffer, 4, &got), S_OK);
    EXPECT_EQ(got, 4u);
    EXPECT_EQ(std::string(buffer, got), "abcd");
    EXPECT_EQ(doc.Read(buffer, 8, &got), S_OK) << "fewer bytes than asked is no failure";
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(doc.Read(nullptr, 8, &got), S_FALSE);
    ULONG written = 0;
    EXPECT_EQ(doc.Write("x", 1, &written), STG_E_CANTSAVE);
    ULARGE_INTEGER size = {};
    EXPECT_EQ(doc.SetSize(size), E_NOTIMPL);
    EXPECT_EQ(doc.CopyTo(nullptr, size, nullptr, nullptr), E_NOTIMPL);
    STATSTG stat = {};
    EXPECT_EQ(doc.Stat(&stat, STATFLAG_NONAME), E_NOTIMPL);
    IStream* clone = nullptr;
    EXPECT_EQ(doc.Clone(&clone), E_NOTIMPL);
    EXPECT_EQ(doc.Commit(0), S_OK);
    EXPECT_EQ(doc.Revert(), S_OK);
    EXPECT_EQ(doc.LockRegion(size, size, 0), S_OK);
    EXPECT_EQ(doc.UnlockRegion(size, size, 0), S_OK);
}

TEST(FileStreamCom, SeekBackwardsWorksOnDiskOnly)
{
    CLSTempFolder folder;
    const std::string path = folder.Write("seek.txt", Letters(3000));
    struct Case {
        Form form;
        LONGLONG move;
        DWORD origin;
        HRESULT result;
        ULONGLONG position;  // after the move (the old one when it fails)
    };
    const Case cases[] = {
        {kDisk, 100, STREAM_SEEK_SET, S_OK, 100},
        {kDisk, -40, STREAM_SEEK_CUR, S_OK, 60},
        {kDisk, 0, STREAM_SEEK_END, S_OK, 3000},
        {kDisk, -3000, STREAM_SEEK_END, S_OK, 0},
        {kDisk, 5, 3, STG_E_INVALIDFUNCTION, 0},
        {kDisk, -1, STREAM_SEEK_SET, STG_E_INVALIDPOINTER, 0},
        {kMemory, 100, STREAM_SEEK_SET, S_OK, 100},
        {kMemory, -40, STREAM_SEEK_CUR, STG_E_INVALIDPOINTER, 100},
        {kMemory, 0, STREAM_SEEK_END, S_OK, 3000},
        {kMemory, -3000, STREAM_SEEK_END, STG_E_INVALIDPOINTER, 3000},
        {kMemory, 0x80000000LL, STREAM_SEEK_CUR, STG_E_INVALIDPOINTER, 3000},
        {kMemory, 0xFFFFFFFFLL, STREAM_SEEK_CUR, STG_E_INVALIDPOINTER, 3000},
        {kMemory, 5, 3, STG_E_INVALIDFUNCTION, 3000},
    };
    CLSFileStream disk;
    disk.SetMemoryLimit(kDisk.limit);
    CLSFileStream memory;
    memory.SetMemoryLimit(kMemory.limit);
    ASSERT_TRUE(disk.Open(path.c_str(), nullptr, nullptr));
    ASSERT_TRUE(memory.Open(path.c_str(), nullptr, nullptr));
    for (const Case& c : cases) {
        CLSFileStream& doc = c.form.limit == kDisk.limit ? disk : memory;
        LARGE_INTEGER move;
        move.QuadPart = c.move;
        ULARGE_INTEGER position;
        position.QuadPart = 12345;
        EXPECT_EQ(doc.Seek(move, c.origin, &position), c.result) << c.form.name << " " << c.move;
        if (c.result == S_OK) {
            EXPECT_EQ(position.QuadPart, c.position) << c.form.name << " " << c.move;
        }
        LARGE_INTEGER none = {};
        ASSERT_EQ(doc.Seek(none, STREAM_SEEK_CUR, &position), S_OK);
        EXPECT_EQ(position.QuadPart, c.position) << c.form.name << " " << c.move;
    }
}

// Another program cuts or deletes the file while it is shown from disk; only a
// process outside Windows can do that to a file opened without write sharing.
TEST(FileStreamFaults, FileTruncatedOnDiskIsReadAsFarAsItGoes)
{
    CLSTempFolder folder;
    std::string text;
    for (int i = 0; i < 400; ++i) {
        text += "line " + std::to_string(i) + "\r\n";
    }
    for (bool indexFirst : {false, true}) {
        const std::string path = folder.Write(indexFirst ? "cut-late.txt" : "cut-early.txt", text);
        const std::string host = HostPath(path);
        if (host.empty()) {
            GTEST_SKIP() << "no host process here";
        }
        CLSFileStream doc;
        doc.SetMemoryLimit(kDisk.limit);
        ASSERT_TRUE(doc.Open(path.c_str(), nullptr, nullptr));
        if (indexFirst) {
            ASSERT_EQ(doc.GetLineCount(), 401u);
        }
        ASSERT_TRUE(RunHostCommand("truncate -s 100 '" + host + "'", folder));
        const DWORD lines = doc.GetLineCount();
        EXPECT_EQ(lines, indexFirst ? 401u : 13u);
        // "line 11\r\n" ends at 98: two bytes of line 12 remain.
        EXPECT_EQ(std::wstring(doc.GetLine(11).Text()), L"line 11");
        EXPECT_EQ(std::wstring(doc.GetLine(12).Text()), L"li");
        for (DWORD k = 13; k < lines; ++k) {
            CLSDecodedLine line = doc.GetLine(k);
            ASSERT_TRUE(line) << k;
            EXPECT_EQ(line.Length(), 0) << k;
        }
        EXPECT_EQ(doc.GetKind(), DocumentKind::Text);
    }
}

TEST(FileStreamFaults, FileDeletedWhileOpenOnDiskStaysReadable)
{
    CLSTempFolder folder;
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += "row " + std::to_string(i) + "\n";
    }
    const std::string path = folder.Write("gone.txt", text);
    const std::string host = HostPath(path);
    if (host.empty()) {
        GTEST_SKIP() << "no host process here";
    }
    CLSFileStream doc;
    doc.SetMemoryLimit(kDisk.limit);
    ASSERT_TRUE(doc.Open(path.c_str(), nullptr, nullptr));
    ASSERT_TRUE(RunHostCommand("rm -f '" + host + "'", folder));
    ASSERT_EQ(doc.GetLineCount(), 301u);
    EXPECT_EQ(std::wstring(doc.GetLine(299).Text()), L"row 299");
    EXPECT_EQ(doc.GetLine(300).Length(), 0);
}

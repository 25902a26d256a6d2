// The line index of a file on disk built on its own thread: lines near the
// start readable before it runs, the same index as built in one go, the
// message when it is done, and closing or opening another file meanwhile.
#include "document/FILESTRM.h"

#include "base/WIDEN.h"
#include "TESTFILES.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr UINT kLinesReady = WM_APP + 7;
constexpr DWORD kDiskLimit = 1000;

// Lines of growing length with all three breaks: about 1.2 MB, more than the
// start that is read for painting.
std::string ManyLines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "line " + std::to_string(i) + std::string(static_cast<std::size_t>(i % 50), '.');
        text += i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r";
    }
    return text;
}

// Waits (up to 10 s) for the message the index thread posts to window.
bool WaitForLinesReady(HWND window)
{
    const DWORD until = GetTickCount() + 10000;
    MSG msg;
    while (GetTickCount() < until) {
        if (PeekMessageA(&msg, window, kLinesReady, kLinesReady, PM_REMOVE)) {
            return true;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
    }
    return false;
}

class CLSMessageWindow {
public:
    CLSMessageWindow() : m_hWnd(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ~CLSMessageWindow() { DestroyWindow(m_hWnd); }
    HWND Get() const { return m_hWnd; }

private:
    HWND m_hWnd;
};

// Opens path with its index started as the pane starts it (the thread held
// until RunLineIndex), the thread's notice posted to window; from disk unless
// the limit says otherwise.
void OpenAndStart(CLSFileStream& doc, const std::string& path, const CLSMessageWindow& window,
                  DWORD limit = kDiskLimit)
{
    doc.SetMemoryLimit(limit);
    EXPECT_TRUE(doc.Open(WidenAnsi(path)));
    doc.StartLineIndex([hWnd = window.Get()] { PostMessageA(hWnd, kLinesReady, 0, 0); });
}

}  // namespace

TEST(LineIndexThread, StartLinesFirstThenTheSameIndexAsInOneGo)
{
    TempFolder folder;
    const std::string path = folder.Write("many.txt", ManyLines(40000));
    CLSFileStream whole;
    whole.SetMemoryLimit(kDiskLimit);
    ASSERT_TRUE(whole.Open(WidenAnsi(path)));
    const DWORD count = whole.GetLineCount();
    ASSERT_EQ(count, 40001u);

    CLSMessageWindow notify;
    CLSFileStream doc;
    OpenAndStart(doc, path, notify);
    // Not running yet: the first lines come from the start of the file.
    EXPECT_TRUE(doc.IsLineIndexBuilding());
    EXPECT_FALSE(doc.IsLineIndexReady());
    for (DWORD k : {0u, 1u, 2u, 300u}) {
        EXPECT_EQ(std::wstring(doc.GetLine(k).Text()), std::wstring(whole.GetLine(k).Text())) << k;
    }
    const DWORD known = doc.GetLinesKnown();
    EXPECT_GE(known, 301u);
    EXPECT_LT(known, count);
    EXPECT_TRUE(doc.IsLineIndexBuilding());

    doc.RunLineIndex();
    ASSERT_TRUE(WaitForLinesReady(notify.Get()));
    EXPECT_FALSE(doc.IsLineIndexBuilding());  // whoever gets the message may count at once
    EXPECT_EQ(doc.GetLineCount(), count);
    EXPECT_TRUE(doc.IsLineIndexReady());
    EXPECT_EQ(doc.GetLinesKnown(), count);
    for (DWORD k = 0; k < count; k += 997) {
        EXPECT_EQ(std::wstring(doc.GetLine(k).Text()), std::wstring(whole.GetLine(k).Text())) << k;
    }
    EXPECT_EQ(std::wstring(doc.GetLine(count - 1).Text()), std::wstring(whole.GetLine(count - 1).Text()));
    EXPECT_FALSE(doc.GetLine(count));
}

// Whatever needs more than the start waits for the thread, even one that was
// never told to run; closing stops it; small files need no thread at all.
TEST(LineIndexThread, WaitingStoppingAndShortFiles)
{
    TempFolder folder;
    const std::string many = folder.Write("many.txt", ManyLines(40000));
    CLSMessageWindow notify;
    CLSFileStream doc;
    OpenAndStart(doc, many, notify);
    EXPECT_EQ(std::wstring(doc.GetLine(39999).Text()), L"line 39999" + std::wstring(39999 % 50, L'.'));
    EXPECT_TRUE(doc.IsLineIndexReady());
    EXPECT_EQ(doc.GetLineCount(), 40001u);

    OpenAndStart(doc, many, notify);
    doc.RunLineIndex();
    const std::string last = "three" + std::string(1200, 'x');
    const std::string shorter = folder.Write("shorter.txt", "one\r\ntwo\r\n" + last);
    OpenAndStart(doc, shorter, notify);  // stops the thread of the first
    EXPECT_EQ(std::wstring(doc.GetLine(2).Text()), std::wstring(last.begin(), last.end()));
    EXPECT_EQ(doc.GetLinesKnown(), 3u);  // the start read was the whole file: every line is known
    EXPECT_FALSE(doc.GetLine(3));
    EXPECT_EQ(doc.GetLineCount(), 3u);

    OpenAndStart(doc, many, notify);
    doc.Close();  // a thread that never ran is stopped too
    EXPECT_FALSE(doc.IsLineIndexBuilding());

    OpenAndStart(doc, many, notify, 0xFFFFFFFF);  // in memory: built at once
    EXPECT_TRUE(doc.IsLineIndexReady());
    EXPECT_EQ(doc.GetLinesKnown(), 40001u);
}

// Another program cuts the file while its lines wait to be counted: the
// thread counts what is left, and the lines read from the start stay readable.
TEST(LineIndexThread, FileCutBeforeTheCount)
{
    TempFolder folder;
    const std::string path = folder.Write("cut.txt", ManyLines(40000));
    const std::string host = HostPath(path);
    if (host.empty()) {
        GTEST_SKIP() << "no host process here";
    }
    CLSMessageWindow notify;
    CLSFileStream doc;
    OpenAndStart(doc, path, notify);
    EXPECT_EQ(std::wstring(doc.GetLine(1).Text()), L"line 1.");
    ASSERT_TRUE(RunHostCommand("truncate -s 20 '" + host + "'", folder));  // "line 0\r\nline 1.\nline"
    doc.RunLineIndex();
    ASSERT_TRUE(WaitForLinesReady(notify.Get()));
    EXPECT_EQ(doc.GetLineCount(), 3u);
    EXPECT_EQ(std::wstring(doc.GetLine(1).Text()), L"line 1.");
    EXPECT_EQ(std::wstring(doc.GetLine(2).Text()), L"line");
}

// A sample of plain ASCII decides nothing: the thread finds the UTF-8 further
// on and posts before the count is done; a copy in memory is searched at once;
// a sample that decides keeps its answer.
TEST(LineIndexThread, EncodingFoundPastAnAsciiSample)
{
    TempFolder folder;
    const std::string japanese = reinterpret_cast<const char*>(u8"吾輩は猫である");
    const std::string path = folder.Write("late.txt", ManyLines(40000) + "\n" + japanese);
    CLSMessageWindow notify;
    CLSFileStream doc;
    OpenAndStart(doc, path, notify);
    EXPECT_EQ(doc.GetDetectedEncoding(), TextEncoding::ShiftJis);
    doc.RunLineIndex();
    ASSERT_TRUE(WaitForLinesReady(notify.Get()));
    EXPECT_TRUE(doc.TakeFoundEncoding());
    EXPECT_EQ(doc.GetDetectedEncoding(), TextEncoding::Utf8);
    EXPECT_EQ(std::wstring(doc.GetLine(40001).Text()), Wide(japanese));

    OpenAndStart(doc, path, notify, 0xFFFFFFFF);
    EXPECT_EQ(doc.GetDetectedEncoding(), TextEncoding::Utf8);
    const std::string decided = folder.Write("decided.txt", Bytes({0x82, 0xA0}) + "\n" + ManyLines(9) + japanese);
    OpenAndStart(doc, decided, notify, 0xFFFFFFFF);
    EXPECT_EQ(doc.GetDetectedEncoding(), TextEncoding::ShiftJis);
}

// A first line longer than the start read: the pane gets no line, nor the
// bytes of one, that the start read has not reached, without waiting for (or
// even starting) the count.
TEST(LineIndexThread, KnownLinesNeverWaitForTheCount)
{
    TempFolder folder;
    const std::string path = folder.Write("one-line.txt", std::string(3 << 20, 'x') + "\nlast");
    CLSMessageWindow notify;
    CLSFileStream doc;
    OpenAndStart(doc, path, notify);
    EXPECT_FALSE(doc.GetKnownLine(0));
    EXPECT_FALSE(doc.GetKnownLine(1));
    CLSFileStream::LineBytes bytes{};
    EXPECT_FALSE(doc.GetLineBytes(1, &bytes)) << "nor the bytes of a line past the start read";
    EXPECT_TRUE(doc.IsLineIndexBuilding());

    doc.RunLineIndex();
    ASSERT_TRUE(WaitForLinesReady(notify.Get()));
    EXPECT_EQ(doc.GetKnownLine(0).Length(), 3 << 20);
    EXPECT_EQ(std::wstring(doc.GetKnownLine(1).Text()), L"last");
}

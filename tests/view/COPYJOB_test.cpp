// A copy is gathered on its own thread and handed to the clipboard when
// someone pastes: what is pasted is still what was selected when the pane has
// moved on to another file, or has gone.
#include "VIEWTEST.h"

#include "base/OWNERS.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// 300 numbered lines, more than the pane is told to keep in memory: the
// copy reads them through a handle of its own.
std::string NumberedLines(std::wstring& expected)
{
    std::string lines;
    for (int k = 0; k < 300; ++k) {
        lines += "line " + std::to_string(k) + "\r\n";
        expected += L"line " + std::to_wstring(k) + L"\r\n";
    }
    return lines;
}

}  // namespace

TEST(DelayedCopy, PastesTheSelectionAfterTheFileChangesOrThePaneGoes)
{
    std::wstring expected;
    const std::string lines = NumberedLines(expected);
    auto h = std::make_unique<CLSViewHarness>();
    h->view.Doc().SetMemoryLimit(1000);
    h->Open(TestFolder().Write("copied.txt", lines));
    const CLSFileStream* copied = &h->view.Doc();
    h->view.SelectAll();
    SendMessageA(h->View(), WM_COPY, 0, 0);
    h->Open(TestFolder().Write("next.txt", "replaced\r\n"));
    // The copy holds the first file and gathers on; the pane has a new one.
    EXPECT_NE(&h->view.Doc(), copied);
    EXPECT_EQ(ClipboardText(h->View()), expected);

    h->view.SelectAll();
    SendMessageA(h->View(), WM_COPY, 0, 0);
    h.reset();
    EXPECT_EQ(ClipboardText(nullptr), L"replaced\r\n");
}

TEST(DelayedCopy, ReadsALogThatAnotherProgramHoldsOpenForWriting)
{
    std::wstring expected;
    const std::string lines = NumberedLines(expected);
    const std::string path = TestFolder().PathOf("held.log");
    CLSHandle writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writer.Get(), lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr));
    CLSViewHarness h;
    h.view.Doc().SetMemoryLimit(1000);
    h.Open(path);
    h.view.SelectAll();
    EXPECT_EQ(h.CopyUnicode(), expected);
}

// Lines near the start of a file whose lines are still being counted are
// copied from what has been read of the start, without waiting for the count.
TEST(DelayedCopy, TakesLinesNearTheStartWhileTheCountRuns)
{
    std::wstring expected;
    const std::string lines = NumberedLines(expected);
    CLSViewHarness h;
    h.view.Doc().SetMemoryLimit(1000);
    ShowWindow(h.View(), SW_HIDE);  // never painted: the count waits for the first screen
    h.view.OpenFile(WidenAnsi(TestFolder().Write("counted.txt", lines)));
    h.Key(VK_DOWN, true);
    h.Key(VK_DOWN, true);
    EXPECT_EQ(h.CopyUnicode(), L"line 0\r\nline 1\r\n");
    EXPECT_TRUE(h.view.Doc().IsLineIndexBuilding());

    // Into a line longer than the start read: no copy, and no wait either.
    h.view.OpenFile(WidenAnsi(TestFolder().Write("one-line.txt", std::string(3 << 20, 'x'))));
    h.view.SelectAll();
    h.CopyUnicode();
    EXPECT_TRUE(h.view.Doc().IsLineIndexBuilding());
}

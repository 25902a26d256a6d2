// A copy is gathered on its own thread and handed to the clipboard when
// someone pastes: what is pasted is still what was selected when the pane has
// moved on to another file, or has gone.
#include "VIEWTEST.h"

#include "base/OWNERS.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// More lines than the pane is told to keep in memory, in a log another program
// holds open for writing: the copy reads them through a handle of its own.
TEST(DelayedCopy, PastesTheSelectionAfterTheFileChangesOrThePaneGoes)
{
    const std::string lines = NumberedLines(300);
    const std::string path = TestFolder().PathOf("held.log");
    CLSHandle writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writer.Get(), lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr));
    auto h = std::make_unique<CLSViewHarness>();
    h->view.Doc().SetMemoryLimit(1000);
    h->Open(path);
    const CLSFileStream* copied = &h->view.Doc();
    h->view.SelectAll();
    SendMessageA(h->View(), WM_COPY, 0, 0);
    h->Open(TestFolder().Write("next.txt", "replaced\r\n"));
    // The copy holds the first file and gathers on; the pane has a new one.
    EXPECT_NE(&h->view.Doc(), copied);
    EXPECT_EQ(ClipboardText(h->View()), std::wstring(lines.begin(), lines.end()));

    h->view.SelectAll();
    SendMessageA(h->View(), WM_COPY, 0, 0);
    h.reset();
    EXPECT_EQ(ClipboardText(nullptr), L"replaced\r\n");
}

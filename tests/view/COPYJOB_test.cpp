// A copy is gathered on its own thread and handed to the clipboard when
// someone pastes: what is pasted is still what was selected when the pane has
// moved on to another file, or has gone.
#include "VIEWTEST.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

TEST(DelayedCopy, PastesTheSelectionAfterTheFileChangesOrThePaneGoes)
{
    std::string lines;
    std::wstring expected;
    for (int k = 0; k < 300; ++k) {
        lines += "line " + std::to_string(k) + "\r\n";
        expected += L"line " + std::to_wstring(k) + L"\r\n";
    }
    auto h = std::make_unique<CLSViewHarness>();
    h->view.SetMemoryLimit(1000);  // read through a handle of the copy's own
    h->Open(TestFolder().Write("copied.txt", lines));
    h->view.SelectAll();
    SendMessageA(h->View(), WM_COPY, 0, 0);
    h->Open(TestFolder().Write("next.txt", "replaced\r\n"));
    EXPECT_EQ(ClipboardText(h->View()), expected);

    h->view.SelectAll();
    SendMessageA(h->View(), WM_COPY, 0, 0);
    h.reset();
    EXPECT_EQ(ClipboardText(nullptr), L"replaced\r\n");
}

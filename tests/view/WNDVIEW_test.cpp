// The pane as a whole: view forms and encodings, scroll bars, big files
// counted behind the first screen, and the context menu.
#include "VIEWTEST.h"

#include "resources/RESOURCE.h"
#include "tests/common/PUMP.h"
#include "view/SCROLLAR.h"

#include <gtest/gtest.h>

namespace {

// Reads the state of Copy in the context menu as it is shown, then closes it.
HHOOK g_hook = nullptr;
UINT g_copyState = 0;
int g_menusShown = 0;

LRESULT CALLBACK MenuWatch(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->message == WM_INITMENUPOPUP) {
        g_copyState = GetMenuState(reinterpret_cast<HMENU>(msg->wParam), IDM_COPY, MF_BYCOMMAND);
        ++g_menusShown;
    } else if (code == HC_ACTION && msg->message == WM_ENTERIDLE && msg->wParam == MSGF_MENU) {
        EndMenu();
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

void ShowContextMenu(HWND hWndView)
{
    g_menusShown = 0;
    g_hook = SetWindowsHookExA(WH_CALLWNDPROC, MenuWatch, nullptr, GetCurrentThreadId());
    SendMessageA(hWndView, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWndView), MAKELPARAM(40, 40));
    UnhookWindowsHookEx(g_hook);
}

}  // namespace

// A new view form starts again at the top, without a selection, and the
// horizontal range follows the rows that form paints.
TEST(ViewWindow, SwitchingTheViewFormToHexAndBack)
{
    CLSViewHarness h;
    h.Open(TestFolder().Write("form.txt", "hello\r\nworld"));
    h.Key(VK_END);
    h.view.SetViewMode(ViewMode::Hex);
    h.Paint();
    EXPECT_EQ(h.view.GetDisplayMode(), DocumentKind::Hex);
    EXPECT_EQ(h.Caret(), LineColumn(0, 0));
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nMax, 76);  // the cells of a hex row
    h.view.SelectAll();

    h.view.SetViewMode(ViewMode::Auto);
    h.Paint();
    EXPECT_EQ(h.view.GetDisplayMode(), DocumentKind::Text);
    EXPECT_EQ(h.CaretColumn(), 0);
    EXPECT_FALSE(h.view.HasSelection());
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nMax, 5);  // the 5 cells of the painted rows
}

TEST(ViewWindow, EncodingChangeDecodesAgainOverTheSameLines)
{
    CLSViewHarness h;
    h.Open(TestFolder().Write("override.txt", "ab\ncd\nef\ngh\nij"));
    h.Key(VK_END, false, true);
    h.view.SetEncoding(TextEncoding::Utf16Le);
    EXPECT_EQ(h.Caret(), LineColumn(0, 0));
    EXPECT_EQ(h.view.GetEffectiveEncoding(), TextEncoding::Utf16Le);
    // Read as UTF-16 the file has no line break at all: one line, and the
    // vertical range says so.
    EXPECT_EQ(h.ScrollBar(SB_VERT).nMax, 2);
    h.view.SelectAll();
    EXPECT_EQ(h.CopyUnicode(), L"\u6261\u630A\u0A64\u6665\u670A\u0A68\u6A69");

    h.view.SetEncoding(TextEncoding::Auto);
    EXPECT_EQ(h.view.GetEffectiveEncoding(), TextEncoding::ShiftJis);
    EXPECT_EQ(h.ScrollBar(SB_VERT).nMax, 4);
    h.view.SelectAll();
    EXPECT_EQ(h.CopyUnicode(), L"ab\r\ncd\r\nef\r\ngh\r\nij");
}

TEST(ViewWindow, VerticalRangePageScrollBarCodesAndOneRowRepainted)
{
    // A pane of exactly 10 rows over 20 lines scrolls until the last row is
    // at the bottom.
    CLSViewHarness h;
    h.Resize(480, 10 * h.LineHeight() + 4 + GetSystemMetrics(SM_CYHSCROLL));
    h.Open(TestFolder().Write("one.txt", "just one line"));
    EXPECT_EQ(h.ScrollBar(SB_VERT).nMax, 2);
    h.Open(TestFolder().Write("twenty.txt", NumberedLines(19) + "line 19"));
    EXPECT_EQ(h.ScrollBar(SB_VERT).nMax, 19);
    EXPECT_EQ(h.ScrollBar(SB_VERT).nPage, 10u);
    const std::pair<int, int> steps[] = {
        {SB_LINEUP, 0},  // already at the top
        {SB_LINEDOWN, 1},
        {SB_THUMBPOSITION, 1},  // releasing the thumb changes nothing
        {SB_ENDSCROLL, 1}, {SB_BOTTOM, 1}, {SB_PAGEDOWN, 10},  // held where the last row shows
        {SB_PAGEDOWN, 10}, {SB_PAGEUP, 0},
    };
    for (const auto& [code, pos] : steps) {
        SendMessageA(h.View(), WM_VSCROLL, static_cast<WPARAM>(code), 0);
        EXPECT_EQ(h.ScrollBar(SB_VERT).nPos, pos) << "code " << code;
    }

    // Scrolling one line moves the pixels already drawn and repaints one row;
    // the result is what a full repaint shows.
    SetFocus(h.Parent());  // no caret in the pictures
    h.Paint();
    SendMessageA(h.View(), WM_VSCROLL, SB_LINEDOWN, 0);
    RECT client{};
    GetClientRect(h.View(), &client);
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(h.View(), &update, FALSE));
    EXPECT_EQ(update.top, client.bottom - h.LineHeight());
    EXPECT_EQ(update.bottom, client.bottom);
    UpdateWindow(h.View());
    const Shot scrolled = h.Capture(false);
    EXPECT_EQ(h.Capture().pixels, scrolled.pixels);
}

// A file on disk is painted before its lines are counted; the vertical range
// grows to the whole file when the count is done, and the position stays.
TEST(ViewWindow, BigFileIsPaintedBeforeItsLinesAreCountedAlsoWhenSwitchedToText)
{
    CLSViewHarness h;
    h.view.Doc().SetMemoryLimit(1000);
    const int lines = 30000;
    h.view.OpenFile(WidenAnsi(TestFolder().Write("big.txt", NumberedLines(lines))));
    ASSERT_FALSE(h.view.Doc().IsInMemory());
    EXPECT_TRUE(h.view.Doc().IsLineIndexBuilding());  // held until the first screen is up
    UpdateWindow(h.View());
    EXPECT_LT(h.ScrollBar(SB_VERT).nMax, lines - 1);
    SendMessageA(h.View(), WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageA(h.View(), WM_VSCROLL, SB_LINEDOWN, 0);

    EXPECT_TRUE(PumpUntil([&] { return h.ScrollBar(SB_VERT).nMax == RowsMaximum(lines + 1); }, 10000));
    EXPECT_EQ(h.ScrollBar(SB_VERT).nPos, 2);
    h.Key(VK_END, false, true);
    EXPECT_EQ(h.Caret().first, lines);

    // Another file opened while the count is under way.
    h.view.OpenFile(WidenAnsi(TestFolder().Write("big2.txt", NumberedLines(lines))));
    UpdateWindow(h.View());
    h.Open(TestFolder().Write("next.txt", std::string(2000, 'x') + "\r\nlast"));
    EXPECT_EQ(h.ScrollBar(SB_VERT).nMax, RowsMaximum(2));
    h.view.SelectAll();
    EXPECT_EQ(h.CopyUnicode(), std::wstring(2000, L'x') + L"\r\nlast");

    // Shown as hex and switched to text, a big file is counted on the index
    // thread as opening does: the switch itself does not wait for the count.
    std::string binary(1, '\0');  // a NUL makes it hex
    binary += NumberedLines(lines);
    h.Open(TestFolder().Write("big.bin", binary));
    ASSERT_EQ(h.view.GetDisplayMode(), DocumentKind::Hex);
    h.view.SetViewMode(ViewMode::Text);
    EXPECT_FALSE(h.view.Doc().IsLineIndexReady());
    EXPECT_TRUE(PumpUntil([&] { return h.ScrollBar(SB_VERT).nMax == RowsMaximum(lines + 1); }, 10000));
}

TEST(ViewWindow, ContextMenuAndItsCommands)
{
    CLSViewHarness h;
    h.Open(TestFolder().Write("menu.txt", "menu text"));
    ShowContextMenu(h.View());
    ASSERT_EQ(g_menusShown, 1);
    EXPECT_NE(g_copyState & MF_GRAYED, 0u);  // nothing selected

    SendMessageA(h.View(), WM_COMMAND, IDM_SELECTALL, 0);  // as chosen from the menu
    ShowContextMenu(h.View());
    ASSERT_EQ(g_menusShown, 1);
    EXPECT_EQ(g_copyState & MF_GRAYED, 0u);

    EXPECT_EQ(h.CopyUnicode(WM_COMMAND, IDM_COPY), L"menu text");

    // A pane with nothing open shows no menu.
    h.Open(TestFolder().PathOf("no such file.txt"));
    ShowContextMenu(h.View());
    EXPECT_EQ(g_menusShown, 0);
}

// The first 8190 bytes are plain ASCII, the next line UTF-8: once the index
// thread has found that, the pane tells its parent and draws the line again
// as a pane told to use UTF-8 draws it.
TEST(ViewWindow, EncodingFoundPastTheSampleRedrawsTheLines)
{
    const std::string path =
        TestFolder().Write("late.txt", std::string(9000, 'x') + "\r\n" + reinterpret_cast<const char*>(u8"吾輩は猫である"));
    Shot found;
    {
        CLSViewHarness h;
        h.view.Doc().SetMemoryLimit(1000);
        h.Open(path);
        EXPECT_EQ(h.FoundEncoding(), TextEncoding::Utf8);
        EXPECT_EQ(h.view.GetEffectiveEncoding(), TextEncoding::Utf8);
        found = h.Capture();
    }
    CLSViewHarness h;
    h.view.SetEncoding(TextEncoding::Utf8);
    h.Open(path);
    EXPECT_EQ(h.FoundEncoding(), TextEncoding::Auto);
    EXPECT_EQ(found.pixels, h.Capture().pixels);
}

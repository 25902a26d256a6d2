// The pane as a whole: view forms and encodings, scroll bars and the wheel,
// the context menu, and files that cannot be read or change under it.
#include "VIEWTEST.h"

#include "resources/RESOURCE.h"
#include "view/SCROLLAR.h"

#include <gtest/gtest.h>

namespace {

std::string NumberedLines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        char line[32];
        wsprintfA(line, "line %03d of the file\r\n", i);
        text += line;
    }
    return text;
}

std::wstring WithoutBreaks(std::wstring text)
{
    std::erase_if(text, [](wchar_t c) { return c == L'\r' || c == L'\n'; });
    return text;
}

WPARAM Notch(int delta)
{
    return MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta)));
}

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

// Where the pane had scrolled to after each thumb-tracking message it handled.
int g_trackedTo = -1;

LRESULT CALLBACK TrackWatch(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->message == WM_VSCROLL && LOWORD(msg->wParam) == SB_THUMBTRACK) {
        g_trackedTo = GetScrollPos(msg->hwnd, SB_VERT);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ShowContextMenu(HWND hWndView)
{
    g_menusShown = 0;
    g_hook = SetWindowsHookExA(WH_CALLWNDPROC, MenuWatch, nullptr, GetCurrentThreadId());
    SendMessageA(hWndView, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWndView), MAKELPARAM(40, 40));
    UnhookWindowsHookEx(g_hook);
}

}  // namespace

TEST(ViewWindow, SwitchingTheViewFormToHexAndBack)
{
    CLSViewHarness h;
    h.Open(WriteTestFile("form.txt", "hello\r\nworld"));
    h.Key(VK_END);
    EXPECT_EQ(h.CaretColumn(), 5);

    h.view.SetViewMode(ViewMode::Hex);
    h.Paint();
    EXPECT_EQ(h.view.GetDisplayMode(), DocumentKind::Hex);
    EXPECT_EQ(h.Caret(), LineColumn(0, 0));
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nMax, 76);
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nPos, 0);
    EXPECT_EQ(h.ScrollBar(SB_VERT).nPos, 0);
    h.view.SelectAll();
    EXPECT_EQ(h.CopyAnsi(), "68 65 6C 6C 6F 0D 0A 77 6F 72 6C 64");

    h.view.SetViewMode(ViewMode::Auto);
    h.Paint();
    EXPECT_EQ(h.view.GetDisplayMode(), DocumentKind::Text);
    EXPECT_EQ(h.CaretColumn(), 0);
    EXPECT_FALSE(h.view.HasSelection());
    // The horizontal range follows the painted rows again: 5 cells.
    EXPECT_EQ(h.ScrollBar(SB_HORZ).nMax, 5);
}

TEST(ViewWindow, EncodingChangeDecodesAgainOverTheSameLines)
{
    CLSViewHarness h;
    h.Open(WriteTestFile("override.txt", "ab\ncd\nef\ngh\nij"));
    EXPECT_EQ(h.ScrollBar(SB_VERT).nMax, 4);
    h.Key(VK_END, false, true);
    h.view.SetEncoding(TextEncoding::Utf16Le);
    EXPECT_EQ(h.Caret(), LineColumn(0, 0));
    EXPECT_EQ(h.view.GetEffectiveEncoding(), TextEncoding::Utf16Le);
    // Read as UTF-16 the file has no line break at all; the lines stay those
    // found when it was opened, each decoded as UTF-16.
    EXPECT_EQ(h.ScrollBar(SB_VERT).nMax, 4);
    h.view.SelectAll();
    EXPECT_EQ(h.CopyUnicode(), L"\u6261\r\n\u6463\r\n\u6665\r\n\u6867\r\n\u6A69");

    h.view.SetEncoding(TextEncoding::Auto);
    EXPECT_EQ(h.view.GetEffectiveEncoding(), TextEncoding::ShiftJis);
    h.view.SelectAll();
    EXPECT_EQ(h.CopyUnicode(), L"ab\r\ncd\r\nef\r\ngh\r\nij");
}

TEST(ViewWindow, VerticalRangePageAndScrollBarCodes)
{
    // A pane of exactly 10 rows over 20 lines scrolls until the last row is
    // at the bottom.
    CLSViewHarness h;
    h.Resize(480, 10 * h.LineHeight() + 4 + GetSystemMetrics(SM_CYHSCROLL));
    h.Open(WriteTestFile("one.txt", "just one line"));
    EXPECT_EQ(h.ScrollBar(SB_VERT).nMin, 0);
    EXPECT_EQ(h.ScrollBar(SB_VERT).nMax, 2);
    h.Open(WriteTestFile("twenty.txt", NumberedLines(19) + "line 019"));
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
}

// Dragging the thumb with the mouse scrolls while it moves; letting go
// changes nothing further.
// A file on disk is painted before its lines are counted; the vertical range
// grows to the whole file when the count is done, and the position stays.
TEST(ViewWindow, BigFileIsPaintedBeforeItsLinesAreCounted)
{
    CLSViewHarness h;
    h.view.SetMemoryLimit(1000);
    const int lines = 30000;
    h.view.OpenFile(WriteTestFile("big.txt", NumberedLines(lines)).c_str());
    ASSERT_FALSE(h.view.IsInMemory());
    EXPECT_TRUE(h.view.IsLineIndexBuilding());  // held until the first screen is up
    UpdateWindow(h.View());
    EXPECT_LT(h.ScrollBar(SB_VERT).nMax, lines - 1);
    SendMessageA(h.View(), WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageA(h.View(), WM_VSCROLL, SB_LINEDOWN, 0);

    const DWORD until = GetTickCount() + 10000;
    while (h.ScrollBar(SB_VERT).nMax != RowsMaximum(lines + 1) && GetTickCount() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        h.Pump();
    }
    EXPECT_EQ(h.ScrollBar(SB_VERT).nMax, RowsMaximum(lines + 1));
    EXPECT_EQ(h.ScrollBar(SB_VERT).nPos, 2);
    h.Key(VK_END, false, true);
    EXPECT_EQ(h.Caret().first, lines);

    // Another file opened while the count is under way.
    h.view.OpenFile(WriteTestFile("big2.txt", NumberedLines(lines)).c_str());
    UpdateWindow(h.View());
    h.Open(WriteTestFile("next.txt", std::string(2000, 'x') + "\r\nlast"));
    EXPECT_EQ(h.ScrollBar(SB_VERT).nMax, RowsMaximum(2));
    h.view.SelectAll();
    EXPECT_EQ(h.CopyUnicode(), std::wstring(2000, L'x') + L"\r\nlast");
}

TEST(ViewWindow, DraggingTheThumbScrollsLive)
{
    CLSViewHarness h;
    h.Open(WriteTestFile("thumb.txt", NumberedLines(400)));
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof(bar);
    ASSERT_TRUE(GetScrollBarInfo(h.View(), OBJID_VSCROLL, &bar));
    const int x = (bar.rcScrollBar.left + bar.rcScrollBar.right) / 2;
    const int y = bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2;
    g_trackedTo = -1;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, TrackWatch, nullptr, GetCurrentThreadId());
    h.Mouse(0, x, y);
    h.Mouse(MOUSEEVENTF_LEFTDOWN, x, y);
    h.Mouse(0, x, y + 60);
    h.Mouse(0, x, y + 120);
    h.Mouse(MOUSEEVENTF_LEFTUP, x, y + 120);
    for (int i = 0; i < 20; ++i) {
        h.Pump();
        Sleep(20);
    }
    UnhookWindowsHookEx(hook);
    EXPECT_GT(g_trackedTo, 0);  // it scrolled during the drag
    EXPECT_EQ(h.ScrollBar(SB_VERT).nPos, g_trackedTo);
}

// Scrolling one line moves the pixels already drawn and repaints one row; the
// result is what a full repaint shows.
TEST(ViewWindow, ScrollingALineRepaintsOneRow)
{
    CLSViewHarness h;
    h.Open(WriteTestFile("scroll.txt", NumberedLines(60)));
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

TEST(ViewWindow, WheelScrollsLinesPerNotchOrAPage)
{
    UINT saved = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &saved, 0);
    CLSViewHarness h;
    h.Open(WriteTestFile("wheel.txt", NumberedLines(80)));
    const int page = static_cast<int>(h.ScrollBar(SB_VERT).nPage);

    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, 3, nullptr, 0);
    SendMessageA(h.View(), WM_MOUSEWHEEL, Notch(-WHEEL_DELTA), 0);
    EXPECT_EQ(h.ScrollBar(SB_VERT).nPos, 3);
    SendMessageA(h.View(), WM_MOUSEWHEEL, Notch(-3 * WHEEL_DELTA), 0);  // still one notch
    EXPECT_EQ(h.ScrollBar(SB_VERT).nPos, 6);
    SendMessageA(h.View(), WM_MOUSEWHEEL, Notch(WHEEL_DELTA), 0);
    EXPECT_EQ(h.ScrollBar(SB_VERT).nPos, 3);

    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, WHEEL_PAGESCROLL, nullptr, 0);
    SendMessageA(h.View(), WM_MOUSEWHEEL, Notch(-WHEEL_DELTA), 0);
    EXPECT_EQ(h.ScrollBar(SB_VERT).nPos, 3 + page);
    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, saved, nullptr, 0);
}

TEST(ViewWindow, ContextMenuAndItsCommands)
{
    CLSViewHarness h;
    h.Open(WriteTestFile("menu.txt", "menu text"));
    ShowContextMenu(h.View());
    ASSERT_EQ(g_menusShown, 1);
    EXPECT_NE(g_copyState & MF_GRAYED, 0u);  // nothing selected

    SendMessageA(h.View(), WM_COMMAND, IDM_SELECTALL, 0);  // as chosen from the menu
    ShowContextMenu(h.View());
    ASSERT_EQ(g_menusShown, 1);
    EXPECT_EQ(g_copyState & MF_GRAYED, 0u);

    EXPECT_EQ(h.CopyUnicode(WM_COMMAND, IDM_COPY), L"menu text");

    // A pane with nothing open shows no menu.
    h.Open(TestFilePath("no such file.txt"));
    ShowContextMenu(h.View());
    EXPECT_EQ(g_menusShown, 0);
}

TEST(ViewWindow, FileThatCannotBeOpenedShowsOnlyWhy)
{
    for (ViewMode mode : {ViewMode::Auto, ViewMode::Text, ViewMode::Hex}) {
        CLSViewHarness h;
        h.Open(WriteTestFile("before.txt", "something shown before"));
        h.Key(VK_END);
        h.view.SetViewMode(mode);
        h.ForgetReports();
        h.Open(TestFilePath("no such file.txt"));
        EXPECT_GE(h.Reports(), 1);
        EXPECT_EQ(h.Caret(), LineColumn(0, 0));
        SetFocus(h.Parent());
        EXPECT_EQ(h.view.GetOpenFailure().rfind("「no such file.txt」を開けません: ", 0), 0u);
        h.view.SelectAll();
        h.Key(VK_END, false, true);
        EXPECT_FALSE(h.view.HasSelection());
        EXPECT_EQ(h.CopyUnicode(), kClipboardMarker);
    }
}

// Another program shortens or deletes the file while the pane reads it from
// disk: the pane opens it again, so what is left is shown and copied, nothing
// else, and a file that is gone says so.
TEST(ViewWindow, FileShrinkingOrDeletedWhileShownFromDisk)
{
    CLSViewHarness h;
    h.view.SetMemoryLimit(1000);
    const std::string text = NumberedLines(200);
    const std::string path = WriteTestFile("shrinking.txt", text);
    h.Open(path);
    ASSERT_FALSE(h.view.IsInMemory());
    ASSERT_TRUE(TruncateBehindTheView(path, 100));

    const std::wstring left(text.begin(), text.begin() + 100);
    h.Paint();
    h.view.SelectAll();
    const std::wstring copied = h.CopyUnicode();
    EXPECT_EQ(copied.substr(0, 100), left);
    EXPECT_EQ(WithoutBreaks(copied), WithoutBreaks(left));

    h.view.SetViewMode(ViewMode::Hex);
    h.Paint();
    h.view.SelectAll();
    EXPECT_EQ(h.CopyAnsi().size(), 3u * 100 - 1);

    ASSERT_TRUE(DeleteBehindTheView(path));
    h.Paint();
    h.view.SelectAll();
    EXPECT_EQ(h.view.GetOpenError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    h.view.SetViewMode(ViewMode::Auto);
    h.Open(WriteTestFile("after.txt", "still working"));
    h.view.SelectAll();
    EXPECT_EQ(h.CopyUnicode(), L"still working");
}

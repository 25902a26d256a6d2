// Files in any state in a real pane: past 2, 4 and 32 GiB (sparse files),
// files that cannot be opened, and a log that another program writes.
#include "VIEWTEST.h"

#include "base/OWNERS.h"
#include "tests/common/HELDREAD.h"
#include "tests/common/PUMP.h"
#include "view/HEXLAY.h"
#include "view/TEXTLAY.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

namespace {

// Only the last 32 bytes written, each the low byte of its offset.
std::string SparseFile(std::uint64_t size)
{
    std::string tail;
    for (int i = 0; i < 32; ++i) {
        tail += static_cast<char>(size - 32 + i);
    }
    const std::string path = TestFolder().PathOf("sparse" + std::to_string(size) + ".bin");
    WriteSparseFile(path, size, {{size - 32, tail}});
    return path;
}

// The hex copy of the file's last n bytes, as SparseFile wrote them.
std::string LastPairs(std::uint64_t size, int n)
{
    std::string text;
    for (std::uint64_t offset = size - n; offset < size; ++offset) {
        char pair[4];
        std::snprintf(pair, sizeof(pair), text.empty() ? "%02X" : " %02X", static_cast<unsigned>(offset & 0xFF));
        text += pair;
    }
    return text;
}

// Pixels not in the background colour in the pane's rows [top, bottom).
int Inked(const Shot& shot, int top, int bottom)
{
    int inked = 0;
    for (int y = top; y < bottom && y < shot.cy; ++y) {
        for (int x = 0; x < shot.cx; ++x) {
            inked += shot.At(x, y) != kBack ? 1 : 0;
        }
    }
    return inked;
}

}  // namespace

TEST(FileState, HexReachesTheEndOfSparseFilesPast2And4GiB)
{
    CLSViewHarness h;
    for (const std::uint64_t size : {3ull << 30, (4ull << 30) + 200, 5ull << 30}) {
        h.Open(SparseFile(size));
        EXPECT_EQ(h.view.Doc().GetFileSize(), size);
        EXPECT_EQ(h.ScrollBar(SB_VERT).nMax, static_cast<int>(size / 16));
        h.Key(VK_END, false, true);
        const int lastRow = static_cast<int>(size / 16);
        EXPECT_EQ(h.Caret(), LineColumn(lastRow, static_cast<int>(size % 16)));

        // A click on byte 2 of the row before the last, then a selection to
        // the end: the bytes copied are the file's own.
        const int cw = CellWidth(h.FontHeight());
        const int y = (lastRow - 1 - h.ScrollBar(SB_VERT).nPos) * h.LineHeight() + 2;
        h.Click((HexPairCell(2) + HexOffsetExtraCells(size)) * cw + cw / 2, y);
        EXPECT_EQ(h.Caret(), LineColumn(lastRow - 1, 2));
        h.Key(VK_END, true, true);
        EXPECT_EQ(h.CopyAnsi(), LastPairs(size, 14 + static_cast<int>(size % 16)));
        const std::u16string query = h.view.SelectedQuery();  // what the find box is given
        EXPECT_EQ(std::string(query.begin(), query.end()), LastPairs(size, 14 + static_cast<int>(size % 16)));
    }

    // Past 32 GiB the rows stop where the pane's positions do, and the row
    // after the last says that the file goes on.
    h.Open(SparseFile(40ull << 30));
    h.Key(VK_END, false, true);
    const int lastRow = static_cast<int>(kHexRowsReachable) - 1;
    EXPECT_EQ(h.Caret(), LineColumn(lastRow, 15));
    EXPECT_EQ(h.ScrollBar(SB_VERT).nMax, lastRow + 1);
    SetFocus(h.Parent());
    const int top = (lastRow + 1 - h.ScrollBar(SB_VERT).nPos) * h.LineHeight();
    EXPECT_GT(Inked(h.Capture(), top, top + h.LineHeight()), 0);
}

// Text lines at the start, around 4 GiB (one starting right on it) and at the
// end of a 5 GiB file: the index reaches them all.
TEST(FileState, TextReachesTheEndOfASparseFilePast4GiB)
{
    CLSViewHarness h;
    const std::uint64_t size = 5ull << 30;
    std::string head;
    std::string tail;
    for (int i = 0; i < 1500; ++i) {  // a sample of text, no zeros
        head += "head\r\n";
        tail += i < 40 ? "tail\r\n" : "";
    }
    tail += "end";
    const std::string path = TestFolder().PathOf("text.txt");
    WriteSparseFile(path, size, {{0, head}, {(4ull << 30) - 7, "\r\nabc\r\n"}, {size - tail.size() - 2, "\r\n" + tail}});
    h.Open(path);
    ASSERT_EQ(h.view.GetDisplayMode(), DocumentKind::Text);
    EXPECT_EQ(h.view.Doc().GetFileSize(), size);
    ASSERT_EQ(h.view.Doc().GetLineCount(), 1500u + 3 + 41);
    const CLSDecodedLine around = h.view.Doc().GetLine(1501);
    EXPECT_EQ(std::wstring(around.Text(), around.Length()), L"abc");

    h.Key(VK_END, false, true);
    EXPECT_EQ(h.Caret(), LineColumn(1543, 3));
    const int y = (1542 - h.ScrollBar(SB_VERT).nPos) * h.LineHeight() + 2;
    h.Click(2 * CellWidth(h.FontHeight()) + CellWidth(h.FontHeight()) / 2, y);
    EXPECT_EQ(h.Caret(), LineColumn(1542, 2));
    h.Key(VK_END, true, true);
    EXPECT_EQ(h.CopyUnicode(), L"il\r\nend");
}

// A file that cannot be opened, in any view form: the reason in its place on
// the first row and nothing else, the caret at the start, nothing to select or
// copy. An empty file is an empty pane.
TEST(FileState, PaneSaysWhyAFileCannotBeOpened)
{
    CLSViewHarness h;
    const std::string locked = TestFolder().Write("locked.txt", "held");
    const CLSHandle holder(CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(CreateDirectoryA(TestFolder().PathOf("folder").c_str(), nullptr));
    const std::string before = TestFolder().Write("before.txt", "something shown before");
    TestFolder().Write("empty.txt", "");
    const struct {
        const char* name;
        ViewMode mode;
        DWORD error;
    } cases[] = {
        {"missing.txt", ViewMode::Auto, ERROR_FILE_NOT_FOUND},
        {"missing.txt", ViewMode::Hex, ERROR_FILE_NOT_FOUND},
        {"folder", ViewMode::Text, ERROR_DIRECTORY},
        {"locked.txt", ViewMode::Auto, ERROR_SHARING_VIOLATION},
        {"empty.txt", ViewMode::Hex, NO_ERROR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        h.view.SetViewMode(ViewMode::Auto);
        h.Open(before);
        h.Key(VK_END);
        h.view.SetViewMode(c.mode);
        h.ForgetReports();
        h.Open(TestFolder().PathOf(c.name));
        EXPECT_EQ(h.view.Doc().GetOpenError(), c.error);
        EXPECT_EQ(h.Caret(), LineColumn(0, 0));
        const std::string line = h.view.GetOpenFailure();
        const std::string head = std::string("「") + c.name + "」を開けません: ";
        EXPECT_EQ(line.rfind(head, 0), c.error != NO_ERROR ? 0u : std::string::npos) << line;
        EXPECT_TRUE(c.error == NO_ERROR ? line.empty() : line.size() > head.size()) << line;
        h.view.SelectAll();
        h.Key(VK_END, true, true);
        EXPECT_FALSE(h.view.HasSelection());
        EXPECT_EQ(h.CopyUnicode(), kClipboardMarker);
        SetFocus(h.Parent());  // no caret in the picture
        const Shot shot = h.Capture();
        EXPECT_EQ(Inked(shot, 0, h.LineHeight()) > 0, c.error != NO_ERROR);
        EXPECT_EQ(Inked(shot, h.LineHeight(), shot.cy), 0);
    }
}

// A file that stops answering while it is shown (a share or a stick gone): the
// next rows read give up, the pane says why on its first row and nothing else.
TEST(FileState, PaneSaysAFileThatStopsAnsweringCannotBeRead)
{
    CLSViewHarness h;
    const std::string path = TestFolder().Write("share.txt", NumberedLines(2000, "\n"));
    for (const ViewMode mode : {ViewMode::Text, ViewMode::Hex}) {
        h.view.SetViewMode(mode);
        h.view.Doc().SetMemoryLimit(1000);
        h.Open(path);
        auto source = std::make_shared<CLSHeldSource>();
        h.view.Doc().ReadThrough(source, 100);
        h.Key(VK_NEXT);
        h.Paint();
        SetEvent(source->release.Get());
        EXPECT_EQ(h.view.GetOpenFailure(), "「share.txt」を読み込めません: ファイルが応答しません。");
        SetFocus(h.Parent());  // no caret in the picture
        const Shot shot = h.Capture();
        EXPECT_GT(Inked(shot, 0, h.LineHeight()), 0);
        EXPECT_EQ(Inked(shot, h.LineHeight(), shot.cy), 0);
    }
}

// A log held open for writing by its program is shown; what it appends is
// reached with F5 from where the caret was, no line shown as it was before;
// when it is cut behind the pane, the pane opens it again as soon as it gains
// the focus.
TEST(FileState, LogWrittenWhileShown)
{
    CLSViewHarness h;
    const std::string path = TestFolder().PathOf("app.log");
    CLSHandle writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writer.Get(), "first\r\nsecond\r\n", 15, &written, nullptr));
    h.Open(path);
    h.Key(VK_DOWN);

    ASSERT_TRUE(WriteFile(writer.Get(), "third\r\nfourth", 13, &written, nullptr));
    h.Key(VK_F5);
    EXPECT_EQ(h.Caret(), LineColumn(1, 0));
    h.Key(VK_END, true, true);
    EXPECT_EQ(h.Caret(), LineColumn(3, 6));
    EXPECT_EQ(h.CopyUnicode(), L"second\r\nthird\r\nfourth");
    h.Key(VK_UP);  // onto the line painted empty before F5: read again
    EXPECT_EQ(h.Caret(), LineColumn(2, 5));

    writer.Reset();  // cut by another program of the system, past our own sharing rules
    ASSERT_TRUE(RunHostCommand("truncate -s 8 '" + HostPath(path) + "'", TestFolder()));
    SetFocus(h.Parent());
    SetFocus(h.View());
    EXPECT_EQ(h.Caret(), LineColumn(1, 1));  // held to the new end
    h.view.SelectAll();
    EXPECT_EQ(h.CopyUnicode(), L"first\r\ns");
}

// A log on disk that grew is counted on from its old end: the lines known
// before stay as they were (a break that another program took out of one
// meanwhile is not looked for again), the new ones are added, caret,
// selection and scroll stay, and the parent hears that the file was read.
TEST(FileState, GrownLogIsExtendedFromItsOldEnd)
{
    CLSViewHarness h;
    h.view.Doc().SetMemoryLimit(1000);  // on disk, its lines counted on their thread
    const std::string path = TestFolder().Write("grown.log", NumberedLines(200));
    h.Open(path);
    h.Key(VK_END, false, true);
    h.Key(VK_UP, true);
    const int scrolled = h.ScrollBar(SB_VERT).nPos;
    ASSERT_GT(scrolled, 0);

    const CLSHandle writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writer.Get(), "line 0__", 8, &written, nullptr));
    ASSERT_NE(SetFilePointer(writer.Get(), 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
    ASSERT_TRUE(WriteFile(writer.Get(), "next\r\nlast", 10, &written, nullptr));
    h.Key(VK_F5);
    ASSERT_TRUE(PumpUntil([&] { return h.Rereads() == 1; }));
    EXPECT_EQ(h.view.Doc().GetLineCount(), 202u);
    EXPECT_EQ(h.ScrollBar(SB_VERT).nPos, scrolled);
    EXPECT_EQ(h.CopyUnicode(), L"line 199\r\n");
    h.Key(VK_END, true, true);
    EXPECT_EQ(h.CopyUnicode(), L"next\r\nlast");
}

// A followed log: what another program appends comes into sight while the view
// shows the end; scrolled up, following pauses and the view stays; back at the
// end it goes on; a log cut shorter is shown from its new end; off, nothing
// is read.
TEST(FileState, FollowedLogKeepsItsEndInSight)
{
    CLSViewHarness h;
    h.view.Doc().SetMemoryLimit(1000);  // on disk: grown lines counted on from the old end
    const std::string text = NumberedLines(200);
    const std::string path = TestFolder().Write("followed.log", text);
    h.Open(path);
    h.view.SetFollow(true);
    EXPECT_EQ(h.Follow(), FollowState::Paused);
    h.Key(VK_END, false, true);
    EXPECT_EQ(h.Follow(), FollowState::Following);

    const CLSHandle writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
    std::uint64_t size = text.size();
    auto append = [&](int lines) {
        std::string more;
        for (int i = 0; i < lines; ++i) {
            more += "appended\r\n";
        }
        DWORD written = 0;
        SetFilePointer(writer.Get(), 0, nullptr, FILE_END);
        ASSERT_TRUE(WriteFile(writer.Get(), more.data(), static_cast<DWORD>(more.size()), &written, nullptr));
        size += written;
    };
    auto shows = [&](std::uint64_t bytes, int pos) {
        return PumpUntil([&] { return h.view.Doc().GetFileSize() == bytes && h.ScrollBar(SB_VERT).nPos == pos; });
    };
    const int end = h.ScrollBar(SB_VERT).nPos;
    append(3);
    EXPECT_TRUE(shows(size, end + 3)) << "appended lines come into sight";
    SendMessageA(h.View(), WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(h.Follow(), FollowState::Paused);
    append(5);
    EXPECT_TRUE(shows(size, end + 2)) << "read, but the view stays where it was scrolled";
    h.Key(VK_END, false, true);
    EXPECT_EQ(h.Follow(), FollowState::Following);
    append(1);
    EXPECT_TRUE(shows(size, end + 9)) << "back at the end, it goes on";

    ASSERT_NE(SetFilePointer(writer.Get(), 3000, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    ASSERT_TRUE(SetEndOfFile(writer.Get()));
    ASSERT_TRUE(PumpUntil([&] { return h.view.Doc().GetFileSize() == 3000 && h.Follow() == FollowState::Following; }));
    EXPECT_GT(h.ScrollBar(SB_VERT).nPos, 0) << "cut shorter, shown from its new end";

    h.view.SetFollow(false);
    EXPECT_EQ(h.Follow(), FollowState::Off);
    append(2);
    EXPECT_FALSE(PumpUntil([&] { return h.view.Doc().GetFileSize() != 3000; }, 300));
}

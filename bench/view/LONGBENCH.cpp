// Lines of hundreds of megabytes in the preview pane, each against the same
// on an 80-column text: a Right-arrow key on a 64 MiB single-line text; the
// first screen of a 256 MiB single-line text, and a click far into it after
// End. Also reports the process's peak memory for the 256 MiB line, whose
// budget is 64 MiB plus its line index.
#include "view/WNDVIEW.h"
#include "view/LONGLINES.h"
#include "base/OWNERS.h"
#include "base/WIDEN.h"

#include "BENCHPANE.h"
#include "bench/common/BENCHWIN.h"

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <string>

namespace {

// One line of columns characters, written once, a piece at a time so that
// the writing does not raise the peak memory measured later.
std::string MakeOneLineFile(const char* name, std::size_t columns)
{
    const std::string path = BenchFilePath(name);
    if (BenchFileSize(path) == columns) {
        return path;
    }
    const CLSHandle h(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.Valid()) {
        return std::string();
    }
    std::string piece(std::size_t{1} << 20, 'x');
    for (std::size_t i = 7; i < piece.size(); i += 8) {
        piece[i] = ' ';
    }
    bool ok = true;
    for (std::size_t done = 0; ok && done < columns; done += piece.size()) {
        const DWORD n = static_cast<DWORD>(columns - done < piece.size() ? columns - done : piece.size());
        DWORD written = 0;
        ok = WriteFile(h.Get(), piece.data(), n, &written, nullptr) && written == n;
    }
    return ok ? path : std::string();
}

// Seconds of one Right-arrow key with its repaint, averaged over a run of
// keys from the start of the file's only line.
double RightKeySeconds(CLSWndView& view, const std::string& path)
{
    constexpr int kKeys = 50;
    view.OpenFile(WidenAnsi(path));
    UpdateWindow(view.GetHandle());
    Pump();
    if (view.GetDisplayMode() != DocumentKind::Text) {
        std::fprintf(stderr, "bench_longline: %s is not shown as text\n", path.c_str());
    }
    SendMessageA(view.GetHandle(), WM_KEYDOWN, VK_RIGHT, 1);  // the first decoding is the open's
    UpdateWindow(view.GetHandle());
    const double start = Now();
    for (int i = 0; i < kKeys; ++i) {
        SendMessageA(view.GetHandle(), WM_KEYDOWN, VK_RIGHT, 1);
        UpdateWindow(view.GetHandle());
    }
    return (Now() - start) / kKeys;
}

// Opening the file of one line and painting its first screen; then End, and
// seconds of a click in the middle of the pane, there.
struct LongLineTimes {
    double paint;
    double end;
    double click;
    int scrolledCells;  // how far End scrolled: the click is that far in
};

LongLineTimes PaintAndClickSeconds(CLSWndView& view, const std::string& path)
{
    const HWND hWnd = view.GetHandle();
    const double start = Now();
    view.OpenFile(WidenAnsi(path));
    UpdateWindow(hWnd);
    LongLineTimes times{Now() - start, 0, 0, 0};
    Pump();
    const double endStart = Now();
    SendMessageA(hWnd, WM_KEYDOWN, VK_END, 1);
    UpdateWindow(hWnd);
    times.end = Now() - endStart;
    // A line still read through on its thread: the caret goes once it is.
    const bool scouted = view.Doc().GetFileSize() >= kScoutedLineBytes;
    for (const double waitStart = Now(); scouted && GetScrollPos(hWnd, SB_HORZ) == 0 && Now() - waitStart < 30;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Pump();
    }
    Pump();
    times.scrolledCells = GetScrollPos(hWnd, SB_HORZ);
    RECT rc{};
    GetClientRect(hWnd, &rc);
    const LPARAM at = MAKELPARAM(rc.right / 2, 5);
    const double clickStart = Now();
    SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(hWnd, WM_LBUTTONUP, 0, at);
    UpdateWindow(hWnd);
    times.click = Now() - clickStart;
    return times;
}

}  // namespace

int main()
{
    CLSBenchPane pane;
    if (!pane.IsReady()) {
        std::fprintf(stderr, "bench_longline: no window\n");
        return 1;
    }
    CLSWndView& view = pane.View();
    Pump();
    const std::string shortLine = MakeOneLineFile("glim_view_80_columns.txt", 80);
    const std::string longLine = MakeOneLineFile("glim_view_64mib_line.txt", std::size_t{64} << 20);
    if (!longLine.empty() && !shortLine.empty()) {
        const double shortKey = RightKeySeconds(view, shortLine);
        const double longKey = RightKeySeconds(view, longLine);
        PrintBench("caret-key-long-line", std::size_t{64} << 20, longKey, "caret-key-80-columns", shortKey);
    }
    const std::size_t kHugeLine = std::size_t{256} << 20;
    const std::string hugeLine = MakeOneLineFile("glim_view_256mib_line.txt", kHugeLine);
    if (hugeLine.empty() || shortLine.empty()) {
        std::fprintf(stderr, "bench_longline: cannot write the test files\n");
        return 1;
    }
    const LongLineTimes shortTimes = PaintAndClickSeconds(view, shortLine);
    const LongLineTimes hugeTimes = PaintAndClickSeconds(view, hugeLine);
    PrintBench("paint-long-line", kHugeLine, hugeTimes.paint, "paint-80-columns", shortTimes.paint);
    PrintBench("click-long-line", kHugeLine, hugeTimes.click, "click-80-columns", shortTimes.click);
    const unsigned long long indexBytes = 4ull * view.Doc().GetLineCount();
    PROCESS_MEMORY_COUNTERS huge{};
    huge.cb = sizeof(huge);
    GetProcessMemoryInfo(GetCurrentProcess(), &huge, sizeof(huge));
    std::printf("MEMORY name=view-256mib-line peak_working_set=%llu budget=%llu\n",
                static_cast<unsigned long long>(huge.PeakWorkingSetSize), (64ull << 20) + indexBytes);
    std::printf("PARTS name=click-long-line scrolled_cells=%d end_key_seconds=%.6f\n", hugeTimes.scrolledCells,
                hugeTimes.end);
    return 0;
}

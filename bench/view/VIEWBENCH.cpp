// Speed of the preview pane on a 512 MiB text file kept on disk: opening it and
// painting the first screen, and until all its lines are counted (both against
// one sequential read of the file), jumping
// to the last line and painting (against the first screen's paint), and
// scrolling one line (against repainting the whole pane), switching the file
// from hex to text (against opening it as text), and a Right-arrow key on a
// 64 MiB single-line text (against the same key on an 80-column text); the
// first screen of a 256 MiB single-line text, and a click far into it after
// End (against the same on an 80-column text). Also reports the process's
// peak memory against the budget of 64 MiB plus the line index.
#include "view/WNDVIEW.h"
#include "base/OWNERS.h"
#include "base/WIDEN.h"

#include "BENCHPANE.h"
#include "bench/common/BENCHWIN.h"

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kFileSize = 512u * 1024 * 1024;
constexpr int kScrollLines = 200;

void PaintNow(HWND hWnd)
{
    InvalidateRect(hWnd, nullptr, TRUE);
    UpdateWindow(hWnd);
}

// One line of columns characters, written once, a piece at a time so that
// the writing does not raise the peak memory measured later.
std::string MakeOneLineFile(const char* name, std::size_t columns)
{
    const std::string path = BenchFilePath(name);
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
        std::fprintf(stderr, "bench_view: %s is not shown as text\n", path.c_str());
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
    double click;
    int scrolledCells;  // how far End scrolled: the click is that far in
};

LongLineTimes PaintAndClickSeconds(CLSWndView& view, const std::string& path)
{
    const HWND hWnd = view.GetHandle();
    const double start = Now();
    view.OpenFile(WidenAnsi(path));
    UpdateWindow(hWnd);
    LongLineTimes times{Now() - start, 0, 0};
    Pump();
    SendMessageA(hWnd, WM_KEYDOWN, VK_END, 1);
    UpdateWindow(hWnd);
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

// Ctrl+Home or Ctrl+End as the user presses them.
void PressCtrl(HWND hWnd, UINT vk)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(hWnd, WM_KEYDOWN, vk, 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

}  // namespace

int main()
{
    const std::string path = BenchFilePath("glim_view_512mib.txt");
    if (!MakeTextFile(path, kFileSize)) {
        std::fprintf(stderr, "bench_view: cannot write %s\n", path.c_str());
        return 1;
    }
    CLSBenchPane pane;
    if (!pane.IsReady()) {
        std::fprintf(stderr, "bench_view: no window\n");
        return 1;
    }
    CLSWndView* view = &pane.View();
    Pump();
    HWND hWnd = view->GetHandle();

    SequentialRead(path);  // both runs start from the same warm cache
    const double readSeconds = SequentialRead(path);

    const double openStart = Now();
    view->OpenFile(WidenAnsi(path));
    UpdateWindow(hWnd);
    const double openSeconds = Now() - openStart;
    // The lines are counted on a second thread once the first screen is up;
    // the count waits for it. Then the whole file can be scrolled.
    view->Doc().GetLineCount();
    const double countedSeconds = Now() - openStart;
    Pump();
    if (view->Doc().IsInMemory() || view->GetDisplayMode() != DocumentKind::Text) {
        std::fprintf(stderr, "bench_view: the file is not shown as text from disk\n");
        return 1;
    }
    PrintBench("open-paint-text", kFileSize, openSeconds, "sequential-read", readSeconds);
    PrintBench("open-count-text", kFileSize, countedSeconds, "sequential-read", readSeconds);
    PROCESS_MEMORY_COUNTERS afterOpen{};
    afterOpen.cb = sizeof(afterOpen);
    GetProcessMemoryInfo(GetCurrentProcess(), &afterOpen, sizeof(afterOpen));

    // Jumping to the last line and painting against jumping back to the first
    // screen and painting, each done a number of times.
    constexpr int kJumps = 20;
    double toFirst = 0;
    double toLast = 0;
    for (int i = 0; i < kJumps; ++i) {
        double t = Now();
        PressCtrl(hWnd, VK_END);
        UpdateWindow(hWnd);
        toLast += Now() - t;
        t = Now();
        PressCtrl(hWnd, VK_HOME);
        UpdateWindow(hWnd);
        toFirst += Now() - t;
    }
    Pump();
    PrintBench("paint-last-page", kFileSize, toLast / kJumps, "first-screen-paint", toFirst / kJumps);

    // One line at a time against the whole pane, from the top.
    PaintNow(hWnd);
    double start = Now();
    for (int i = 0; i < kScrollLines; ++i) {
        SendMessageA(hWnd, WM_VSCROLL, SB_LINEDOWN, 0);
        UpdateWindow(hWnd);
    }
    const double perLine = (Now() - start) / kScrollLines;
    start = Now();
    for (int i = 0; i < kScrollLines; ++i) {
        PaintNow(hWnd);
    }
    const double perPane = (Now() - start) / kScrollLines;
    PrintBench("scroll-line", kFileSize, perLine, "full-pane-paint", perPane);

    const unsigned long long indexBytes = 4ull * view->Doc().GetLineCount();
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof(pmc);
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
    const unsigned long long budget = 64ull * 1024 * 1024 + indexBytes;
    std::printf("MEMORY name=view-512mib peak_working_set=%llu working_set_after_open=%llu "
                "working_set_now=%llu line_index=%llu budget=%llu\n",
                static_cast<unsigned long long>(pmc.PeakWorkingSetSize),
                static_cast<unsigned long long>(afterOpen.WorkingSetSize),
                static_cast<unsigned long long>(pmc.WorkingSetSize), indexBytes, budget);

    // Shown as hex, then switched to text: until the first text screen is up.
    view->SetViewMode(ViewMode::Hex);
    view->OpenFile(WidenAnsi(path));
    UpdateWindow(hWnd);
    Pump();
    const double switchStart = Now();
    view->SetViewMode(ViewMode::Text);
    UpdateWindow(hWnd);
    const double switchSeconds = Now() - switchStart;
    PrintBench("switch-to-text", kFileSize, switchSeconds, "open-paint-text", openSeconds);
    view->SetViewMode(ViewMode::Auto);

    const std::string longLine = MakeOneLineFile("glim_view_64mib_line.txt", std::size_t{64} << 20);
    const std::string shortLine = MakeOneLineFile("glim_view_80_columns.txt", 80);
    if (!longLine.empty() && !shortLine.empty()) {
        const double shortKey = RightKeySeconds(*view, shortLine);
        const double longKey = RightKeySeconds(*view, longLine);
        PrintBench("caret-key-long-line", std::size_t{64} << 20, longKey, "caret-key-80-columns", shortKey);
    }
    const std::size_t kHugeLine = std::size_t{256} << 20;
    const std::string hugeLine = MakeOneLineFile("glim_view_256mib_line.txt", kHugeLine);
    if (!hugeLine.empty() && !shortLine.empty()) {
        const LongLineTimes shortTimes = PaintAndClickSeconds(*view, shortLine);
        const LongLineTimes hugeTimes = PaintAndClickSeconds(*view, hugeLine);
        PrintBench("paint-long-line", kHugeLine, hugeTimes.paint, "paint-80-columns", shortTimes.paint);
        PrintBench("click-long-line", kHugeLine, hugeTimes.click, "click-80-columns", shortTimes.click);
        PROCESS_MEMORY_COUNTERS huge{};
        huge.cb = sizeof(huge);
        GetProcessMemoryInfo(GetCurrentProcess(), &huge, sizeof(huge));
        std::printf("MEMORY name=view-256mib-line peak_working_set=%llu budget=%llu\n",
                    static_cast<unsigned long long>(huge.PeakWorkingSetSize), 64ull << 20);
        std::printf("PARTS name=click-long-line scrolled_cells=%d\n", hugeTimes.scrolledCells);
    }

    // What the open spends before painting (picture loader and media layer
    // trying the file), and the line index built in one go for comparison.
    view->Doc().Close();
    double t = Now();
    view->Doc().Open(WidenAnsi(path));
    CLSShownObject shown;
    shown.Recognise(view->Doc(), hWnd, RGB(255, 255, 255), nullptr);
    const double recognise = Now() - t;
    t = Now();
    view->Doc().GetLineCount();
    const double index = Now() - t;
    std::printf("PARTS name=open-paint-text recognise_seconds=%.6f index_in_one_go_seconds=%.6f\n", recognise, index);

    return 0;
}

// Speed of the preview pane on a 512 MiB text file kept on disk: opening it and
// painting the first screen, and until all its lines are counted (both against
// one sequential read of the file), jumping
// to the last line and painting (against the first screen's paint), and
// scrolling one line (against repainting the whole pane), switching the file
// from hex to text (against opening it as text). Also reports the process's
// peak memory against the budget of 64 MiB plus the line index. Lines of
// hundreds of megabytes have their own benchmark (LONGBENCH.cpp).
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

// Seconds to take fresh memory of this size from the system and write each
// of its pages once: what the index's own memory costs before a byte of the
// file is looked at (a page fault each; far dearer on some virtual machines).
double FreshMemorySeconds(std::size_t bytes)
{
    const double start = Now();
    auto* p = static_cast<volatile unsigned char*>(VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (p == nullptr) {
        return 0;
    }
    for (std::size_t i = 0; i < bytes; i += 4096) {
        p[i] = 1;
    }
    const double seconds = Now() - start;
    VirtualFree(const_cast<unsigned char*>(p), 0, MEM_RELEASE);
    return seconds;
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
    const double indexMemory = FreshMemorySeconds(4 * static_cast<std::size_t>(view->Doc().GetLineCount()));
    std::printf("PARTS name=open-paint-text recognise_seconds=%.6f index_in_one_go_seconds=%.6f "
                "index_memory_first_touch_seconds=%.6f\n",
                recognise, index, indexMemory);

    return 0;
}

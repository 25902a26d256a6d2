// Coming back to a log that grew: a 1 GiB text file kept on disk is shown at
// its end, another writer appends 1 MiB, and the pane gains the focus again:
// the time until the new last line is painted, against opening the log and
// painting its first screen.
#include "view/WNDVIEW.h"
#include "base/WIDEN.h"

#include "BENCHPANE.h"
#include "base/OWNERS.h"
#include "bench/common/BENCHWIN.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr unsigned long kLogSize = 1024ul * 1024 * 1024;
constexpr DWORD kGrowth = 1024 * 1024;

double OpenAndPaint(CLSWndView& view, const std::string& path)
{
    const double start = Now();
    view.OpenFile(WidenAnsi(path));
    InvalidateRect(view.GetHandle(), nullptr, FALSE);
    UpdateWindow(view.GetHandle());
    return Now() - start;
}

// Appends kGrowth bytes of lines as a logging program would, flushed.
bool Append(const std::string& path)
{
    std::string lines;
    while (lines.size() < kGrowth) {
        lines += "appended line of the log\r\n";
    }
    lines.resize(kGrowth - 2);
    lines += "\r\n";
    const CLSHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.Get(), lines.data(), kGrowth, &written, nullptr) && written == kGrowth &&
           FlushFileBuffers(file.Get());
}

// Back to the size the benchmark's file is made at, for the next run.
void CutBack(const std::string& path)
{
    const CLSHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER at;
    at.QuadPart = kLogSize;
    if (file && SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN)) {
        SetEndOfFile(file.Get());
    }
}

// Focus back on the pane, which notices the growth; once the pane shows the
// grown file with all of its lines, it is scrolled to its end and painted.
double RefocusUntilEndPainted(CLSWndView& view, HWND parent, unsigned long long grownSize)
{
    SetFocus(parent);
    const double start = Now();
    SetFocus(view.GetHandle());
    while (view.Doc().GetFileSize() != grownSize || !view.Doc().IsLineIndexReady()) {
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        if (Now() - start > 120) {
            return -1;
        }
    }
    SendMessageA(view.GetHandle(), WM_VSCROLL, SB_BOTTOM, 0);
    UpdateWindow(view.GetHandle());
    return Now() - start;
}

}  // namespace

int main()
{
    const std::string log = BenchFilePath("glim_grow_1gib.log");
    CutBack(log);
    if (!MakeTextFile(log, kLogSize)) {
        std::fprintf(stderr, "bench_grow: cannot write the log\n");
        return 1;
    }
    CLSBenchPane pane;
    if (!pane.IsReady()) {
        std::fprintf(stderr, "bench_grow: no window\n");
        return 1;
    }
    CLSWndView& view = pane.View();
    const HWND parent = GetParent(view.GetHandle());

    // The fastest of a few runs each, as other work on the machine comes and goes.
    double alone = 1e9;
    double refocused = 1e9;
    for (int run = 0; run < 3; ++run) {
        CutBack(log);
        alone = std::min(alone, OpenAndPaint(view, log));
        view.Doc().GetLineCount();
        Pump();
        SendMessageA(view.GetHandle(), WM_VSCROLL, SB_BOTTOM, 0);
        UpdateWindow(view.GetHandle());
        if (!Append(log)) {
            std::fprintf(stderr, "bench_grow: cannot append\n");
            return 1;
        }
        const double took = RefocusUntilEndPainted(view, parent, kLogSize + kGrowth);
        if (took < 0) {
            std::fprintf(stderr, "bench_grow: the grown lines never came\n");
            return 1;
        }
        refocused = std::min(refocused, took);
    }
    view.OpenFile(L"");
    CutBack(log);
    PrintBench("refocus-grown-log", kGrowth, refocused, "open-paint-first-screen", alone);
    return 0;
}

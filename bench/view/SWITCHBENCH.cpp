// Moving on while a copy is gathered: Ctrl+A, Ctrl+C on a 1 GiB text file
// kept on disk, then another file opened and its first screen painted, against
// opening and painting that file with no copy under way.
#include "view/WNDVIEW.h"
#include "base/WIDEN.h"

#include "BENCHPANE.h"
#include "bench/common/BENCHWIN.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr unsigned long kCopiedSize = 1024ul * 1024 * 1024;
constexpr unsigned long kNextSize = 1024ul * 1024;

// Opens path and paints the first screen: the time until it is up.
double OpenAndPaint(CLSWndView& view, const std::string& path)
{
    const double start = Now();
    view.OpenFile(WidenAnsi(path));
    InvalidateRect(view.GetHandle(), nullptr, FALSE);
    UpdateWindow(view.GetHandle());
    return Now() - start;
}

}  // namespace

int main()
{
    const std::string copied = BenchFilePath("glim_switch_1gib.txt");
    const std::string next = BenchFilePath("glim_switch_next.txt");
    if (!MakeTextFile(copied, kCopiedSize) || !MakeTextFile(next, kNextSize)) {
        std::fprintf(stderr, "bench_switch: cannot write the files\n");
        return 1;
    }
    CLSBenchPane pane;
    if (!pane.IsReady()) {
        std::fprintf(stderr, "bench_switch: no window\n");
        return 1;
    }
    CLSWndView& view = pane.View();

    // Both leave the big file counted and shown; only the copy differs. The
    // fastest of a few runs each, as other work on the machine comes and goes.
    auto showCopied = [&] {
        view.OpenFile(WidenAnsi(copied));
        view.Doc().GetLineCount();
        Pump();
    };
    OpenAndPaint(view, next);  // warm
    double alone = 1e9;
    double switched = 1e9;
    for (int run = 0; run < 3; ++run) {
        showCopied();
        alone = std::min(alone, OpenAndPaint(view, next));
        showCopied();
        view.SelectAll();
        SendMessageA(view.GetHandle(), WM_COPY, 0, 0);
        switched = std::min(switched, OpenAndPaint(view, next));
    }
    PrintBench("switch-while-copying", kCopiedSize, switched, "open-paint-alone", alone);
    // The copy is not wanted: closing must not put 2 GiB of text on the clipboard.
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    return 0;
}

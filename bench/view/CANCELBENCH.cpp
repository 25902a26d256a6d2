// A search given up: a find in one 64 MiB line of a single letter, for a
// thousand of that letter and another one (the worst query for matching place
// by place), cancelled after 50 ms; the time until Cancel returns, against
// painting one screen of an ordinary text.
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

constexpr DWORD kLineSize = 64u * 1024 * 1024;

bool MakeOneLine(const std::string& path)
{
    if (BenchFileSize(path) == kLineSize) {
        return true;
    }
    CLSHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::string chunk(1024 * 1024, 'a');
    bool ok = static_cast<bool>(file);
    for (DWORD done = 0; ok && done < kLineSize; done += static_cast<DWORD>(chunk.size())) {
        DWORD written = 0;
        ok = WriteFile(file.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &written, nullptr) &&
             written == chunk.size();
    }
    return ok;
}

}  // namespace

int main()
{
    const std::string line = BenchFilePath("glim_cancel_line.txt");
    const std::string text = BenchFilePath("glim_cancel_text.txt");
    if (!MakeOneLine(line) || !MakeTextFile(text, 1024ul * 1024)) {
        std::fprintf(stderr, "bench_cancel: cannot write the files\n");
        return 1;
    }
    CLSBenchPane pane;
    if (!pane.IsReady()) {
        std::fprintf(stderr, "bench_cancel: no window\n");
        return 1;
    }
    CLSWndView& view = pane.View();
    HWND hWnd = view.GetHandle();

    // The fastest of a few of each, as other work on the machine comes and goes.
    view.OpenFile(WidenAnsi(text));
    UpdateWindow(hWnd);
    double paint = 1e9;
    for (int run = 0; run < 5; ++run) {
        const double start = Now();
        InvalidateRect(hWnd, nullptr, FALSE);
        UpdateWindow(hWnd);
        paint = std::min(paint, Now() - start);
    }

    view.OpenFile(WidenAnsi(line));
    view.Doc().GetLineCount();
    Pump();
    const std::u16string query = std::u16string(1000, u'a') + u"b";
    double cancel = 1e9;
    for (int run = 0; run < 5; ++run) {
        if (!view.StartFind(query, true, true)) {
            std::fprintf(stderr, "bench_cancel: the find did not start\n");
            return 1;
        }
        Sleep(50);
        const double start = Now();
        view.CancelFind();
        cancel = std::min(cancel, Now() - start);
    }
    PrintBench("cancel-find-long-line", kLineSize, cancel, "screen-paint", paint);
    return 0;
}

// Select all and copy of a 64 MiB text file kept on disk, as the user does it
// (Ctrl+A, Ctrl+C in the pane), against one sequential read of the file.
#include "view/WNDVIEW.h"

#include "BENCHPANE.h"
#include "bench/common/BENCHWIN.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kFileSize = 64u * 1024 * 1024;

// The characters of the Unicode text on the clipboard, 0 when it holds none.
size_t ClipboardUnits(HWND owner)
{
    size_t units = 0;
    if (OpenClipboard(owner)) {
        if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
            units = wcslen(static_cast<const wchar_t*>(GlobalLock(h)));
            GlobalUnlock(h);
        }
        CloseClipboard();
    }
    return units;
}

}  // namespace

int main()
{
    const std::string path = BenchFilePath("glim_copy_64mib.txt");
    if (!MakeTextFile(path, kFileSize)) {
        std::fprintf(stderr, "bench_copy: cannot write %s\n", path.c_str());
        return 1;
    }
    CLSBenchPane pane;
    if (!pane.IsReady()) {
        std::fprintf(stderr, "bench_copy: no window\n");
        return 1;
    }
    CLSWndView& view = pane.View();
    HWND hWnd = view.GetHandle();
    view.OpenFile(path.c_str());
    view.GetLineCount();
    Pump();
    SequentialRead(path);  // both start from the same warm cache
    const double readSeconds = SequentialRead(path);

    const double start = Now();
    view.SelectAll();
    SendMessageA(hWnd, WM_COPY, 0, 0);
    const double copySeconds = Now() - start;
    // Every byte is one character, and the lines come back joined as they were.
    if (ClipboardUnits(hWnd) + 1 < kFileSize) {
        std::fprintf(stderr, "bench_copy: the clipboard does not hold the whole text\n");
        return 1;
    }
    PrintBench("copy-all-64mib", kFileSize, copySeconds, "sequential-read", readSeconds);

    // Where the time goes: the document's lines one by one, as the copy asks
    // for them, without the clipboard.
    const double linesStart = Now();
    const DWORD lines = view.GetLineCount();
    for (DWORD line = 0; line < lines; ++line) {
        view.GetLine(line);
    }
    std::printf("# copy-all-64mib: reading its %lu lines one by one takes %.3f s of the %.3f s\n",
                static_cast<unsigned long>(lines), Now() - linesStart, copySeconds);
    return 0;
}

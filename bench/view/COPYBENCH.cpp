// Select all and copy of a 64 MiB text file kept on disk, as the user does it
// (Ctrl+A, Ctrl+C in the pane): the time until the window is free again,
// against one sequential read of the file; and the copy with the first paste
// that takes its text onto the clipboard, against the system's own cost of
// taking that much text.
#include "view/WNDVIEW.h"
#include "base/WIDEN.h"

#include "BENCHPANE.h"
#include "bench/common/BENCHWIN.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
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

// A block of units characters put on the clipboard as Unicode text.
bool PutUnitsOnClipboard(HWND owner, size_t units)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (units + 1) * sizeof(wchar_t));
    auto* text = block != nullptr ? static_cast<wchar_t*>(GlobalLock(block)) : nullptr;
    if (text == nullptr) {
        return false;
    }
    std::wmemset(text, L'a', units);
    text[units] = 0;
    GlobalUnlock(block);
    bool taken = false;
    if (OpenClipboard(owner)) {
        taken = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block) != nullptr;
        CloseClipboard();
    }
    if (!taken) {
        GlobalFree(block);
    }
    return taken;
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
    view.OpenFile(WidenAnsi(path));
    view.Doc().GetLineCount();
    Pump();
    SequentialRead(path);  // both start from the same warm cache
    const double readSeconds = SequentialRead(path);

    const double start = Now();
    view.SelectAll();
    SendMessageA(hWnd, WM_COPY, 0, 0);
    const double copySeconds = Now() - start;
    PrintBench("copy-all-64mib", kFileSize, copySeconds, "sequential-read", readSeconds);
    // Every byte is one character, and the lines come back joined as they were.
    const size_t units = ClipboardUnits(hWnd);
    const double pasteSeconds = Now() - start;
    if (units + 1 < kFileSize) {
        std::fprintf(stderr, "bench_copy: the clipboard does not hold the whole text\n");
        return 1;
    }

    // The floor under any copy of this text: the system taking a block of as
    // many UTF-16 units, written into fresh memory as the copy writes its own.
    const double floorStart = Now();
    if (!PutUnitsOnClipboard(hWnd, units)) {
        std::fprintf(stderr, "bench_copy: the clipboard took no block\n");
        return 1;
    }
    PrintBench("copy-paste-all-64mib", kFileSize, pasteSeconds, "clipboard-set-same-text", Now() - floorStart);
    return 0;
}

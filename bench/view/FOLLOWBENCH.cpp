// Following a log that another process appends to. follow-latency: the median
// time from a line appended and flushed by the other process to that line
// painted at the end of the pane, over 50 appends, against the tenth of a
// second it must stay under. follow-key-latency: how long a key waits for the
// window while the log grows by 10 MB/s, against the same key on a quiet file.
// The program is also the writer: started again with "--writer" or "--grow".
#include "view/WNDVIEW.h"
#include "base/WIDEN.h"

#include "BENCHPANE.h"
#include "base/OWNERS.h"
#include "bench/common/BENCHWIN.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kGoEvent[] = "GlimFollowBench.Go";
constexpr char kStopEvent[] = "GlimFollowBench.Stop";
constexpr char kTimeMap[] = "GlimFollowBench.Time";
constexpr int kAppends = 50;
constexpr int kKeys = 200;
constexpr unsigned long kLogSize = 8ul * 1024 * 1024;  // kept on disk, counted on its thread
constexpr DWORD kGrowthPiece = 100 * 1024;
constexpr double kGrowthRate = 10e6;  // bytes a second

CLSHandle OpenForAppending(const std::wstring& path)
{
    return CLSHandle(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The other process: a line on every signal, flushed, and the time after the
// flush left where the pane's process reads it.
int RunWriter(const std::wstring& path)
{
    const CLSHandle file = OpenForAppending(path);
    const CLSHandle go(OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, kGoEvent));
    const CLSHandle stop(OpenEventA(SYNCHRONIZE, FALSE, kStopEvent));
    const CLSHandle map(OpenFileMappingA(FILE_MAP_WRITE, FALSE, kTimeMap));
    auto* written = map ? static_cast<double*>(MapViewOfFile(map.Get(), FILE_MAP_WRITE, 0, 0, sizeof(double))) : nullptr;
    if (!file || !go || !stop || written == nullptr) {
        return 1;
    }
    const HANDLE waits[2] = {stop.Get(), go.Get()};
    for (int k = 0; WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1; ++k) {
        const std::string line = "appended line " + std::to_string(k) + "\r\n";
        DWORD n = 0;
        WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &n, nullptr);
        FlushFileBuffers(file.Get());
        *written = Now();
    }
    UnmapViewOfFile(written);
    return 0;
}

// The other process growing the log by 10 MB/s until told to stop.
int RunGrower(const std::wstring& path)
{
    const CLSHandle file = OpenForAppending(path);
    const CLSHandle stop(OpenEventA(SYNCHRONIZE, FALSE, kStopEvent));
    if (!file || !stop) {
        return 1;
    }
    std::string piece;
    while (piece.size() + 40 <= kGrowthPiece) {
        piece += "a line the log grows by, forty bytes\r\n";
    }
    // Paced by the clock, not by the waits, which may be shorter or longer.
    const double start = Now();
    double written = 0;
    while (WaitForSingleObject(stop.Get(), 5) == WAIT_TIMEOUT) {
        while (written < (Now() - start) * kGrowthRate) {
            DWORD n = 0;
            WriteFile(file.Get(), piece.data(), static_cast<DWORD>(piece.size()), &n, nullptr);
            written += n;
        }
    }
    return 0;
}

CLSHandle StartSelf(const wchar_t* mode, const std::string& path)
{
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) + L"\" " + mode + L" \"" + WidenAnsi(path) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(self, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        return CLSHandle();
    }
    CloseHandle(pi.hThread);
    return CLSHandle(pi.hProcess);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Whether the pane shows the file at size with its last row in sight and
// nothing left to paint.
bool ShowsEndPainted(CLSWndView& view, unsigned long long size)
{
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    GetScrollInfo(view.GetHandle(), SB_VERT, &si);
    return view.Doc().GetFileSize() == size && static_cast<long long>(si.nPos) + si.nPage > si.nMax &&
           !GetUpdateRect(view.GetHandle(), nullptr, FALSE);
}

// A key for the pane that moves nothing (Shift alone), from its posting until
// the window has handled it.
double KeyLatency(HWND view)
{
    const double start = Now();
    PostMessageA(view, WM_KEYDOWN, VK_SHIFT, 0);
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
            if (msg.hwnd == view && msg.message == WM_KEYDOWN) {
                return Now() - start;
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

std::vector<double> KeyLatencies(HWND view)
{
    std::vector<double> took;
    for (int k = 0; k < kKeys; ++k) {
        took.push_back(KeyLatency(view));
        const double until = Now() + 0.01;
        while (Now() < until) {
            Pump();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        }
    }
    return took;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--writer") == 0) {
        return RunWriter(WidenAnsi(argv[2]));
    }
    if (argc == 3 && std::strcmp(argv[1], "--grow") == 0) {
        return RunGrower(WidenAnsi(argv[2]));
    }
    const std::string log = BenchFilePath("glim_follow.log");
    if (!MakeTextFile(log, kLogSize)) {
        std::fprintf(stderr, "bench_follow: cannot write the log\n");
        return 1;
    }
    const CLSHandle go(CreateEventA(nullptr, FALSE, FALSE, kGoEvent));
    const CLSHandle stop(CreateEventA(nullptr, TRUE, FALSE, kStopEvent));
    const CLSHandle map(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(double), kTimeMap));
    auto* written = map ? static_cast<volatile double*>(MapViewOfFile(map.Get(), FILE_MAP_WRITE, 0, 0, sizeof(double)))
                        : nullptr;
    CLSBenchPane pane;
    if (!go || !stop || written == nullptr || !pane.IsReady()) {
        std::fprintf(stderr, "bench_follow: no events, shared memory or window\n");
        return 1;
    }
    CLSWndView& view = pane.View();
    view.OpenFile(WidenAnsi(log));
    UpdateWindow(view.GetHandle());
    view.Doc().GetLineCount();
    Pump();
    view.SetFollow(true);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;  // Ctrl+End: to the end, where following goes on
    SetKeyboardState(keys);
    SendMessageA(view.GetHandle(), WM_KEYDOWN, VK_END, 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    Pump();

    const CLSHandle writer = StartSelf(L"--writer", log);
    std::vector<double> latencies;
    for (int k = 0; writer && k < kAppends; ++k) {
        const unsigned long long expected = view.Doc().GetFileSize() + ("appended line " + std::to_string(k) + "\r\n").size();
        *written = 0;
        SetEvent(go.Get());
        const double start = Now();
        while (!ShowsEndPainted(view, expected) && Now() - start < 10) {
            Pump();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        }
        const double painted = Now();
        while (*written == 0 && Now() - start < 10) {
            Sleep(1);
        }
        latencies.push_back(painted - *written);
    }
    if (latencies.size() != kAppends || view.GetFollowState() != FollowState::Following) {
        std::fprintf(stderr, "bench_follow: the appended lines were not followed\n");
        return 1;
    }

    const std::vector<double> quiet = KeyLatencies(view.GetHandle());
    const unsigned long long grownFrom = view.Doc().GetFileSize();
    const CLSHandle grower = StartSelf(L"--grow", log);
    const double growStart = Now();
    const std::vector<double> growing = KeyLatencies(view.GetHandle());
    const double growTime = Now() - growStart;
    SetEvent(stop.Get());
    if (writer) {
        WaitForSingleObject(writer.Get(), 5000);
    }
    if (grower) {
        WaitForSingleObject(grower.Get(), 5000);
    }
    const unsigned long long grownTo = view.Doc().GetFileSize();
    view.OpenFile(L"");
    UnmapViewOfFile(const_cast<double*>(written));
    DeleteFileA(log.c_str());
    PrintBench("follow-latency", kAppends, Median(latencies), "limit-0.1s", 0.1);
    PrintBench("follow-key-latency", grownTo - grownFrom, Median(growing), "key-latency-quiet-file", Median(quiet));
    std::fprintf(stderr, "follow-key-latency: worst %.4f s growing, %.4f s quiet; the pane read %.1f MB/s\n",
                 *std::max_element(growing.begin(), growing.end()), *std::max_element(quiet.begin(), quiet.end()),
                 static_cast<double>(grownTo - grownFrom) / growTime / 1e6);
    return 0;
}

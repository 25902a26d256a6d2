// Shared pieces of the Windows benchmarks.
#include "bench/common/BENCHWIN.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

double Now()
{
    static LARGE_INTEGER frequency{};
    if (frequency.QuadPart == 0) {
        QueryPerformanceFrequency(&frequency);
    }
    LARGE_INTEGER t{};
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void PrintBench(const char* name, unsigned long long bytes, double seconds, const char* baseline,
                double baselineSeconds)
{
    std::printf("BENCH name=%s bytes=%llu seconds=%.6f baseline=%s baseline_seconds=%.6f ratio=%.3f\n", name, bytes,
                seconds, baseline, baselineSeconds, baselineSeconds > 0 ? seconds / baselineSeconds : 0.0);
    std::fflush(stdout);
}

std::string BenchDataFolder()
{
    const char* env = std::getenv("GLIM_BENCH_DATA");
    if (env == nullptr || *env == '\0') {
        return std::string();
    }
    return env[0] == '/' ? std::string("Z:") + env : std::string(env);
}

std::string BenchFilePath(const char* name)
{
    std::string folder = BenchDataFolder();
    if (folder.empty()) {
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof(temp), temp);
        folder = temp;
    }
    if (folder.back() != '\\' && folder.back() != '/') {
        folder += '\\';
    }
    return folder + name;
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
    }
}

double SequentialRead(const std::string& path)
{
    constexpr DWORD kBuffer = 1 << 20;
    std::vector<char> buffer(kBuffer);
    const double start = Now();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD got = 0;
    while (ReadFile(file, buffer.data(), kBuffer, &got, nullptr) && got != 0) {
    }
    CloseHandle(file);
    return Now() - start;
}

// Shared pieces of the Windows benchmarks.
#include "bench/common/BENCHWIN.h"

#include "base/OWNERS.h"

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

unsigned long long BenchFileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool MakeTextFile(const std::string& path, unsigned long size)
{
    constexpr DWORD kChunk = 1024 * 1024;
    if (BenchFileSize(path) == size) {
        return true;
    }
    std::string chunk;
    unsigned seed = 12345;
    int line = 0;
    while (chunk.size() < kChunk) {
        seed = seed * 1103515245u + 12345u;
        const int words = 3 + static_cast<int>((seed >> 16) % 12);
        char head[32];
        std::snprintf(head, sizeof(head), "%07d:", line++);
        chunk += head;
        for (int w = 0; w < words; ++w) {
            chunk += (w % 4 == 3) ? "\tcolumn" : " word";
        }
        chunk += "\r\n";
    }
    chunk.resize(kChunk);
    const CLSHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    bool ok = file.Valid();
    for (DWORD done = 0; ok && done < size; done += kChunk) {
        const DWORD n = size - done < kChunk ? size - done : kChunk;
        DWORD written = 0;
        ok = WriteFile(file.Get(), chunk.data(), n, &written, nullptr) && written == n;
    }
    return ok;
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

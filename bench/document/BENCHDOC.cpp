// Windows benchmark of the document itself (run under Wine): the line index in
// memory and on disk, and random GetLine calls, on files it writes itself, plus
// the memory that grows with the file in disk mode.
#include "document/FILESTRM.h"

#include "base/WIDEN.h"
#include "BENCHFILE.h"
#include "bench/common/BENCHWIN.h"

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr DWORD kMiB = 1 << 20;

// The data folder: $GLIM_BENCH_DATA (a host path under Wine) or a temporary
// folder that is emptied again at the end.
struct DataFolder {
    std::string path;
    bool temporary = false;
    std::vector<std::string> made;

    DataFolder()
    {
        path = BenchDataFolder();
        if (path.empty()) {
            char base[MAX_PATH];
            GetTempPathA(sizeof(base), base);
            path = std::string(base) + "glim-bench-document";
            temporary = true;
        }
        CreateDirectoryA(path.c_str(), nullptr);
    }
    ~DataFolder()
    {
        if (temporary) {
            for (const std::string& file : made) {
                DeleteFileA(file.c_str());
            }
            RemoveDirectoryA(path.c_str());
        }
    }
};

// Writes the file unless a previous run left one of the same size.
std::string MakeFile(DataFolder& folder, const char* name, DWORD bytes, bool utf16)
{
    const std::string path = folder.path + "\\" + name;
    folder.made.push_back(path);
    WriteBenchTextFile(path, bytes, utf16);
    return path;
}

std::string ReadWhole(const std::string& path)
{
    std::string bytes(static_cast<std::size_t>(BenchFileSize(path)), '\0');
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD got = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    return bytes;
}

double CountLf(const std::string& bytes, std::size_t* count)
{
    const double start = Now();
    std::size_t n = 0;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr) {
        ++n;
        ++p;
    }
    *count = n;
    return Now() - start;
}

// Time of building the index of a freshly opened document (best of rounds).
double IndexTime(const std::string& path, DWORD limit, int rounds, DWORD* lines)
{
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        CLSFileStream doc;
        doc.SetMemoryLimit(limit);
        doc.Open(WidenAnsi(path), nullptr, nullptr);
        const double start = Now();
        *lines = doc.GetLineCount();
        const double t = Now() - start;
        best = t < best ? t : best;
    }
    return best;
}

void MeasureInMemory(const char* name, const std::string& path)
{
    const std::string bytes = ReadWhole(path);
    double baseline = 1e9;
    std::size_t lf = 0;
    for (int i = 0; i < 3; ++i) {
        const double t = CountLf(bytes, &lf);
        baseline = t < baseline ? t : baseline;
    }
    double limit = 1e9;
    const unsigned char absent = AbsentByte(bytes);
    std::size_t rare = 0;
    for (int i = 0; i < 3; ++i) {
        const double start = Now();
        rare = MemoryPass(bytes, absent);
        const double t = Now() - start;
        limit = t < limit ? t : limit;
    }
    DWORD lines = 0;
    const double seconds = IndexTime(path, 0xFFFFFFFF, 3, &lines);
    std::printf("# %s: %lu lines (%zu LF bytes, %zu bytes of the rarest value)\n", name, lines, lf, rare);
    PrintBench(name, bytes.size(), seconds, "memchr-lf-count", baseline);
    const std::string limitName = std::string(name) + "-limit";
    PrintBench(limitName.c_str(), bytes.size(), seconds, "memory-pass", limit);
}

// Resident memory of the process (Wine gives no private-bytes figure).
SIZE_T ResidentBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.WorkingSetSize;
}

// Random lines of a document on disk; reports the seconds for 10,000 calls.
double RandomLines(const std::string& path, int calls)
{
    CLSFileStream doc;
    const SIZE_T before = ResidentBytes();
    doc.Open(WidenAnsi(path), nullptr, nullptr);
    const DWORD lines = doc.GetLineCount();
    const SIZE_T after = ResidentBytes();
    std::printf("# memory on disk, %lu MiB file: %lu lines, index %lu KiB (4 bytes a line), resident memory grew "
                "%lu KiB\n",
                static_cast<unsigned long>(doc.GetFileSize() / kMiB), lines, lines * 4 / 1024,
                static_cast<unsigned long>((after - before) / 1024));
    std::mt19937 random(99);
    std::vector<DWORD> picks(static_cast<std::size_t>(calls));
    for (DWORD& k : picks) {
        k = random() % lines;
    }
    double seconds = 1e9;
    unsigned long long units = 0;
    for (int round = 0; round < 3; ++round) {
        const double start = Now();
        units = 0;
        for (DWORD k : picks) {
            CLSDecodedLine line = doc.GetLine(k);
            units += static_cast<unsigned long long>(line.Length());
        }
        const double t = Now() - start;
        seconds = t < seconds ? t : seconds;
    }
    std::printf("# getline-random %lu MiB: %.2f us a line (%llu units decoded)\n",
                static_cast<unsigned long>(doc.GetFileSize() / kMiB),
                seconds * 1e6 / calls, units);
    return seconds;
}

}  // namespace

int main()
{
    DataFolder folder;
    const std::string sjis64 = MakeFile(folder, "sjis-64mib.txt", 64 * kMiB, false);
    const std::string utf16 = MakeFile(folder, "utf16le-64mib.txt", 64 * kMiB, true);
    const std::string sjis512 = MakeFile(folder, "sjis-512mib.txt", 512 * kMiB, false);

    MeasureInMemory("line-index-memory", sjis64);
    MeasureInMemory("line-index-utf16", utf16);

    // On disk (default limit), page cache warm: the first read warms it. The
    // read and the index take turns, so that both meet the same moods of a
    // shared machine; the best of each counts.
    SequentialRead(sjis512);
    double baseline = 1e9;
    double disk = 1e9;
    DWORD lines = 0;
    for (int i = 0; i < 5; ++i) {
        const double read = SequentialRead(sjis512);
        baseline = read < baseline ? read : baseline;
        const double index = IndexTime(sjis512, 4000000, 1, &lines);
        disk = index < disk ? index : disk;
    }
    std::printf("# line-index-disk: %lu lines\n", lines);
    PrintBench("line-index-disk", BenchFileSize(sjis512), disk, "sequential-read-1MiB", baseline);
    // The scan alone over the same 512 MiB, held in memory: what the disk form
    // adds to its read.
    MeasureInMemory("line-index-memory-512MiB", sjis512);

    const int calls = 10000;
    const double small = RandomLines(sjis64, calls);
    const double large = RandomLines(sjis512, calls);
    PrintBench("getline-random-64MiB", calls, small, "none", small);
    PrintBench("getline-random", calls, large, "getline-random-64MiB", small);
    return 0;
}

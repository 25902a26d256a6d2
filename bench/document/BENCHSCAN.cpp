// Native benchmark of the line index builder on text held in memory, against
// a memchr count of LF over the same bytes (glibc's, the fastest at hand) and
// against the physical limit, one pass over the bytes at memory speed.
#include "document/DETECT.h"
#include "document/LINESCAN.h"

#include "BENCHTEXT.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::size_t CountLf(const std::string& text)
{
    std::size_t count = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr) {
        ++count;
        ++p;
    }
    return count;
}

std::size_t BuildIndex(const std::string& text, TextEncoding encoding, CLSEncodingSearch* search = nullptr)
{
    CLSLineStarts index;
    index.push_back(0);
    CLSLineScanner scanner(index, encoding);
    scanner.Watch(search);
    scanner.Feed(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    scanner.Finish();
    return index.size();
}

void Measure(const char* name, const std::string& text, TextEncoding encoding)
{
    double best = 1e9;
    double baseline = 1e9;
    double limit = 1e9;
    const unsigned char absent = AbsentByte(text);
    std::size_t rare = 0;
    std::size_t lines = 0;
    std::size_t lf = 0;
    for (int round = 0; round < 5; ++round) {
        auto start = std::chrono::steady_clock::now();
        lf = CountLf(text);
        const double b = Seconds(start);
        baseline = b < baseline ? b : baseline;
        start = std::chrono::steady_clock::now();
        rare = MemoryPass(text, absent);
        const double m = Seconds(start);
        limit = m < limit ? m : limit;
        start = std::chrono::steady_clock::now();
        lines = BuildIndex(text, encoding);
        const double t = Seconds(start);
        best = t < best ? t : best;
    }
    std::printf("# %s: %zu lines, %zu LF bytes, %zu bytes of the rarest value\n", name, lines, lf, rare);
    std::printf("BENCH name=%s bytes=%zu seconds=%.6f baseline=memchr-lf-count baseline_seconds=%.6f ratio=%.3f\n",
                name, text.size(), best, baseline, best / baseline);
    std::printf("BENCH name=%s-limit bytes=%zu seconds=%.6f baseline=memory-pass baseline_seconds=%.6f ratio=%.3f\n",
                name, text.size(), best, limit, best / limit);
}

// The search for an encoding past an undecided sample, over plain ASCII to its
// end (where it reads the most), against the same memchr pass: alone, and
// riding along with the line index as a file on disk is read.
void MeasureSearch(const char* name, const std::string& text)
{
    double best = 1e9;
    double baseline = 1e9;
    TextEncoding found = TextEncoding::Auto;
    for (int round = 0; round < 5; ++round) {
        auto start = std::chrono::steady_clock::now();
        const std::size_t lf = CountLf(text);
        const double b = Seconds(start);
        baseline = b < baseline && lf != 0 ? b : baseline;
        start = std::chrono::steady_clock::now();
        CLSEncodingSearch search;
        search.Feed(reinterpret_cast<const unsigned char*>(text.data()), text.size());
        search.Finish();
        found = search.Found();
        const double t = Seconds(start);
        best = t < best ? t : best;
    }
    std::printf("# %s: found %u\n", name, static_cast<unsigned>(found));
    std::printf("BENCH name=%s bytes=%zu seconds=%.6f baseline=memchr-lf-count baseline_seconds=%.6f ratio=%.3f\n",
                name, text.size(), best, baseline, best / baseline);
    double riding = 1e9;
    for (int round = 0; round < 5; ++round) {
        const auto start = std::chrono::steady_clock::now();
        CLSEncodingSearch search;
        BuildIndex(text, TextEncoding::ShiftJis, &search);
        search.Finish();
        const double t = Seconds(start);
        riding = t < riding ? t : riding;
    }
    std::printf("BENCH name=line-index-and-%s bytes=%zu seconds=%.6f baseline=memchr-lf-count baseline_seconds=%.6f "
                "ratio=%.3f\n",
                name, text.size(), riding, baseline, riding / baseline);
}

}  // namespace

int main()
{
    const std::size_t size = std::size_t(64) << 20;
    std::string sjis;
    sjis.reserve(size + 512);
    CLSBenchText(1).AppendShiftJis(sjis, size);
    Measure("line-index-memory-native", sjis, TextEncoding::ShiftJis);
    sjis = std::string();
    std::string utf16;
    utf16.reserve(size + 512);
    CLSBenchText(2).AppendUtf16Le(utf16, size);
    Measure("line-index-utf16-native", utf16, TextEncoding::Utf16Le);
    utf16 = std::string();
    std::string ascii;
    for (std::size_t i = 0; ascii.size() < size; ++i) {
        ascii += "This program is free software, version " + std::to_string(i % 977) + std::string(i % 40, ' ') + "\r\n";
    }
    MeasureSearch("encoding-search-native", ascii);
    return 0;
}

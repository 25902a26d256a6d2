// Matching of decoded text and the byte filter of a search.
#include "document/FINDTEXT.h"

#include "base/ASSERT.h"

#include <cctype>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define GLIM_FIND_X86 1
#else
#define GLIM_FIND_X86 0
#endif

std::vector<std::u16string> SplitQuery(const std::u16string& query, FoldTable fold)
{
    std::vector<std::u16string> segments(1);
    for (std::size_t i = 0; i < query.size(); ++i) {
        const char16_t unit = query[i];
        if (unit == u'\r' || unit == u'\n') {
            if (unit == u'\r' && i + 1 < query.size() && query[i + 1] == u'\n') {
                ++i;
            }
            segments.emplace_back();
        } else {
            segments.back().push_back(FoldUnit(fold, unit));
        }
    }
    return segments;
}

namespace {

bool MatchesAt(const char16_t* text, int at, const std::u16string& segment, FoldTable fold)
{
    for (std::size_t j = 0; j < segment.size(); ++j) {
        if (FoldUnit(fold, text[at + static_cast<int>(j)]) != segment[j]) {
            return false;
        }
    }
    return true;
}

}  // namespace

int FindInLine(const char16_t* text, int length, const std::u16string& segment, int from, int to, bool forward,
               FoldTable fold)
{
    // One place only (a line that a query across lines must end or begin
    // with): no table is worth making.
    if (to - from == 1) {
        const int m = static_cast<int>(segment.size());
        return m != 0 && from >= 0 && from <= length - m && MatchesAt(text, from, segment, fold) ? from : -1;
    }
    return CLSLineMatcher(segment, fold).Find(text, length, from, to, forward);
}

CLSLineMatcher::CLSLineMatcher(const std::u16string& segment, FoldTable fold)
    : m_fold(fold), m_forward(Prepare(segment)), m_backward(Prepare(std::u16string(segment.rbegin(), segment.rend())))
{
}

CLSLineMatcher::Direction CLSLineMatcher::Prepare(std::u16string units)
{
    Direction d;
    d.borders.assign(units.size(), 0);
    int border = 0;
    for (std::size_t i = 1; i < units.size(); ++i) {
        while (border > 0 && units[i] != units[static_cast<std::size_t>(border)]) {
            border = d.borders[static_cast<std::size_t>(border) - 1];
        }
        if (units[i] == units[static_cast<std::size_t>(border)]) {
            ++border;
        }
        d.borders[i] = border;
    }
    d.units = std::move(units);
    return d;
}

int CLSLineMatcher::Find(const char16_t* text, int length, int from, int to, bool forward,
                         const std::atomic<bool>* stop) const
{
    const int m = static_cast<int>(m_forward.units.size());
    const int lastStart = length - m;
    from = from < 0 ? 0 : from;
    to = to - 1 < lastStart ? to - 1 : lastStart;  // the last start column allowed
    if (m == 0 || from > to) {
        return -1;
    }
    // Forward the units from `from` up to the end of a match at `to`;
    // backward the same units from the last down, against the segment reversed.
    const int count = to - from + m;
    if (forward) {
        const int end = Scan(m_forward, text, from, count, 1, stop);
        return end < 0 ? -1 : end - m + 1;
    }
    return Scan(m_backward, text, to + m - 1, count, -1, stop);
}

// The column where the segment (in d's order) is first complete, scanning
// count units from first in steps of step; -1 when it never is or stop is set.
int CLSLineMatcher::Scan(const Direction& d, const char16_t* text, int first, int count, int step,
                         const std::atomic<bool>* stop) const
{
    constexpr int kStopEvery = 1 << 16;
    const int m = static_cast<int>(d.units.size());
    int matched = 0;
    for (int n = 0; n < count; ++n) {
        if (stop != nullptr && n % kStopEvery == kStopEvery - 1 && stop->load(std::memory_order_relaxed)) {
            return -1;
        }
        const int at = first + n * step;
        const char16_t unit = FoldUnit(m_fold, text[at]);
        while (matched > 0 && d.units[static_cast<std::size_t>(matched)] != unit) {
            matched = d.borders[static_cast<std::size_t>(matched) - 1];
        }
        if (d.units[static_cast<std::size_t>(matched)] == unit && ++matched == m) {
            return at;
        }
    }
    return -1;
}

bool ParseHexPairs(const std::string& text, std::vector<unsigned char>& bytes)
{
    bytes.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
            continue;
        }
        const bool pair = i + 1 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])) &&
                          std::isxdigit(static_cast<unsigned char>(text[i + 1]));
        const bool ended = i + 2 >= text.size() || text[i + 2] == ' ' || text[i + 2] == '\t';
        if (!pair || !ended) {
            bytes.clear();
            return false;
        }
        bytes.push_back(static_cast<unsigned char>(std::stoi(text.substr(i, 2), nullptr, 16)));
        i += 2;
    }
    return !bytes.empty();
}

void CLSByteFilter::AddPosition(const std::vector<unsigned char>& values)
{
    GLIM_ASSERT(m_length < kMaxPositions);
    ++m_length;
    for (unsigned char value : values) {
        Allow(m_length - 1, value);
    }
}

void CLSByteFilter::Allow(std::size_t position, unsigned char value)
{
    GLIM_ASSERT(position < m_length);
    m_masks[value] |= std::uint64_t(1) << position;
}

namespace {

// The byte values a position accepts, when there are at most two of them:
// the vector loop compares against these.
int ValuesOf(const std::uint64_t* masks, std::size_t position, unsigned char* values)
{
    int count = 0;
    for (unsigned b = 0; b < 256; ++b) {
        if ((masks[b] >> position) & 1) {
            if (count == 2) {
                return 3;
            }
            values[count++] = static_cast<unsigned char>(b);
        }
    }
    return count;
}

bool WholeAt(const std::uint64_t* masks, const unsigned char* p, std::size_t length)
{
    for (std::size_t j = 0; j < length; ++j) {
        if (((masks[p[j]] >> j) & 1) == 0) {
            return false;
        }
    }
    return true;
}

#if GLIM_FIND_X86

// The values of the first and the last position (one or two each) that the
// vector loops compare sixteen or thirty-two starts against at a time.
struct FilterEnds {
    unsigned char first[2];
    unsigned char last[2];
};

__attribute__((target("sse2"))) std::size_t FindSse2(const unsigned char* data, std::size_t n, std::size_t& at,
                                                     const FilterEnds& ends, const std::uint64_t* masks,
                                                     std::size_t m)
{
    const __m128i f0 = _mm_set1_epi8(static_cast<char>(ends.first[0]));
    const __m128i f1 = _mm_set1_epi8(static_cast<char>(ends.first[1]));
    const __m128i l0 = _mm_set1_epi8(static_cast<char>(ends.last[0]));
    const __m128i l1 = _mm_set1_epi8(static_cast<char>(ends.last[1]));
    for (; at + m - 1 + 16 <= n; at += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + m - 1));
        const __m128i hitA = _mm_or_si128(_mm_cmpeq_epi8(a, f0), _mm_cmpeq_epi8(a, f1));
        const __m128i hitB = _mm_or_si128(_mm_cmpeq_epi8(b, l0), _mm_cmpeq_epi8(b, l1));
        for (unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(hitA, hitB))); bits != 0;
             bits &= bits - 1) {
            const std::size_t start = at + static_cast<std::size_t>(__builtin_ctz(bits));
            if (WholeAt(masks, data + start, m)) {
                return start + m;
            }
        }
    }
    return SIZE_MAX;
}

__attribute__((target("avx2"))) std::size_t FindAvx2(const unsigned char* data, std::size_t n, std::size_t& at,
                                                     const FilterEnds& ends, const std::uint64_t* masks,
                                                     std::size_t m)
{
    const __m256i f0 = _mm256_set1_epi8(static_cast<char>(ends.first[0]));
    const __m256i f1 = _mm256_set1_epi8(static_cast<char>(ends.first[1]));
    const __m256i l0 = _mm256_set1_epi8(static_cast<char>(ends.last[0]));
    const __m256i l1 = _mm256_set1_epi8(static_cast<char>(ends.last[1]));
    for (; at + m - 1 + 32 <= n; at += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at + m - 1));
        const __m256i hitA = _mm256_or_si256(_mm256_cmpeq_epi8(a, f0), _mm256_cmpeq_epi8(a, f1));
        const __m256i hitB = _mm256_or_si256(_mm256_cmpeq_epi8(b, l0), _mm256_cmpeq_epi8(b, l1));
        for (unsigned bits = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_and_si256(hitA, hitB))); bits != 0;
             bits &= bits - 1) {
            const std::size_t start = at + static_cast<std::size_t>(__builtin_ctz(bits));
            if (WholeAt(masks, data + start, m)) {
                return start + m;
            }
        }
    }
    return SIZE_MAX;
}

#endif

}  // namespace

std::size_t CLSByteFilter::FindEnd(const unsigned char* data, std::size_t n, std::size_t from) const
{
    const std::size_t m = m_length;
    if (m == 0 || n < m || from > n - m) {
        return SIZE_MAX;
    }
    std::size_t at = from;
#if GLIM_FIND_X86
    // The first and the last position, each with one or two values, pick the
    // few starts worth a full look.
    FilterEnds ends{};
    const int firstCount = ValuesOf(m_masks, 0, ends.first);
    const int lastCount = ValuesOf(m_masks, m - 1, ends.last);
    if (firstCount > 0 && firstCount <= 2 && lastCount > 0 && lastCount <= 2) {
        ends.first[1] = ends.first[firstCount - 1];
        ends.last[1] = ends.last[lastCount - 1];
        static const bool s_avx2 = __builtin_cpu_supports("avx2");
        static const bool s_sse2 = __builtin_cpu_supports("sse2");
        std::size_t found = s_avx2 ? FindAvx2(data, n, at, ends, m_masks, m) : SIZE_MAX;
        if (found == SIZE_MAX && s_sse2) {
            found = FindSse2(data, n, at, ends, m_masks, m);
        }
        if (found != SIZE_MAX) {
            return found;
        }
    }
#endif
    // Shift-and over the rest: bit j of the state says the last j + 1 bytes
    // match the first j + 1 positions.
    const std::uint64_t done = std::uint64_t(1) << (m - 1);
    std::uint64_t state = 0;
    for (std::size_t i = at; i < n; ++i) {
        state = ((state << 1) | 1) & m_masks[data[i]];
        if ((state & done) != 0) {
            return i + 1;
        }
    }
    return SIZE_MAX;
}

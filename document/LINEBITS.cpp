// Line-end search kernels: AVX2 and SSE2 where the processor has them, and a
// portable one. A block gives a 64-bit mask with one bit per line-ending unit
// (set at the unit's first byte): LF, or CR whose next unit is not LF. The next
// units come from a second load one unit further on, so no state crosses blocks.
// The same loads also tell whether a block holds a byte that may begin
// evidence of an encoding, so that the encoding search costs no second pass.
#include "document/LINEBITS.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define GLIM_LINEBITS_X86 1
#else
#define GLIM_LINEBITS_X86 0
#endif

namespace {

constexpr unsigned kLf = 0x0A;
constexpr unsigned kCr = 0x0D;
// Of the two mask bits a 16-bit unit gives, the one of its first byte.
constexpr std::uint64_t kUnitFirstBytes = 0x5555555555555555ull;

inline std::size_t UnitBytes(LineUnits units)
{
    return units == LineUnits::Bytes ? 1 : 2;
}

// Writes after + the index of each set bit; count is the number of bits. Most
// blocks of text end no line or one, in no pattern a branch predictor could
// follow: the first two writes are made whether or not the bits are there (out
// has room for two spare items) and only the rare rest is looped. The count
// comes from a population count, not from the writes, so that the blocks do
// not wait for each other.
inline std::size_t Emit(std::uint64_t mask, std::size_t count, std::uint32_t after, std::uint32_t* out)
{
    constexpr std::uint64_t kStop = std::uint64_t(1) << 63;
    out[0] = after + static_cast<std::uint32_t>(__builtin_ctzll(mask | kStop));
    mask &= mask - 1;
    out[1] = after + static_cast<std::uint32_t>(__builtin_ctzll(mask | kStop));
    if (count > 2) {
        std::size_t n = 2;
        for (mask &= mask - 1; mask != 0; mask &= mask - 1) {
            out[n++] = after + static_cast<std::uint32_t>(__builtin_ctzll(mask));
        }
    }
    return count;
}

inline std::size_t Emit(std::uint64_t mask, std::uint32_t after, std::uint32_t* out)
{
    return Emit(mask, static_cast<std::size_t>(__builtin_popcountll(mask)), after, out);
}

constexpr unsigned char kEsc = 0x1B;

// Eight bytes at a time by bit arithmetic: the high bit of each evidence byte.
constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kLows = 0x7F7F7F7F7F7F7F7Full;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

std::uint64_t BytesEqual(std::uint64_t x, unsigned char c)
{
    const std::uint64_t y = x ^ (kOnes * c);
    return ~(((y & kLows) + kLows) | y) & kHighs;
}

// Of the 7-bit bytes, those below n (n <= 0x80).
std::uint64_t BytesBelow(std::uint64_t x, unsigned n)
{
    return ~(((x & kLows) + kOnes * (0x80 - n)) | x) & kHighs;
}

std::uint64_t EvidenceWord(const unsigned char* p, EvidenceBytes w)
{
    std::uint64_t x;
    std::memcpy(&x, p, 8);
    std::uint64_t special = (x & kHighs) | BytesEqual(x, kEsc);
    if (w.binary) {
        special |= BytesBelow(x, 0x07) | BytesEqual(x, 0x7F);
    }
    if (w.utf7) {
        const std::uint64_t breaks = BytesEqual(x, '\t') | BytesEqual(x, '\n') | BytesEqual(x, '\r');
        special |= (BytesBelow(x, 0x20) & ~breaks) | BytesEqual(x, '+') | BytesEqual(x, '\\') | BytesEqual(x, '~');
    }
    return special;
}

bool BlockHasEvidence(const unsigned char* p, EvidenceBytes w)
{
    std::uint64_t any = 0;
    for (std::size_t i = 0; i < kLineBlock; i += 8) {
        any |= EvidenceWord(p + i, w);
    }
    return any != 0;
}

std::uint64_t PortableMask(const unsigned char* p, LineUnits units)
{
    const std::size_t step = UnitBytes(units);
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < kLineBlock; i += step) {
        const unsigned unit = LineUnitAt(p + i, units);
        if (unit == kLf || (unit == kCr && LineUnitAt(p + i + step, units) != kLf)) {
            mask |= std::uint64_t(1) << i;
        }
    }
    return mask;
}

#if GLIM_LINEBITS_X86

// The LF and CR patterns as the vector lanes see them: bytes, or 16-bit
// little-endian lanes holding a unit in the file's byte order.
struct Patterns {
    int lf;
    int cr;
};

inline Patterns PatternsFor(LineUnits units)
{
    switch (units) {
    case LineUnits::Bytes:
        return {static_cast<int>(kLf), static_cast<int>(kCr)};
    case LineUnits::Utf16Le:
        return {static_cast<int>(kLf), static_cast<int>(kCr)};
    default:
        return {static_cast<int>(kLf << 8), static_cast<int>(kCr << 8)};
    }
}

// The evidence bytes of a vector, as lanes of all ones. A signed compare
// "below" also takes in the bytes above 0x7F, which are evidence anyway. No
// lambdas here: they would not inherit the target.
__attribute__((target("sse2"))) inline __m128i Eq128(__m128i v, char c)
{
    return _mm_cmpeq_epi8(v, _mm_set1_epi8(c));
}

__attribute__((target("sse2"))) inline __m128i Below128(__m128i v, char c)
{
    return _mm_cmplt_epi8(v, _mm_set1_epi8(c));
}

__attribute__((target("sse2"))) inline __m128i Evidence128(__m128i v, EvidenceBytes w)
{
    __m128i special = _mm_or_si128(Below128(v, 0), Eq128(v, static_cast<char>(kEsc)));
    if (w.binary) {
        special = _mm_or_si128(special, _mm_or_si128(Below128(v, 0x07), Eq128(v, 0x7F)));
    }
    if (w.utf7) {
        const __m128i breaks = _mm_or_si128(Eq128(v, '\t'), _mm_or_si128(Eq128(v, '\n'), Eq128(v, '\r')));
        special = _mm_or_si128(special, _mm_andnot_si128(breaks, Below128(v, 0x20)));
        special = _mm_or_si128(special, _mm_or_si128(Eq128(v, '+'), _mm_or_si128(Eq128(v, '\\'), Eq128(v, '~'))));
    }
    return special;
}

__attribute__((target("sse2"))) std::size_t FindSse2(const unsigned char* p, std::size_t blocks, LineUnits units,
                                                     std::uint32_t base, std::uint32_t* out,
                                                     const EvidenceBytes* watched, std::size_t* firstEvidence)
{
    std::size_t evidenceAt = blocks;
    const bool bytes = units == LineUnits::Bytes;
    const std::size_t step = UnitBytes(units);
    const Patterns pat = PatternsFor(units);
    const __m128i lf = bytes ? _mm_set1_epi8(static_cast<char>(pat.lf)) : _mm_set1_epi16(static_cast<short>(pat.lf));
    const __m128i cr = bytes ? _mm_set1_epi8(static_cast<char>(pat.cr)) : _mm_set1_epi16(static_cast<short>(pat.cr));
    std::size_t n = 0;
    for (std::size_t b = 0; b < blocks; ++b, p += kLineBlock) {
        std::uint64_t mask = 0;
        __m128i evidence = _mm_setzero_si128();
        for (int i = 0; i < 4; ++i) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
            if (watched != nullptr) {
                evidence = _mm_or_si128(evidence, Evidence128(v, *watched));
            }
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i + step));
            __m128i ends;
            if (bytes) {
                ends = _mm_or_si128(_mm_cmpeq_epi8(v, lf),
                                    _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(v, cr)));
            } else {
                ends = _mm_or_si128(_mm_cmpeq_epi16(v, lf),
                                    _mm_andnot_si128(_mm_cmpeq_epi16(next, lf), _mm_cmpeq_epi16(v, cr)));
            }
            mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(ends))) << (16 * i);
        }
        if (watched != nullptr && _mm_movemask_epi8(evidence) != 0) {
            evidenceAt = b;
            watched = nullptr;
        }
        if (!bytes) {
            mask &= kUnitFirstBytes;
        }
        n += Emit(mask, base + static_cast<std::uint32_t>(b * kLineBlock + step), out + n);
    }
    if (firstEvidence != nullptr) {
        *firstEvidence = evidenceAt;
    }
    return n;
}

// The evidence bytes by their two halves, for a table lookup of 16 bytes at
// a time: a byte is evidence when the entries of its low and its high half
// share a bit. Each bit of the low table stands for a set of low halves.
constexpr unsigned char kAnyLow = 0x01;
constexpr unsigned char kLowUpTo6 = 0x02;  // 0x00-0x06 with a high half of 0
constexpr unsigned char kLowB = 0x04;      // escape 0x1B, plus sign 0x2B
constexpr unsigned char kLowC = 0x08;      // backslash 0x5C
constexpr unsigned char kLowE = 0x10;      // tilde 0x7E
constexpr unsigned char kLowF = 0x20;      // 0x7F
constexpr unsigned char kLowNoBreak = 0x40;  // not tab, LF or CR

struct EvidenceTables {
    unsigned char low[16];
    unsigned char high[16];
};

EvidenceTables TablesFor(EvidenceBytes w)
{
    EvidenceTables t{};
    for (unsigned i = 0; i < 16; ++i) {
        t.low[i] = static_cast<unsigned char>(kAnyLow | (i <= 6 ? kLowUpTo6 : 0) | (i == 0xB ? kLowB : 0) |
                                              (i == 0xC ? kLowC : 0) | (i == 0xE ? kLowE : 0) |
                                              (i == 0xF ? kLowF : 0) |
                                              (i != 0x9 && i != 0xA && i != 0xD ? kLowNoBreak : 0));
        t.high[i] = i >= 8 ? kAnyLow : 0;  // every byte above 0x7F
    }
    t.high[1] |= kLowB;  // the escape
    if (w.binary) {
        t.high[0] |= kLowUpTo6;
        t.high[7] |= kLowF;
    }
    if (w.utf7) {
        t.high[0] |= kLowNoBreak;  // control bytes but the three breaks
        t.high[1] |= kAnyLow;
        t.high[2] |= kLowB;
        t.high[5] |= kLowC;
        t.high[7] |= kLowE;
    }
    return t;
}

__attribute__((target("avx2"))) inline __m256i Table256(const unsigned char* t)
{
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(t)));
}

// Non-zero lanes where v holds evidence.
__attribute__((target("avx2"))) inline __m256i Evidence256(__m256i v, __m256i low, __m256i high)
{
    const __m256i halves = _mm256_set1_epi8(0x0F);
    const __m256i lo = _mm256_shuffle_epi8(low, _mm256_and_si256(v, halves));
    const __m256i hi = _mm256_shuffle_epi8(high, _mm256_and_si256(_mm256_srli_epi16(v, 4), halves));
    return _mm256_and_si256(lo, hi);
}

// Line-ending lanes of v, whose next units are in next.
template <LineUnits kUnits>
__attribute__((target("avx2"))) inline __m256i Ends256(__m256i v, __m256i next)
{
    if constexpr (kUnits == LineUnits::Bytes) {
        const __m256i lf = _mm256_set1_epi8(static_cast<char>(kLf));
        const __m256i cr = _mm256_set1_epi8(static_cast<char>(kCr));
        return _mm256_or_si256(_mm256_cmpeq_epi8(v, lf),
                               _mm256_andnot_si256(_mm256_cmpeq_epi8(next, lf), _mm256_cmpeq_epi8(v, cr)));
    } else {
        const int shift = kUnits == LineUnits::Utf16Be ? 8 : 0;
        const __m256i lf = _mm256_set1_epi16(static_cast<short>(kLf << shift));
        const __m256i cr = _mm256_set1_epi16(static_cast<short>(kCr << shift));
        return _mm256_or_si256(_mm256_cmpeq_epi16(v, lf),
                               _mm256_andnot_si256(_mm256_cmpeq_epi16(next, lf), _mm256_cmpeq_epi16(v, cr)));
    }
}

// Blocks from..blocks-1; with kWatch, ends after the first block that holds
// evidence and returns its number (blocks when none does). Each case is a
// loop of its own, with nothing to decide inside it.
template <LineUnits kUnits, bool kWatch>
__attribute__((target("avx2,popcnt,bmi"))) std::size_t RunAvx2(const unsigned char* p, std::size_t from,
                                                                std::size_t blocks, std::uint32_t base,
                                                                std::uint32_t* out, std::size_t* n,
                                                                const EvidenceTables* tables)
{
    constexpr std::size_t step = kUnits == LineUnits::Bytes ? 1 : 2;
    __m256i low = _mm256_setzero_si256();
    __m256i high = low;
    if constexpr (kWatch) {
        low = Table256(tables->low);
        high = Table256(tables->high);
    }
    std::size_t found = *n;
    for (std::size_t b = from; b < blocks; ++b) {
        const unsigned char* q = p + b * kLineBlock;
        const __m256i v0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q));
        const __m256i v1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + 32));
        const __m256i e0 = Ends256<kUnits>(v0, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + step)));
        const __m256i e1 = Ends256<kUnits>(v1, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + 32 + step)));
        std::uint64_t mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(e0)) |
                             static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(e1))) << 32;
        if constexpr (kUnits != LineUnits::Bytes) {
            mask &= kUnitFirstBytes;
        }
        found += Emit(mask, base + static_cast<std::uint32_t>(b * kLineBlock + step), out + found);
        if constexpr (kWatch) {
            const __m256i evidence = _mm256_or_si256(Evidence256(v0, low, high), Evidence256(v1, low, high));
            if (!_mm256_testz_si256(evidence, evidence)) {
                *n = found;
                return b;
            }
        }
    }
    *n = found;
    return blocks;
}

template <LineUnits kUnits>
std::size_t FindAvx2Units(const unsigned char* p, std::size_t blocks, std::uint32_t base, std::uint32_t* out,
                          const EvidenceBytes* watched, std::size_t* firstEvidence)
{
    std::size_t n = 0;
    std::size_t from = 0;
    std::size_t evidenceAt = blocks;
    if (watched != nullptr) {
        const EvidenceTables tables = TablesFor(*watched);
        evidenceAt = RunAvx2<kUnits, true>(p, 0, blocks, base, out, &n, &tables);
        from = evidenceAt < blocks ? evidenceAt + 1 : blocks;
    }
    RunAvx2<kUnits, false>(p, from, blocks, base, out, &n, nullptr);
    if (firstEvidence != nullptr) {
        *firstEvidence = evidenceAt;
    }
    return n;
}

std::size_t FindAvx2(const unsigned char* p, std::size_t blocks, LineUnits units, std::uint32_t base,
                     std::uint32_t* out, const EvidenceBytes* watched, std::size_t* firstEvidence)
{
    switch (units) {
    case LineUnits::Bytes:
        return FindAvx2Units<LineUnits::Bytes>(p, blocks, base, out, watched, firstEvidence);
    case LineUnits::Utf16Le:
        return FindAvx2Units<LineUnits::Utf16Le>(p, blocks, base, out, watched, firstEvidence);
    default:
        return FindAvx2Units<LineUnits::Utf16Be>(p, blocks, base, out, watched, firstEvidence);
    }
}

#endif

std::size_t FindPortable(const unsigned char* p, std::size_t blocks, LineUnits units, std::uint32_t base,
                         std::uint32_t* out, const EvidenceBytes* watched, std::size_t* firstEvidence)
{
    const std::size_t step = UnitBytes(units);
    std::size_t evidenceAt = blocks;
    std::size_t n = 0;
    for (std::size_t b = 0; b < blocks; ++b, p += kLineBlock) {
        if (watched != nullptr && BlockHasEvidence(p, *watched)) {
            evidenceAt = b;
            watched = nullptr;
        }
        n += Emit(PortableMask(p, units), base + static_cast<std::uint32_t>(b * kLineBlock + step), out + n);
    }
    if (firstEvidence != nullptr) {
        *firstEvidence = evidenceAt;
    }
    return n;
}

using Kernel = std::size_t (*)(const unsigned char*, std::size_t, LineUnits, std::uint32_t, std::uint32_t*,
                               const EvidenceBytes*, std::size_t*);

Kernel KernelFor(LineKernel kernel)
{
    switch (kernel) {
#if GLIM_LINEBITS_X86
    case LineKernel::Avx2:
        return FindAvx2;
    case LineKernel::Sse2:
        return FindSse2;
#endif
    default:
        return FindPortable;
    }
}

LineKernel BestKernel()
{
    if (LineKernelAvailable(LineKernel::Avx2)) {
        return LineKernel::Avx2;
    }
    return LineKernelAvailable(LineKernel::Sse2) ? LineKernel::Sse2 : LineKernel::Portable;
}

}  // namespace

bool LineKernelAvailable(LineKernel kernel)
{
#if GLIM_LINEBITS_X86
    __builtin_cpu_init();
    switch (kernel) {
    case LineKernel::Avx2:
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("bmi");
    case LineKernel::Sse2:
        return __builtin_cpu_supports("sse2");
    default:
        return true;
    }
#else
    return kernel == LineKernel::Portable;
#endif
}

std::size_t FindLineEndsWith(LineKernel kernel, const unsigned char* p, std::size_t blocks, LineUnits units,
                             std::uint32_t base, std::uint32_t* out, const EvidenceBytes* watched,
                             std::size_t* firstEvidence)
{
    return KernelFor(kernel)(p, blocks, units, base, out, watched, firstEvidence);
}

std::size_t FindLineEnds(const unsigned char* p, std::size_t blocks, LineUnits units, std::uint32_t base,
                         std::uint32_t* out, const EvidenceBytes* watched, std::size_t* firstEvidence)
{
    static const Kernel kernel = KernelFor(BestKernel());
    return kernel(p, blocks, units, base, out, watched, firstEvidence);
}

std::size_t SkipToEvidence(const unsigned char* p, std::size_t n, EvidenceBytes watched)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16) {
        const unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(Evidence128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)), watched)));
        if (mask != 0) {
            return i + static_cast<unsigned>(__builtin_ctz(mask));
        }
    }
#endif
    for (; i + 8 <= n; i += 8) {
        const std::uint64_t mask = EvidenceWord(p + i, watched);
        if (mask != 0) {
            return i + static_cast<unsigned>(__builtin_ctzll(mask)) / 8;  // the lowest byte is loaded first
        }
    }
    return i;
}

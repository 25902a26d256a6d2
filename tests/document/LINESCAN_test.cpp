// The line index builder: the offsets of the worked examples, and the same
// offsets as a walk of one unit per read for any way the bytes are split.
#include "document/LINESCAN.h"

#include "TESTFILES.h"
#include "UNITWALK.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::uint32_t> Scan(const std::string& bytes, TextEncoding encoding,
                                const std::vector<std::size_t>& cuts = {}, std::uint32_t expectedBytes = 0)
{
    CLSLineStarts index;
    index.push_back(0);
    CLSLineScanner scanner(index, encoding, expectedBytes);
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        scanner.Feed(reinterpret_cast<const unsigned char*>(bytes.data()) + from, cut - from);
        from = cut;
    }
    scanner.Feed(reinterpret_cast<const unsigned char*>(bytes.data()) + from, bytes.size() - from);
    scanner.Finish();
    std::vector<std::uint32_t> offsets;
    for (std::size_t k = 0; k < index.size(); ++k) {
        offsets.push_back(static_cast<std::uint32_t>(index[k]));
    }
    return offsets;
}

using Offsets = std::vector<std::uint32_t>;

}  // namespace

TEST(LineScanner, WorkedExamples)
{
    EXPECT_EQ(Scan(Bytes({0x61, 0x0D, 0x0A, 0x62, 0x0D, 0x63, 0x0A, 0x64}), TextEncoding::ShiftJis),
              (Offsets{0, 3, 5, 7}));
    EXPECT_EQ(Scan(Bytes({0x78, 0x0D, 0x0A}), TextEncoding::ShiftJis), (Offsets{0, 3}));
    EXPECT_EQ(Scan("", TextEncoding::ShiftJis), (Offsets{0}));
    EXPECT_EQ(Scan("no break", TextEncoding::Utf8), (Offsets{0}));
    EXPECT_EQ(Scan("a\r", TextEncoding::ShiftJis), (Offsets{0, 2}));
    EXPECT_EQ(Scan("a\r\r\nb\n\n", TextEncoding::ShiftJis), (Offsets{0, 2, 4, 6, 7}));
    EXPECT_EQ(Scan(Bytes({0xFF, 0xFE, 0x41, 0x00, 0x0D, 0x00, 0x0A, 0x00, 0x42, 0x00}), TextEncoding::Utf16Le),
              (Offsets{0, 8}));
    // U+4E0A and U+0A0D hold break bytes without being breaks.
    EXPECT_EQ(Scan(Bytes({0x0A, 0x4E, 0x0D, 0x0A, 0x0A, 0x00}), TextEncoding::Utf16Le), (Offsets{0, 6}));
    EXPECT_EQ(Scan(Bytes({0x00, 0x41, 0x00, 0x0D, 0x00, 0x0A, 0x0A, 0x00}), TextEncoding::Utf16Be),
              (Offsets{0, 6}));
    // An odd last byte is half a unit.
    EXPECT_EQ(Scan(Bytes({0x41, 0x00, 0x0A}), TextEncoding::Utf16Le), (Offsets{0, 3}));
    EXPECT_EQ(Scan(Bytes({0x00, 0x41, 0x0A}), TextEncoding::Utf16Be), (Offsets{0}));
    // Breaks on both sides of the wide search's edges, and a CR ending the file.
    std::string runs(1000, 'x');
    runs[31] = runs[96] = '\n';
    runs[32] = runs[95] = runs[999] = '\r';
    EXPECT_EQ(Scan(runs, TextEncoding::ShiftJis), (Offsets{0, 32, 33, 97, 1000}));
}

TEST(LineScanner, AnySplitGivesTheOffsetsOfTheOneUnitWalk)
{
    std::mt19937 random(12345);
    const char alphabet[] = {'a', '\r', '\n', '\0', 'N', '\r', '\n'};
    const TextEncoding encodings[] = {TextEncoding::ShiftJis, TextEncoding::Utf16Le, TextEncoding::Utf16Be};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        const std::size_t length = random() % 600;
        for (std::size_t i = 0; i < length; ++i) {
            bytes.push_back(alphabet[random() % sizeof(alphabet)]);
        }
        const TextEncoding encoding = encodings[round % 3];
        std::vector<std::size_t> cuts;
        std::size_t at = 0;
        const std::size_t longestPiece = round % 2 ? 37 : 300;  // short pieces never reach the block search
        while (length != 0 && (at += 1 + random() % longestPiece) < length) {
            cuts.push_back(at);
        }
        ASSERT_EQ(Scan(bytes, encoding, cuts), WalkOneUnitAtATime(bytes, encoding))
            << "round " << round << " encoding " << static_cast<int>(encoding);
    }
}

// The index grows to what the first part of the file projects; a file whose
// lines get shorter (or a size that was wrong) must still keep every offset.
TEST(LineScanner, ProjectedGrowthKeepsEveryOffset)
{
    std::mt19937 random(7);
    std::string bytes(200000, 'x');
    for (std::size_t i = 0; i < bytes.size(); i += 1 + random() % (i < 100000 ? 400 : 5)) {
        bytes[i] = i % 3 ? '\n' : '\r';
    }
    const std::vector<std::uint32_t> expected = WalkOneUnitAtATime(bytes, TextEncoding::ShiftJis);
    for (std::uint32_t told : {std::uint32_t(bytes.size()), std::uint32_t(bytes.size() / 4), std::uint32_t(bytes.size() * 4)}) {
        EXPECT_EQ(Scan(bytes, TextEncoding::ShiftJis, {70000, 70001, 150000}, told), expected) << told;
    }
}

// Every block search this processor can run finds what the portable one
// finds, for bytes and both UTF-16 orders, with breaks on block edges.
TEST(LineScanner, BlockSearchesAgreeWithThePortableOne)
{
    std::mt19937 random(3);
    const unsigned char alphabet[] = {'\r', '\n', 0, 'a', 0x0A, 0x0D};
    std::vector<unsigned char> bytes(kLineBlock * 40 + 2);
    for (unsigned char& b : bytes) {
        b = alphabet[random() % sizeof(alphabet)];
    }
    std::vector<std::uint32_t> expected(kLineBlock * 40 + 2);
    std::vector<std::uint32_t> found(kLineBlock * 40 + 2);
    for (LineUnits units : {LineUnits::Bytes, LineUnits::Utf16Le, LineUnits::Utf16Be}) {
        const std::size_t n = FindLineEndsWith(LineKernel::Portable, bytes.data(), 40, units, 1000, expected.data());
        ASSERT_GT(n, 40u);
        for (LineKernel kernel : {LineKernel::Sse2, LineKernel::Avx2}) {
            if (!LineKernelAvailable(kernel)) {
                continue;
            }
            ASSERT_EQ(FindLineEndsWith(kernel, bytes.data(), 40, units, 1000, found.data()), n);
            EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + n, found.begin()))
                << static_cast<int>(kernel) << " " << static_cast<int>(units);
        }
    }
}

// The same pass tells the first block holding a byte that can begin evidence
// of an encoding, as the search's state has it, whichever kernel runs.
TEST(LineScanner, BlockSearchesFindTheFirstEvidence)
{
    constexpr std::size_t kBlocks = 8;
    const struct {
        unsigned char byte;
        EvidenceBytes watched;
        std::size_t block;     // where the byte is put
        std::size_t expected;  // kBlocks: not evidence in that state
    } cases[] = {
        {0xC3, {false, false}, 5, 5}, {0x1B, {false, false}, 0, 0}, {0x00, {true, false}, 2, 2},
        {0x00, {false, false}, 2, kBlocks}, {0x7F, {true, false}, 7, 7}, {'+', {false, true}, 1, 1},
        {'+', {false, false}, 1, kBlocks}, {'~', {false, true}, 6, 6}, {0x01, {false, true}, 3, 3},
        {'\t', {true, true}, 3, kBlocks},
    };
    std::vector<std::uint32_t> out(kLineBlock * kBlocks + 2);
    for (const auto& c : cases) {
        std::vector<unsigned char> bytes(kLineBlock * kBlocks + 2, 'a');
        for (std::size_t i = 30; i < bytes.size(); i += 50) {
            bytes[i] = i % 3 ? '\n' : '\r';
        }
        bytes[c.block * kLineBlock + 37] = c.byte;
        for (LineKernel kernel : {LineKernel::Portable, LineKernel::Sse2, LineKernel::Avx2}) {
            std::size_t first = 99;
            if (LineKernelAvailable(kernel)) {
                FindLineEndsWith(kernel, bytes.data(), kBlocks, LineUnits::Bytes, 0, out.data(), &c.watched, &first);
                EXPECT_EQ(first, c.expected) << int(c.byte) << " kernel " << static_cast<int>(kernel);
            }
        }
        const std::size_t at = SkipToEvidence(bytes.data(), bytes.size(), c.watched);
        EXPECT_EQ(at, c.expected == kBlocks ? bytes.size() - bytes.size() % 16 : c.block * kLineBlock + 37)
            << int(c.byte);
    }
    // Every byte value, in every state, at both halves of a block: the vector
    // searches judge it as the portable one does.
    std::vector<unsigned char> bytes(kLineBlock * kBlocks + 2, 'a');
    for (const EvidenceBytes watched : {EvidenceBytes{false, false}, EvidenceBytes{true, false},
                                        EvidenceBytes{false, true}, EvidenceBytes{true, true}}) {
        for (unsigned value = 0; value < 256; ++value) {
            bytes[3 * kLineBlock + value % kLineBlock] = static_cast<unsigned char>(value);
            std::size_t expected = 0;
            FindLineEndsWith(LineKernel::Portable, bytes.data(), kBlocks, LineUnits::Bytes, 0, out.data(), &watched,
                             &expected);
            for (LineKernel kernel : {LineKernel::Sse2, LineKernel::Avx2}) {
                std::size_t first = 99;
                if (LineKernelAvailable(kernel)) {
                    FindLineEndsWith(kernel, bytes.data(), kBlocks, LineUnits::Bytes, 0, out.data(), &watched, &first);
                    EXPECT_EQ(first, expected) << value << " kernel " << static_cast<int>(kernel);
                }
            }
            bytes[3 * kLineBlock + value % kLineBlock] = 'a';
        }
    }
}

// The projection of a big file's index is held to what the array can count
// (on a 32-bit build a 4 GiB file of short lines would wrap the count).
TEST(LineScanner, IndexRoomIsHeldToWhatCanBeCounted)
{
    const std::size_t limit32 = 0xFFFFFFFFu / 4 / 16 * 16;
    EXPECT_EQ(PlanIndexRoom(40000, 40000, 40001, 65536, 0xFFFFFFFFu, limit32), limit32);
    EXPECT_EQ(PlanIndexRoom(40000, 40000, 40001, 65536, 4 * 65536, limit32), 180001u);
    EXPECT_EQ(PlanIndexRoom(100, 160, 161, 1000, 0xFFFFFFFFu, limit32), 240u) << "too little read to project";
    EXPECT_EQ(PlanIndexRoom(limit32, limit32, limit32 + 1, 65536, 0xFFFFFFFFu, limit32), limit32 + 1)
        << "a need past the limit is left to fail as an allocation";
}

// Starts past 4 GiB keep their low 32 bits and find their segment from the
// first line of each; a block search whose range crosses a boundary wraps
// its low starts, and those past the wrap open the next segment.
TEST(LineIndex, StartsAcrossFourGiBSegments)
{
    constexpr std::uint64_t G4 = 1ull << 32;
    const std::vector<std::uint64_t> starts = {0,          10,     G4 - 1,     G4,    G4 + 5,
                                               3 * G4 + 1, 4 * G4 - 2, 4 * G4, 4 * G4 + 9, 6 * G4};
    CLSLineStarts index;
    for (std::size_t k = 0; k < 6; ++k) {
        ASSERT_TRUE(index.push_back(starts[k]));
    }
    ASSERT_TRUE(index.try_reserve(index.size() + 3));
    for (std::size_t k = 6; k < 9; ++k) {
        index.End()[k - 6] = static_cast<std::uint32_t>(starts[k]);  // as the block search writes them
    }
    ASSERT_TRUE(index.TakeWritten(3, 4 * G4 - 16, 4 * G4 + 48));
    ASSERT_TRUE(index.push_back(starts[9]));
    ASSERT_EQ(index.size(), starts.size());
    for (std::size_t k = 0; k < starts.size(); ++k) {
        EXPECT_EQ(index[k], starts[k]) << k;
    }
}

// The index of a grown file starts with the lines counted before, shared
// rather than copied, and reads as one index across the join and the 4 GiB
// segments, also when it grows again and again.
TEST(LineIndex, GrownIndexSharesTheLinesCountedBefore)
{
    constexpr std::uint64_t G4 = 1ull << 32;
    std::vector<std::uint64_t> starts;
    for (std::uint64_t k = 0; k < 3000; ++k) {
        starts.push_back((k / 1000) * G4 + k * 3);  // three segments of 1000 lines
    }
    auto whole = std::make_shared<CLSLineStarts>();
    for (const std::uint64_t s : starts) {
        ASSERT_TRUE(whole->push_back(s));
    }
    // Grown from whole's first lines to first, then from those to second.
    const struct {
        std::size_t first, grownTo, second;
    } cases[] = {{1500, 3000, 3000}, {900, 1200, 1100}, {10, 2500, 2400}};
    for (const auto& c : cases) {
        auto grown = std::make_shared<CLSLineStarts>();
        ASSERT_TRUE(grown->StartWith(whole, c.first));
        for (std::size_t k = c.first; k < c.grownTo; ++k) {
            ASSERT_TRUE(grown->push_back(starts[k]));
        }
        CLSLineStarts again;
        ASSERT_TRUE(again.StartWith(grown, c.second));
        for (std::size_t k = c.second; k < starts.size(); ++k) {
            ASSERT_TRUE(again.push_back(starts[k]));
        }
        ASSERT_EQ(again.size(), starts.size());
        for (std::size_t k = 0; k < starts.size(); ++k) {
            ASSERT_EQ(again[k], starts[k]) << c.first << " " << k;
        }
        EXPECT_LE(grown->Bytes(), (c.grownTo - c.first) * 4 + 256) << "the lines counted before are shared";
    }
}

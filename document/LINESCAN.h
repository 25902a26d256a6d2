// The line index builder: takes the bytes of a file in order, in pieces of any
// size, and appends the offset at which each line starts. The offsets are those
// of a walk that reads one unit at a time (LF, CR LF and a lone CR each end a
// line; 2-byte units for UTF-16), but the bytes are searched a block at a time.
// Pure code: also built natively for benchmarks and fuzzing.
#pragma once

#include "document/ENCODING.h"
#include "document/LINEBITS.h"
#include "document/LINESTRT.h"

#include <cstddef>
#include <cstdint>

// Items the index grows to when it must hold `needed` (> capacity): the
// projection of the lines so far over expectedBytes once `consumed` bytes say
// enough, else half again. Never above maxItems unless needed is: a projection
// too big to count in a size_t (a 32-bit build) is held there, and a need
// beyond it fails as the allocation would.
std::size_t PlanIndexRoom(std::size_t size, std::size_t capacity, std::size_t needed, std::uint64_t consumed,
                          std::uint64_t expectedBytes, std::size_t maxItems);

// Most lines an index holds: line numbers travel as 32-bit counts, and no
// more items than a size_t can count the bytes of.
constexpr std::size_t kMostIndexLines =
    vector<std::uint32_t>::max_size() < 0xFFFFFFFFu ? vector<std::uint32_t>::max_size() : 0xFFFFFFFFu;

class CLSEncodingSearch;

// How the lines of text in an encoding are split: 2-byte units in the byte
// order of UTF-16, single bytes for every other encoding.
LineUnits LineUnitsOf(TextEncoding encoding);

class CLSLineScanner {
public:
    // Appends to index, which already holds the offset 0 of the first line.
    // The units come from the encoding that splits the lines: 2 bytes for
    // UTF-16.
    // expectedBytes, the size of the file when known (else 0), lets the index
    // grow once to the size the file's first part suggests. When the index
    // can grow no further (memory, or kMostIndexLines), it is cut where the
    // first line it cannot hold starts, and the rest of the bytes are passed by.
    CLSLineScanner(CLSLineStarts& index, TextEncoding detected, std::uint64_t expectedBytes = 0);
    CLSLineScanner(const CLSLineScanner&) = delete;
    CLSLineScanner& operator=(const CLSLineScanner&) = delete;

    // The next n bytes of the file.
    void Feed(const unsigned char* data, std::size_t n);

    // Feeds the bytes from here on to search as well (null: no more), in the
    // same pass as the line breaks: the blocks before the first byte that
    // can begin evidence are passed by. The search must have seen every byte
    // before this one.
    void Watch(CLSEncodingSearch* search) { m_search = search; }

    // The end of the file has been reached: settles a CR or a half unit at the
    // very end. Not called when a read failed, so that a CR whose look-ahead
    // could not be read ends no line.
    void Finish();

    // Goes on from offset, where a line starts in a file whose lines before
    // it are in the index already: the next byte fed is the one there. Only
    // before the first Feed.
    void ResumeAt(std::uint64_t offset) { m_offset = offset; }

    // Offset of the next byte to feed: the bytes fed so far, from where it began.
    std::uint64_t Consumed() const { return m_offset; }

    unsigned UnitSize() const { return m_unitSize; }

private:
    void ScanUnits(const unsigned char* data, std::size_t n);
    void ScanPiece(const unsigned char* data, std::size_t length);
    bool Riding() const;
    void SearchTo(const unsigned char* end);
    std::size_t ScanBlocks(const unsigned char* data, std::size_t length);
    void Append(std::uint64_t offset);
    bool MakeRoom(std::size_t items, std::uint64_t consumed);

    CLSLineStarts& m_index;
    unsigned m_unitSize;
    LineUnits m_units;
    std::uint64_t m_expectedBytes;
    std::uint64_t m_offset = 0;      // file offset of the next byte fed
    bool m_pendingCr = false;        // a CR was the last unit seen
    std::uint64_t m_crEnd = 0;       // offset just after that CR
    bool m_hasCarry = false;         // first byte of a unit split between pieces
    unsigned char m_carry = 0;
    CLSEncodingSearch* m_search = nullptr;
    const unsigned char* m_searchedTo = nullptr;  // in the piece fed: what the search has had
};

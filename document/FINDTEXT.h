// Finding text in the preview without a window: the query split at its line
// breaks, matching within a decoded line and across lines (units compared
// through a case-folding table, or as they are), the hex-pair form of a byte
// query, and the byte filter that lets a search skip the lines that cannot
// hold a match. Pure code: also built natively.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A table of 65536 units giving each UTF-16 unit its caseless form, or null
// to compare units as they are.
using FoldTable = const char16_t*;

inline char16_t FoldUnit(FoldTable fold, char16_t unit)
{
    return fold != nullptr ? fold[unit] : unit;
}

// The query split at its line breaks (CR LF, LF or a lone CR): one segment
// for a query within a line, n + 1 for a query that spans n breaks. Each
// segment is folded already.
std::vector<std::u16string> SplitQuery(const std::u16string& query, FoldTable fold);

// Start column of the first (forward) or last (backward) place in text where
// segment matches and whose start lies in [from, to); -1 when there is none.
int FindInLine(const char16_t* text, int length, const std::u16string& segment, int from, int to, bool forward,
               FoldTable fold);

// One folded segment prepared once for a whole search: each unit of a line is
// looked at once whatever the text and the segment (a line of "aaaa..." and a
// query of a thousand "a" and one "b" cost what the line's length costs), and
// the stop request is looked at as it goes, so that a line of hundreds of
// megabytes does not hold a cancelled search.
class CLSLineMatcher {
public:
    CLSLineMatcher(const std::u16string& segment, FoldTable fold);
    // As FindInLine; -1 also once stop (if given) is set.
    int Find(const char16_t* text, int length, int from, int to, bool forward,
             const std::atomic<bool>* stop = nullptr) const;

private:
    // The segment in the order of each direction, and for each of its
    // prefixes the length of the longest proper prefix that is also its end.
    struct Direction {
        std::u16string units;
        std::vector<int> borders;
    };
    static Direction Prepare(std::u16string units);
    int Scan(const Direction& d, const char16_t* text, int first, int count, int step,
             const std::atomic<bool>* stop) const;

    FoldTable m_fold;
    Direction m_forward;
    Direction m_backward;
};

// Whether a query of several segments starts in line `first` (the text of
// lineAt(0)) and runs over the lines after it (lineAt(1), ...): its first
// segment must end the line, the middle ones fill whole lines, the last one
// begin its line. Gives the start column in the first line; -1 when not.
// lineAt(k) returns false when line k does not exist.
template <class LineAt>
int MatchAcrossLines(const std::vector<std::u16string>& segments, FoldTable fold, LineAt&& lineAt)
{
    const char16_t* text = nullptr;
    int length = 0;
    if (segments.size() < 2 || !lineAt(0, text, length)) {
        return -1;
    }
    const int first = static_cast<int>(segments.front().size());
    const int start = length - first;
    if (start < 0 || (first > 0 && FindInLine(text, length, segments.front(), start, start + 1, true, fold) != start)) {
        return -1;
    }
    for (std::size_t k = 1; k < segments.size(); ++k) {
        const std::u16string& segment = segments[k];
        const bool last = k + 1 == segments.size();
        if (!lineAt(k, text, length) || (!last && length != static_cast<int>(segment.size())) ||
            (!segment.empty() && FindInLine(text, length, segment, 0, 1, true, fold) != 0)) {
            return -1;
        }
    }
    return start;
}

// A byte query typed as hex pairs: "E3 81 82", pairs of hex digits separated
// by blanks. False for anything else (the text is then searched as text).
bool ParseHexPairs(const std::string& text, std::vector<unsigned char>& bytes);

// The byte filter: one set of byte values for each position of a byte
// sequence (up to 64 positions), found wherever each byte lies in its set.
class CLSByteFilter {
public:
    static constexpr std::size_t kMaxPositions = 64;

    // Adds the next position's set: the byte values it accepts.
    void AddPosition(const std::vector<unsigned char>& values);
    // Adds to the set of position i (which must exist).
    void Allow(std::size_t position, unsigned char value);
    std::size_t Length() const { return m_length; }

    // Offset just after the first place at or after `from` in data[0, n) where
    // the whole sequence lies, or SIZE_MAX when there is none.
    std::size_t FindEnd(const unsigned char* data, std::size_t n, std::size_t from) const;

private:
    std::uint64_t m_masks[256] = {};
    std::size_t m_length = 0;
};

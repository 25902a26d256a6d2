// Where each line of a file starts, in about 4 bytes a line at any file size:
// the low 32 bits of each start, and for every 4 GiB segment past the first
// the number of the first line that starts in it. Starts only grow, so the
// segment of a line is the number of segments whose first line it has reached.
// The starts of a file that grew may begin with the complete index of the file
// as it was, shared rather than copied: that one no longer changes.
// Pure code: also built natively for benchmarks and fuzzing.
#pragma once

#include "document/vector"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

class CLSLineStarts {
public:
    // Segment of a file offset: the bits above the low 32.
    static std::uint32_t SegmentOf(std::uint64_t offset) { return static_cast<std::uint32_t>(offset >> 32); }

    std::size_t size() const { return m_nShared + m_low.size(); }
    std::size_t capacity() const { return m_nShared + m_low.capacity(); }
    bool empty() const { return size() == 0; }

    // File offset at which line k starts.
    std::uint64_t operator[](std::size_t k) const
    {
        const std::uint32_t* first = m_segments.data();
        const std::uint32_t* last = first + m_segments.size();
        const auto segment = static_cast<std::uint64_t>(std::upper_bound(first, last, k) - first);
        return segment << 32 | LowAt(k);
    }

    // Appends a line starting at offset, at or after the last start; false
    // when memory runs out (nothing appended then).
    bool push_back(std::uint64_t offset)
    {
        if (!MarkSegment(SegmentOf(offset), size()) || !m_low.try_reserve(m_low.size() + 1)) {
            return false;
        }
        m_low.push_back(static_cast<std::uint32_t>(offset));
        return true;
    }

    // Room for n starts in all, for a block search to write at End(); false
    // when memory runs out.
    bool try_reserve(std::size_t n) { return n <= m_nShared || m_low.try_reserve(n - m_nShared); }
    std::uint32_t* End() { return m_low.data() + m_low.size(); }

    // Takes in n low starts that a search of the bytes from base to before
    // end wrote at End(). Lines found past a 4 GiB boundary inside that range
    // begin the next segment: their low parts are below that of base.
    bool TakeWritten(std::size_t n, std::uint64_t base, std::uint64_t end)
    {
        const std::size_t from = m_low.size();
        if (!MarkSegment(SegmentOf(base), m_nShared + from)) {
            return false;
        }
        m_low.set_size(from + n);
        if (SegmentOf(end) == SegmentOf(base)) {
            return true;
        }
        const std::uint32_t low = static_cast<std::uint32_t>(base);
        std::size_t k = from;
        while (k < from + n && m_low[k] >= low) {
            ++k;
        }
        return MarkSegment(SegmentOf(end), m_nShared + k);
    }

    // The index stops at offset, before the end of the file: memory ran out
    // or the lines can no longer be counted. The last line ends there.
    void Cut(std::uint64_t offset)
    {
        m_cut = true;
        m_cutAt = offset;
    }
    bool IsCut() const { return m_cut; }
    std::uint64_t CutAt() const { return m_cutAt; }

    void clear()
    {
        m_pShared.reset();
        m_nShared = 0;
        m_low.clear();
        m_segments.clear();
        m_cut = false;
        m_cutAt = 0;
    }
    void shrink_to_fit()
    {
        m_low.shrink_to_fit();
        m_segments.shrink_to_fit();
    }
    void swap(CLSLineStarts& other)
    {
        m_pShared.swap(other.m_pShared);
        std::swap(m_nShared, other.m_nShared);
        m_low.swap(other.m_low);
        m_segments.swap(other.m_segments);
        std::swap(m_cut, other.m_cut);
        std::swap(m_cutAt, other.m_cutAt);
    }

    // Becomes the first n starts of other (n at most its size), a complete
    // index that no longer changes: they are shared with it, not copied. Only
    // starts that other itself added to what it shared are copied, and all of
    // them once those outgrow what it shares, so that sharing never goes
    // more than one deep and what is copied over many growths stays in
    // proportion to the lines. False when memory runs out, empty then.
    bool StartWith(const std::shared_ptr<const CLSLineStarts>& other, std::size_t n)
    {
        clear();
        const bool deep = other->m_pShared && other->m_low.size() > other->m_nShared;
        if (!deep && n <= other->m_nShared) {
            Share(other->m_pShared, n);
        } else if (!deep) {
            Share(other->m_pShared ? other->m_pShared : other, other->m_pShared ? other->m_nShared : n);
        }
        if (n > m_nShared && !m_low.try_reserve(n - m_nShared)) {
            clear();
            return false;
        }
        for (std::size_t k = m_nShared; k < n; ++k) {
            m_low.push_back(other->LowAt(k));
        }
        for (std::size_t s = 0; s < other->m_segments.size(); ++s) {
            const std::uint32_t first = other->m_segments.data()[s];
            if (first >= n) {
                break;  // a segment that begins past the prefix is marked again when reached
            }
            if (!m_segments.try_reserve(m_segments.size() + 1)) {
                clear();
                return false;
            }
            m_segments.push_back(first);
        }
        return true;
    }

    // Bytes the index holds on the heap, without what it shares.
    std::size_t Bytes() const { return (m_low.capacity() + m_segments.capacity()) * sizeof(std::uint32_t); }

private:
    std::uint32_t LowAt(std::size_t k) const { return k < m_nShared ? m_pShared->m_low[k] : m_low[k - m_nShared]; }
    void Share(std::shared_ptr<const CLSLineStarts> whole, std::size_t n)
    {
        m_pShared = std::move(whole);
        m_nShared = n;
    }

    // Segments up to segment start at line firstLine unless they began before.
    bool MarkSegment(std::uint32_t segment, std::size_t firstLine)
    {
        while (m_segments.size() < segment) {
            if (!m_segments.try_reserve(m_segments.size() + 1)) {
                return false;
            }
            m_segments.push_back(static_cast<std::uint32_t>(firstLine));
        }
        return true;
    }

    // The first m_nShared starts are those of m_pShared, which shares nothing
    // itself; the low parts held here follow them.
    std::shared_ptr<const CLSLineStarts> m_pShared;
    std::size_t m_nShared = 0;
    vector<std::uint32_t> m_low;
    vector<std::uint32_t> m_segments;  // item s - 1: the first line of segment s
    bool m_cut = false;
    std::uint64_t m_cutAt = 0;
};

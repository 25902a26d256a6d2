// Decoded lines kept while they are on screen. A caret key on a long line asks
// for the same line several times (its length, keeping the caret in sight,
// placing it, repainting the row), and each decoding costs as much as reading
// the line: a line is decoded once per open and encoding and reused after.
// Pure: the line type and the decoder come from the caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

template <typename Line>
class CLSLineCache {
public:
    // Line k, decoded by decode(k) unless it is kept; valid until the next
    // call of Get or Clear. A failed decoding (a false line) is not kept.
    template <typename Decode>
    const Line& Get(std::uint32_t k, Decode&& decode)
    {
        ++m_tick;
        for (Entry& entry : m_entries) {
            if (entry.line == k) {
                entry.used = m_tick;
                return entry.text;
            }
        }
        Line text = decode(k);
        if (!text) {
            m_failed = std::move(text);
            return m_failed;
        }
        MakeRoom(static_cast<std::size_t>(text.Length()));
        m_units += static_cast<std::size_t>(text.Length());
        m_entries.push_back(Entry{k, m_tick, std::move(text)});
        return m_entries.back().text;
    }

    // The file, its line index or the encoding changed: nothing kept holds.
    void Clear()
    {
        m_entries.clear();
        m_units = 0;
    }

private:
    // A screen of rows and then some; and at most this many UTF-16 units in
    // all, save the newest line, however long.
    static constexpr std::size_t kLines = 256;
    static constexpr std::size_t kUnits = std::size_t{16} << 20;

    struct Entry {
        std::uint32_t line;
        std::uint64_t used;
        Line text;
    };

    // Drops the lines used longest ago until one of `units` more fits.
    void MakeRoom(std::size_t units)
    {
        while (!m_entries.empty() && (m_entries.size() >= kLines || m_units + units > kUnits)) {
            std::size_t oldest = 0;
            for (std::size_t i = 1; i < m_entries.size(); ++i) {
                if (m_entries[i].used < m_entries[oldest].used) {
                    oldest = i;
                }
            }
            m_units -= static_cast<std::size_t>(m_entries[oldest].text.Length());
            m_entries[oldest] = std::move(m_entries.back());
            m_entries.pop_back();
        }
    }

    std::vector<Entry> m_entries;
    std::size_t m_units = 0;
    std::uint64_t m_tick = 0;
    Line m_failed;
};

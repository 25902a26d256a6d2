// The maps of the long lines shown lately (CLSLineMap): each keeps where the
// pieces of its line start, so a line read through once is not read again
// for every paint, click or key. Pure bookkeeping.
#pragma once

#include "document/LINEMAP.h"
#include "document/LINESCOUT.h"

#include <cstdint>
#include <memory>
#include <vector>

// Lines of this length or more are read in pieces and measured in cells; shorter
// ones are decoded whole and measured with the font.
constexpr std::uint64_t kLongLineBytes = std::uint64_t{1} << 20;
// Lines of this length or more are also read through on a thread as soon as
// they are shown: End or a far scroll then finds where their pieces start.
constexpr std::uint64_t kScoutedLineBytes = std::uint64_t{16} << 20;

class CLSLongLines {
public:
    // The map of line k made for tabCells, or null.
    CLSLineMap* Find(std::uint32_t line, int tabCells)
    {
        ++m_tick;
        for (Entry& e : m_entries) {
            if (e.line == line && e.tabCells == tabCells) {
                e.used = m_tick;
                return e.map.get();
            }
        }
        return nullptr;
    }

    CLSLineMap* Add(std::uint32_t line, int tabCells, std::unique_ptr<CLSLineMap> map)
    {
        if (m_entries.size() >= kMaps) {
            std::size_t oldest = 0;
            for (std::size_t i = 1; i < m_entries.size(); ++i) {
                oldest = m_entries[i].used < m_entries[oldest].used ? i : oldest;
            }
            m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(oldest));
        }
        m_entries.push_back(Entry{line, tabCells, ++m_tick, std::move(map)});
        return m_entries.back().map.get();
    }

    // The file, its lines or the encoding changed.
    void Clear()
    {
        m_entries.clear();
        m_pScout.reset();
    }

    // One line at a time is read through on a thread: the last one shown.
    void Scout(std::uint32_t line, std::unique_ptr<CLSLineScout> scout)
    {
        m_uScoutLine = line;
        m_pScout = std::move(scout);
    }
    // Whether line is being read through on the thread now.
    bool IsScouting(std::uint32_t line) const { return m_pScout && m_uScoutLine == line && m_pScout->IsReading(); }
    // Gives the map of line what its thread has found.
    void Feed(std::uint32_t line, CLSLineMap& map)
    {
        if (m_pScout && m_uScoutLine == line) {
            m_pScout->Feed(map);
        }
    }

private:
    // A screen of long lines; each map is a few dozen bytes per piece.
    static constexpr std::size_t kMaps = 128;
    struct Entry {
        std::uint32_t line;
        int tabCells;
        std::uint64_t used;
        std::unique_ptr<CLSLineMap> map;
    };
    std::vector<Entry> m_entries;
    std::uint64_t m_tick = 0;
    std::unique_ptr<CLSLineScout> m_pScout;
    std::uint32_t m_uScoutLine = 0;
};

// Made-up Japanese text for the document benchmarks: lines of 10 to 100
// characters mixing ASCII, hiragana and kanji, ended by CR LF; the same bytes
// for the same seed. Pure: used by the native and the Windows benchmarks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// A byte value that does not occur in bytes, or failing that the rarest.
inline unsigned char AbsentByte(const std::string& bytes)
{
    std::size_t counts[256] = {};
    for (char c : bytes) {
        ++counts[static_cast<unsigned char>(c)];
    }
    unsigned rarest = 0;
    for (unsigned b = 1; b < 256; ++b) {
        rarest = counts[b] < counts[rarest] ? b : rarest;
    }
    return static_cast<unsigned char>(rarest);
}

// The physical limit of any scan of bytes in memory: one memchr pass over
// them for a byte that does not occur (AbsentByte). Returns how often it did
// occur, so that the pass is not optimised away.
inline std::size_t MemoryPass(const std::string& bytes, unsigned char absent)
{
    std::size_t hits = 0;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while ((p = static_cast<const char*>(std::memchr(p, absent, static_cast<std::size_t>(end - p)))) != nullptr) {
        ++hits;
        ++p;
    }
    return hits;
}

class CLSBenchText {
public:
    explicit CLSBenchText(std::uint32_t seed) : m_state(seed) {}

    // Appends Shift-JIS lines to out until it holds at least bytes bytes.
    void AppendShiftJis(std::string& out, std::size_t bytes)
    {
        while (out.size() < bytes) {
            const unsigned chars = 10 + Next() % 91;
            for (unsigned i = 0; i < chars; ++i) {
                const unsigned pick = Next() % 4;
                if (pick < 2) {
                    out.push_back(static_cast<char>('a' + Next() % 26));
                } else if (pick == 2) {
                    out.push_back('\x82');
                    out.push_back(static_cast<char>(0x9F + Next() % 83));  // hiragana
                } else {
                    out.push_back(static_cast<char>(0x88 + Next() % 24));  // kanji rows
                    const unsigned trail = 0x40 + Next() % 188;
                    out.push_back(static_cast<char>(trail == 0x7F ? 0x80 : trail));
                }
            }
            out += "\r\n";
        }
    }

    // Appends UTF-16LE lines (same mix) until out holds at least bytes bytes.
    void AppendUtf16Le(std::string& out, std::size_t bytes)
    {
        while (out.size() < bytes) {
            const unsigned chars = 10 + Next() % 91;
            for (unsigned i = 0; i < chars; ++i) {
                const unsigned pick = Next() % 4;
                const unsigned unit = pick < 2 ? 'a' + Next() % 26 : pick == 2 ? 0x3041 + Next() % 83 : 0x4E00 + Next() % 8000;
                PutUnit(out, unit);
            }
            PutUnit(out, '\r');
            PutUnit(out, '\n');
        }
    }

private:
    static void PutUnit(std::string& out, unsigned unit)
    {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }

    std::uint32_t Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }

    std::uint32_t m_state;
};

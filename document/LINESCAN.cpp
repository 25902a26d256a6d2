// Line index builder. Whole blocks go through the vector search of LINEBITS and
// are written straight into the index; the few units before a piece's end are
// walked one by one, where a CR may have to wait for the next piece.
#include "document/LINESCAN.h"

#include "document/DETECT.h"

namespace {

constexpr unsigned kLf = 0x0A;
constexpr unsigned kCr = 0x0D;
// Blocks searched between two checks of the index's room (64 KiB of text).
constexpr std::size_t kBlocksPerRun = 1024;
// Below this many bytes the lines seen so far say little about the rest.
constexpr std::uint64_t kProjectAfter = 64 * 1024;

}  // namespace

LineUnits LineUnitsOf(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf16Le:
        return LineUnits::Utf16Le;
    case TextEncoding::Utf16Be:
        return LineUnits::Utf16Be;
    default:
        return LineUnits::Bytes;
    }
}

CLSLineScanner::CLSLineScanner(CLSLineStarts& index, TextEncoding detected, std::uint64_t expectedBytes)
    : m_index(index),
      m_unitSize(LineUnitsOf(detected) == LineUnits::Bytes ? 1 : 2),
      m_units(LineUnitsOf(detected)),
      m_expectedBytes(expectedBytes)
{
}

void CLSLineScanner::Feed(const unsigned char* data, std::size_t n)
{
    if (n == 0) {
        return;
    }
    m_searchedTo = data;
    if (m_index.IsCut()) {
        m_offset += n;  // nothing more can be held
    } else {
        ScanUnits(data, n);
    }
    SearchTo(data + n);
}

void CLSLineScanner::ScanUnits(const unsigned char* data, std::size_t n)
{
    if (m_hasCarry) {
        const unsigned char unit[2] = {m_carry, data[0]};
        m_hasCarry = false;
        ScanPiece(unit, 2);  // m_offset does not count the carried byte yet
        m_offset += 2;
        ++data;
        --n;
    }
    const std::size_t whole = n - n % m_unitSize;
    ScanPiece(data, whole);
    m_offset += whole;
    if (whole != n) {
        m_hasCarry = true;
        m_carry = data[n - 1];
    }
}

void CLSLineScanner::Finish()
{
    if (m_hasCarry) {
        // A half unit at the very end reads as a unit whose other byte is 0.
        m_hasCarry = false;
        const unsigned unit = m_units == LineUnits::Utf16Be ? m_carry << 8 : m_carry;
        m_offset += 1;
        bool settled = false;
        if (m_pendingCr) {
            m_pendingCr = false;
            settled = unit == kLf;
            Append(settled ? m_offset : m_crEnd);
        }
        if (!settled && unit == kLf) {
            Append(m_offset);
        } else if (!settled && unit == kCr) {
            m_pendingCr = true;
            m_crEnd = m_offset;
        }
    }
    if (m_pendingCr) {
        // CR at the end of the file: the look-ahead read nothing.
        m_pendingCr = false;
        Append(m_crEnd);
    }
}

// Whole units; m_offset is the file offset of data[0]. Every LF ends a line;
// a CR ends one unless an LF follows, which then ends it instead.
void CLSLineScanner::ScanPiece(const unsigned char* data, std::size_t length)
{
    if (length == 0 || m_index.IsCut()) {
        return;
    }
    if (m_pendingCr) {
        m_pendingCr = false;
        if (LineUnitAt(data, m_units) != kLf) {
            Append(m_crEnd);
        }
    }
    for (std::size_t i = ScanBlocks(data, length); i < length; i += m_unitSize) {
        const unsigned unit = LineUnitAt(data + i, m_units);
        const std::uint64_t end = m_offset + i + m_unitSize;
        if (unit == kLf) {
            Append(end);
        } else if (unit != kCr) {
            continue;
        } else if (i + m_unitSize < length) {
            if (LineUnitAt(data + i + m_unitSize, m_units) != kLf) {
                Append(end);
            }
        } else {
            // The look-ahead lies in the next piece.
            m_pendingCr = true;
            m_crEnd = end;
        }
    }
}

bool CLSLineScanner::Riding() const
{
    return m_search != nullptr && !m_search->IsOver();
}

// Hands the search the bytes of the piece up to end that it has not had.
void CLSLineScanner::SearchTo(const unsigned char* end)
{
    if (Riding() && m_searchedTo < end) {
        m_search->Feed(m_searchedTo, static_cast<std::size_t>(end - m_searchedTo));
    }
    m_searchedTo = end;
}

// The whole blocks of data whose look-ahead unit is still inside the piece;
// returns the number of bytes they cover.
std::size_t CLSLineScanner::ScanBlocks(const unsigned char* data, std::size_t length)
{
    if (length < kLineBlock + m_unitSize) {
        return 0;
    }
    const std::size_t blocks = (length - m_unitSize) / kLineBlock;
    for (std::size_t done = 0; done < blocks;) {
        const std::size_t run = blocks - done < kBlocksPerRun ? blocks - done : kBlocksPerRun;
        const std::uint64_t base = m_offset + done * kLineBlock;
        // The search may write two spare items. Short of room, the lines of
        // the run are appended one by one, until the index is cut.
        if (!MakeRoom(run * kLineBlock / m_unitSize + 2, base)) {
            return done * kLineBlock;
        }
        // The search, unless it is gathering a stretch, needs only the bytes
        // from the first block that can begin evidence.
        const unsigned char* runData = data + done * kLineBlock;
        const bool watch = Riding() && !m_search->IsGathering() && m_searchedTo == runData;
        const EvidenceBytes watched = watch ? m_search->Watched() : EvidenceBytes{};
        std::size_t quiet = 0;
        const std::size_t found = FindLineEnds(runData, run, m_units, static_cast<std::uint32_t>(base),
                                               m_index.End(), watch ? &watched : nullptr, &quiet);
        if (watch) {
            m_searchedTo = runData + quiet * kLineBlock;
        }
        SearchTo(runData + run * kLineBlock);
        if (!m_index.TakeWritten(found, base, base + run * kLineBlock)) {
            m_index.Cut(base);
            return length;
        }
        done += run;
    }
    return blocks * kLineBlock;
}

void CLSLineScanner::Append(std::uint64_t offset)
{
    if (m_index.IsCut()) {
        return;
    }
    if (!MakeRoom(1, offset) || !m_index.push_back(offset)) {
        m_index.Cut(offset);
    }
}

std::size_t PlanIndexRoom(std::size_t size, std::size_t capacity, std::size_t needed, std::uint64_t consumed,
                          std::uint64_t expectedBytes, std::size_t maxItems)
{
    double wanted = static_cast<double>(capacity) * 1.5;
    if (expectedBytes > consumed && consumed >= kProjectAfter) {
        const double projected = static_cast<double>(size) * expectedBytes / consumed * 1.125 + (needed - size);
        if (projected > wanted) {
            wanted = projected;
        }
    }
    if (wanted < static_cast<double>(needed)) {
        return needed;
    }
    return wanted >= static_cast<double>(maxItems) ? (needed > maxItems ? needed : maxItems)
                                                   : static_cast<std::size_t>(wanted);
}

// Room for items more. Growth by 16 items would copy a big index over and over:
// once a fair part of the file has been read, the index grows to the size the
// lines so far project over the whole file, else by half again. When that
// much cannot be had, just what is needed; false when not even that.
bool CLSLineScanner::MakeRoom(std::size_t items, std::uint64_t consumed)
{
    const std::size_t needed = m_index.size() + items;
    if (needed <= m_index.capacity()) {
        return true;
    }
    if (needed > kMostIndexLines) {
        return false;
    }
    const std::size_t planned =
        PlanIndexRoom(m_index.size(), m_index.capacity(), needed, consumed, m_expectedBytes, kMostIndexLines);
    return m_index.try_reserve(planned) || m_index.try_reserve(needed);
}

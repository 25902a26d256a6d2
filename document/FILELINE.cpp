// Single lines through the line index: a line is read and decoded only when
// it is asked for; the index is built once per file, on first use.
#include "document/FILESTRM.h"

#include "document/LINEDEC.h"

#include <memory>
#include <new>

DWORD CLSFileStream::GetLineCount()
{
    BuildLineIndex();
    return static_cast<DWORD>(m_index.Lines().size());
}

bool CLSFileStream::GetLineSpan(const CLSLineStarts& lines, DWORD line, std::uint64_t* start, DWORD* length)
{
    *start = lines[line];
    const std::uint64_t end = line + 1 < lines.size() ? lines[line + 1]
                              : lines.IsCut()          ? lines.CutAt()
                                                       : m_ullFileSize;
    const std::uint64_t span = end > *start ? end - *start : 0;
    *length = span <= kLongestLine ? static_cast<DWORD>(span) : kLongestLine + 1;
    return span <= kLongestLine;
}

// While the index is being built, lines near the start come from what has
// been read of the start; anything further waits for the whole index.
const CLSLineStarts& CLSFileStream::LinesThrough(DWORD line)
{
    if (m_index.HasThread() && (m_index.ReadStartTo(GetLineSource(), line) || HasStalled())) {
        return m_index.StartLines();
    }
    BuildLineIndex();
    return m_index.Lines();
}

CLSDecodedLine CLSFileStream::GetLine(DWORD line, TextEncoding encoding)
{
    const CLSLineStarts& lines = LinesThrough(line);
    if (HasStalled()) {
        return CLSDecodedLine();
    }
    std::uint64_t start = 0;
    DWORD length = 0;
    if (line >= lines.size() || !GetLineSpan(lines, line, &start, &length)) {
        return CLSDecodedLine();
    }
    return ReadLineSpan(start, length, encoding, line == 0);
}

// The start read gives up on a line that has not ended within its limit:
// the pane shows that much of it until the count is done.
bool CLSFileStream::KnowsLineEnd(DWORD line)
{
    return !m_index.IsBuilding() || m_index.ReadStartTo(GetLineSource(), line);
}

CLSDecodedLine CLSFileStream::GetKnownLine(DWORD line, TextEncoding encoding)
{
    if (KnowsLineEnd(line)) {
        return GetLine(line, encoding);
    }
    if (HasStalled()) {
        return CLSDecodedLine();
    }
    const CLSLineStarts& lines = m_index.StartLines();
    const std::uint64_t end = m_index.StartReadEnd();
    if (line >= lines.size() || lines[line] >= end) {
        return CLSDecodedLine();
    }
    return ReadLineSpan(lines[line], static_cast<DWORD>(end - lines[line]), encoding, line == 0);
}

CLSDecodedLine CLSFileStream::ReadLineSpan(std::uint64_t start, DWORD length, TextEncoding encoding, bool first)
{
    if (!SeekTo(start)) {
        return CLSDecodedLine();
    }
    CLSGlobalOwner block(GlobalAlloc(GPTR, static_cast<SIZE_T>(length) + kLinePadding));
    DWORD got = 0;
    if (!block || !ReadBytes(block.Get(), length, &got)) {
        return CLSDecodedLine();
    }
    const TextEncoding effective = encoding != TextEncoding::Auto ? encoding : m_encDetected;
    return DecodeLineBytes(std::move(block), got, effective, first);
}

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
    if (line >= lines.size() || !GetLineSpan(lines, line, &start, &length) || !SeekTo(start)) {
        return CLSDecodedLine();
    }
    CLSGlobalOwner block(GlobalAlloc(GPTR, static_cast<SIZE_T>(length) + kLinePadding));
    DWORD got = 0;
    if (!block || !ReadBytes(block.Get(), length, &got)) {
        return CLSDecodedLine();
    }
    const TextEncoding effective = encoding != TextEncoding::Auto ? encoding : m_encDetected;
    return DecodeLineBytes(std::move(block), got, effective, line == 0);
}

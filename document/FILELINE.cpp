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

bool CLSFileStream::SpanOf(const CLSLineStarts& lines, DWORD line, LineBytes* bytes) const
{
    if (line >= lines.size()) {
        return false;
    }
    bytes->start = lines[line];
    const std::uint64_t end = line + 1 < lines.size() ? lines[line + 1]
                              : lines.IsCut()          ? lines.CutAt()
                                                       : m_ullFileSize;
    bytes->span = end > bytes->start ? end - bytes->start : 0;
    bytes->least = bytes->span;
    return true;
}

bool CLSFileStream::GetLineBytes(DWORD line, LineBytes* bytes)
{
    // One line longer than the start read without the count (a minified
    // script, a dump on one line) is shown at once instead of after it.
    if (m_index.HasThread() && !m_index.ReadStartTo(GetLineSource(), line) && !HasStalled()) {
        const CLSLineStarts& started = m_index.StartLines();
        if (line + 1 == started.size()) {
            bytes->start = started[line];
            bytes->span = m_ullFileSize - bytes->start;
            bytes->least = m_index.StartBytesRead() - bytes->start;
            return true;
        }
        if (m_index.IsBuilding()) {
            return false;  // beyond what the start read has reached: the count's notice brings it
        }
    }
    const CLSLineStarts& lines = LinesThrough(line);
    return !HasStalled() && SpanOf(lines, line, bytes);
}

CLSDecodedLine CLSFileStream::GetLine(DWORD line, TextEncoding encoding)
{
    const CLSLineStarts& lines = LinesThrough(line);
    LineBytes span{};
    if (HasStalled() || !SpanOf(lines, line, &span) || span.span > kLongestLine || !SeekTo(span.start)) {
        return CLSDecodedLine();
    }
    CLSGlobalOwner block(GlobalAlloc(GPTR, static_cast<SIZE_T>(span.span) + kLinePadding));
    DWORD got = 0;
    if (!block || !ReadBytes(block.Get(), static_cast<DWORD>(span.span), &got)) {
        return CLSDecodedLine();
    }
    const TextEncoding effective = encoding != TextEncoding::Auto ? encoding : m_encDetected;
    return DecodeLineBytes(std::move(block), got, effective, line == 0);
}

bool CLSFileStream::KnowsLineEnd(DWORD line)
{
    return !m_index.IsBuilding() || m_index.ReadStartTo(GetLineSource(), line);
}

// A line whose end is not yet read, while the lines are counted, is null
// here: the pane asks again once the count is done instead of waiting.
CLSDecodedLine CLSFileStream::GetKnownLine(DWORD line, TextEncoding encoding)
{
    return KnowsLineEnd(line) ? GetLine(line, encoding) : CLSDecodedLine();
}

// Reading the open document from another thread: bytes at any offset, and many
// lines in one pass, read in long pieces of whole lines and each decoded from
// the piece as the view decodes it, instead of one seek, one read and two
// blocks for every line.
#include "document/DOCREAD.h"

#include "document/FILESTRM.h"
#include "document/LINEDEC.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

// Bytes read at a time: whole lines up to this, or one longer line alone.
constexpr std::uint64_t kRunPiece = 1 << 20;

// Makes buffer hold at least needed items; false when memory runs out.
template <typename T>
bool Fit(std::unique_ptr<T[]>& buffer, std::size_t& room, std::size_t needed)
{
    if (needed <= room) {
        return true;
    }
    buffer.reset(new (std::nothrow) T[needed]);
    room = buffer ? needed : 0;
    return static_cast<bool>(buffer);
}

// One line's bytes copied out of the piece with the zeros the decoder needs
// after them, decoded, handed on.
class CLSLineDecoder {
public:
    explicit CLSLineDecoder(TextEncoding encoding) : m_encoding(encoding) {}

    bool Take(std::uint64_t line, const unsigned char* source, DWORD n, const SourceLineTaker& take)
    {
        if (!Fit(m_bytes, m_bytesRoom, std::size_t{n} + kLinePadding) ||
            !Fit(m_units, m_unitsRoom, std::size_t{n} + kLinePadding)) {
            return false;
        }
        std::memcpy(m_bytes.get(), source, n);
        std::memset(m_bytes.get() + n, 0, kLinePadding);
        const WCHAR* text = nullptr;
        const int length = DecodeLineInto(m_bytes.get(), n, m_encoding, line == 0, m_units.get(), &text);
        return take(line, text, length);
    }

private:
    TextEncoding m_encoding;
    std::unique_ptr<unsigned char[]> m_bytes;
    std::size_t m_bytesRoom = 0;
    std::unique_ptr<WCHAR[]> m_units;
    std::size_t m_unitsRoom = 0;
};

// The memory copy, or a handle of the source's own.
bool OpenSource(CLSFileStream& doc, DocumentSource& source)
{
    source.memory = doc.GetMemoryCopy();
    if (source.memory == nullptr) {
        source.file.Reset(doc.ReopenForReading());
        if (!source.file) {
            return false;
        }
    }
    source.size = doc.GetFileSize();
    return true;
}

// The complete index, held: it stays as it is, whatever the document does next.
void TakeWholeIndex(CLSFileStream& doc, DocumentSource& source)
{
    source.lineCount = doc.GetLineCount();
    std::shared_ptr<const CLSLineStarts> index = doc.GetSharedLineIndex();
    if (!index) {
        source.lineCount = 0;  // nothing could be counted: nothing to read
        return;
    }
    source.linesEnd = index->IsCut() ? index->CutAt() : source.size;
    source.lineStart = [index = std::move(index)](std::uint64_t k) { return (*index)[static_cast<std::size_t>(k)]; };
}

}  // namespace

bool MakeDocumentSource(CLSFileStream& doc, bool lines, DocumentSource& source)
{
    if (!OpenSource(doc, source)) {
        return false;
    }
    if (lines) {
        TakeWholeIndex(doc, source);
    }
    return true;
}

bool MakeDocumentSourceThrough(CLSFileStream& doc, DWORD last, DocumentSource& source)
{
    if (!OpenSource(doc, source)) {
        return false;
    }
    const CLSLineStarts& known = doc.LinesThrough(last);
    if (&known == &doc.GetLineIndex()) {
        TakeWholeIndex(doc, source);
        return true;
    }
    // The lines near the start grow as the pane reads on: the source keeps a
    // copy of those it needs. Line last is complete among them, so the start
    // after it is there unless the file ends first.
    const std::size_t through = std::size_t{last} + 1;
    const std::size_t count = known.size() < through + 1 ? known.size() : through + 1;
    auto starts = std::make_shared<std::vector<std::uint64_t>>(count);
    for (std::size_t k = 0; k < count; ++k) {
        (*starts)[k] = known[k];
    }
    source.lineStart = [starts](std::uint64_t k) { return (*starts)[static_cast<std::size_t>(k)]; };
    source.lineCount = count > through ? through : count;
    source.linesEnd = count > through ? (*starts)[through] : source.size;
    return true;
}

bool ReadSourceBytes(const DocumentSource& source, std::uint64_t offset, unsigned char* into, std::uint64_t n)
{
    if (offset > source.size || n > source.size - offset) {
        return false;
    }
    if (source.memory != nullptr) {
        std::memcpy(into, source.memory + offset, static_cast<std::size_t>(n));
        return true;
    }
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(source.file.Get(), at, nullptr, FILE_BEGIN)) {
        return false;
    }
    while (n > 0) {
        const DWORD want = n < kRunPiece ? static_cast<DWORD>(n) : static_cast<DWORD>(kRunPiece);
        DWORD got = 0;
        if (!ReadFile(source.file.Get(), into, want, &got, nullptr) || got == 0) {
            return false;  // a read error, or the file has shrunk
        }
        into += got;
        n -= got;
    }
    return true;
}

std::uint64_t SourceLinesBytes(const DocumentSource& source, std::uint64_t first, std::uint64_t last)
{
    if (first >= source.lineCount) {
        return 0;
    }
    last = last < source.lineCount ? last : source.lineCount - 1;
    const std::uint64_t start = source.lineStart(first);
    const std::uint64_t end = source.LineEnd(last);
    return end > start ? end - start : 0;
}

bool ReadSourceLines(const DocumentSource& source, std::uint64_t first, std::uint64_t last, TextEncoding encoding,
                     const SourceLineTaker& take)
{
    if (source.lineCount == 0) {
        return true;
    }
    last = last < source.lineCount ? last : source.lineCount - 1;
    CLSLineDecoder decoder(encoding);
    std::unique_ptr<unsigned char[]> piece;
    std::size_t pieceRoom = 0;
    for (std::uint64_t line = first; line <= last;) {
        const std::uint64_t start = source.lineStart(line);
        // This line and those after it that still fit the piece; a line too
        // long to decode stops the reading.
        std::uint64_t end = line + 1;
        std::uint64_t spanned = source.LineEnd(line) - start;
        if (spanned > kLongestLine) {
            return false;
        }
        for (; end <= last; ++end) {
            const std::uint64_t through = source.LineEnd(end) - start;
            if (through > kRunPiece) {
                break;
            }
            spanned = through;
        }
        const unsigned char* data = source.memory != nullptr ? source.memory + start : nullptr;
        if (data == nullptr) {
            if (!Fit(piece, pieceRoom, static_cast<std::size_t>(spanned)) ||
                !ReadSourceBytes(source, start, piece.get(), spanned)) {
                return false;
            }
            data = piece.get();
        }
        for (; line < end; ++line) {
            const std::uint64_t at = source.lineStart(line);
            const auto length = static_cast<DWORD>(source.LineEnd(line) - at);
            if (!decoder.Take(line, data + (at - start), length, take)) {
                return false;
            }
        }
    }
    return true;
}

// Many lines in one pass, for copying a selection: the file is read in long
// pieces of whole lines, each line decoded from the piece as GetLine would,
// instead of one seek, one read and two blocks for every line.
#include "document/FILESTRM.h"

#include "document/LINEDEC.h"

#include <cstring>
#include <memory>
#include <new>

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

}  // namespace

// One line's bytes copied out of the piece with the zeros the decoder needs
// after them, decoded, handed on.
struct CLSFileStream::LineDecoder {
    explicit LineDecoder(TextEncoding effective) : encoding(effective) {}

    TextEncoding encoding;
    std::unique_ptr<unsigned char[]> bytes;
    std::size_t bytesRoom = 0;
    std::unique_ptr<WCHAR[]> units;
    std::size_t unitsRoom = 0;

    bool Take(DWORD line, const unsigned char* source, DWORD n, const LineTaker& take)
    {
        if (!Fit(bytes, bytesRoom, std::size_t{n} + kLinePadding) ||
            !Fit(units, unitsRoom, std::size_t{n} + kLinePadding)) {
            return false;
        }
        std::memcpy(bytes.get(), source, n);
        std::memset(bytes.get() + n, 0, kLinePadding);
        const WCHAR* text = nullptr;
        const int length = DecodeLineInto(bytes.get(), n, encoding, line == 0, units.get(), &text);
        return take(line, text, length);
    }
};

std::uint64_t CLSFileStream::GetLinesBytes(DWORD first, DWORD last)
{
    const CLSLineStarts& lines = LinesThrough(last);
    if (first >= lines.size()) {
        return 0;
    }
    const std::uint64_t end = last + 1 < lines.size() ? lines[last + 1]
                              : lines.IsCut()          ? lines.CutAt()
                                                       : m_ullFileSize;
    return end > lines[first] ? end - lines[first] : 0;
}

bool CLSFileStream::ReadLines(DWORD first, DWORD last, TextEncoding encoding, const LineTaker& take)
{
    const CLSLineStarts& lines = LinesThrough(last);
    if (last >= lines.size()) {
        last = static_cast<DWORD>(lines.size() - 1);
    }
    LineDecoder decoder(encoding != TextEncoding::Auto ? encoding : m_encDetected);
    std::unique_ptr<unsigned char[]> piece;
    std::size_t pieceRoom = 0;
    for (DWORD line = first; line <= last && line < lines.size();) {
        std::uint64_t start = 0;
        DWORD length = 0;
        if (!GetLineSpan(lines, line, &start, &length)) {
            return false;
        }
        // The lines after it that still fit the piece.
        DWORD end = line + 1;
        DWORD spanned = length;
        std::uint64_t s = 0;
        for (DWORD n = 0; end <= last && GetLineSpan(lines, end, &s, &n) && s + n - start <= kRunPiece; ++end) {
            spanned = static_cast<DWORD>(s + n - start);
        }
        const unsigned char* data = m_lpbyMemory != nullptr ? m_lpbyMemory + start : nullptr;
        DWORD got = spanned;
        if (data == nullptr) {
            if (!Fit(piece, pieceRoom, spanned) || !SeekTo(start) || !ReadBytes(piece.get(), spanned, &got)) {
                return false;
            }
            data = piece.get();
        }
        for (; line < end; ++line) {
            std::uint64_t at = 0;
            GetLineSpan(lines, line, &at, &length);
            // A file cut since it was opened: its lines stop where it does.
            const auto into = static_cast<std::size_t>(at - start);
            if (into + length > got || !decoder.Take(line, data + into, length, take)) {
                return false;
            }
        }
    }
    return true;
}

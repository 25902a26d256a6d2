// Text lines too long to be decoded whole (a minified script, a dump on one
// line): each is read in pieces around what a paint, a click or a key needs,
// through a map of where its pieces start, and laid out in cells.
#include "view/WNDVIEW.h"

#include <algorithm>
#include <climits>

CLSLineMap* CLSWndView::LongLine(long long line, LineByteReader* read)
{
    CLSFileStream::LineBytes bytes{};
    if (line < 0 || line > static_cast<long long>(UINT32_MAX) ||
        !Doc().GetLineBytes(static_cast<DWORD>(line), &bytes) || bytes.least < kLongLineBytes) {
        return nullptr;
    }
    CLSFileStream* doc = m_doc.get();
    *read = [doc, start = bytes.start](std::uint64_t offset, unsigned char* into, DWORD n, DWORD* got) {
        *got = 0;
        return doc->SeekTo(start + offset) && doc->ReadBytes(into, n, got);
    };
    const auto k = static_cast<std::uint32_t>(line);
    CLSLineMap* map = m_clsLongLines.Find(k, TabCells());
    if (map == nullptr) {
        // The span may reach past the line while its end is not known yet:
        // the map ends the line at its break.
        map = m_clsLongLines.Add(
            k, TabCells(), std::make_unique<CLSLineMap>(bytes.span, GetEffectiveEncoding(), line == 0, TabCells()));
        ScoutLongLine(k, bytes, *map);
    }
    m_clsLongLines.Feed(k, *map);
    return map;
}

void CLSWndView::ScoutLongLine(std::uint32_t line, const CLSFileStream::LineBytes& bytes, const CLSLineMap& map)
{
    DocumentSource source;
    source.holder = m_doc;  // the thread may read on after the pane has moved on
    if (bytes.span < kScoutedLineBytes ||
        !MakeDocumentSource(Doc(), false, source)) {
        return;
    }
    m_clsLongLines.Scout(line, std::make_unique<CLSLineScout>(std::move(source), bytes.start, map, [hWnd = m_hWnd] {
                             PostMessageA(hWnd, WMU_LINE_READ, 0, 0);
                         }));
}

int CLSWndView::TabCells() const
{
    return std::max(1, m_clsText.GetTabStop());
}

int CLSWndView::LineLengthBeyond(int line, int column)
{
    LineByteReader read;
    bool has = false;
    CLSLineMap* map = IsTextMode() ? LongLine(line, &read) : nullptr;
    if (map != nullptr && column >= 0 && column < INT_MAX && map->HasColumn(read, static_cast<std::uint64_t>(column), &has) &&
        has) {
        return column + 1;
    }
    return LineLength(line);
}

bool CLSWndView::AwaitsLineEnd(int line)
{
    LineByteReader read;
    const CLSLineMap* map = IsTextMode() ? LongLine(line, &read) : nullptr;
    return map != nullptr && !map->IsComplete() && m_clsLongLines.IsScouting(static_cast<std::uint32_t>(line));
}

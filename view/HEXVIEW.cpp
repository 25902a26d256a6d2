// Hex mode: rows of 16 bytes read straight through the document's cursor (one
// read a row, nothing cached), clicks on the pairs, and the hex copy text.
#include "view/WNDVIEW.h"

#include "base/CLAMP.h"
#include "view/HEXLAY.h"
#include "view/TEXTLAY.h"

void CLSWndView::PaintHex(HDC hdc, const RECT& rc)
{
    const Metrics m = GetMetrics();
    const int cw = m.cellWidth;
    const COLORREF crText = m_clsBinary.EffectiveTextColor();
    const COLORREF crBack = m_clsBinary.EffectiveBackColor();
    const COLORREF crSelText = m_clsBinary.EffectiveSelectedTextColor();
    const COLORREF crSelBack = m_clsBinary.EffectiveSelectedBackColor();
    SetTextColor(hdc, crText);
    SetBkColor(hdc, crBack);

    const int x0 = -GetScrollPos32(SB_HORZ) * cw;
    const int xBytes = x0 + HexOffsetExtraCells(GetFileSize()) * cw;
    long long row = GetScrollPos32(SB_VERT) + static_cast<long long>(rc.top / m.rowHeight);
    int y = m.rowHeight * (rc.top / m.rowHeight);
    if (row < 0 || !SeekTo(static_cast<std::uint64_t>(row) * kHexBytesPerRow)) {
        return;
    }
    const OrderedSelection sel = Selection();
    INT advances[kHexBytesPerRow];
    for (INT& advance : advances) {
        advance = cw;  // every byte of the character column takes one cell
    }
    const int rows = LineCount();
    while (y <= rc.bottom && row < rows) {
        unsigned char bytes[20] = {};
        DWORD count = 0;
        if (!ReadBytes(bytes, kHexBytesPerRow, &count) || count == 0) {
            break;
        }
        char offset[kHexOffsetRoom];
        const int offsetLength = FormatHexOffset(static_cast<std::uint64_t>(row), offset);
        TextOutA(hdc, x0, y, offset, offsetLength);

        const int top = y - (m.rowHeight - m.fontHeight) / 2;
        RECT band{xBytes + kHexFirstPairCell * cw, top, xBytes + (kHexFirstPairCell + 3) * cw, top + m.rowHeight};
        for (int i = 0; i < static_cast<int>(count); ++i) {
            // Consecutive selected bytes make one band, also across the gap
            // between the halves.
            const bool selected = IsInSelection(ViewPos{i, SaturateToInt(row)}, sel);
            SetTextColor(hdc, selected ? crSelText : crText);
            SetBkColor(hdc, selected ? crSelBack : crBack);
            char pair[2];
            FormatHexPair(bytes[i], pair);
            ExtTextOutA(hdc, xBytes + HexPairCell(i) * cw, y, ETO_OPAQUE, &band, pair, 2, nullptr);
            OffsetRect(&band, 3 * cw, 0);
        }
        SetTextColor(hdc, crText);
        SetBkColor(hdc, crBack);
        RECT chars{xBytes + kHexCharCell * cw, top, xBytes + (kHexCharCell + static_cast<int>(count)) * cw,
                   top + m.rowHeight};
        ExtTextOutA(hdc, chars.left, y, ETO_OPAQUE, &chars, reinterpret_cast<const char*>(bytes), count,
                    advances);
        y += m.rowHeight;
        ++row;
    }
    if (y <= rc.bottom && row == rows) {
        PaintEndNotice(hdc, x0, y);
    }
}

bool CLSWndView::HexColumnToPoint(int column, int row, long long& x, long long& y)
{
    if (column < 0 || row < 0) {
        return false;
    }
    const Metrics m = GetMetrics();
    x = HexColumnX(column, m.cellWidth) + static_cast<long long>(HexOffsetExtraCells(GetFileSize())) * m.cellWidth;
    y = static_cast<long long>(row) * m.rowHeight;
    return true;
}

bool CLSWndView::HexPointToColumn(long long x, long long y, ViewPos& pos)
{
    const Metrics m = GetMetrics();
    HexPos hex{};
    x -= static_cast<long long>(HexOffsetExtraCells(GetFileSize())) * m.cellWidth;
    if (!::HexPointToColumn(x, y, m.cellWidth, m.rowHeight, GetFileSize(), hex)) {
        return false;
    }
    pos = ViewPos{hex.column, hex.row};
    return true;
}

HGLOBAL CLSWndView::CopyHex()
{
    const OrderedSelection sel = Selection();
    const long long start = static_cast<long long>(sel.s.line) * kHexBytesPerRow + sel.s.column;
    const long long end = static_cast<long long>(sel.e.line) * kHexBytesPerRow + sel.e.column;
    if (start < 0 || end <= start || end - start > static_cast<long long>(MAXDWORD) - 1) {
        return nullptr;
    }
    const DWORD wanted = static_cast<DWORD>(end - start);
    HGLOBAL hBytes = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, static_cast<SIZE_T>(wanted) + 1);
    if (hBytes == nullptr) {
        return nullptr;
    }
    // A file that shrank while it was shown gives fewer bytes: only those are
    // copied, never the zeros of the buffer in their place.
    DWORD got = 0;
    if (!SeekTo(static_cast<std::uint64_t>(start)) || !ReadBytes(static_cast<void*>(hBytes), wanted, &got)) {
        got = 0;
    }
    HGLOBAL hText = nullptr;
    const std::size_t size = HexCopySize(got);
    if (size != 0) {
        hText = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, size);
    }
    if (hText != nullptr) {
        char* text = static_cast<char*>(GlobalLock(hText));
        if (text != nullptr) {
            FormatHexCopy(static_cast<const unsigned char*>(static_cast<void*>(hBytes)), got, text);
            GlobalUnlock(hText);
        } else {
            GlobalFree(hText);
            hText = nullptr;
        }
    }
    GlobalFree(hBytes);
    return hText;
}

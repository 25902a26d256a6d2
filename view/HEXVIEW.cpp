// Hex mode: rows of 16 bytes read straight through the document's cursor (one
// read a row, nothing cached), clicks on the pairs, and the hex copy text.
#include "view/WNDVIEW.h"

#include "base/CLAMP.h"
#include "base/OWNERS.h"
#include "view/HEXLAY.h"
#include "view/TEXTLAY.h"

#include <memory>
#include <new>

namespace {

// Bytes read at a time for a copy: its pairs go straight into the text.
constexpr DWORD kHexCopyPiece = 1 << 20;

}  // namespace

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
    const std::size_t size = start >= 0 && end > start ? HexCopySize(static_cast<std::uint64_t>(end - start)) : 0;
    if (size == 0) {
        return nullptr;
    }
    CLSGlobalOwner hText(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size));
    char* text = hText ? static_cast<char*>(GlobalLock(hText.Get())) : nullptr;
    std::unique_ptr<unsigned char[]> piece(new (std::nothrow) unsigned char[kHexCopyPiece]);
    if (text == nullptr || !piece || !SeekTo(static_cast<std::uint64_t>(start))) {
        return nullptr;
    }
    // The bytes are read a piece at a time and their pairs written straight
    // into the text. A file that shrank while it was shown gives fewer bytes:
    // only those are copied, never zeros in their place.
    std::size_t written = 0;
    text[0] = 0;
    for (std::uint64_t left = static_cast<std::uint64_t>(end - start); left > 0;) {
        DWORD got = 0;
        const DWORD want = left < kHexCopyPiece ? static_cast<DWORD>(left) : kHexCopyPiece;
        if (!ReadBytes(piece.get(), want, &got) || got == 0) {
            break;
        }
        if (written != 0) {
            text[written++] = ' ';
        }
        written += FormatHexCopy(piece.get(), got, text + written);
        left -= got;
    }
    GlobalUnlock(hText.Get());
    if (written == 0) {
        return nullptr;
    }
    HGLOBAL hBlock = hText.Release();
    if (HGLOBAL hFitted = GlobalReAlloc(hBlock, written + 1, GMEM_MOVEABLE)) {
        hBlock = hFitted;
    }
    return hBlock;
}

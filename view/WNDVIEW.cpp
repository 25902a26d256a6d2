// The preview pane window: creation, the display modes, font and brush of each
// mode, painting through the off-screen buffer, and the window procedure.
#include "view/WNDVIEW.h"

#include "base/WIDEN.h"
#include "resources/RESOURCE.h"
#include "view/HEXLAY.h"
#include "view/TEXTLAY.h"

#include <algorithm>
#include <climits>
#include <new>
#include <utility>

namespace {

constexpr char kViewClassName[] = "GlimViewWindow";
constexpr DWORD kViewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VSCROLL |
                             WS_HSCROLL | WS_TABSTOP;  // 0x56310000
constexpr int kCommandCopy = 1101;
constexpr int kCommandSelectAll = 1102;

bool RegisterViewClass(HINSTANCE hInstance)
{
    static bool s_bRegistered = false;
    if (s_bRegistered) {
        return true;
    }
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = &CLSWndBase::StaticWindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = kViewClassName;
    if (RegisterClassExA(&wc) == 0) {
        return false;
    }
    s_bRegistered = true;
    return true;
}

}  // namespace

CLSWndView::CLSWndView()
{
    RecreateFontAndBrush();
}

CLSWndView::~CLSWndView()
{
    if (m_hWnd != nullptr) {
        DestroyWindow(m_hWnd);
    }
    m_clsBuffer.Release();
    DeleteFontAndBrush();
}

bool CLSWndView::Create(HWND hWndParent, int id)
{
    Destroy();
    m_hWndParent = hWndParent;
    HINSTANCE hInstance = GetModuleHandleA(nullptr);
    if (!RegisterViewClass(hInstance)) {
        return false;
    }
    HWND hWnd = CreateWindowExA(WS_EX_CLIENTEDGE, kViewClassName, "", kViewStyle, 0, 0, 0, 0, hWndParent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), hInstance,
                                static_cast<CLSWndBase*>(this));
    if (hWnd == nullptr) {
        return false;
    }
    m_clsBuffer.Create(CLSWindowDC(hWnd).Get());
    SetBkMode(m_clsBuffer.GetDC(), TRANSPARENT);
    // The font of the current mode was made before there was a surface to
    // select it into; without it the first metrics would be the GUI font's.
    if (m_clsFont) {
        m_clsBuffer.Select(m_clsFont.Get());
    }
    return true;
}

void CLSWndView::Destroy()
{
    if (m_hWnd != nullptr) {
        DestroyWindow(m_hWnd);
    }
}

void CLSWndView::Move(int x, int y, int cx, int cy)
{
    if (m_hWnd != nullptr) {
        MoveWindow(m_hWnd, x, y, cx, cy, TRUE);
    }
}

void CLSWndView::ApplySettings(const CLSGlimTextSettings& text, const CLSGlimFont& binary,
                               const CLSGlimImageSettings& image, const CLSGlimMediaSettings& media)
{
    m_clsText = text;
    m_clsBinary = binary;
    m_clsImage = image;
    m_clsMedia = media;
    RecreateFontAndBrush();
    if (m_hWnd != nullptr) {
        RefreshCaretShape();
        SetUpScrollBars();
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

void CLSWndView::CloseFile(const std::string& why)
{
    OpenFile(std::wstring());
    m_strOpenFailure = why;
    if (m_hWnd != nullptr) {
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

void CLSWndView::OpenFile(const std::wstring& path)
{
    const wchar_t* lpszPlugins = m_clsImage.GetUseSPI() ? m_clsImage.GetSPIFolder().c_str() : nullptr;
    CancelFind();
    // Whatever was decoded belongs to the file shown before, or to this one
    // as it was before it grew, shrank or was replaced.
    m_clsShownLines.Clear();
    m_clsLongLines.Clear();
    m_clsShown.Clear();
    ReplaceDocument();
    Doc().Open(path);
    m_clsShown.Recognise(Doc(), m_hWnd, m_clsImage.GetBackColor(), lpszPlugins);
    DescribeOpenFailure();
    StartTextIndex();
    ShowMediaForMode();
    RecreateFontAndBrush();
    m_iWidestLine = 2;
    ResetCaret();
    if (m_hWnd != nullptr) {
        RefreshCaretShape();
        SetUpScrollBars();
        if (GetDisplayMode() == DocumentKind::Media && m_clsMedia.GetAutoPlay()) {
            PlayMedia();
        }
        PlaceCaret();
    }
    NoticeStall();
    WatchForFollow();
    ReportFollowState();
}

namespace {

DWORD WINAPI DropDocument(LPVOID share)
{
    delete static_cast<std::shared_ptr<CLSFileStream>*>(share);
    return 0;
}

// The last hold of a document whose lines are still being counted is dropped
// on a thread of its own: the count stops at its next read, but a read can
// take long (a share that went away), and the window must not wait for it.
void LetGoOfDocument(std::shared_ptr<CLSFileStream> doc)
{
    if (doc.use_count() > 1 || !doc->IsLineIndexBuilding()) {
        return;  // a job still holds it and lets go of it when it ends, or nothing to wait for
    }
    auto* share = new (std::nothrow) std::shared_ptr<CLSFileStream>(std::move(doc));
    if (share == nullptr) {
        return;
    }
    const CLSHandle thread(CreateThread(nullptr, 0, DropDocument, share, 0, nullptr));
    if (!thread) {
        delete share;  // dropped here after all
    }
}

}  // namespace

// A copy or a search still at work holds the document it reads, and goes on
// reading it while the next one is shown: opening waits for neither. The
// last holder frees the old one.
void CLSWndView::ReplaceDocument()
{
    DropGrownFile();
    auto doc = std::make_shared<CLSFileStream>();
    doc->SetMemoryLimit(m_doc->GetMemoryLimit());
    LetGoOfDocument(std::exchange(m_doc, std::move(doc)));
}

void CLSWndView::DropGrownFile()
{
    if (m_grown) {
        LetGoOfDocument(std::move(m_grown));
        m_grown.reset();
    }
    m_bFollowAgain = false;  // a change it waited for is the next file's no more
}

// Every way into text mode counts the lines as opening does: a big file shows
// its first screen first, its lines counted on the index thread once that has
// been painted.
void CLSWndView::StartTextIndex()
{
    Doc().SetLineEncoding(m_encOverride);
    if (IsTextMode()) {
        Doc().StartLineIndex([hWnd = m_hWnd] { PostMessageA(hWnd, WMU_LINES_READY, 0, 0); });
    }
}

void CLSWndView::SetEncoding(TextEncoding encoding)
{
    CancelFind();
    const bool anew = Doc().SplitsLinesAnew(encoding);
    m_encOverride = encoding;
    if (anew) {
        // UTF-16 chosen for a file read as single bytes (or back): its lines
        // are counted anew in a document of their own, as a copy may still
        // read the index of this one.
        const std::wstring path = Doc().GetPath();
        OpenFile(path);
        return;
    }
    m_clsShownLines.Clear();
    m_clsLongLines.Clear();
    StartTextIndex();
    m_posCaret = m_posAnchor = ViewPos{0, 0};
    if (m_hWnd != nullptr) {
        SetUpScrollBars();  // the lines may have been counted anew
        InvalidateRect(m_hWnd, nullptr, TRUE);
        PlaceCaret();
    }
    NotifyCaret();
}

void CLSWndView::SetViewMode(ViewMode mode)
{
    CancelFind();
    m_modeOverride = mode;
    StartTextIndex();
    ShowMediaForMode();
    RecreateFontAndBrush();
    ResetCaret();
    m_iWidestLine = 2;
    if (m_hWnd != nullptr) {
        RefreshCaretShape();
        SetUpScrollBars();
        PlaceCaret();
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

DocumentKind CLSWndView::GetDisplayMode()
{
    if (Doc().HasStalled()) {
        return DocumentKind::None;  // whatever the view form, there is nothing to show
    }
    if (m_modeOverride != ViewMode::Auto) {
        return static_cast<DocumentKind>(m_modeOverride);
    }
    const DocumentKind shown = m_clsShown.Kind();
    return shown != DocumentKind::None ? shown : Doc().GetKind();
}

TextEncoding CLSWndView::GetEffectiveEncoding() const
{
    return m_encOverride != TextEncoding::Auto ? m_encOverride : Doc().GetDetectedEncoding();
}

bool CLSWndView::HasCaretMode()
{
    const DocumentKind mode = GetDisplayMode();
    return mode == DocumentKind::Text || mode == DocumentKind::Hex;
}

const CLSGlimFont& CLSWndView::ModeFont()
{
    if (IsHexMode()) {
        return m_clsBinary;
    }
    return m_clsText;
}

CLSWndView::Metrics CLSWndView::GetMetrics()
{
    TEXTMETRICA tm{};
    HDC hdc = m_clsBuffer.GetDC();
    if (hdc != nullptr) {
        GetTextMetricsA(hdc, &tm);
    } else {
        CLSWindowDC screen(nullptr);
        CLSSelectObject font(screen.Get(), m_clsFont ? static_cast<HGDIOBJ>(m_clsFont.Get())
                                                     : GetStockObject(DEFAULT_GUI_FONT));
        GetTextMetricsA(screen.Get(), &tm);
    }
    Metrics m{};
    m.fontHeight = ViewFontHeight(tm.tmHeight);
    m.cellWidth = CellWidth(m.fontHeight);
    m.rowHeight = RowHeight(m.fontHeight, ModeFont().GetLineHeight());
    return m;
}

int CLSWndView::HorizontalUnit()
{
    return HasCaretMode() ? GetMetrics().cellWidth : 1;
}

int CLSWndView::VerticalUnit()
{
    return HasCaretMode() ? GetMetrics().rowHeight : 1;
}

int CLSWndView::GetScrollPos32(int bar)
{
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    if (m_hWnd == nullptr || !GetScrollInfo(m_hWnd, bar, &si)) {
        return 0;
    }
    return si.nPos;
}

int CLSWndView::LineCount()
{
    switch (GetDisplayMode()) {
    case DocumentKind::Text: {
        const DWORD count = Doc().GetLineCount();
        return count > static_cast<DWORD>(INT_MAX) ? INT_MAX : static_cast<int>(count);
    }
    case DocumentKind::Hex:
        return static_cast<int>(std::min(HexRowCount(Doc().GetFileSize()), kHexRowsReachable));
    default:
        return 0;
    }
}

// Lines the caret can move among when it goes no further than line furthest:
// while the lines are still counted on their thread, the lines read so far
// near the start (reading on as far as that line); the window never waits
// for the count. Once it is done, all of them.
int CLSWndView::ReachableLineCount(long long furthest)
{
    if (IsTextMode() && Doc().IsLineIndexBuilding()) {
        if (furthest >= 0 && furthest < INT_MAX) {
            Doc().KnowsLineEnd(static_cast<DWORD>(furthest));  // reads on near the start
        }
        return KnownLineCount();
    }
    return LineCount();
}

// Text rows known without waiting for the line index being built.
int CLSWndView::KnownLineCount()
{
    const DWORD count = Doc().GetLinesKnown();
    return count > static_cast<DWORD>(INT_MAX) ? INT_MAX : static_cast<int>(count);
}

int CLSWndView::LineLength(int line)
{
    if (line < 0) {
        return 0;
    }
    switch (GetDisplayMode()) {
    case DocumentKind::Text: {
        LineByteReader read;
        std::uint64_t units = 0;
        if (CLSLineMap* map = LongLine(line, &read)) {
            return map->Length(read, &units) ? static_cast<int>(std::min<std::uint64_t>(units, INT_MAX)) : 0;
        }
        return ShownLine(line).Length();
    }
    case DocumentKind::Hex:
        return HexRowLength(static_cast<std::uint64_t>(line), Doc().GetFileSize());
    default:
        return 0;
    }
}

const CLSDecodedLine& CLSWndView::ShownLine(long long line)
{
    static const CLSDecodedLine s_none;
    if (line < 0 || line > static_cast<long long>(UINT32_MAX)) {
        return s_none;
    }
    return m_clsShownLines.Get(static_cast<std::uint32_t>(line),
                               [this](std::uint32_t k) { return Doc().GetKnownLine(k, m_encOverride); });
}

void CLSWndView::DeleteFontAndBrush()
{
    // Nothing may be deleted while it is still selected into the surface.
    m_clsBuffer.Select(GetStockObject(DEFAULT_GUI_FONT));
    m_clsFont.Reset();
    m_clsBackBrush.Reset();
}

void CLSWndView::RecreateFontAndBrush()
{
    DeleteFontAndBrush();
    COLORREF crBack = 0;
    switch (GetDisplayMode()) {
    case DocumentKind::Hex:
        m_clsFont.Reset(ZoomedFont(m_clsBinary));
        crBack = m_clsBinary.EffectiveBackColor();
        break;
    case DocumentKind::Image:
        crBack = m_clsImage.GetBackColor();
        break;
    case DocumentKind::Media:
        crBack = m_clsMedia.GetBackColor();
        break;
    default:
        m_clsFont.Reset(ZoomedFont(m_clsText));
        crBack = m_clsText.EffectiveBackColor();
        break;
    }
    m_clsBackBrush.Reset(CreateSolidBrush(crBack));
    if (m_clsFont) {
        m_clsBuffer.Select(m_clsFont.Get());
    }
}

void CLSWndView::ShowMediaForMode()
{
    // Hidden, not closed, under another view form: it comes back as it was.
    ShowMedia(GetDisplayMode() == DocumentKind::Media);
}

void CLSWndView::ResetCaret()
{
    m_posCaret = m_posAnchor = ViewPos{0, 0};
    m_posGoalFrom = kNoCaretGoal;
    m_bEndAwaited = false;
    m_bLineEndAwaited = false;
    NotifyCaret();
}

void CLSWndView::PaintInto(const RECT& rc)
{
    HDC hdc = m_clsBuffer.GetDC();
    if (hdc == nullptr) {
        return;
    }
    FillRect(hdc, &rc, m_clsBackBrush.Get());
    if (!Doc().IsOpen() || Doc().HasStalled()) {
        PaintOpenFailure(hdc);
        return;
    }
    switch (GetDisplayMode()) {
    case DocumentKind::Text:
        PaintText(hdc, rc);
        break;
    case DocumentKind::Hex:
        PaintHex(hdc, rc);
        break;
    case DocumentKind::Image:
        PaintPicture(hdc, rc);
        break;
    case DocumentKind::Media:
        PaintMedia();
        break;
    default:
        break;
    }
}

void CLSWndView::OnPaint()
{
    {
        CLSPaintDC paint(m_hWnd);
        if (paint.Get() == nullptr) {
            return;
        }
        const RECT& rc = paint.Paint().rcPaint;
        PaintInto(rc);
        if (m_clsBuffer.GetDC() != nullptr) {
            BitBlt(paint.Get(), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, m_clsBuffer.GetDC(), rc.left,
                   rc.top, SRCCOPY);
        }
    }
    NoticeStall();  // the rows just drawn may have stopped short of it
    // Once the first screen is up, the lines of a big file are counted.
    Doc().RunLineIndex();
}

void CLSWndView::OnDestroy()
{
    // A pane that goes while full-screen must not leave its parent disabled.
    if (m_bFullScreen) {
        m_bFullScreen = false;
        EnableWindow(m_hWndParent, TRUE);
    }
    if (m_bDragging) {
        m_bDragging = false;
        ReleaseCapture();
    }
    CancelFind();
    m_clsWatch.Stop();
    m_pCopyJob.reset();  // rendered by now (WM_RENDERALLFORMATS) or no longer wanted
    m_clsShown.Clear();
    ReplaceDocument();
    m_clsBuffer.Release();
}

bool CLSWndView::OnCommand(int id)
{
    switch (id) {
    case kCommandCopy:
        SendMessageA(m_hWnd, WM_COPY, 0, 0);
        return true;
    case kCommandSelectAll:
        SelectAll();
        return true;
    case IDM_REFRESH:
        Refresh();
        return true;
    default:
        return false;
    }
}

LRESULT CLSWndView::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_SIZE:
        OnSize(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_SETFOCUS:
        RefreshIfChanged();
        OnSetFocus();
        break;
    case WM_KILLFOCUS:
        DestroyCaret();
        break;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_CLOSE:
        if (m_bFullScreen) {
            ToggleFullScreen();  // closing the full-screen pane returns it to its parent
            return 0;
        }
        break;
    case WM_GETDLGCODE:
        return OnGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
        if (wParam == VK_F5) {
            Refresh();
        } else if (IsPictureOrMediaMode()) {
            OnPaneKey(static_cast<UINT>(wParam));
        } else {
            OnKeyDown(static_cast<UINT>(wParam));
        }
        return 0;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam))) {
            return 0;
        }
        break;
    case WM_HSCROLL:
        OnScroll(SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_VSCROLL:
        OnScroll(SB_VERT, LOWORD(wParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(wParam, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp();
        return 0;
    case WM_LBUTTONDBLCLK:
        if (OnLButtonDblClk()) {
            return 0;
        }
        break;
    case WM_PARENTNOTIFY:
        if (OnParentNotify(wParam, lParam)) {
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        m_bDragging = false;  // a drag that lost the mouse is over
        break;
    case WM_MOUSEWHEEL:
        if ((GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_VSCROLL) == 0) {
            break;
        }
        OnMouseWheel(wParam);
        return 0;
    case WM_COPY:
        OnCopy();
        return 0;
    case WM_RENDERFORMAT:
        RenderCopy(static_cast<UINT>(wParam));
        return 0;
    case WM_RENDERALLFORMATS:
        RenderAllCopies();
        return 0;
    case WM_DESTROYCLIPBOARD:
        m_pCopyJob.reset();  // another copy took the clipboard's place
        return 0;
    case WMU_FILE_CHANGED:
        OnFileChanged();
        return 0;
    case WMU_WIDEST_LINE:
        OnWidestLine(lParam);
        return 0;
    case WMU_LINES_READY:
        OnLinesReady();
        return 0;
    case WMU_LINE_READ:
        OnLineRead();
        return 0;
    case WMU_FIND_DONE:
        OnFindDone();
        return 0;
    case WM_TIMER:
        OnFindTimer();
        return 0;
    default:
        break;
    }
    return DefaultProc(hWnd, uMsg, wParam, lParam);
}

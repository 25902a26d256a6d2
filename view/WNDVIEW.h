// CLSWndView: the preview pane, a window of ours (CLSWndBase) that holds the
// open document (CLSFileStream) with shared ownership, so that work still
// running on the file can hold it too. It shows the file as text, as a hex dump or as
// a zoomed picture through an off-screen buffer, or hosts its media window;
// it scrolls, offers a caret, a selection and copying in text and hex, and
// full-screen display of pictures and media. It reports its caret to its
// parent with WMU_CARET_POS.
#pragma once

#include "window/GRAPHBUF.h"
#include "window/WNDBASE.h"
#include "base/OWNERS.h"
#include "document/FILESTRM.h"
#include "document/FINDJOB.h"
#include "settings/GLIMFONT.h"
#include "settings/GLIMVIEW.h"
#include "view/CARETPOS.h"
#include "view/COPYJOB.h"
#include "view/FILEWATCH.h"
#include "view/LINECACHE.h"
#include "view/LONGLINES.h"
#include "view/MEDIALAY.h"
#include "view/PANEOBJ.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

// Sent (WMU_CARET_POS: wParam line, lParam column) to the parent after every
// caret change; posted (WMU_WIDEST_LINE: lParam cells) by text painting to the
// view itself when a wider row was drawn, and (WMU_LINES_READY) for the line
// index thread when the index of a big file is complete.
constexpr UINT WMU_WIDEST_LINE = WM_APP + 0;
constexpr UINT WMU_CARET_POS = WM_APP + 1;
constexpr UINT WMU_LINES_READY = WM_APP + 2;
// Sent to the parent when the encoding found past a sample that decided
// nothing replaces the automatic one (wParam: the effective TextEncoding).
constexpr UINT WMU_ENCODING_FOUND = WM_APP + 3;
// Sent to the parent when the view has read the shown file again (opened it
// again, or read what was appended): its size, or that it is gone, may have
// changed.
constexpr UINT WMU_FILE_REREAD = WM_APP + 4;
// Posted by the watch of a followed file to the view when the file changed on
// disk; sent by the view to its parent when following starts, pauses or ends
// (wParam: the FollowState).
constexpr UINT WMU_FILE_CHANGED = WM_APP + 5;
constexpr UINT WMU_FOLLOW_STATE = WM_APP + 6;
// Posted by the thread that reads a long line through when it has ended.
constexpr UINT WMU_LINE_READ = WM_APP + 7;
// Posted for a search's thread to the view when it has ended; sent by the view
// to its parent with the progress text of a running search (lParam: the
// text, empty once the search is over).
constexpr UINT WMU_FIND_DONE = WM_APP + 30;
constexpr UINT WMU_FIND_PROGRESS = WM_APP + 31;

// The user's choice of view form; Auto follows the document's kind.
enum class ViewMode : std::uint32_t { Auto = 0, Text = 1, Hex = 2 };

// Following a file that another program appends to: off, on with the file's
// end in sight (what is appended is shown as it comes), or on but paused while
// the view is scrolled away from the end.
enum class FollowState : std::uint32_t { Off = 0, Following = 1, Paused = 2 };

class CLSWndView : public CLSWndBase {
public:
    static constexpr int kControlId = 1030;

    CLSWndView();
    ~CLSWndView() override;

    // Creates the pane as a child of hWndParent, which receives the caret
    // notifications. False when the window cannot be made.
    bool Create(HWND hWndParent, int id);
    void Destroy();
    void Move(int x, int y, int cx, int cy);
    // Takes copies of the four records, rebuilds font and brush, and lays the
    // pane out again.
    void ApplySettings(const CLSGlimTextSettings& text, const CLSGlimFont& binary,
                       const CLSGlimImageSettings& image, const CLSGlimMediaSettings& media);
    // The document shown; always there, with nothing open before the first
    // OpenFile.
    CLSFileStream& Doc() const { return *m_doc; }
    // The picture or media window shown for the document, if it is one.
    const CLSShownObject& Shown() const { return m_clsShown; }

    // Shows the file; in place of one that cannot be opened, the pane shows
    // one line that says why.
    void OpenFile(const std::wstring& path);
    // Closes the file (its volume is being ejected, say) and shows why in
    // its place.
    void CloseFile(const std::string& why);
    // Opens the file shown again, as far as it now reaches, keeping caret,
    // selection and scroll positions where they still exist. F5 in the pane;
    // also done when the pane gains the focus, selects all or copies and the
    // file has changed on disk since it was opened.
    void Refresh();
    // Refresh when the file shown has changed on disk or is gone.
    void RefreshIfChanged();
    // Follows the file shown, and each file opened after it, while on: lines
    // appended by another program are read as they come (a watch on a thread
    // of its own notices them) and, while the view shows the file's end, the
    // end stays in sight; a file cut or replaced is opened again and shown
    // from its new end.
    void SetFollow(bool on);
    FollowState GetFollowState();
    // The line shown in place of a file that could not be opened; empty
    // while a file is open.
    const std::string& GetOpenFailure() const { return m_strOpenFailure; }
    // Auto, or the encoding (ShiftJis .. Utf7) to decode the lines with.
    void SetEncoding(TextEncoding encoding);
    void SetViewMode(ViewMode mode);
    // Percent, 0 fitting to the pane. Each is kept for its own mode and
    // applied at once when the pane is in that mode; the scroll positions
    // return to 0.
    void SetImageZoom(std::uint32_t zoom);
    void SetMediaZoom(std::uint32_t zoom);
    // The picture's size in pixels and the percent it is drawn at (when
    // fitting, what the fit comes to in the pane); false outside picture mode.
    bool GetPictureStatus(int& width, int& height, int& percent);
    std::uint32_t GetImageZoom() const { return static_cast<std::uint32_t>(m_clsImage.GetZoom()); }
    std::uint32_t GetMediaZoom() const { return static_cast<std::uint32_t>(m_clsMedia.GetZoom()); }

    // Ctrl with the wheel, plus or minus: the font of text and hex a step
    // larger or smaller for as long as Glim runs; Reset goes back to the
    // stored size.
    void ZoomText(int by);
    void ResetTextZoom();
    // The percent a picture is drawn at now: its zoom, or the fitted one.
    std::uint32_t ShownPictureZoom();

    // The pane leaves its parent for a borderless topmost window over the
    // whole screen, the parent disabled meanwhile; back again the parent is
    // re-enabled and asked to lay out its panes. Returns the new state. Keys
    // and double clicks ask for it in picture and media modes only.
    bool ToggleFullScreen();
    bool IsFullScreen() const { return m_bFullScreen; }

    // The picture, stretched to its zoomed (or fitted) size at (x, y); width
    // and height are the pane's, used when fitting. Nothing without a picture.
    void DrawPicture(HDC hdc, int x, int y, int width, int height, std::uint32_t zoom);

    // The media window; each does nothing when there is none.
    void ShowMedia(bool visible);
    void PlayMedia();
    void SetMediaWindowZoom(std::uint32_t percent);
    void MoveMedia(int x, int y);
    // Its screen rectangle, empty without one.
    RECT GetMediaRect() const;
    // Sizes it to fill width x height in one direction at the video's aspect.
    void FitMedia(int width, int height);

    // The form the file is shown in: the view form when chosen, else the
    // document's kind (None when nothing could be opened).
    DocumentKind GetDisplayMode();
    // The chosen encoding, else the detected one (Auto until detection ran).
    TextEncoding GetEffectiveEncoding() const;
    bool HasSelection() const { return m_posCaret != m_posAnchor; }
    void SelectAll();

    // Searches from the selection on (forward) or back from it, the decoded
    // text in text mode, the bytes in hex mode (text typed as hex pairs is
    // taken for bytes), on a thread; the match is selected when found, and
    // the user is asked once whether to go on from the other end. False in
    // the other modes.
    bool StartFind(const std::u16string& text, bool matchCase, bool forward);
    void CancelFind();
    bool IsFinding() const { return m_find.active; }
    // The selection as a query: its text, or in hex mode its bytes as hex
    // pairs; empty without a selection or when it is too long.
    std::u16string SelectedQuery();

    LRESULT WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    // Metrics of the current mode's font, read from the off-screen context.
    struct Metrics {
        int fontHeight;
        int cellWidth;
        int rowHeight;
    };
    bool IsTextMode() { return GetDisplayMode() == DocumentKind::Text; }
    bool IsHexMode() { return GetDisplayMode() == DocumentKind::Hex; }
    bool HasCaretMode();
    const CLSGlimFont& ModeFont();
    Metrics GetMetrics();
    int HorizontalUnit();
    int VerticalUnit();
    int GetScrollPos32(int bar);
    int LineCount();
    int ReachableLineCount(long long furthest);
    int KnownLineCount();
    int LineLength(int line);
    // Text line k as shown, decoded once while it stays in the cache.
    const CLSDecodedLine& ShownLine(long long line);
    void FinishAwaitedEnd();
    void OnLineRead();
    void MoveToAwaitedEnd(bool ctrl, int count);

    // LONGVIEW.cpp: lines too long to decode whole, read in pieces.
    // The map of text line k when it is such a line (with *read, its
    // bytes), else null.
    CLSLineMap* LongLine(long long line, LineByteReader* read);
    void ScoutLongLine(std::uint32_t line, const CLSFileStream::LineBytes& bytes, const CLSLineMap& map);
    int TabCells() const;
    // The length of a line, or for a long line that goes on past column,
    // any length beyond column: what Right needs without reading it through.
    int LineLengthBeyond(int line, int column);
    // Whether line is a long line that its thread is still reading through:
    // End waits for that thread rather than reading the line here.
    bool AwaitsLineEnd(int line);
    struct LongRow {
        CLSLineMap& map;
        const LineByteReader& read;
        int charWidth;
        int tabWidth;
    };
    OrderedSelection Selection() const { return OrderSelection(m_posCaret, m_posAnchor); }

    // WNDVIEW.cpp: the window, modes, fonts and painting dispatch.
    void ReplaceDocument();
    void DropGrownFile();
    void RecreateFontAndBrush();
    HFONT ZoomedFont(const CLSGlimFont& font) const;
    void ZoomByWheel(int delta);
    void DeleteFontAndBrush();
    void StartTextIndex();
    void ShowMediaForMode();
    void ResetCaret();
    void RefreshCaretShape();
    void PaintInto(const RECT& rc);
    void OnPaint();
    void OnDestroy();
    bool OnCommand(int id);

    // TEXTVIEW.cpp: text rows.
    void PaintText(HDC hdc, const RECT& rc);
    int DrawLine(HDC hdc, int x0, int y, const WCHAR* text, int length, int tabWidth, int selStart, int selEnd,
                 int clipRight);
    int DrawLongLine(HDC hdc, long long x0, int y, const LongRow& row, int selStart, int selEnd, const RECT& rc);
    int MeasureColumns(HDC hdc, const WCHAR* text, int length, int n, int tabWidth);
    bool ColumnToPoint(int column, int line, long long& x, long long& y);
    bool PointToColumn(long long x, long long y, ViewPos& pos);

    // HEXVIEW.cpp: hex rows.
    void PaintHex(HDC hdc, const RECT& rc);
    bool HexColumnToPoint(int column, int row, long long& x, long long& y);
    bool HexPointToColumn(long long x, long long y, ViewPos& pos);

    // CARET.cpp: caret, keys, mouse.
    bool CaretToClient(ViewPos pos, long long& x, long long& y);
    bool ClientToCaret(long long x, long long y, ViewPos& pos);
    void PlaceCaret();
    void NotifyCaret();
    void FinishCaretChange(ViewPos oldCaret, ViewPos oldAnchor, bool extend);
    void RepaintChangedRows(ViewPos oldCaret, ViewPos oldAnchor);
    void RepaintRows(int first, int last);
    void KeepCaretVisible();
    void WidenToCaret(long long docX);
    void OnSetFocus();
    void OnKeyDown(UINT vk);
    bool MoveCaretVertically(long long dyPixels);
    void OnLButtonDown(WPARAM flags, int x, int y);
    void OnMouseMove(int x, int y);
    void OnLButtonUp();

    // FILESTAT.cpp: a file that cannot be opened, or has changed on disk.
    void DescribeOpenFailure();
    void NoticeStall();
    void PaintOpenFailure(HDC hdc);
    bool RowsCoverFile();
    int WithNoticeRow(int lines);
    void PaintEndNotice(HDC hdc, int x, int y);
    bool ExtendGrownFile();
    bool TakeGrownFile();

    // FOLLOW.cpp: following a file that grows.
    void WatchForFollow();
    void OnFileChanged();
    bool IsFollowable();
    bool IsAtEnd();
    void FollowWhenCounted();
    void FollowToEnd();
    void FollowOnLinesReady(bool tookGrown, bool wasAtEnd);
    void ReportFollowState();

    // CLIPBRD.cpp: copying and the context menu.
    void OnCopy();
    bool MakeCopyOrder(CopyOrder& order);
    void RenderCopy(UINT format);
    void RenderAllCopies();
    void OnContextMenu(int x, int y);

    // PICTVIEW.cpp: picture mode.
    void PaintPicture(HDC hdc, const RECT& rc);

    // MEDIAVIEW.cpp: media mode.
    void PaintMedia();
    RECT MediaSource() const;
    bool SizeSoundOnlyMedia(int paneWidth, bool fitting);
    void ResizeMediaWindow(MediaExtent size);

    // FULLSCRN.cpp: the keys of picture and media modes and full-screen.
    bool IsPictureOrMediaMode();
    LRESULT OnGetDlgCode(const MSG* msg);
    void OnPaneKey(UINT vk);
    bool OnParentNotify(WPARAM wParam, LPARAM lParam);
    bool OnLButtonDblClk();
    void EnterFullScreen();
    void LeaveFullScreen();

    // SCROLL.cpp: scroll bars, scrolling and the wheel.
    void SetUpScrollBars();
    void SetScrollMaxima(int horizontal, int vertical);
    void OnSize(int cx, int cy);
    void OnClientSize();
    void ScrollBy(int bar, long long delta);
    void OnScroll(int bar, int code);
    void OnMouseWheel(WPARAM wParam);
    void OnWidestLine(LPARAM cells);
    void WidenHorizontalRange(long long cells);
    void OnLinesReady();
    void ShowFoundEncoding();

    // FINDVIEW.cpp: searching.
    TextEncoding FindEncoding();
    void LaunchFind();
    FindPos FindPosOf(ViewPos pos) const;
    ViewPos ViewPosOf(FindPos pos) const;
    FindPos FarEnd() const;
    FindPos FindEnd();
    void OnFindDone();
    bool AskToWrap();
    void EndFind();
    void ShowFindProgress(const char* text);
    void OnFindTimer();
    void SelectFound(const FindResult& result);

    HWND m_hWndParent = nullptr;
    std::shared_ptr<CLSFileStream> m_doc = std::make_shared<CLSFileStream>();
    // The file shown, grown on disk, while its new lines are counted on from
    // the old end; shown in place of the document once they are.
    std::shared_ptr<CLSFileStream> m_grown;
    // Following: whether it is on, the watch of the file and the path it
    // watches, a change that came while a grown file was still counted, a
    // file opened anew whose end is to be shown once its lines are counted,
    // and the state the parent last heard of.
    bool m_bFollow = false;
    CLSFileWatch m_clsWatch;
    std::wstring m_wsWatched;
    bool m_bFollowAgain = false;
    bool m_bFollowToEnd = false;
    FollowState m_followReported = FollowState::Off;
    CLSShownObject m_clsShown;
    CLSGraphicsBuffer m_clsBuffer;
    CLSFontOwner m_clsFont;
    CLSBrushOwner m_clsBackBrush;
    CLSGlimTextSettings m_clsText;
    CLSGlimFont m_clsBinary;
    CLSGlimImageSettings m_clsImage;
    CLSGlimMediaSettings m_clsMedia;
    static constexpr ViewPos kNoCaretGoal{-1, -1};
    ViewPos m_posCaret{0, 0};
    ViewPos m_posAnchor{0, 0};
    // Where the last Up, Down or page key left the caret, and the document
    // pixel column that run of keys keeps to.
    ViewPos m_posGoalFrom = kNoCaretGoal;
    long long m_llGoalX = 0;
    CLSLineCache<CLSDecodedLine> m_clsShownLines;
    CLSLongLines m_clsLongLines;
    TextEncoding m_encOverride = TextEncoding::Auto;
    ViewMode m_modeOverride = ViewMode::Auto;
    int m_iWidestLine = 2;
    int m_iTextZoom = 0;       // steps from the stored font size
    int m_iWheelZoomRest = 0;  // wheel delta short of a whole zoom step
    bool m_bFullScreen = false;
    bool m_bDragging = false;
    // Ctrl+End came while the lines were still counted: the caret went as far
    // as was known and goes on to the end once they are (extending the
    // selection when Shift was down); any other key or click forgets it.
    bool m_bEndAwaited = false;
    bool m_bEndExtends = false;
    // End (with Ctrl: m_bLineEndCtrl) came for a long line still read through
    // on its thread: the caret goes once that is done, unless another key or
    // a click came first.
    bool m_bLineEndAwaited = false;
    bool m_bLineEndCtrl = false;

    // The search running or waiting for the line index, and where it began.
    struct FindState {
        FindQuery query;
        FindRange range;
        FindPos origin{0, 0};
        bool wrapped = false;
        bool active = false;
        bool waiting = false;
    };
    FindState m_find;
    CLSFindJob m_clsFindJob;
    // The copy the clipboard was promised, until it is taken or replaced.
    std::unique_ptr<CLSCopyJob> m_pCopyJob;
    std::string m_strOpenFailure;
};

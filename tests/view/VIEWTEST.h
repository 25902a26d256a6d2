// A real preview pane inside a parent window of the test, the files it shows,
// and what a user reads back: the caret the pane reports to its parent, the
// clipboard, the scroll bars and the pixels on the screen.
#pragma once

#include "base/WIDEN.h"  // the pane opens files by their wide paths
#include "tests/common/TEMPDIR.h"
#include "view/WNDVIEW.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// One folder for the files of the whole run, removed when the tests end.
const TempFolder& TestFolder();

// "line 0", "line 1" ... each ended by eol.
std::string NumberedLines(int count, const char* eol = "\r\n");

// The clipboard's Unicode text, empty when it holds none.
std::wstring ClipboardText(HWND owner);
// The marker the harness leaves on the clipboard before copying.
extern const wchar_t kClipboardMarker[];

// Fixed colours and the Japanese fixed-pitch face at 11 points (16 pixels), so
// that rows and pixels are the same on every run; text and hex use the same.
constexpr COLORREF kBack = RGB(255, 255, 255);
constexpr COLORREF kSelBack = RGB(0, 0, 160);

using LineColumn = std::pair<int, int>;

// A system setting (the wheel's lines per notch, the double-click time)
// changed for a test, the user's own put back after.
class CLSSystemSetting {
public:
    CLSSystemSetting(UINT (*get)(), void (*set)(UINT), UINT value) : m_set(set), m_uSaved(get()) { set(value); }
    ~CLSSystemSetting() { m_set(m_uSaved); }
    CLSSystemSetting(const CLSSystemSetting&) = delete;
    CLSSystemSetting& operator=(const CLSSystemSetting&) = delete;

private:
    void (*m_set)(UINT);
    UINT m_uSaved;
};

// The client area as the screen shows it.
struct Shot {
    int cx = 0;
    int cy = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * cx + x]; }
};

class CLSViewHarness {
public:
    // A visible parent of the given client size with the pane filling it.
    explicit CLSViewHarness(int cx = 480, int cy = 320);
    ~CLSViewHarness();
    CLSViewHarness(const CLSViewHarness&) = delete;
    CLSViewHarness& operator=(const CLSViewHarness&) = delete;

    HWND Parent() const { return m_hWndParent; }
    HWND View() { return view.GetHandle(); }

    // The test text settings with these for pictures and media.
    void Apply(const CLSGlimImageSettings& image, const CLSGlimMediaSettings& media = {});
    // A new client size of the parent, the pane filling it.
    void Resize(int cx, int cy);
    // Opens the file and lets the pane settle (paints, posted messages, the
    // count of a text file's lines).
    void Open(const std::string& path);
    static void Pump();
    // Repaints the whole pane now.
    void Paint();

    // The caret the pane last reported, and how many reports came.
    LineColumn Caret() const { return {m_iCaretLine, m_iCaretColumn}; }
    int CaretColumn() const { return m_iCaretColumn; }
    int Reports() const { return m_iReports; }
    void ForgetReports() { m_iReports = 0; m_iCaretLine = m_iCaretColumn = -1; }
    // The encoding the pane last said it found past a sample, Auto before.
    TextEncoding FoundEncoding() const { return m_encFound; }
    // How often the pane said it read its file again.
    int Rereads() const { return m_iRereads; }
    // What the pane last said of following its file.
    FollowState Follow() const { return m_follow; }

    // A key press as WM_KEYDOWN, with Shift and Ctrl held as the user would.
    void Key(UINT vk, bool shift = false, bool ctrl = false);
    // A left click at a client point, optionally with Shift.
    void Click(int x, int y, bool shift = false);

    // Copies (WM_COPY, or the given message) after putting the marker on the
    // clipboard, and reads the clipboard back: the marker means nothing was copied.
    std::wstring CopyUnicode(UINT uMsg = WM_COPY, WPARAM wParam = 0);
    std::string CopyAnsi();

    SCROLLINFO ScrollBar(int bar);
    Shot Capture(bool repaint = true);

    // The font's height and the row height, as the pane computes them.
    int FontHeight();
    int LineHeight();

    CLSWndView view;

private:
    static LRESULT CALLBACK ParentProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWndParent = nullptr;
    int m_iCaretLine = -1;
    int m_iCaretColumn = -1;
    int m_iReports = 0;
    TextEncoding m_encFound = TextEncoding::Auto;
    int m_iRereads = 0;
    FollowState m_follow = FollowState::Off;
};

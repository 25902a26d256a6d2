// The toolbar, the status bar and the About box in the main window: what the
// status bar reads after files are opened and choices made, the drop-down
// button's command, and the About box kept inside the work area.
#include "DLGDRIVE.h"
#include "MAINTEST.h"
#include "tests/common/PUMP.h"

#include <commctrl.h>
#include <shlobj.h>

namespace {

class Bars : public StartedMainWindow {
protected:
    bool Pressed(int id) const
    {
        const LRESULT state = SendDlgItemMessageA(Main(), CLSToolBar::kControlId, TB_GETSTATE, id, 0);
        return (state & TBSTATE_PRESSED) != 0;
    }
};

}  // namespace

// The texts themselves are the status texts' arithmetic; here, that each
// part follows what is opened, chosen and found.
TEST_F(Bars, StatusBarShowsSizeCaretAndEncodingOfWhatIsOpened)
{
    EXPECT_EQ(StatusPart(0), "ヘルプを見るには F1 キーを押してください。");
    const struct {
        std::string path;
        const char* size;
        const char* encoding;
    } opened[] = {
        {m_folder.Write("zeros.bin", std::string(100, '\0')), "\t\t100バイト", "BIN"},
        {m_folder.Write("text.txt", "\x93\xfa\x96\x7b\x8c\xea\r\nline"), "\t\t12バイト", "SJIS"},
    };
    for (const auto& o : opened) {
        SCOPED_TRACE(o.path);
        SendMessageA(Main(), WMU_CARET_POS, 4, 7);
        Navigate(o.path);
        EXPECT_EQ(StatusPart(4), o.size);
        EXPECT_EQ(StatusPart(3), o.encoding);
        EXPECT_EQ(StatusPart(2), "\t    1:1    ") << "the view reports its caret at the start";
    }
    Navigate(m_folder.PathOf("text.txt"));
    Command(IDM_ENC_EUC);
    EXPECT_EQ(StatusPart(3), "EUC");
    EXPECT_TRUE(Pressed(IDM_ENC_EUC));
    EXPECT_FALSE(Pressed(IDM_ENC_AUTO));
    Command(IDM_ENC_AUTO);
    EXPECT_EQ(StatusPart(3), "SJIS") << "the detected encoding again";
    EXPECT_TRUE(Pressed(IDM_ENC_AUTO));

    // A big file whose head is plain ASCII: the index thread finds the UTF-8
    // further on, and the label follows.
    Navigate(m_folder.Write("late.txt", std::string(4 << 20, 'a') + "\r\n\xe6\x97\xa5\xe6\x9c\xac"));
    EXPECT_TRUE(PumpUntil([this] { return StatusPart(3) == "UTF8"; })) << StatusPart(3);

    Command(IDM_VIEW_HEX);
    EXPECT_TRUE(Pressed(IDM_VIEW_HEX));
    EXPECT_FALSE(Pressed(IDM_VIEW_AUTO));

    // Ten digits and more: the size part widens rather than show only the
    // last groups.
    const std::string huge = m_folder.PathOf("huge.bin");
    WriteSparseFile(huge, 5368709120ULL);
    Navigate(huge);
    EXPECT_EQ(StatusPart(4), "\t\t5,368,709,120バイト");
    // So do the caret's for a nine-digit line and the encoding's for its longest label.
    Command(IDM_ENC_UTF16BE);
    SendMessageA(Main(), WMU_CARET_POS, 335544320, 0);
    HWND bar = GetDlgItem(Main(), CLSStatusBar::kControlId);
    CLSWindowDC dc(bar);
    CLSSelectObject font(dc.Get(), reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0)));
    for (const int i : {2, 3, 4}) {
        RECT part{};
        SendMessageA(bar, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&part));
        const std::string text = StatusPart(i).substr(StatusPart(i).find_first_not_of('\t'));
        SIZE extent{};
        GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
        EXPECT_GT(part.right - part.left, extent.cx) << text;
    }

    // A folder chosen in the list (with folders shown there) has no size.
    LPITEMIDLIST folder = ILCreateFromPathA(m_folder.Path().c_str());
    ASSERT_NE(folder, nullptr);
    SendMessageA(Main(), WMU_FILE_SELECTED, 0, reinterpret_cast<LPARAM>(folder));
    ILFree(folder);
    EXPECT_EQ(StatusPart(4), "");
}

TEST_F(Bars, DropDownRunsTheChosenMenuCommandAndTooltipsComeFromTheStrings)
{
    // The pop-up's own keyboard: up from nothing is the last item, "詳細(&D)".
    PostMessageA(Main(), WM_KEYDOWN, VK_UP, 0);
    PostMessageA(Main(), WM_KEYDOWN, VK_RETURN, 0);
    MessageSpy commands(Main(), WM_COMMAND);
    // A tooltip up when the button is pressed must not lie over the menu.
    HWND tip = reinterpret_cast<HWND>(SendDlgItemMessageA(Main(), CLSToolBar::kControlId, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tip, nullptr);
    ShowWindow(tip, SW_SHOWNA);
    NMTOOLBARA nmtb{};
    nmtb.hdr = {GetDlgItem(Main(), CLSToolBar::kControlId), CLSToolBar::kControlId, TBN_DROPDOWN};
    nmtb.iItem = IDM_ICONVIEW;
    EXPECT_EQ(SendMessageA(Main(), WM_NOTIFY, CLSToolBar::kControlId, reinterpret_cast<LPARAM>(&nmtb)), 0);
    ASSERT_EQ(commands.m_seen.size(), 1u);
    EXPECT_EQ(LOWORD(commands.m_seen[0]), IDM_STYLE_DETAILS);
    EXPECT_EQ(GetMenuState(GetMenu(Main()), IDM_STYLE_DETAILS, MF_BYCOMMAND) & MF_CHECKED, UINT{MF_CHECKED})
        << "the main menu's checkmark follows";
    EXPECT_FALSE(Pressed(IDM_ICONVIEW)) << "the button comes back up";
    EXPECT_FALSE(IsWindowVisible(tip));

    for (const auto& [id, text] : {std::pair<UINT, const char*>{IDM_ENC_SJIS, "Shift-JISとしてファイルを見る"},
                                   {IDM_ARRANGE, "アイコンの整列"}, {IDM_EXIT, ""}}) {
        NMTTDISPINFOA info{};
        info.hdr = {nullptr, id, TTN_NEEDTEXTA};
        SendMessageA(Main(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        char loaded[128] = "";
        if (info.hinst != nullptr) {
            LoadStringA(info.hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(info.lpszText)), loaded,
                        sizeof(loaded));
        }
        EXPECT_EQ(std::string(loaded), text) << id;
    }
    NMTTDISPINFOW wide{};  // the wide record keeps its instance further on
    wide.hdr = {nullptr, IDM_COPY, TTN_NEEDTEXTW};
    SendMessageA(Main(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide));
    EXPECT_EQ(wide.hinst, GetModuleHandleA(nullptr));
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(wide.lpszText), UINT_PTR{IDM_COPY});
}

TEST_F(Bars, AboutBoxStaysInsideTheWorkAreaWithTheHandOverItsLink)
{
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(Main(), nullptr, work.right - 300, work.top + 40, 800, 500, SWP_NOZORDER);  // half off-screen
    RECT box{};
    bool hand = false;
    bool handElsewhere = true;
    ModalDriver driver({[&] {
        HWND dlg = ModalDriver::FindThreadDialog("バージョン情報");
        ASSERT_NE(dlg, nullptr);
        GetWindowRect(dlg, &box);
        auto hInstance = GetModuleHandleA(nullptr);
        const LPARAM move = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
        hand = SendMessageA(dlg, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(dlg, 1027)), move) != 0 &&
               GetCursor() == LoadCursorA(hInstance, MAKEINTRESOURCEA(IDC_LINKHAND));
        handElsewhere = SendMessageA(dlg, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(dlg, 1024)), move) != 0;
        PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    }});
    Command(IDM_ABOUT);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(box.right, work.right) << "flush with the right edge";
    EXPECT_GE(box.top, work.top);
    EXPECT_TRUE(hand);
    EXPECT_FALSE(handElsewhere);
}


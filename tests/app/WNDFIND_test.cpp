// Finding through the main window: the box and F3 select the next match
// with the caret after it, the end of the file asks once whether to go on
// from the start, and a text that is nowhere says so.
#include "DLGDRIVE.h"
#include "MAINTEST.h"
#include "tests/common/PUMP.h"

namespace {

class Find : public StartedMainWindow {
protected:
    void SetUp() override
    {
        StartedMainWindow::SetUp();
        Navigate(m_folder.Write("neko.txt", "吾輩は猫である。\r\n名前はまだ無い。猫\r\n"));
        SetFocus(m_app->GetView().GetHandle());
    }
    // Until the search (and what it asks) is over; no quit message, which
    // would end a message box early.
    void Settle() const { PumpUntil([this] { return !m_app->GetView().IsFinding(); }); }
    void Caret(int line, int column) const
    {
        EXPECT_EQ(m_app->GetCaretLine(), line);
        EXPECT_EQ(m_app->GetCaretColumn(), column);
        EXPECT_TRUE(m_app->GetView().HasSelection());
    }
};

}  // namespace

TEST_F(Find, MatchesAreSelectedInTurnAndTheEndAsksOnceToGoOnFromTheStart)
{
    Command(IDM_FIND);
    HWND box = FindWindowA("#32770", "検索");
    ASSERT_NE(box, nullptr);
    SetDlgItemTextA(box, IDC_FIND_TEXT, "猫");
    SendMessageA(box, WM_COMMAND, IDOK, 0);
    Settle();
    Caret(0, 4);
    Command(IDM_FIND_NEXT);
    Settle();
    Caret(1, 9);

    const std::string atEnd = "ファイルの末尾まで検索しました。先頭から続けて検索しますか?";
    const std::string atStart = "ファイルの先頭まで検索しました。末尾から続けて検索しますか?";
    ModalDriver answers({}, {IDYES, IDYES, IDYES, IDOK});
    Command(IDM_FIND_NEXT);
    Settle();
    EXPECT_EQ(answers.m_messages, std::vector<std::string>{atEnd});
    Caret(0, 4);
    Command(IDM_FIND_PREV);
    Settle();
    EXPECT_EQ(answers.m_messages, (std::vector<std::string>{atEnd, atStart}));
    Caret(1, 9);

    SetDlgItemTextA(box, IDC_FIND_TEXT, "犬");
    SendMessageA(box, WM_COMMAND, IDOK, 0);
    Settle();
    EXPECT_EQ(answers.m_messages, (std::vector<std::string>{atEnd, atStart, atEnd, "見つかりません。"}));
    EXPECT_EQ(m_app->GetView().IsFinding(), false);

    // A character outside Shift-JIS typed through the program's loop is looked for as typed.
    Navigate(m_folder.Write("utf8.txt", "na\xC3\xAFve caf\xC3\xA9\r\n"));
    HWND edit = FindWindowExW(GetDlgItem(box, IDC_FIND_TEXT), nullptr, L"Edit", nullptr);
    SetWindowTextW(edit, L"");
    PostMessageW(edit, WM_CHAR, L'\u00E9', 1);
    RunLoop();
    SendMessageA(box, WM_COMMAND, IDOK, 0);
    Settle();
    Caret(0, 10);
    SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(box));
}

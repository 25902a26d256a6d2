// The settings sheet over the main window, driven from inside its own loop:
// validation that keeps the sheet open on the page, Apply enabled by a change,
// one WMU_APPLY_SETTINGS per applied page, Cancel storing nothing, the start
// page kept for the run, the plug-in folder chooser's prompt, and a font and a
// colour reaching the preview and the settings (the settings file's tests write them).
#include "DLGDRIVE.h"
#include "MAINTEST.h"

#include "base/OWNERS.h"

#include <commctrl.h>
#include <prsht.h>

namespace {

constexpr int kApplyButton = 0x3021;

class SettingsSheet : public StartedMainWindow {
protected:
    static HWND Sheet() { return ModalDriver::FindThreadDialog("設定"); }
    static HWND Page(int index) { return reinterpret_cast<HWND>(SendMessageA(Sheet(), PSM_INDEXTOHWND, index, 0)); }
    static void Show(int index) { SendMessageA(Sheet(), PSM_SETCURSEL, static_cast<WPARAM>(index), 0); }
    static void Field(int index, int id, const char* text) { SetDlgItemTextA(Page(index), id, text); }
    static void Click(int index, int id) { SendDlgItemMessageA(Page(index), id, BM_CLICK, 0, 0); }
    static void Press(int button) { SendMessageA(Sheet(), PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0); }
    static int Current()
    {
        const LRESULT page = SendMessageA(Sheet(), PSM_GETCURRENTPAGEHWND, 0, 0);
        return static_cast<int>(SendMessageA(Sheet(), PSM_HWNDTOINDEX, static_cast<WPARAM>(page), 0));
    }
    // Opens the sheet as the menu does; the steps run inside it.
    std::vector<std::string> Run(std::vector<ModalDriver::Step> steps)
    {
        ModalDriver driver(std::move(steps));
        SendMessageA(Main(), WM_COMMAND, IDM_SETTINGS, 0);
        EXPECT_TRUE(driver.Finished());
        return driver.m_messages;
    }
};

std::string Range(const char* name, int lo, int hi)
{
    return std::string(name) + "は " + std::to_string(lo) + " ～ " + std::to_string(hi) + " の範囲で指定してください。";
}

}  // namespace

TEST_F(SettingsSheet, OutOfRangeValuesKeepTheSheetOnTheirPageAndStoreNothingOfIt)
{
    int pageAfterMemory = -1;
    int pageAfterTab = -1;
    std::string shownKilobytes;
    // What a field's text reads as is the numeric field's rule; here, that a
    // value out of range keeps the sheet open on its page and a page applied
    // before it keeps its values.
    const auto messages = Run({
        [&] {
            Show(0);  // the sheet opens on the page shown last in the run
            char text[16] = "";
            GetDlgItemTextA(Page(0), 1029, text, sizeof(text));
            shownKilobytes = text;
            Field(0, 1029, "1000001");
            Press(PSBTN_OK);
        },
        [&] {
            pageAfterMemory = Current();
            Field(0, 1029, "8");
            Show(1);
            Field(1, 1030, "33");
            Field(1, 1032, "30");
            Show(2);
            Press(PSBTN_OK);  // the general page applies, the text page stops the sheet
        },
        [&] {
            pageAfterTab = Current();
            Field(1, 1030, "8");
            Press(PSBTN_OK);
        },
        [&] { Press(PSBTN_CANCEL); },
    });
    const std::vector<std::string> expected = {Range("メモリに読み込む最大ファイルサイズ", 1, 1000000),
                                               Range("タブ幅", 1, 32), Range("行の高さ", 50, 400)};
    EXPECT_EQ(messages, expected);
    EXPECT_EQ(shownKilobytes, "4096");
    EXPECT_EQ(pageAfterMemory, 0);
    EXPECT_EQ(pageAfterTab, 1);
    EXPECT_EQ(m_app->GetSettings().GetMaxMemFileSize(), 8192);
    EXPECT_EQ(m_app->GetSettings().GetText().GetTabStop(), 4);
    EXPECT_EQ(m_app->GetSettings().GetText().GetLineHeight(), 140);
}

TEST_F(SettingsSheet, OneApplyPerShownPageCancelStoresNothingAndTheStartPageIsKept)
{
    MessageSpy applied(Main(), WMU_APPLY_SETTINGS);
    bool applyBefore = true;
    bool applyAfter = false;
    Run({[&] {
        Show(0);
        applyBefore = IsWindowEnabled(GetDlgItem(Sheet(), kApplyButton)) != FALSE;
        Click(0, 1028);  // "フォルダを監視する(&M)" alone
        applyAfter = IsWindowEnabled(GetDlgItem(Sheet(), kApplyButton)) != FALSE;
        for (int i = 1; i < 5; ++i) {
            Show(i);
        }
        Press(PSBTN_OK);
    }});
    EXPECT_FALSE(applyBefore);
    EXPECT_TRUE(applyAfter);
    EXPECT_EQ(applied.m_seen.size(), 5u);
    EXPECT_FALSE(m_app->GetSettings().GetFlag(CLSGlimSettings::kMonitorFolder));

    int startedOn = -1;
    char prompt[256] = "";
    Run({[&] {
             startedOn = Current();
             Show(3);
             Click(3, 1030);  // use the plug-ins, which enables their folder's chooser
             Click(3, 1032);
         },
         [&] {
             GetDlgItemTextA(ModalDriver::ActiveDialog(), 14146, prompt, sizeof(prompt));  // the chooser's title
             PostMessageA(ModalDriver::ActiveDialog(), WM_COMMAND, IDCANCEL, 0);
         },
         [&] { Press(PSBTN_CANCEL); }});
    EXPECT_EQ(startedOn, 4);
    EXPECT_STREQ(prompt, "Susie プラグインのあるフォルダを選択してください。");
    EXPECT_FALSE(m_app->GetSettings().GetImage().GetUseSPI());
    EXPECT_EQ(applied.m_seen.size(), 5u);
    Run({[&] {
        startedOn = Current();
        EXPECT_EQ(IsDlgButtonChecked(Page(3), 1030), BST_UNCHECKED) << "refilled from the settings";
        Press(PSBTN_CANCEL);
    }});
    EXPECT_EQ(startedOn, 3);
}

TEST_F(SettingsSheet, ChosenFontAndColourReachThePreviewAtOnceAndTheSettings)
{
    Navigate(m_folder.Write("shown.txt", "a"));
    std::string face;
    Run({
        [&] {
            Show(1);
            Click(1, 1025);  // stop using the Windows colours
            Click(1, 1027);  // the background colour's chooser
        },
        [&] {
            HWND chooser = ModalDriver::ActiveDialog();
            SetDlgItemTextA(chooser, 706, "12");
            SetDlgItemTextA(chooser, 707, "34");
            SetDlgItemTextA(chooser, 708, "56");
            PostMessageA(chooser, WM_COMMAND, IDOK, 0);
        },
        [&] { Click(1, 1024); },
        [&] {
            HWND chooser = ModalDriver::ActiveDialog();
            HWND faces = GetDlgItem(chooser, 0x470);
            // Any face but the one in use: the first of the list, else the second.
            char text[LF_FACESIZE] = "";
            LRESULT index = 0;
            SendMessageA(faces, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
            if (std::string(m_app->GetSettings().GetText().GetFaceName().GetString()) == text) {
                index = 1;
                SendMessageA(faces, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
            }
            face = text;
            ASSERT_FALSE(face.empty());
            SendMessageA(faces, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELCHANGE), reinterpret_cast<LPARAM>(faces));
            PostMessageA(chooser, WM_COMMAND, IDOK, 0);
        },
        [&] { Press(PSBTN_OK); },
    });
    HWND view = GetDlgItem(Main(), CLSWndView::kControlId);
    RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT rc{};
    GetClientRect(view, &rc);
    EXPECT_EQ(GetPixel(CLSWindowDC(view).Get(), rc.right / 2, rc.bottom / 2), RGB(12, 34, 56));
    EXPECT_EQ(std::string(m_app->GetSettings().GetText().GetFaceName().GetString()), face);
}

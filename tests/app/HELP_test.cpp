// F1 in the main window and on each settings page: which help file and
// context reach HtmlHelpW. The help
// viewer cannot show pages here, so HtmlHelpW's entry is patched to jump to a
// recorder for the length of a test.
#include "DLGDRIVE.h"
#include "MAINTEST.h"
#include "base/RESSTR.h"
#include "tests/common/PUMP.h"

#include <prsht.h>

#include <htmlhelp.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

namespace {

struct HelpCall {
    HWND caller;
    std::wstring file;
    UINT command;
    DWORD_PTR data;
};

std::vector<HelpCall> g_helpCalls;

HWND WINAPI RecordHtmlHelp(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data)
{
    g_helpCalls.push_back({caller, file != nullptr ? file : L"", command, data});
    return caller;  // as a shown help window would be: nothing to complain about
}

// Overwrites the first bytes of HtmlHelpW in the help control with an absolute
// jump to RecordHtmlHelp, and puts them back when it goes.
class HtmlHelpHook {
public:
    HtmlHelpHook()
    {
        m_library = LoadLibraryA("hhctrl.ocx");
        if (m_library != nullptr) {
            m_entry = static_cast<BYTE*>(reinterpret_cast<void*>(GetProcAddress(m_library, "HtmlHelpW")));
        }
        if (m_entry == nullptr) {
            return;
        }
        const auto target = reinterpret_cast<std::uintptr_t>(&RecordHtmlHelp);
#ifdef _WIN64
        BYTE jump[kJumpSize] = {0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xE0};  // mov rax, target; jmp rax
        std::memcpy(jump + 2, &target, sizeof(target));
#else
        BYTE jump[kJumpSize] = {0xB8, 0, 0, 0, 0, 0xFF, 0xE0};  // mov eax, target; jmp eax
        std::memcpy(jump + 1, &target, sizeof(target));
#endif
        std::memcpy(m_saved, m_entry, kJumpSize);
        m_hooked = Patch(jump);
        g_helpCalls.clear();
    }
    ~HtmlHelpHook()
    {
        if (m_hooked) {
            Patch(m_saved);
        }
        if (m_library != nullptr) {
            FreeLibrary(m_library);
        }
    }
    HtmlHelpHook(const HtmlHelpHook&) = delete;
    HtmlHelpHook& operator=(const HtmlHelpHook&) = delete;

    bool Hooked() const { return m_hooked; }

private:
    static constexpr std::size_t kJumpSize = sizeof(void*) == 8 ? 12 : 7;

    bool Patch(const BYTE* code)
    {
        DWORD previous = 0;
        if (!VirtualProtect(m_entry, kJumpSize, PAGE_EXECUTE_READWRITE, &previous)) {
            return false;
        }
        std::memcpy(m_entry, code, kJumpSize);
        VirtualProtect(m_entry, kJumpSize, previous, &previous);
        FlushInstructionCache(GetCurrentProcess(), m_entry, kJumpSize);
        return true;
    }

    HMODULE m_library = nullptr;
    BYTE* m_entry = nullptr;
    BYTE m_saved[kJumpSize] = {};
    bool m_hooked = false;
};

std::vector<HelpCall> ContextRequests()
{
    std::vector<HelpCall> requests;
    std::copy_if(g_helpCalls.begin(), g_helpCalls.end(), std::back_inserter(requests),
                 [](const HelpCall& call) { return call.command == HH_HELP_CONTEXT; });
    return requests;
}

// Presses F1 as the keyboard does and pumps until a help request arrives or
// two seconds pass: the key goes through the input queue, where the system
// turns it into WM_KEYF1, which a posted WM_KEYDOWN would skip.
void PressF1AndPump()
{
    INPUT keys[2]{};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_F1;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    PumpUntil([] { return !ContextRequests().empty(); }, 2000);
}

}  // namespace

// The F1 key goes to the focused child (the path box); its WM_HELP, which a
// child without help of its own hands to its parent, must reach ours. An
// open menu's item has a context of its own.
TEST_F(MainWindow, HelpAsksForTheContextOfTheMainWindowOrItsMenus)
{
    Start();
    HtmlHelpHook hook;
    ASSERT_TRUE(hook.Hooked());
    ASSERT_NE(GetFocus(), nullptr);
    ASSERT_NE(GetFocus(), Main());
    SetForegroundWindow(Main());
    PressF1AndPump();
    HELPINFO info{};
    info.cbSize = sizeof(info);
    info.iContextType = HELPINFO_MENUITEM;
    info.hItemHandle = Main();
    SendMessageA(Main(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));

    const std::vector<HelpCall> requests = ContextRequests();
    ASSERT_EQ(requests.size(), 2u);
    for (const HelpCall& call : requests) {
        EXPECT_EQ(call.caller, Main());
        EXPECT_EQ(call.file, WidenAnsi(BesideTestProgram("GLIM.CHM")));
    }
    EXPECT_EQ(requests[0].data, 2001u);
    EXPECT_EQ(requests[1].data, 2000u);

    // The find box, a window of its own, has a page of its own.
    g_helpCalls.clear();
    Command(IDM_FIND);
    PressF1AndPump();
    ASSERT_EQ(ContextRequests().size(), 1u);
    EXPECT_EQ(ContextRequests()[0].data, 2007u);
}

// The test program has no GLIM.CHM beside it, as a copy without its help.
TEST_F(MainWindow, HelpWithoutItsFileSaysWhereItBelongs)
{
    Start();
    ModalDriver boxes({});
    SendMessageA(Main(), WM_COMMAND, IDM_HELP_CONTENTS, 0);
    EXPECT_EQ(boxes.m_messages, std::vector<std::string>{LoadResourceString(IDS_HELP_MISSING)});
}

TEST_F(MainWindow, EachSettingsPageAsksForItsOwnContext)
{
    Start();
    HtmlHelpHook hook;
    ASSERT_TRUE(hook.Hooked());

    std::vector<ModalDriver::Step> steps;
    for (int page = 0; page < 5; ++page) {
        steps.push_back([page] {
            HWND sheet = ModalDriver::FindThreadDialog("設定");
            ASSERT_NE(sheet, nullptr);
            SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(page), 0);
            SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_HELP, 0);  // the sheet's ヘルプ button
            if (page == 0) {
                // F1 over a page reaches the same context as the button.
                HWND shown = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
                HELPINFO info{sizeof(info), HELPINFO_WINDOW, 0, shown, 0, {}};
                SendMessageA(shown, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
            }
        });
    }
    steps.push_back([] { PostMessageA(ModalDriver::FindThreadDialog("設定"), WM_COMMAND, IDCANCEL, 0); });
    ModalDriver driver(std::move(steps));
    SendMessageA(Main(), WM_COMMAND, IDM_SETTINGS, 0);
    EXPECT_TRUE(driver.Finished());

    std::vector<DWORD_PTR> contexts;
    for (const HelpCall& call : ContextRequests()) {
        EXPECT_EQ(call.file, WidenAnsi(BesideTestProgram("GLIM.CHM")));
        contexts.push_back(call.data);
    }
    EXPECT_EQ(contexts, (std::vector<DWORD_PTR>{2002, 2002, 2003, 2004, 2005, 2006}));
}

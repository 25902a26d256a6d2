// F1 in the main window: which help file and context reach HtmlHelpA. The help
// viewer cannot show pages here, so HtmlHelpA's entry is patched to jump to a
// recorder for the length of a test.
#include "MAINTEST.h"

#include <htmlhelp.h>

#include <cstdint>
#include <vector>

namespace {

struct HelpCall {
    HWND caller;
    std::string file;
    UINT command;
    DWORD_PTR data;
};

std::vector<HelpCall> g_helpCalls;

HWND WINAPI RecordHtmlHelp(HWND caller, LPCSTR file, UINT command, DWORD_PTR data)
{
    g_helpCalls.push_back({caller, file != nullptr ? file : "", command, data});
    return nullptr;
}

// Overwrites the first bytes of HtmlHelpA in the help control with an absolute
// jump to RecordHtmlHelp, and puts them back when it goes.
class HtmlHelpHook {
public:
    HtmlHelpHook()
    {
        m_library = LoadLibraryA("hhctrl.ocx");
        if (m_library == nullptr) {
            return;
        }
        m_entry = static_cast<BYTE*>(reinterpret_cast<void*>(GetProcAddress(m_library, "HtmlHelpA")));
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
#ifdef _WIN64
    static constexpr std::size_t kJumpSize = 12;
#else
    static constexpr std::size_t kJumpSize = 7;
#endif

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
    for (const HelpCall& call : g_helpCalls) {
        if (call.command == HH_HELP_CONTEXT) {
            requests.push_back(call);
        }
    }
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
    const DWORD start = GetTickCount();
    while (ContextRequests().empty() && GetTickCount() - start < 2000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

}  // namespace

TEST_F(MainWindow, HelpAsksForTheContextOfTheMainWindowOrItsMenus)
{
    Start();
    HtmlHelpHook hook;
    ASSERT_TRUE(hook.Hooked());

    struct Case {
        const char* what;
        int contextType;
        DWORD_PTR expected;
    };
    const Case cases[] = {
        {"F1 over the window", HELPINFO_WINDOW, 2001},
        {"F1 on an open menu's item", HELPINFO_MENUITEM, 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_helpCalls.clear();
        HELPINFO info{};
        info.cbSize = sizeof(info);
        info.iContextType = c.contextType;
        info.hItemHandle = Main();
        SendMessageA(Main(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));

        const std::vector<HelpCall> requests = ContextRequests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].caller, Main());
        EXPECT_EQ(requests[0].file, BesideTestProgram("GLIM.CHM"));
        EXPECT_EQ(requests[0].data, c.expected);
    }
}

TEST_F(MainWindow, TheF1KeyInAPaneReachesTheMainWindowsHelp)
{
    Start();
    HtmlHelpHook hook;
    ASSERT_TRUE(hook.Hooked());

    // The key goes to the focused child (the path box); its WM_HELP, which a
    // child without help of its own hands to its parent, must reach ours.
    ASSERT_NE(GetFocus(), nullptr);
    ASSERT_NE(GetFocus(), Main());
    SetForegroundWindow(Main());
    PressF1AndPump();

    const std::vector<HelpCall> requests = ContextRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].file, BesideTestProgram("GLIM.CHM"));
    EXPECT_EQ(requests[0].data, 2001u);
}

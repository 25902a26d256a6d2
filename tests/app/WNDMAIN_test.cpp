// The application object: registration, the main window, the first argument,
// the message loop, and the settings written once at the end.
#include "MAINTEST.h"

#include "base/OWNERS.h"
#include "tests/common/PUMP.h"

namespace {

// WM_GETTEXT, not GetWindowTextW: that one does not ask a control of another
// process for its text.
std::wstring WindowText(HWND hWnd)
{
    wchar_t text[1024] = L"";
    DWORD_PTR length = 0;
    SendMessageTimeoutW(hWnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &length);
    return text;
}

// True when a WM_COMMAND with the given id waits in this thread's queue; it is
// taken out of the queue.
bool TakePostedCommand(HWND hWnd, int id)
{
    MSG msg{};
    while (PeekMessageA(&msg, hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
        if (LOWORD(msg.wParam) == id) {
            return true;
        }
    }
    return false;
}

}  // namespace

// Where GLIM.INI and GLIM.CHM are is seen by the program test and the help
// test; here, a second registration fails (the class exists). That start
// read no settings, so it must not write the defaults over them.
TEST_F(MainWindow, ASecondRegistrationFailsAndWritesNoSettings)
{
    ASSERT_TRUE(m_app->Register(GetModuleHandleA(nullptr)));
    auto second = std::make_unique<CLSWndMain>();
    EXPECT_FALSE(second->Register(GetModuleHandleA(nullptr)));
    const std::string iniPath = RedirectSettings();
    second.reset();
    EXPECT_EQ(GetFileAttributesA(iniPath.c_str()), INVALID_FILE_ATTRIBUTES);
}

// The menus' texts and states are the resources' and the command tests';
// here, what the window itself says: its title, that it takes dropped files,
// how small it may get, and the stored maximized state, read and written.
TEST_F(MainWindow, TitleDropsMinimumSizeAndTheStoredMaximizedState)
{
    Start("[Window]\r\nMaximized=1\r\n");
    HWND hWnd = Main();
    EXPECT_EQ(WindowText(hWnd), L"Glim!");
    EXPECT_TRUE(GetWindowLongPtrA(hWnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    MINMAXINFO mmi{};
    SendMessageA(hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMinTrackSize.x, 250);
    EXPECT_EQ(mmi.ptMinTrackSize.y, 250);

    EXPECT_TRUE(IsZoomed(hWnd)) << "the stored state wins over the show command";
    const std::string iniPath = RedirectSettings();
    Stop();
    EXPECT_EQ(ReadFileBytes(iniPath).rfind("[Window]\r\nMaximized=1\r\n", 0), 0u);
}

TEST_F(MainWindow, FirstArgumentOrTheStoredFolderGoesToThePathBoxAndIsNavigated)
{
    Start();
    HWND hWnd = Main();
    HWND hEdit = GetDlgItem(hWnd, kIdPathEdit);
    ASSERT_NE(hEdit, nullptr);
    CLSGlimSettings& settings = m_app->GetSettings();
    settings.SetStartFolder(L"C:\\start");
    const struct {
        const wchar_t* line;
        bool showLast;
        const wchar_t* lastFolder;
        const wchar_t* expected;  // empty: nothing is navigated
    } cases[] = {
        {L"\"C:\\My Files\\a.txt\" more words", true, L"C:\\last", L"C:\\My Files\\a.txt"},
        {L"", true, L"", L""},  // first run: the last folder is wanted but none is known
        {L"\"never closed", true, L"C:\\last", L"C:\\last"},
        {L"", false, L"C:\\last", L"C:\\start"},
    };
    for (const auto& c : cases) {
        SetWindowTextW(hEdit, L"");
        settings.SetFlag(CLSGlimSettings::kShowLastFolder, c.showLast);
        settings.SetLastFolder(c.lastFolder);
        m_app->ApplyCommandLine(c.line);
        EXPECT_EQ(WindowText(hEdit), c.expected);
        EXPECT_EQ(TakePostedCommand(hWnd, kIdPathButton), *c.expected != L'\0');
    }
}

// The real program, started as a user would, from a folder whose name Shift-JIS
// cannot hold: the window where GLIM.INI beside it puts it, the argument (a file
// of such a name) in the path box, GLIM.INI untouched while it runs, and after
// the Exit command exit code 0 and the moved window's place in GLIM.INI.
TEST(Program, StartsAndWritesItsSettingsOnceWhenLeft)
{
    const std::string exe = BesideTestProgram("..\\app\\glim.exe");
    TempFolder folder;
    const std::wstring copy = folder.MakeFolderWide(L"Zoë") + L"\\glim.exe";
    ASSERT_TRUE(CopyFileW(WidenAnsi(exe).c_str(), copy.c_str(), FALSE)) << exe;
    const std::string stored = "[Window]\r\nLeft=40\r\nTop=30\r\nWidth=400\r\nHeight=300\r\n";
    const std::wstring iniPath = folder.WriteWide(L"Zoë\\GLIM.INI", stored);
    const std::wstring file = folder.WriteWide(L"Zoë\\café.txt", "caf\xC3\xA9 au lait");

    std::wstring commandLine = L"\"" + copy + L"\" \"" + file + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi));
    CLSHandle process(pi.hProcess);
    CLSHandle thread(pi.hThread);
    WaitForInputIdle(pi.hProcess, 20000);

    // Find this process's main window (other instances may be running).
    HWND hWnd = nullptr;
    PumpUntil([&] {
        for (HWND h = FindWindowA("GlimMainClass", nullptr); h != nullptr && hWnd == nullptr;
             h = FindWindowExA(nullptr, h, "GlimMainClass", nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            hWnd = pid == pi.dwProcessId ? h : nullptr;
        }
        return hWnd != nullptr;
    }, 20000);
    ASSERT_NE(hWnd, nullptr);
    // The argument reaches the path box once the window is up.
    HWND hEdit = GetDlgItem(hWnd, kIdPathEdit);
    PumpUntil([&] { return !WindowText(hEdit).empty(); }, 10000);
    EXPECT_EQ(WindowText(hEdit), file);
    RECT rc{};
    GetWindowRect(hWnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 400);
    SetWindowPos(hWnd, nullptr, 50, 60, 410, 310, SWP_NOZORDER);  // as the user moves it
    EXPECT_EQ(ReadFileBytes(iniPath), stored);

    PostMessageA(hWnd, WM_COMMAND, IDM_EXIT, 0);
    const DWORD waited = WaitForSingleObject(pi.hProcess, 20000);
    if (waited != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);  // one that does not leave must not outlive the test
    }
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeProcess(pi.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);

    const std::string saved = ReadFileBytes(iniPath);
    EXPECT_EQ(saved.rfind("[Window]\r\nMaximized=0\r\nLeft=50\r\nTop=60\r\nWidth=410\r\nHeight=310\r\n", 0), 0u)
        << saved.substr(0, 80);
}

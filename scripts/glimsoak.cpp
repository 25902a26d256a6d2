// glimsoak: uses a running Glim the way a user does for an hour and watches it.
//   glimsoak GLIM.EXE CORPUS-FOLDER ACTIONS SEED REPLAY-FILE
// Writes the corpus, starts Glim on it and performs ACTIONS random actions
// drawn from SEED. After every action the window must answer within 5 s;
// every 500 actions it samples the process's kernel handles, GDI and USER
// objects. Ends with the summary line; the seed, the last 50 actions and the
// corpus go to REPLAY-FILE. Exits 1 on a crash or a hang.
#include "base/OWNERS.h"
#include "base/WIDETEXT.h"
#include "resources/RESOURCE.h"
#include "scripts/soakfiles.h"
#include "scripts/soakwatch.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr DWORD kAnswerMs = 5000;
constexpr unsigned kSampleEvery = 500;
constexpr std::size_t kReplayActions = 50;

struct Sample {
    DWORD handles = 0;
    DWORD gdi = 0;
    DWORD user = 0;
    bool windowsOnly = false;  // USER counts visible windows and their children only
    std::map<int, DWORD> handleTypes;  // by the system's object type number, where known
};

struct GlimWindows {
    HWND main = nullptr;
    HWND tree = nullptr;
    HWND list = nullptr;
    HWND view = nullptr;
    HWND pathEdit = nullptr;
    std::vector<HWND> separators;
};

class Soak {
public:
    Soak(SoakCorpus& corpus, unsigned seed) : m_corpus(corpus), m_random(seed) {}

    bool Start(const std::wstring& exe);
    int Run(unsigned actions, const std::wstring& replayPath, unsigned seed);

private:
    unsigned Pick(unsigned count) { return std::uniform_int_distribution<unsigned>(0, count - 1)(m_random); }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    bool FindWindows();
    void Act();
    void Note(const std::string& what);
    bool Answers(DWORD ms) const;
    bool Exited() const { return m_watch->Crashed() || WaitForSingleObject(m_watch->Process(), 0) == WAIT_OBJECT_0; }
    Sample Measure() const;
    void DismissDialogs(bool expectFindBox);
    HWND WaitForDialog(DWORD ms, bool findBox) const;
    bool CloseGlim();
    bool ReportHang();
    void WriteReplay(const std::wstring& path, unsigned seed, unsigned actions, const Sample& first,
                     const Sample& last) const;
    std::vector<HWND> Dialogs() const;

    void Key(HWND hWnd, UINT vk);
    void Command(UINT id) { PostMessageA(m_w.main, WM_COMMAND, id, 0); }
    void ClickIn(HWND hWnd, bool drag);
    void Wheel(HWND hWnd, bool control);
    bool Wandered() const;
    void GoToFolder();
    void Resize();
    void DragSeparator();
    void ModalDialog(UINT id);
    void Find();
    void RandomCommand();
    void ChangeFiles();

    SoakCorpus& m_corpus;
    std::mt19937 m_random;
    std::unique_ptr<SoakWatch> m_watch;
    std::wstring m_exe;
    GlimWindows m_w;
    std::deque<std::string> m_recent;
    unsigned m_done = 0;
    unsigned m_boxes = 0;
};

BOOL CALLBACK CollectProcessWindows(HWND hWnd, LPARAM lParam)
{
    auto* found = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid == found->first && IsWindowVisible(hWnd)) {
        found->second.push_back(hWnd);
    }
    return TRUE;
}

BOOL CALLBACK CollectChildren(HWND hWnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

std::string ClassOf(HWND hWnd)
{
    char name[64] = {};
    GetClassNameA(hWnd, name, sizeof(name));
    return name;
}

bool Soak::Start(const std::wstring& exe)
{
    std::wstring commandLine = L"\"" + exe + L"\" \"" + m_corpus.Root() + L"\\text\"";
    m_exe = exe;
    m_watch = std::make_unique<SoakWatch>();
    if (!m_watch->Start(exe, commandLine)) {
        std::fprintf(stderr, "glimsoak: cannot start glim.exe\n");
        return false;
    }
    for (int tick = 0; tick < 600; ++tick) {
        if (FindWindows() && Answers(kAnswerMs)) {
            return true;
        }
        Sleep(100);
    }
    std::fprintf(stderr, "glimsoak: Glim showed no window within 60 s (main %p, tree %p, list %p, view %p)\n",
                 static_cast<void*>(m_w.main), static_cast<void*>(m_w.tree), static_cast<void*>(m_w.list),
                 static_cast<void*>(m_w.view));
    return false;
}

bool Soak::FindWindows()
{
    std::pair<DWORD, std::vector<HWND>> found{m_watch->Pid(), {}};
    EnumWindows(CollectProcessWindows, reinterpret_cast<LPARAM>(&found));
    m_w = GlimWindows{};
    for (HWND hWnd : found.second) {
        if (ClassOf(hWnd) == "GlimMainClass") {
            m_w.main = hWnd;
        }
    }
    if (m_w.main == nullptr) {
        return false;
    }
    std::vector<HWND> children;
    EnumChildWindows(m_w.main, CollectChildren, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        std::string name = ClassOf(child);
        if (name == WC_TREEVIEWA) {
            m_w.tree = child;
        } else if (name == WC_LISTVIEWA) {
            m_w.list = child;
        } else if (name == "GlimViewWindow") {
            m_w.view = child;
        } else if (name == "Edit") {
            m_w.pathEdit = child;
        } else if (name == "SpellSperatorClass") {
            m_w.separators.push_back(child);
        }
    }
    return m_w.tree != nullptr && m_w.list != nullptr && m_w.view != nullptr;
}

bool Soak::Answers(DWORD ms) const
{
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(m_w.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, ms, &answer) != 0;
}

// Wine answers GetProcessHandleCount with 0; its system-wide handle table
// has them.
std::map<int, DWORD> HandlesInTable(DWORD pid)
{
    std::map<int, DWORD> types;
    std::vector<char> buffer(1 << 20);
    ULONG needed = 0;
    NTSTATUS status = 0;
    while ((status = NtQuerySystemInformation(SystemHandleInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size()), &needed)) ==
           static_cast<NTSTATUS>(0xC0000004L)) {
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed));
    }
    if (status < 0) {
        return types;
    }
    const auto* table = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
    for (ULONG i = 0; i < table->Count; ++i) {
        if (table->Handle[i].OwnerPid == pid) {
            ++types[table->Handle[i].ObjectType];
        }
    }
    return types;
}

Sample Soak::Measure() const
{
    Sample sample;
    if (!GetProcessHandleCount(m_watch->Process(), &sample.handles) || sample.handles == 0) {
        sample.handleTypes = HandlesInTable(m_watch->Pid());
        for (const auto& [type, count] : sample.handleTypes) {
            sample.handles += count;
        }
    }
    sample.gdi = GetGuiResources(m_watch->Process(), GR_GDIOBJECTS);
    sample.user = GetGuiResources(m_watch->Process(), GR_USEROBJECTS);
    if (sample.user == 0) {
        // Where the system counts no USER objects, its windows are the ones
        // that can be counted from outside.
        std::pair<DWORD, std::vector<HWND>> found{m_watch->Pid(), {}};
        EnumWindows(CollectProcessWindows, reinterpret_cast<LPARAM>(&found));
        std::vector<HWND> all = found.second;
        for (HWND hWnd : found.second) {
            EnumChildWindows(hWnd, CollectChildren, reinterpret_cast<LPARAM>(&all));
        }
        sample.user = static_cast<DWORD>(all.size());
        sample.windowsOnly = true;
    }
    return sample;
}

void Soak::Note(const std::string& what)
{
    m_recent.push_back(std::to_string(m_done + 1) + " " + what);
    if (m_recent.size() > kReplayActions) {
        m_recent.pop_front();
    }
}

std::vector<HWND> Soak::Dialogs() const
{
    std::pair<DWORD, std::vector<HWND>> found{m_watch->Pid(), {}};
    EnumWindows(CollectProcessWindows, reinterpret_cast<LPARAM>(&found));
    std::vector<HWND> dialogs;
    for (HWND hWnd : found.second) {
        if (ClassOf(hWnd) == "#32770") {
            dialogs.push_back(hWnd);
        }
    }
    return dialogs;
}

HWND Soak::WaitForDialog(DWORD ms, bool findBox) const
{
    for (DWORD waited = 0; waited < ms; waited += 50) {
        for (HWND dialog : Dialogs()) {
            if ((GetDlgItem(dialog, IDC_FIND_TEXT) != nullptr) == findBox) {
                return dialog;
            }
        }
        Sleep(50);
    }
    return nullptr;
}

// A box the action did not ask for is a message the user would have met:
// its text goes into the replay, and it is answered the way a user would.
void Soak::DismissDialogs(bool expectFindBox)
{
    for (HWND dialog : Dialogs()) {
        bool isFindBox = GetDlgItem(dialog, IDC_FIND_TEXT) != nullptr;
        if (isFindBox && expectFindBox) {
            continue;
        }
        if (!isFindBox) {
            wchar_t text[512] = {};
            HWND message = GetDlgItem(dialog, 0xFFFF);
            GetWindowTextW(message != nullptr ? message : dialog, text, 512);
            Note("box: " + Utf8OfWide(text));
            ++m_boxes;
        }
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

void Soak::Key(HWND hWnd, UINT vk)
{
    UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    PostMessageA(hWnd, WM_KEYDOWN, vk, 1 | (scan << 16));
    PostMessageA(hWnd, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

void Soak::ClickIn(HWND hWnd, bool drag)
{
    RECT rc{};
    GetClientRect(hWnd, &rc);
    if (rc.right < 2 || rc.bottom < 2) {
        return;
    }
    int x = Between(0, rc.right - 1), y = Between(0, rc.bottom - 1);
    PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    if (drag) {
        x = Between(0, rc.right - 1);
        y = Between(0, rc.bottom - 1);
        PostMessageA(hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    }
    PostMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void Soak::Wheel(HWND hWnd, bool control)
{
    RECT rc{};
    GetWindowRect(hWnd, &rc);
    int delta = Pick(2) == 0 ? WHEEL_DELTA : -WHEEL_DELTA;
    WPARAM wParam = MAKEWPARAM(control ? MK_CONTROL : 0, static_cast<WORD>(delta));
    PostMessageA(hWnd, WM_MOUSEWHEEL, wParam, MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
}

// Typed into the path box and shown, as a user comes back from wherever the
// keys in the tree have taken Glim.
void Soak::GoToFolder()
{
    const std::wstring& folder = m_corpus.Folders()[Pick(static_cast<unsigned>(m_corpus.Folders().size()))];
    Note("go to " + Utf8OfWide(folder));
    SendMessageTimeoutW(m_w.pathEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()), SMTO_ABORTIFHUNG,
                        kAnswerMs, nullptr);
    Command(IDC_NAVIGATE);
}

// Keys in the tree climb past the corpus to other people's files and to
// devices that never end; the run stays with the corpus it can replay.
bool Soak::Wandered() const
{
    wchar_t shown[MAX_PATH * 2] = {};
    SendMessageTimeoutW(m_w.pathEdit, WM_GETTEXT, MAX_PATH * 2, reinterpret_cast<LPARAM>(shown), SMTO_ABORTIFHUNG,
                        kAnswerMs, nullptr);
    const std::wstring& root = m_corpus.Root();
    return shown[0] != L'\0' && CompareStringOrdinal(shown, static_cast<int>(std::min(wcslen(shown), root.size())),
                                                      root.c_str(), static_cast<int>(root.size()), TRUE) != CSTR_EQUAL;
}

void Soak::Resize()
{
    int width = Between(120, 1400), height = Between(120, 1000);
    Note("resize " + std::to_string(width) + "x" + std::to_string(height));
    SetWindowPos(m_w.main, nullptr, Between(0, 200), Between(0, 150), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}

void Soak::DragSeparator()
{
    if (m_w.separators.empty()) {
        return;
    }
    HWND separator = m_w.separators[Pick(static_cast<unsigned>(m_w.separators.size()))];
    int dx = Between(-400, 400), dy = Between(-400, 400);
    Note("drag separator by " + std::to_string(dx) + "," + std::to_string(dy));
    PostMessageA(separator, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    PostMessageA(separator, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1 + dx / 2, 1 + dy / 2));
    PostMessageA(separator, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1 + dx, 1 + dy));
    PostMessageA(separator, WM_LBUTTONUP, 0, MAKELPARAM(1 + dx, 1 + dy));
}

// The settings sheet and the About box: opened, looked at, closed.
void Soak::ModalDialog(UINT id)
{
    Note(id == IDM_SETTINGS ? "settings, cancelled" : "about box, closed");
    Command(id);
    HWND dialog = WaitForDialog(kAnswerMs, false);
    if (dialog == nullptr) {
        Note("no dialog appeared");
        return;
    }
    Sleep(50);
    if (id == IDM_SETTINGS) {
        PostMessageA(dialog, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    } else {
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
}

void Soak::Find()
{
    static const char* const kQueries[] = {"猫", "line", "ｶﾀｶﾅ", "0123", "appended", "x", "zzz-absent", "名前"};
    const char* query = kQueries[Pick(sizeof(kQueries) / sizeof(kQueries[0]))];
    bool cancel = Pick(4) == 0;
    Note(std::string("find ") + query + (cancel ? ", cancelled" : ""));
    Command(IDM_FIND);
    HWND box = WaitForDialog(kAnswerMs, true);
    if (box == nullptr) {
        return;
    }
    SendMessageTimeoutA(GetDlgItem(box, IDC_FIND_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(query),
                        SMTO_ABORTIFHUNG, kAnswerMs, nullptr);
    PostMessageA(box, WM_COMMAND, cancel ? IDCANCEL : IDOK, 0);
}

void Soak::RandomCommand()
{
    static const struct {
        UINT id;
        const char* name;
    } kCommands[] = {
        {IDM_ENC_AUTO, "encoding auto"},   {IDM_ENC_SJIS, "encoding sjis"},    {IDM_ENC_JIS, "encoding jis"},
        {IDM_ENC_EUC, "encoding euc"},     {IDM_ENC_UTF16LE, "encoding utf16le"},
        {IDM_ENC_UTF16BE, "encoding utf16be"}, {IDM_ENC_UTF8, "encoding utf8"}, {IDM_ENC_UTF7, "encoding utf7"},
        {IDM_VIEW_AUTO, "view auto"},      {IDM_VIEW_TEXT, "view text"},       {IDM_VIEW_HEX, "view hex"},
        {IDM_ZOOM_25, "zoom 25"},          {IDM_ZOOM_100, "zoom 100"},         {IDM_ZOOM_400, "zoom 400"},
        {IDM_ZOOM_FIT, "zoom fit"},        {IDM_ZOOM_IN, "ctrl+plus"},         {IDM_ZOOM_OUT, "ctrl+minus"},
        {IDM_ZOOM_RESET, "ctrl+0"},        {IDM_NEXT_FILE, "ctrl+pagedown"},   {IDM_PREV_FILE, "ctrl+pageup"},
        {IDM_NEXT_FILE, "ctrl+pagedown"},  {IDM_PREV_FILE, "ctrl+pageup"},     {IDM_SELECTALL, "ctrl+a"},
        {IDM_COPY, "ctrl+c"},              {IDM_FIND_NEXT, "f3"},              {IDM_FIND_PREV, "shift+f3"},
        {IDM_REFRESH, "f5"},               {IDM_TOOLBAR, "toggle toolbar"},    {IDM_STATUSBAR, "toggle status bar"},
        {IDM_FOLDERTREE, "toggle tree"},   {IDM_STYLE_LARGE, "list large"},    {IDM_STYLE_DETAILS, "list details"},
        {IDM_STYLE_LIST, "list list"},     {IDM_SORT_NAME, "sort name"},       {IDM_SORT_SIZE, "sort size"},
        {IDM_SORT_TYPE, "sort type"},      {IDM_SORT_DATE, "sort date"},       {IDM_UPFOLDER, "up folder"},
        {IDM_ICONVIEW, "icon view"},
    };
    const auto& command = kCommands[Pick(sizeof(kCommands) / sizeof(kCommands[0]))];
    Note(command.name);
    Command(command.id);
}

void Soak::ChangeFiles()
{
    switch (Pick(3)) {
    case 0: {
        unsigned which = Pick(3);
        Note("vanishing" + std::to_string(which) + ".txt deleted or written again");
        m_corpus.ToggleVanishing(which);
        break;
    }
    case 1:
        Note("grow.log appended to");
        m_corpus.AppendToLog(1 + Pick(200));
        break;
    default:
        Note("locked.txt locked or let go");
        m_corpus.ToggleLock();
        break;
    }
}

void Soak::Act()
{
    static const UINT kTreeKeys[] = {VK_UP, VK_DOWN, VK_DOWN, VK_RIGHT, VK_LEFT, VK_NEXT, VK_PRIOR};
    static const UINT kListKeys[] = {VK_UP, VK_DOWN, VK_DOWN, VK_HOME, VK_END, VK_NEXT, VK_PRIOR, VK_RETURN,
                                     VK_BACK, VK_F5};
    static const UINT kViewKeys[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_NEXT, VK_PRIOR, VK_HOME, VK_END, VK_F3};
    unsigned roll = Pick(100);
    bool expectFindBox = false;
    if (m_w.pathEdit != nullptr && Wandered()) {
        GoToFolder();
    } else if (roll < 12) {
        UINT vk = kTreeKeys[Pick(sizeof(kTreeKeys) / sizeof(kTreeKeys[0]))];
        Note("tree key " + std::to_string(vk));
        Key(m_w.tree, vk);
    } else if (roll < 32) {
        UINT vk = kListKeys[Pick(sizeof(kListKeys) / sizeof(kListKeys[0]))];
        Note("list key " + std::to_string(vk));
        Key(m_w.list, vk);
    } else if (roll < 40) {
        Note("list click");
        ClickIn(m_w.list, false);
    } else if (roll < 50) {
        UINT vk = kViewKeys[Pick(sizeof(kViewKeys) / sizeof(kViewKeys[0]))];
        Note("view key " + std::to_string(vk));
        Key(m_w.view, vk);
    } else if (roll < 54) {
        Note("view drag-select");
        ClickIn(m_w.view, true);
    } else if (roll < 58) {
        bool control = Pick(2) == 0;
        Note(control ? "ctrl+wheel" : "wheel");
        Wheel(m_w.view, control);
    } else if (roll < 78) {
        RandomCommand();
    } else if (roll < 82) {
        GoToFolder();
    } else if (roll < 85) {
        Resize();
    } else if (roll < 88) {
        DragSeparator();
    } else if (roll < 90) {
        ModalDialog(Pick(2) == 0 ? IDM_SETTINGS : IDM_ABOUT);
    } else if (roll < 93) {
        Find();
        expectFindBox = true;
    } else {
        ChangeFiles();
    }
    if (Answers(kAnswerMs)) {
        DismissDialogs(expectFindBox);
    }
}

// Where each thread of Glim is (into the run's log), and whether the window
// comes back within a minute and after how long.
bool Soak::ReportHang()
{
    Note("no answer within 5 s");
    std::string before;
    for (std::size_t i = m_recent.size() > 10 ? m_recent.size() - 10 : 0; i < m_recent.size(); ++i) {
        before += "  " + m_recent[i] + "\n";
    }
    std::printf("soak: no answer at action %u; the actions before it:\n%sthe threads of Glim:\n%s", m_done + 1,
                before.c_str(), m_watch->AllStacks().c_str());
    // A second look tells a thread stuck in one place from one that is busy.
    Sleep(2000);
    if (!Answers(500)) {
        std::printf("soak: the threads of Glim 2 s later:\n%s", m_watch->AllStacks().c_str());
    }
    ULONGLONG since = GetTickCount64();
    while (GetTickCount64() - since < 60000 && !Exited()) {
        if (Answers(kAnswerMs)) {
            Note("answered again after about " + std::to_string((GetTickCount64() - since) / 1000 + 5) + " s");
            return true;
        }
        Sleep(1000);
    }
    std::printf("soak: still no answer; the threads of Glim:\n%s", m_watch->AllStacks().c_str());
    Note("still no answer after a minute; the threads' stacks are in the log");
    return false;
}

// The orderly way out, as the user closes the window.
bool Soak::CloseGlim()
{
    PostMessageA(m_w.main, WM_CLOSE, 0, 0);
    Sleep(300);
    DismissDialogs(false);
    if (WaitForSingleObject(m_watch->Process(), 30000) != WAIT_OBJECT_0) {
        Note("did not close within 30 s");
        return false;
    }
    return true;
}

void Soak::WriteReplay(const std::wstring& path, unsigned seed, unsigned actions, const Sample& first,
                       const Sample& last) const
{
    std::ofstream replay(std::filesystem::path(path), std::ios::trunc);
    replay << "seed " << seed << "\nactions " << m_done << " of " << actions << "\ncorpus " << Utf8OfWide(m_corpus.Root())
           << "\nunasked boxes " << m_boxes << "\nhandles " << first.handles << " to " << last.handles << ", GDI "
           << first.gdi << " to " << last.gdi << ", USER " << first.user << " to " << last.user << "\n";
    for (const auto& [type, count] : last.handleTypes) {
        auto before = first.handleTypes.find(type);
        DWORD was = before == first.handleTypes.end() ? 0 : before->second;
        long grown = static_cast<long>(count) - static_cast<long>(was);
        if (grown != 0) {
            replay << "  handles of object type " << type << ": " << grown << "\n";
        }
    }
    replay << "last actions:\n";
    for (const std::string& line : m_recent) {
        replay << "  " << line << "\n";
    }
}

int Soak::Run(unsigned actions, const std::wstring& replayPath, unsigned seed)
{
    unsigned crashes = 0, hangs = 0;
    const unsigned warmUp = actions < 2 * kSampleEvery ? actions / 2 : kSampleEvery;
    unsigned warmedAt = warmUp;  // of the Glim running now
    Sample first{}, last{}, grown{};
    auto addGrowth = [&]() {
        grown.handles += last.handles - first.handles;
        grown.gdi += last.gdi - first.gdi;
        grown.user += last.user - first.user;
    };
    // The figures of a Glim that crashed or was ended are kept; a new one
    // goes on with the run after its own warm-up.
    auto restart = [&]() {
        addGrowth();
        first = last = Sample{};
        warmedAt = m_done + 1 + warmUp;
        return Start(m_exe);
    };
    for (m_done = 0; m_done < actions; ++m_done) {
        if (m_done % 25 == 0 && !FindWindows()) {
            Note("main window gone");
        }
        Act();
        bool answers = Answers(kAnswerMs);
        if (Exited()) {
            Note("Glim ended");
            std::printf("soak: Glim ended at action %u\n%s", m_done + 1, m_watch->Report().c_str());
            ++crashes;
            if (!restart()) {
                break;
            }
            continue;
        }
        if (!answers) {
            ++hangs;
            if (!ReportHang()) {
                // Ended as a user ends a program that stays frozen; a new one goes on.
                TerminateProcess(m_watch->Process(), 1);
                WaitForSingleObject(m_watch->Process(), 10000);
                if (!restart()) {
                    break;
                }
                continue;
            }
        }
        unsigned count = m_done + 1;
        if (count == warmedAt) {
            first = last = Measure();
        } else if (count > warmedAt && (count % kSampleEvery == 0 || count == actions)) {
            last = Measure();
        }
    }
    if (crashes == 0 && hangs == 0 && !CloseGlim()) {
        ++hangs;
    }
    addGrowth();
    WriteReplay(replayPath, seed, actions, first, last);
    if (first.windowsOnly) {
        std::printf("soak: this system counts no GDI or USER objects (GetGuiResources answers 0): "
                    "GDI is not measured, USER counts windows\n");
    }
    // Unsigned differences wrap; as signed they are the growth, or a fall.
    std::printf("soak: %u actions, %u crashes, %u hangs, handles %+d, GDI %+d, USER %+d\n", m_done, crashes, hangs,
                static_cast<int>(grown.handles), static_cast<int>(grown.gdi), static_cast<int>(grown.user));
    return crashes + hangs == 0 ? 0 : 1;
}

}  // namespace

int main()
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    CLSLocalOwner arguments(argv);
    if (argv == nullptr || argc != 6) {
        std::fprintf(stderr, "usage: glimsoak GLIM.EXE CORPUS-FOLDER ACTIONS SEED REPLAY-FILE\n");
        return 2;
    }
    unsigned actions = static_cast<unsigned>(std::wcstoul(argv[3], nullptr, 10));
    unsigned seed = static_cast<unsigned>(std::wcstoul(argv[4], nullptr, 10));
    SoakCorpus corpus(argv[2]);
    Soak soak(corpus, seed);
    if (!soak.Start(argv[1])) {
        return 1;
    }
    return soak.Run(actions, argv[5], seed);
}

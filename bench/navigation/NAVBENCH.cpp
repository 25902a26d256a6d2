// Speed of the navigation panes in the whole main window: list-folder-10k,
// sort-folder-10k, watch-latency, navigate-file and next-file.
#include "app/WNDMAIN.h"
#include "base/OWNERS.h"
#include "base/WIDEN.h"
#include "resources/RESOURCE.h"

#include "bench/common/BENCHWIN.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kFiles = 10000;
constexpr int kRepeats = 5;
constexpr int kCreations = 50;

// A folder of that many small files, made once and kept in the data folder.
std::string MakeFolder(const char* name, int files)
{
    std::string folder = BenchFilePath(name);
    std::replace(folder.begin(), folder.end(), '/', '\\');  // the shell parses no forward slashes
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < files; ++i) {
        char file[32];
        std::snprintf(file, sizeof(file), "\\file%05d.txt", i);
        const std::string path = folder + file;
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            continue;
        }
        CLSHandle handle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        DWORD written = 0;
        WriteFile(handle.Get(), file, 12, &written, nullptr);
    }
    return folder;
}

LPITEMIDLIST Parse(IShellFolder* desktop, const std::string& path)
{
    wchar_t wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    LPITEMIDLIST pidl = nullptr;
    desktop->ParseDisplayName(nullptr, nullptr, wide, nullptr, &pidl, nullptr);
    return pidl;
}

double FindWalk(const std::string& folder)
{
    wchar_t pattern[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, (folder + "\\*").c_str(), -1, pattern, MAX_PATH);
    const double start = Now();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    int count = 0;
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        ++count;
    }
    FindClose(search);
    return count > kFiles ? Now() - start : 0;
}

// The shell's own enumeration of the folder, nothing else.
double ShellEnumeration(IShellFolder* desktop, LPCITEMIDLIST pidl)
{
    const double start = Now();
    CLSComPtr<IShellFolder> folder;
    desktop->BindToObject(pidl, nullptr, IID_IShellFolder, folder.VoidAddress());
    CLSComPtr<IEnumIDList> items;
    if (folder->EnumObjects(nullptr, SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, items.Address()) == S_OK) {
        LPITEMIDLIST child = nullptr;
        while (items->Next(1, &child, nullptr) == S_OK) {
            CoTaskMemFree(child);
        }
    }
    return Now() - start;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The limit below the watcher: a file created until the system signals the
// folder's change notification, waited for without polling.
double NotificationLatency(const std::string& folder)
{
    std::vector<double> latencies;
    for (int i = 0; i < kCreations; ++i) {
        const std::string path = folder + "\\raw" + std::to_string(i) + ".txt";
        HANDLE change = FindFirstChangeNotificationA(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
        const double start = Now();
        CLSHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        WaitForSingleObject(change, 5000);
        latencies.push_back(Now() - start);
        FindCloseChangeNotification(change);
        DeleteFileA(path.c_str());
    }
    return Median(latencies);
}

class Bench {
public:
    Bench()
    {
        m_app->Register(GetModuleHandleA(nullptr));
        wchar_t temp[MAX_PATH] = L"";
        GetTempPathW(MAX_PATH, temp);
        g_wsSettingsPath = std::wstring(temp) + L"glim-bench.ini";
        m_app->Create(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
        SHGetDesktopFolder(m_desktop.Address());
        Pump();
    }
    ~Bench()
    {
        DestroyWindow(m_app->GetMainWindow());
        Pump();
    }

    HWND List() const { return m_app->GetFileList().GetListWindow(); }
    int Count() const { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }

    // From ShowFolder to the list filled and painted.
    double ListFolder(LPCITEMIDLIST pidl)
    {
        const double start = Now();
        m_app->GetFileList().ShowFolder(pidl);
        UpdateWindow(List());
        return Now() - start;
    }

    void RunList(const std::string& folder)
    {
        CLSItemIdList pidl(Parse(m_desktop.Get(), folder));
        std::vector<double> listed, walked, enumerated;
        for (int i = 0; i < kRepeats; ++i) {
            listed.push_back(ListFolder(pidl.Get()));
            walked.push_back(FindWalk(folder));
            enumerated.push_back(ShellEnumeration(m_desktop.Get(), pidl.Get()));
        }
        m_listSeconds = Median(listed);
        PrintBench("list-folder-10k", kFiles, m_listSeconds, "FindFirstFileW-walk", Median(walked));
        PrintBench("list-folder-10k-shell", kFiles, m_listSeconds, "EnumObjects", Median(enumerated));
    }

    // A click on the size, type or time column of a folder just shown, until
    // the sorted list is painted; the worst of the three against listing it.
    void RunSort(const std::string& folder)
    {
        CLSItemIdList pidl(Parse(m_desktop.Get(), folder));
        double worst = 0;
        for (int column : {1, 2, 3}) {
            std::vector<double> times;
            for (int i = 0; i < kRepeats; ++i) {
                m_app->GetFileList().ShowFolder(pidl.Get());
                UpdateWindow(List());
                const double start = Now();
                m_app->GetFileList().SortBy(column);
                UpdateWindow(List());
                times.push_back(Now() - start);
                m_app->GetFileList().SortBy(column);  // back to where it was
            }
            worst = std::max(worst, Median(times));
        }
        PrintBench("sort-folder-10k", kFiles, worst, "list-folder-10k", m_listSeconds);
    }

    // From a file created in the shown folder to its item in the list. The
    // list is read again whole, so the folder is one of a usual size.
    void RunWatch(const std::string& folder)
    {
        CLSItemIdList pidl(Parse(m_desktop.Get(), folder));
        m_app->GetFileList().ShowFolder(pidl.Get());
        std::vector<double> latencies;
        for (int i = 0; i < kCreations; ++i) {
            const std::string path = folder + "\\watch" + std::to_string(i) + ".txt";
            DeleteFileA(path.c_str());
            Pump();
            Sleep(40);
            Pump();
            const int before = Count();
            const double start = Now();
            CLSHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            while (Count() <= before && Now() - start < 5) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
                Pump();
            }
            latencies.push_back(Now() - start);
            DeleteFileA(path.c_str());
        }
        PrintBench("watch-latency", kCreations, Median(latencies), "change-notification", NotificationLatency(folder));
    }

    // Typed path + Enter to the preview painted, starting from another folder.
    void RunNavigate(const std::string& folder)
    {
        std::vector<double> times;
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof(temp), temp);
        HWND hWnd = m_app->GetMainWindow();
        const std::string file = folder + "\\file05000.txt";
        for (int i = 0; i < kRepeats; ++i) {
            SetDlgItemTextA(hWnd, kIdPathEdit, temp);
            SendMessageA(hWnd, WM_COMMAND, kIdPathButton, 0);
            Pump();
            const double start = Now();
            SetDlgItemTextA(hWnd, kIdPathEdit, file.c_str());
            SendMessageA(hWnd, WM_COMMAND, kIdPathButton, 0);
            UpdateWindow(hWnd);
            UpdateWindow(m_app->GetView().GetHandle());
            times.push_back(Now() - start);
        }
        PrintBench("navigate-file", kFiles, Median(times), "list-folder-10k", m_listSeconds);
    }

    // The next file of the list shown from the preview (Ctrl+PageDown) until
    // the pane is painted, against that file opened into the pane alone.
    void RunNextFile(const std::string& folder)
    {
        HWND hWnd = m_app->GetMainWindow();
        CLSWndView& view = m_app->GetView();
        std::vector<double> stepped, alone;
        for (int i = 0; i < kRepeats; ++i) {
            char name[32];
            std::snprintf(name, sizeof(name), "\\file%05d.txt", 6000 + 2 * i);
            SetDlgItemTextA(hWnd, kIdPathEdit, (folder + name).c_str());
            SendMessageA(hWnd, WM_COMMAND, kIdPathButton, 0);
            SetFocus(view.GetHandle());
            Pump();
            double start = Now();
            SendMessageA(hWnd, WM_COMMAND, IDM_NEXT_FILE, 0);
            UpdateWindow(view.GetHandle());
            stepped.push_back(Now() - start);
            std::snprintf(name, sizeof(name), "\\file%05d.txt", 6001 + 2 * i);
            start = Now();
            view.OpenFile(WidenAnsi(folder + name));
            InvalidateRect(view.GetHandle(), nullptr, TRUE);
            UpdateWindow(view.GetHandle());
            alone.push_back(Now() - start);
        }
        PrintBench("next-file", kFiles, Median(stepped), "open-file-alone", Median(alone));
    }

private:
    std::unique_ptr<CLSWndMain> m_app = std::make_unique<CLSWndMain>();
    CLSComPtr<IShellFolder> m_desktop;
    double m_listSeconds = 0;
};

}  // namespace

int main()
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // each line out before a later stage can fail
    const std::string folder = MakeFolder("glim-nav10k", kFiles);
    const std::string usual = MakeFolder("glim-nav100", 100);
    Bench bench;
    bench.RunList(folder);
    bench.RunSort(folder);
    bench.RunWatch(usual);
    bench.RunNavigate(folder);
    bench.RunNextFile(folder);
    return 0;
}

// Temporary folders, whole files and host commands for the tests.
#include "tests/common/TEMPDIR.h"

#include "base/OWNERS.h"
#include "base/WIDETEXT.h"

#include <fstream>
#include <stdexcept>

TempFolder::TempFolder()
{
    char base[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, base);
    do {
        m_path = UniqueName(std::string(base) + "glimtest");
    } while (!CreateDirectoryA(m_path.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

namespace {

// The folder with everything below it, read-only files and wide names too.
void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        const std::wstring child = path + L"\\" + name;
        SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(child);
        } else {
            DeleteFileW(child.c_str());
        }
    }
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

void WriteSparseWide(const std::wstring& path, std::uint64_t size,
                     std::initializer_list<std::pair<std::uint64_t, std::string_view>> pieces)
{
    CLSHandle file(CreateFileW(LongPathForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    bool ok = file.Valid();
    LARGE_INTEGER at;
    for (const auto& [offset, bytes] : pieces) {
        at.QuadPart = static_cast<LONGLONG>(offset);
        DWORD written = 0;
        ok = ok && SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) &&
             WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
             written == bytes.size();
    }
    at.QuadPart = static_cast<LONGLONG>(size);
    if (!ok || !SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) || !SetEndOfFile(file.Get())) {
        throw std::runtime_error("cannot write a file");
    }
}

}  // namespace

TempFolder::~TempFolder()
{
    RemoveTree(L"\\\\?\\" + WidePath());  // the extended form reaches folders of any depth
}

std::wstring TempFolder::WriteWide(const std::wstring& name, std::string_view bytes) const
{
    const std::wstring path = WidePath() + L"\\" + name;
    WriteSparseWide(path, bytes.size(), {{0, bytes}});
    return path;
}

std::wstring TempFolder::MakeFolderWide(const std::wstring& name) const
{
    const std::wstring path = WidePath() + L"\\" + name;
    CreateDirectoryW(LongPathForm(path).c_str(), nullptr);  // a failure shows when files are written there
    return path;
}

std::string TempFolder::Write(const std::string& name, std::string_view bytes) const
{
    const std::string path = PathOf(name);
    WriteFileBytes(path, bytes);
    return path;
}

std::string TempFolder::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
{
    return Write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void WriteFileBytes(const std::string& path, std::string_view bytes)
{
    WriteSparseFile(path, bytes.size(), {{0, bytes}});
}

void WriteSparseFile(const std::string& path, std::uint64_t size,
                     std::initializer_list<std::pair<std::uint64_t, std::string_view>> pieces)
{
    WriteSparseWide(WidenAnsi(path), size, pieces);
}

std::string ReadFileBytes(const std::string& path)
{
    return ReadFileBytes(WidenAnsi(path));
}

std::string ReadFileBytes(const std::wstring& path)
{
    CLSHandle file(
        CreateFileW(LongPathForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        throw std::runtime_error("cannot read a file");
    }
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) {
        bytes.append(chunk, got);
    }
    return bytes;
}

std::string BesideTestProgram(const std::string& name)
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder(self);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

std::string UniqueName(const std::string& prefix)
{
    static int s_count = 0;
    return prefix + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++s_count);
}

std::string HostPath(const std::string& windowsPath)
{
    using ToUnix = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix == nullptr) {
        return std::string();
    }
    std::wstring wide(windowsPath.begin(), windowsPath.end());
    char* unixPath = toUnix(wide.c_str());
    if (unixPath == nullptr) {
        return std::string();
    }
    std::string result(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

// Wine does not let a Windows process wait for a host process, so the command
// reports its exit status in a file that appears only when it has ended.
bool RunHostCommand(const std::string& command, const TempFolder& folder)
{
    const std::string done = folder.PathOf("host-command.done");
    DeleteFileA(done.c_str());
    const std::string hostDone = HostPath(done);
    if (hostDone.empty()) {
        return false;
    }
    std::string line = "/bin/sh -c \"" + command + "; echo $? > '" + hostDone + ".tmp'; mv '" + hostDone +
                       ".tmp' '" + hostDone + "'\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    CLSHandle thread(process.hThread);
    CLSHandle owned(process.hProcess);
    for (int i = 0; i < 1000 && GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
        Sleep(10);
    }
    std::ifstream in(done);
    std::string status;
    std::getline(in, status);
    in.close();
    DeleteFileA(done.c_str());
    return status == "0";
}

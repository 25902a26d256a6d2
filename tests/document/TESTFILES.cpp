// Fixtures, byte helpers and host commands for the document tests.
#include "TESTFILES.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

std::string ReadFixture(const std::string& name)
{
    const std::string path = std::string(GLIM_FIXTURES) + "/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("missing fixture " + path);
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values) {
        bytes.push_back(static_cast<char>(v));
    }
    return bytes;
}

std::wstring Wide(const std::string& utf8)
{
    if (utf8.empty()) {
        return std::wstring();
    }
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                                      nullptr, 0);
    std::wstring text(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), text.data(), n);
    return text;
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
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
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

// Temporary files, fixtures and host commands for the document tests.
#include "TESTFILES.h"

#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

CLSTempFolder::CLSTempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof(base), base);
    static unsigned serial = 0;
    m_path = std::string(base) + "glimdoc" + std::to_string(GetCurrentProcessId()) + "_" +
             std::to_string(++serial);
    CreateDirectoryA(m_path.c_str(), nullptr);
}

CLSTempFolder::~CLSTempFolder()
{
    for (const std::string& file : m_files) {
        DeleteFileA(file.c_str());
    }
    RemoveDirectoryA(m_path.c_str());
}

std::string CLSTempFolder::Write(const std::string& name, const std::string& bytes)
{
    const std::string path = PathOf(name);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot create " + path);
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size()) {
        throw std::runtime_error("cannot write " + path);
    }
    m_files.push_back(path);
    return path;
}

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

std::wstring Wide(const char8_t* utf8)
{
    return Wide(std::string(reinterpret_cast<const char*>(utf8)));
}

namespace {

void PutLe(std::string& out, unsigned value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

}  // namespace

std::string SilentWav(unsigned samples)
{
    const unsigned rate = 8000;
    const unsigned dataBytes = samples * 2;
    std::string wav = "RIFF";
    PutLe(wav, 36 + dataBytes, 4);
    wav += "WAVEfmt ";
    PutLe(wav, 16, 4);
    PutLe(wav, 1, 2);         // PCM
    PutLe(wav, 1, 2);         // mono
    PutLe(wav, rate, 4);
    PutLe(wav, rate * 2, 4);  // bytes a second
    PutLe(wav, 2, 2);         // block size
    PutLe(wav, 16, 2);        // bits a sample
    wav += "data";
    PutLe(wav, dataBytes, 4);
    wav.append(dataBytes, '\0');
    return wav;
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
bool RunHostCommand(const std::string& command, const CLSTempFolder& folder)
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

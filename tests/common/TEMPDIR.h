// What every test program needs of the file system: a temporary folder that
// goes away with everything in it, whole files written and read back, the
// helper programs and libraries built beside the test program, and commands
// run on Wine's host.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A fresh folder under the temporary path, removed at the end with all it
// holds (read-only files and sub-folders too).
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, without a trailing backslash.
    const std::string& Path() const { return m_path; }
    std::string PathOf(const std::string& name) const { return m_path + "\\" + name; }
    // Writes (or replaces) the file of that name; its full path.
    std::string Write(const std::string& name, std::string_view bytes) const;
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;

    // The same for names outside the ANSI code page, made with the wide
    // functions; names may hold backslashes (sub-folders made before).
    std::wstring WidePath() const { return std::wstring(m_path.begin(), m_path.end()); }  // the path is ASCII
    std::wstring WriteWide(const std::wstring& name, std::string_view bytes) const;
    std::wstring MakeFolderWide(const std::wstring& name) const;

private:
    std::string m_path;
};

// All three throw std::runtime_error when the file cannot be written or read.
void WriteFileBytes(const std::string& path, std::string_view bytes);
std::string ReadFileBytes(const std::string& path);
std::string ReadFileBytes(const std::wstring& path);
// A file of that size holding only the pieces at their offsets: the rest is
// never written (a sparse file where the file system keeps holes), so files
// of many gigabytes cost nothing.
void WriteSparseFile(const std::string& path, std::uint64_t size,
                     std::initializer_list<std::pair<std::uint64_t, std::string_view>> pieces = {});

// The full path of a file in the test program's own folder.
std::string BesideTestProgram(const std::string& name);

// Unique within the machine for this process and call: prefix, process id, count.
std::string UniqueName(const std::string& prefix);

// Runs a shell command line on Wine's host (for what only a process outside
// Windows may do to an open file) and waits for it; false when it failed or
// that is not possible here. folder holds the file that reports its end.
bool RunHostCommand(const std::string& command, const TempFolder& folder);
// The host's name for a Windows path, or empty when there is no host.
std::string HostPath(const std::string& windowsPath);

// Real files for the document tests: a temporary folder that is removed with
// everything in it, and the fixture files made by make-fixtures.sh.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CLSTempFolder {
public:
    CLSTempFolder();
    ~CLSTempFolder();
    CLSTempFolder(const CLSTempFolder&) = delete;
    CLSTempFolder& operator=(const CLSTempFolder&) = delete;

    // Writes bytes to a new file of that name in the folder; its full path.
    std::string Write(const std::string& name, const std::string& bytes);
    std::string PathOf(const std::string& name) const { return m_path + "\\" + name; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    std::vector<std::string> m_files;
};

// Contents of a checked-in fixture file.
std::string ReadFixture(const std::string& name);

// Bytes from a list of values: Bytes({0x82, 0xA0}).
std::string Bytes(std::initializer_list<int> values);

// UTF-16 text of UTF-8 bytes, for comparing decoded lines with expectations.
std::wstring Wide(const std::string& utf8);
std::wstring Wide(const char8_t* utf8);

// A 16-bit PCM WAV file of the given length in samples (silence).
std::string SilentWav(unsigned samples);

// Runs a shell command line on Wine's host (for what only a process outside
// Windows may do to an open file) and waits for it; false when it failed or
// that is not possible here. folder holds the file that reports its end.
bool RunHostCommand(const std::string& command, const CLSTempFolder& folder);
// The host's name for a Windows path, or empty when there is no host.
std::string HostPath(const std::string& windowsPath);

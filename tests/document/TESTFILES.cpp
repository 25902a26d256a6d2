// Fixtures, byte and text helpers for the document tests.
#include "TESTFILES.h"

#include <windows.h>

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

std::wstring Wide(const std::string& bytes, unsigned codePage)
{
    if (bytes.empty()) {
        return std::wstring();
    }
    const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                      nullptr, 0);
    std::wstring text(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
}

std::string Encode(const std::wstring& text, unsigned codePage)
{
    std::string bytes(text.size() * 5 + 8, '\0');
    bytes.resize(static_cast<std::size_t>(WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                                              bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                                              nullptr)));
    return bytes;
}

std::string Utf16(const std::wstring& text, bool bigEndian)
{
    std::string bytes;
    for (const wchar_t u : text) {
        bytes += static_cast<char>(bigEndian ? u >> 8 : u & 0xFF);
        bytes += static_cast<char>(bigEndian ? u & 0xFF : u >> 8);
    }
    return bytes;
}

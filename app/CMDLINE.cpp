// Command line and sibling paths.
#include "app/CMDLINE.h"

#include "base/SHIFTJIS.h"

#include <cstring>

std::string FirstArgument(const char* commandLine)
{
    if (commandLine == nullptr) {
        return {};
    }
    std::string argument;
    if (commandLine[0] == '"') {
        const char* start = commandLine + 1;
        const char* close = std::strchr(start, '"');
        if (close != nullptr) {
            argument.assign(start, close);
        }
    } else {
        const char* end = std::strchr(commandLine, ' ');
        argument = end != nullptr ? std::string(commandLine, end) : std::string(commandLine);
    }
    if (argument.size() > kMaxPathChars) {
        argument.resize(kMaxPathChars);
    }
    return argument;
}

std::string PathBoxText(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    std::string path = text.substr(first, last - first + 1);
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        path = path.substr(1, path.size() - 2);
    }
    return path;
}

bool BuildSiblingPath(const char* modulePath, const char* fileName, char* out, std::size_t outSize)
{
    if (outSize == 0) {
        return false;
    }
    const std::size_t nameLength = std::strlen(fileName);
    std::size_t folderLength = 0;
    // Step over double-byte characters: a trail byte may be 0x5C, the backslash.
    for (std::size_t i = 0; modulePath != nullptr && modulePath[i] != '\0';) {
        if (modulePath[i + 1] != '\0' && IsShiftJisPair(modulePath + i)) {
            i += 2;
            continue;
        }
        if (modulePath[i] == '\\' || modulePath[i] == '/') {
            folderLength = i + 1;
        }
        ++i;
    }
    if (modulePath == nullptr || folderLength + nameLength + 1 > outSize) {
        if (nameLength + 1 <= outSize) {
            std::memcpy(out, fileName, nameLength + 1);
        } else {
            out[0] = '\0';
        }
        return false;
    }
    std::memcpy(out, modulePath, folderLength);
    std::memcpy(out + folderLength, fileName, nameLength + 1);
    return true;
}

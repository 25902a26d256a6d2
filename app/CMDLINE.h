// Start-up text handling without Windows: the first command-line argument and
// the paths of the files that live beside the executable.
#pragma once

#include <cstddef>
#include <string>

// Longest path the path box and the path buffers take, without the terminator.
constexpr std::size_t kMaxPathChars = 259;

// The first argument of a command line (without the program name): a quoted
// argument ends at the next quote (none: empty), a bare one at the first space.
// Tabs are not separators. Longer arguments are cut to kMaxPathChars.
std::string FirstArgument(const char* commandLine);

// The path typed into the path box: one pair of double quotes around it (as
// "copy as path" gives it) is taken away, and blanks around it too.
std::string PathBoxText(const std::string& text);

// Replaces the file-name part of modulePath (after the last backslash or slash,
// Shift-JIS aware)
// by fileName. False when the result would not fit in outSize bytes; out then
// holds the bare fileName, which resolves against the current folder.
bool BuildSiblingPath(const char* modulePath, const char* fileName, char* out, std::size_t outSize);

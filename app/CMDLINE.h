// Start-up text handling without Windows: the first command-line argument and
// the paths of the files that live beside the executable. Paths are UTF-16,
// as the system gives them, and are never cut.
#pragma once

#include <string>

// What follows the program name in a whole command line (GetCommandLineW):
// a quoted name ends at its closing quote, a bare one at the first blank;
// the blanks after it go too.
std::wstring ArgumentsOf(const wchar_t* commandLine);

// The first argument of the arguments: a quoted argument ends at the next
// quote (none: empty), a bare one at the first space. Tabs are not separators.
std::wstring FirstArgument(const wchar_t* arguments);

// The path typed into the path box: one pair of double quotes around it (as
// "copy as path" gives it) is taken away, and blanks around it too.
std::wstring PathBoxText(const std::wstring& text);

// modulePath with its file-name part (after the last backslash or slash)
// replaced by fileName; the bare fileName, which resolves against the current
// folder, when there is no module path.
std::wstring SiblingPath(const std::wstring& modulePath, const wchar_t* fileName);

// Command line and sibling paths.
#include "app/CMDLINE.h"

#include <cwchar>

std::wstring ArgumentsOf(const wchar_t* commandLine)
{
    if (commandLine == nullptr) {
        return {};
    }
    const wchar_t* p = commandLine;
    if (*p == L'"') {
        const wchar_t* close = std::wcschr(p + 1, L'"');
        p = close != nullptr ? close + 1 : p + std::wcslen(p);
    } else {
        while (*p != L'\0' && *p != L' ' && *p != L'\t') {
            ++p;
        }
    }
    while (*p == L' ' || *p == L'\t') {
        ++p;
    }
    return p;
}

std::wstring FirstArgument(const wchar_t* arguments)
{
    if (arguments == nullptr) {
        return {};
    }
    if (arguments[0] == L'"') {
        const wchar_t* start = arguments + 1;
        const wchar_t* close = std::wcschr(start, L'"');
        return close != nullptr ? std::wstring(start, close) : std::wstring();
    }
    const wchar_t* end = std::wcschr(arguments, L' ');
    return end != nullptr ? std::wstring(arguments, end) : std::wstring(arguments);
}

std::wstring PathBoxText(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(L" \t");
    std::wstring path = text.substr(first, last - first + 1);
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') {
        path = path.substr(1, path.size() - 2);
    }
    return path;
}

std::wstring SiblingPath(const std::wstring& modulePath, const wchar_t* fileName)
{
    const std::size_t slash = modulePath.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        return fileName;
    }
    return modulePath.substr(0, slash + 1) + fileName;
}

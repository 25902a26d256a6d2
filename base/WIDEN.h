// A narrow string of the system code page (the A functions' strings) as the
// UTF-16 the W functions take.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

inline std::wstring WidenAnsi(std::string_view text)
{
    if (text.empty()) {
        return std::wstring();
    }
    const int length = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring wide(n > 0 ? static_cast<std::size_t>(n) : 0u, L'\0');
    if (n > 0) {
        MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), n);
    }
    return wide;
}

// Texts of the string table: every text the program shows comes from the
// resources, read here.
#pragma once

#include <windows.h>

#include <string>

// The string resource id of the executable, empty when there is none.
inline std::string LoadResourceString(UINT id)
{
    char text[512] = "";
    const int n = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof(text));
    return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

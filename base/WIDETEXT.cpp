// Text conversions for names and paths.
#include "base/WIDETEXT.h"

#include <windows.h>

namespace {

// Paths up to this many units work with every wide function as they are.
constexpr std::size_t kPlainPathUnits = 259;

}  // namespace

std::wstring WideOfUtf8(std::string_view text)
{
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring out(n > 0 ? static_cast<std::size_t>(n) : 0, L'\0');
    if (n > 0) {
        MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out.data(), n);
    }
    return out;
}

bool AnsiOfWide(std::wstring_view text, std::string& out)
{
    out.clear();
    if (text.empty()) {
        return true;
    }
    const int size = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, nullptr, &lossy);
    if (n <= 0 || lossy) {
        return false;
    }
    out.resize(static_cast<std::size_t>(n));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, out.data(), n, nullptr, &lossy);
    if (lossy) {
        out.clear();
        return false;
    }
    return true;
}

std::string Utf8OfWide(std::wstring_view text)
{
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    if (n > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    }
    return out;
}

std::wstring LongPathForm(const std::wstring& path)
{
    if (path.size() <= kPlainPathUnits || path.rfind(L"\\\\?\\", 0) == 0) {
        return path;
    }
    if (path.rfind(L"\\\\", 0) == 0) {
        return L"\\\\?\\UNC\\" + path.substr(2);
    }
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') {
        return L"\\\\?\\" + path;
    }
    return path;  // relative: the extended form would not resolve it
}

// Conversions between the wide text of file-system names and the byte texts
// the program stores: the ANSI code page (Shift-JIS; WidenAnsi the other way)
// and UTF-8.
#pragma once

#include "base/WIDEN.h"

#include <string>
#include <string_view>

// The text in the ANSI code page; false (out empty) when a character has no
// exact form there. No best fit: U+00A5 must not become a backslash.
bool AnsiOfWide(std::wstring_view text, std::string& out);
std::string Utf8OfWide(std::wstring_view text);
std::wstring WideOfUtf8(std::string_view text);

// The extended-length form (\\?\ or \\?\UNC\) of a full path that is too long
// for the plain functions; other paths are returned unchanged.
std::wstring LongPathForm(const std::wstring& path);

// What the document tests share beyond the temporary folder: the fixture files
// made by make-fixtures.sh, and bytes and wide text written briefly.
#pragma once

#include "tests/common/TEMPDIR.h"

#include <initializer_list>
#include <string>

// Contents of a checked-in fixture file.
std::string ReadFixture(const std::string& name);

// Bytes from a list of values: Bytes({0x82, 0xA0}).
std::string Bytes(std::initializer_list<int> values);

// UTF-16 text of bytes in a code page (UTF-8 unless told), for comparing
// decoded lines with expectations.
std::wstring Wide(const std::string& bytes, unsigned codePage = 65001);

// Text as the bytes of a code page, or as UTF-16 units in either byte order.
std::string Encode(const std::wstring& text, unsigned codePage);
std::string Utf16(const std::wstring& text, bool bigEndian = false);

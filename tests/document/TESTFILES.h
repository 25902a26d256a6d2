// What the document tests share beyond the temporary folder: the fixture files
// made by make-fixtures.sh, bytes and wide text written briefly, and commands
// run on Wine's host.
#pragma once

#include "tests/common/TEMPDIR.h"

#include <initializer_list>
#include <string>

// Contents of a checked-in fixture file.
std::string ReadFixture(const std::string& name);

// Bytes from a list of values: Bytes({0x82, 0xA0}).
std::string Bytes(std::initializer_list<int> values);

// UTF-16 text of UTF-8 bytes, for comparing decoded lines with expectations.
std::wstring Wide(const std::string& utf8);

// Runs a shell command line on Wine's host (for what only a process outside
// Windows may do to an open file) and waits for it; false when it failed or
// that is not possible here. folder holds the file that reports its end.
bool RunHostCommand(const std::string& command, const TempFolder& folder);
// The host's name for a Windows path, or empty when there is no host.
std::string HostPath(const std::string& windowsPath);

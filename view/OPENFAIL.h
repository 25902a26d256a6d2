// The line the pane shows in place of a file it could not open. Pure: the
// system's own text for the error comes from the caller.
#pragma once

#include <string>

// The system's code for "this is a folder" (ERROR_DIRECTORY), which the
// document answers for a folder instead of the misleading "access denied".
constexpr unsigned long kOpenErrorFolder = 267;

// "「name」を開けません: " and the reason: our own words for a folder, else the
// system's text for the error (its line break dropped), else the error number.
std::string OpenFailureLine(const std::string& name, unsigned long error, const std::string& systemText);

// The one consistency check of the program: a broken invariant is shown as
// "Assertion failed: <condition>, file <module>, line <n>" and ends the program.
#pragma once

#include <string>

// The module is the upper-case base name of the source file (TSTRING, vector, ...).
std::string FormatAssertion(const char* condition, const char* sourceFile, int line);

// Reports the failure and does not return (unless a test has installed a handler
// that throws).
[[noreturn]] void AssertionFailed(const char* condition, const char* sourceFile, int line);

// Tests replace the message box with their own handler; the handler must not
// return normally (it throws or ends the process). Null restores the default.
using AssertionHandler = void (*)(const std::string& message);
void SetAssertionHandler(AssertionHandler handler);

#define GLIM_ASSERT(cond) ((cond) ? (void)0 : ::AssertionFailed(#cond, __FILE__, __LINE__))

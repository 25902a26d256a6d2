// Text of an assertion message and the replaceable handler; no Windows here.
#include "base/ASSERT.h"

#include <cstdlib>
#include <cstring>

namespace {

AssertionHandler g_handler = nullptr;

std::string ModuleOf(const char* sourceFile)
{
    const char* base = sourceFile;
    for (const char* p = sourceFile; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\') {
            base = p + 1;
        }
    }
    const char* dot = std::strrchr(base, '.');
    return dot != nullptr ? std::string(base, dot) : std::string(base);
}

}  // namespace

std::string FormatAssertion(const char* condition, const char* sourceFile, int line)
{
    return "Assertion failed: " + std::string(condition) + ", file " + ModuleOf(sourceFile) +
           ", line " + std::to_string(line);
}

void SetAssertionHandler(AssertionHandler handler)
{
    g_handler = handler;
}

// Defined once per platform: a message box on Windows, standard error elsewhere.
[[noreturn]] void ShowAssertionAndExit(const std::string& message);

void AssertionFailed(const char* condition, const char* sourceFile, int line)
{
    const std::string message = FormatAssertion(condition, sourceFile, line);
    if (g_handler != nullptr) {
        g_handler(message);
    }
    ShowAssertionAndExit(message);
}

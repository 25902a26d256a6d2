// Host face of the assertion helper, for the native fuzzing and benchmark builds.
#include <cstdio>
#include <cstdlib>
#include <string>

[[noreturn]] void ShowAssertionAndExit(const std::string& message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
    std::abort();
}

// A stand-in for a file on a share or a stick that went away: each read waits
// until the test lets it go (or a long while has passed, so that code that
// waits for it fails its test rather than hanging it), then fills all it was
// given.
#pragma once

#include "base/OWNERS.h"
#include "document/TIMEDREAD.h"

#include <windows.h>

#include <cstring>

class CLSHeldSource : public CLSByteSource {
public:
    bool ReadAt(std::uint64_t, unsigned char* into, DWORD n, DWORD* got) override
    {
        WaitForSingleObject(release.Get(), 10000);
        std::memset(into, 'x', n);
        *got = n;
        return true;
    }
    CLSHandle release{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
};

// The two stream operations the picture loaders rely on: a seek from the start
// or the end, and a read that gathers what the stream gives until it runs dry.
#pragma once

#include <windows.h>

#include <objidl.h>

// Moves to offset from origin (STREAM_SEEK_SET or STREAM_SEEK_END); the new
// position goes to *position when asked for.
inline bool SeekStream(IStream* stream, LONGLONG offset, DWORD origin,
                       ULARGE_INTEGER* position = nullptr)
{
    LARGE_INTEGER move;
    move.QuadPart = offset;
    return SUCCEEDED(stream->Seek(move, origin, position));
}

// Reads up to count bytes; a stream may hand them out in pieces. Returns how
// many arrived.
inline ULONG ReadStream(IStream* stream, void* dest, ULONG count)
{
    ULONG total = 0;
    while (total < count) {
        ULONG got = 0;
        const HRESULT hr = stream->Read(static_cast<BYTE*>(dest) + total, count - total, &got);
        if (FAILED(hr) || got == 0 || got > count - total) {
            break;
        }
        total += got;
    }
    return total;
}

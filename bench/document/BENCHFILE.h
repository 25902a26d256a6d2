// The Windows benchmarks' generated text files on disk: written once and kept
// in the data folder for later runs.
#pragma once

#include "BENCHTEXT.h"
#include "bench/common/BENCHWIN.h"

#include <windows.h>

#include <string>

// bytes of generated Japanese text, Shift-JIS or UTF-16 LE with its mark (or
// it would be taken for binary), unless a previous run left a file of that size.
inline void WriteBenchTextFile(const std::string& path, DWORD bytes, bool utf16)
{
    constexpr DWORD kPiece = 1 << 20;
    if (BenchFileSize(path) == bytes) {
        return;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    CLSBenchText text(utf16 ? 7 : 3);
    std::string block;
    DWORD written = 0;
    if (utf16) {
        DWORD done = 0;
        WriteFile(file, "\xFF\xFE", 2, &done, nullptr);
        written = 2;
    }
    while (written < bytes) {
        block.clear();
        if (utf16) {
            text.AppendUtf16Le(block, kPiece);
        } else {
            text.AppendShiftJis(block, kPiece);
        }
        const DWORD n = bytes - written < block.size() ? bytes - written : static_cast<DWORD>(block.size());
        DWORD done = 0;
        WriteFile(file, block.data(), n, &done, nullptr);
        written += n;
    }
    CloseHandle(file);
}

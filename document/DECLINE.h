// One decoded line: the owner of the GlobalAlloc'd block of UTF-16 text that
// GetLine hands out. Moving it moves the ownership; Release gives the block to
// a caller that frees it with GlobalFree itself.
#pragma once

#include "base/OWNERS.h"

#include <windows.h>

#include <utility>

class CLSDecodedLine {
public:
    CLSDecodedLine() = default;
    // Takes a fixed block holding a 0-terminated string of length units.
    CLSDecodedLine(CLSGlobalOwner block, int length) : m_block(std::move(block)), m_iLength(length) {}

    CLSDecodedLine(CLSDecodedLine&& other) noexcept
        : m_block(std::move(other.m_block)), m_iLength(std::exchange(other.m_iLength, 0))
    {
    }
    CLSDecodedLine& operator=(CLSDecodedLine&& other) noexcept
    {
        m_block = std::move(other.m_block);
        m_iLength = std::exchange(other.m_iLength, 0);
        return *this;
    }
    CLSDecodedLine(const CLSDecodedLine&) = delete;
    CLSDecodedLine& operator=(const CLSDecodedLine&) = delete;

    // False for the null result: no such line, or a read or allocation failed.
    explicit operator bool() const { return static_cast<bool>(m_block); }

    // The text, 0-terminated; an empty string for the null result.
    const WCHAR* Text() const { return m_block ? static_cast<const WCHAR*>(m_block.Get()) : L""; }
    // Units before the terminating 0 (what lstrlenW would say).
    int Length() const { return m_iLength; }

    // Hands the block over: the caller now frees it with GlobalFree.
    HGLOBAL Release()
    {
        m_iLength = 0;
        return m_block.Release();
    }

private:
    CLSGlobalOwner m_block;
    int m_iLength = 0;
};

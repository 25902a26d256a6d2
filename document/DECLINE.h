// One decoded line: the owner of the GlobalAlloc'd block of UTF-16 text that
// GetLine hands out. Moving it moves the ownership; Release gives the block to
// a caller that frees it with GlobalFree itself.
#pragma once

#include <windows.h>

class CLSDecodedLine {
public:
    CLSDecodedLine() = default;
    // Takes a fixed block holding a 0-terminated string of length units.
    CLSDecodedLine(HGLOBAL block, int length) : m_hBlock(block), m_iLength(length) {}
    ~CLSDecodedLine() { Free(); }

    CLSDecodedLine(CLSDecodedLine&& other) noexcept : m_hBlock(other.m_hBlock), m_iLength(other.m_iLength)
    {
        other.m_hBlock = nullptr;
        other.m_iLength = 0;
    }
    CLSDecodedLine& operator=(CLSDecodedLine&& other) noexcept
    {
        if (this != &other) {
            Free();
            m_hBlock = other.m_hBlock;
            m_iLength = other.m_iLength;
            other.m_hBlock = nullptr;
            other.m_iLength = 0;
        }
        return *this;
    }
    CLSDecodedLine(const CLSDecodedLine&) = delete;
    CLSDecodedLine& operator=(const CLSDecodedLine&) = delete;

    // False for the null result: no such line, or a read or allocation failed.
    explicit operator bool() const { return m_hBlock != nullptr; }

    // The text, 0-terminated; an empty string for the null result.
    const WCHAR* Text() const { return m_hBlock != nullptr ? static_cast<const WCHAR*>(m_hBlock) : L""; }
    // Units before the terminating 0 (what lstrlenW would say).
    int Length() const { return m_iLength; }

    // Hands the block over: the caller now frees it with GlobalFree.
    HGLOBAL Release()
    {
        HGLOBAL block = m_hBlock;
        m_hBlock = nullptr;
        m_iLength = 0;
        return block;
    }

private:
    void Free()
    {
        if (m_hBlock != nullptr) {
            GlobalFree(m_hBlock);
        }
    }

    HGLOBAL m_hBlock = nullptr;
    int m_iLength = 0;
};

// CLSTString: the program's owning byte string in the ANSI code page (Shift-JIS
// aware). Buffers grow and shrink in 256-byte granules; every live instance is
// counted so that the destructor can check the books.
#pragma once

#include <windows.h>

class CLSTString {
public:
    // Live instances; the destructor checks it never goes negative.
    static int m_iClassCount;

    static constexpr int kGranule = 256;

    CLSTString();
    // Copies iCount bytes (-1: to the end) of the text from iStart; a null text
    // gives an empty string. A range outside the text throws std::bad_alloc.
    CLSTString(const char* lpszText, int iStart = 0, int iCount = -1);
    explicit CLSTString(int iValue);
    CLSTString(const CLSTString& other);
    ~CLSTString();

    CLSTString& operator=(const CLSTString& other);
    CLSTString& operator=(const char* lpszText);

    // Sizes the buffer for a text of iLength bytes (never below the current
    // length), in whole granules; may give memory back.
    void Reserve(int iLength);
    // Replaces iCount bytes (-1: to the end) from iStart by the text (null:
    // deletes them). A range outside the string leaves it unchanged.
    void Replace(int iStart, int iCount, const char* lpszText);
    void Assign(const char* lpszText);
    void Assign(const CLSTString& other);
    void Append(const char* lpszText);
    void Append(const CLSTString& other);
    // Appends at most iCount bytes of the text, stopping early at a NUL.
    void Append(const char* lpszText, int iCount);
    void Append(int iValue);

    bool operator==(const char* lpszText) const;
    bool operator==(const CLSTString& other) const;

    // The byte at iPos, or 0 outside the string.
    char CharAt(int iPos) const;
    // First match at or after iStart, or -1. A double-byte character is never
    // split, and the byte after chEscape is skipped (0: no escape).
    int Find(const char* lpszText, int iStart = 0, char chEscape = 0) const;
    int Find(char ch, int iStart = 0, char chEscape = 0) const;
    // The range as a new string; an invalid range gives an empty one.
    CLSTString Mid(int iStart, int iCount = -1) const;

    void FromWindowText(HWND hWnd);
    void FromWindowText(HWND hDlg, int iControlId);

    // Decimal or "0x" hexadecimal; an 8-byte "0xRRGGBB" is a COLORREF.
    int ToInt() const;

    const char* GetString() const { return m_lpszString; }
    int GetLength() const { return m_iLength; }
    int GetCapacity() const { return m_iCapacity; }
    bool IsEmpty() const { return m_iLength == 0; }

private:
    void Allocate(int iLength);
    void Resize(int iCapacity);
    void ReplaceBytes(int iStart, int iCount, const char* lpText, int iTextLength);

    char* m_lpszString;
    int m_iCapacity;
    int m_iLength;
};

CLSTString operator+(const CLSTString& left, const CLSTString& right);
CLSTString operator+(const CLSTString& left, const char* lpszRight);

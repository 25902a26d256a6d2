// Line-by-line reading of a text file (CR LF, CR or LF breaks, lines of any
// length) and writing of texts with CR LF line ends. A read or write call that
// fails on an open file throws CLSError.
#pragma once

#include <windows.h>

#include "settings/TSTRING.h"

// Thrown by value when a read (code 7) or write (code 9) fails on an open file.
struct CLSError {
    static constexpr int kReadFailed = 7;
    static constexpr int kWriteFailed = 9;

    const char* m_lpszModule;
    int m_iLine;
    int m_iCode;
    unsigned char m_byFlag;  // raised as 0; nothing reads it yet
};

class CLSFileReadLine {
public:
    // Read calls ask for this many bytes; the buffer holds one more for a NUL.
    static constexpr int kChunk = 1025;

    CLSFileReadLine();
    explicit CLSFileReadLine(const wchar_t* lpszPath);
    ~CLSFileReadLine();
    CLSFileReadLine(const CLSFileReadLine&) = delete;
    CLSFileReadLine& operator=(const CLSFileReadLine&) = delete;

    bool Open(const wchar_t* lpszPath);
    // The next line without its break; false once the file is exhausted (or
    // none is open), with strLine empty. A NUL byte ends a line like a break.
    bool ReadLine(CLSTString& strLine);
    bool IsEnd() const;
    void Close();

private:
    bool FillBuffer();
    void ConsumeBreak(int iBreak);

    int m_iRemaining;
    bool m_bEnd;
    bool m_bPendingCR;
    char m_achBuffer[kChunk + 1];
    const char* m_lpCurrent;
    HANDLE m_hFile;
};

class CLSFileWriteString {
public:
    CLSFileWriteString();
    ~CLSFileWriteString();
    CLSFileWriteString(const CLSFileWriteString&) = delete;
    CLSFileWriteString& operator=(const CLSFileWriteString&) = delete;

    // Creates or truncates the file, or with bAppend opens it and writes at
    // its end. No other handle may share it while it is open. False when the
    // file cannot be opened for writing (a read-only file included).
    bool Open(const wchar_t* lpszPath, bool bAppend = false);
    void Write(const char* lpszText);  // a null text writes nothing
    void WriteChar(char ch);
    void WriteLine(const char* lpszText = nullptr);  // the text, then CR LF
    void WriteLine(int iValue);
    void WriteLine(char ch);
    void Close();

private:
    void WriteBytes(const char* lpData, DWORD dwLength);

    HANDLE m_hFile;
};

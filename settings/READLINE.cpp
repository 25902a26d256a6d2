// The line reader and the text writer under the settings file.
#include "settings/READLINE.h"

#include "base/WIDETEXT.h"

#include <cstdio>
#include <cstring>

namespace {

const char kModule[] = "READLINE";

}  // namespace

CLSFileReadLine::CLSFileReadLine()
    : m_iRemaining(0), m_bEnd(false), m_bPendingCR(false), m_achBuffer(), m_lpCurrent(m_achBuffer),
      m_hFile(INVALID_HANDLE_VALUE)
{
}

CLSFileReadLine::CLSFileReadLine(const wchar_t* lpszPath) : CLSFileReadLine()
{
    Open(lpszPath);
}

CLSFileReadLine::~CLSFileReadLine()
{
    Close();
}

bool CLSFileReadLine::Open(const wchar_t* lpszPath)
{
    Close();
    m_hFile = CreateFileW(LongPathForm(lpszPath).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
    return m_hFile != INVALID_HANDLE_VALUE;
}

void CLSFileReadLine::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE) {
        CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
    m_iRemaining = 0;
    m_bEnd = false;
    m_bPendingCR = false;
    m_lpCurrent = m_achBuffer;
}

bool CLSFileReadLine::IsEnd() const
{
    return m_hFile == INVALID_HANDLE_VALUE || m_bEnd;
}

// Reads the next chunk; false when the file has no more bytes.
bool CLSFileReadLine::FillBuffer()
{
    DWORD dwRead = 0;
    if (!ReadFile(m_hFile, m_achBuffer, kChunk, &dwRead, nullptr)) {
        throw CLSError{kModule, __LINE__, CLSError::kReadFailed, 0};
    }
    m_achBuffer[dwRead] = '\0';
    m_lpCurrent = m_achBuffer;
    m_iRemaining = static_cast<int>(dwRead);
    // A CR LF split between two chunks is one break, not two.
    if (m_bPendingCR) {
        m_bPendingCR = false;
        if (dwRead > 0 && m_achBuffer[0] == '\n') {
            ++m_lpCurrent;
            --m_iRemaining;
        }
    }
    return dwRead > 0;
}

void CLSFileReadLine::ConsumeBreak(int iBreak)
{
    const bool bCR = m_lpCurrent[iBreak] == '\r';
    int iUsed = iBreak + 1;
    if (bCR && iUsed < m_iRemaining && m_lpCurrent[iUsed] == '\n') {
        ++iUsed;
    } else if (bCR && iUsed == m_iRemaining) {
        m_bPendingCR = true;
    }
    m_lpCurrent += iUsed;
    m_iRemaining -= iUsed;
}

bool CLSFileReadLine::ReadLine(CLSTString& strLine)
{
    strLine.Assign(nullptr);
    while (!IsEnd()) {
        if (m_iRemaining == 0) {
            if (!FillBuffer()) {
                m_bEnd = true;
                return !strLine.IsEmpty();  // a last line without a break
            }
            if (m_iRemaining == 0) {
                continue;  // the chunk held only the LF of a split CR LF
            }
        }
        // The NUL put after the chunk stops the scan at its end.
        const int iBreak = static_cast<int>(std::strcspn(m_lpCurrent, "\r\n"));
        if (iBreak < m_iRemaining) {
            strLine.Append(m_lpCurrent, iBreak);
            ConsumeBreak(iBreak);
            return true;
        }
        strLine.Append(m_lpCurrent, m_iRemaining);
        m_iRemaining = 0;
    }
    return false;
}

CLSFileWriteString::CLSFileWriteString() : m_hFile(INVALID_HANDLE_VALUE)
{
}

CLSFileWriteString::~CLSFileWriteString()
{
    Close();
}

bool CLSFileWriteString::Open(const wchar_t* lpszPath, bool bAppend)
{
    Close();
    // Windows itself refuses to write a read-only file, but not every host
    // does (Wine run by root opens it): honour the attribute here as well.
    const std::wstring path = LongPathForm(lpszPath);
    const DWORD dwAttributes = GetFileAttributesW(path.c_str());
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return false;
    }
    const DWORD dwAccess = bAppend ? GENERIC_READ | GENERIC_WRITE : GENERIC_WRITE;
    const DWORD dwDisposition = bAppend ? OPEN_ALWAYS : CREATE_ALWAYS;
    m_hFile = CreateFileW(path.c_str(), dwAccess, 0, nullptr, dwDisposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE) {
        return false;
    }
    if (bAppend && SetFilePointer(m_hFile, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
        Close();
        return false;
    }
    return true;
}

void CLSFileWriteString::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE) {
        CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
}

void CLSFileWriteString::WriteBytes(const char* lpData, DWORD dwLength)
{
    DWORD dwWritten = 0;
    // A short write is as much a failure as a refused one: the text is not there.
    if (m_hFile == INVALID_HANDLE_VALUE || !WriteFile(m_hFile, lpData, dwLength, &dwWritten, nullptr) ||
        dwWritten != dwLength) {
        throw CLSError{kModule, __LINE__, CLSError::kWriteFailed, 0};
    }
}

void CLSFileWriteString::Write(const char* lpszText)
{
    if (lpszText != nullptr) {
        WriteBytes(lpszText, static_cast<DWORD>(std::strlen(lpszText)));
    }
}

void CLSFileWriteString::WriteChar(char ch)
{
    WriteBytes(&ch, 1);
}

void CLSFileWriteString::WriteLine(const char* lpszText)
{
    Write(lpszText);
    WriteBytes("\r\n", 2);
}

void CLSFileWriteString::WriteLine(int iValue)
{
    char achNumber[16];
    std::snprintf(achNumber, sizeof(achNumber), "%d", iValue);
    WriteLine(static_cast<const char*>(achNumber));
}

void CLSFileWriteString::WriteLine(char ch)
{
    const char achText[2] = {ch, '\0'};
    WriteLine(static_cast<const char*>(achText));
}

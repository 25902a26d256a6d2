// The open document: opening, closing, and the byte cursor over either
// storage form.
#include "document/FILESTRM.h"

#include "base/OWNERS.h"
#include "document/DETECT.h"

#include <climits>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr DWORD kDefaultMemoryLimit = 4000000;
constexpr DWORD kSmallestMemoryLimit = 1000;
constexpr DWORD kFailed = 0xFFFFFFFF;
// Long enough for a share that is slow to wake, short enough that a pane that
// waits for a file that went away is not taken for a hung program.
constexpr DWORD kReadDeadline = 2000;

}  // namespace

CLSFileStream::CLSFileStream()
    : m_lpbyMemory(nullptr),
      m_dwPosition(0),
      m_dwMemoryLimit(kDefaultMemoryLimit),
      m_dwFileSize(0),
      m_encDetected(TextEncoding::Auto),
      m_kind(DocumentKind::Hex),
      m_lRefCount(1)
{
}

CLSFileStream::~CLSFileStream()
{
    Close();
}

void CLSFileStream::SetMemoryLimit(DWORD bytes)
{
    if (bytes >= kSmallestMemoryLimit) {
        m_dwMemoryLimit = bytes;
    }
}

bool CLSFileStream::Open(const std::wstring& path)
{
    Close();
    m_encDetected = TextEncoding::Auto;
    m_bStalled = false;
    m_strPath = path;
    m_dwOpenError = OpenHandle(path.c_str());
    if (m_dwOpenError != NO_ERROR) {
        Close();
        return false;
    }
    if (SetPosition(0, FILE_BEGIN) == kFailed) {
        m_dwOpenError = ERROR_SEEK;
        Close();
        return false;
    }
    return true;
}

namespace {

// Another program may go on writing, renaming or deleting the file while it is
// shown: a log that is being written is shown as far as it has been written.
CLSHandle OpenShared(const WCHAR* path)
{
    return CLSHandle(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The reader's own hold of the file, which it may keep after the document has
// closed its handle: a read stuck on it ends on its own.
std::unique_ptr<CLSTimedReader> TimedReaderOf(HANDLE file)
{
    HANDLE copy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), file, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        return nullptr;
    }
    return std::make_unique<CLSTimedReader>(MakeHandleSource(copy), kReadDeadline);
}

std::uint64_t SizeOf(const BY_HANDLE_FILE_INFORMATION& info)
{
    return (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

}  // namespace

// Opens the file itself, into memory up to the limit, else keeping the
// handle; the system's error code when that fails.
DWORD CLSFileStream::OpenHandle(const WCHAR* path)
{
    // Opening a folder fails with "access denied", which would tell the user
    // the wrong thing.
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (GetFileAttributesExW(path, GetFileExInfoStandard, &attributes) &&
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return ERROR_DIRECTORY;
    }
    CLSHandle file = OpenShared(path);
    if (!file) {
        return GetLastError();
    }
    if (!GetFileInformationByHandle(file.Get(), &m_infoOpened)) {
        return GetLastError();
    }
    m_ullFileSize = SizeOf(m_infoOpened);
    m_dwFileSize = m_ullFileSize > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(m_ullFileSize);
    m_reader = TimedReaderOf(file.Get());
    if (!m_reader) {
        return GetLastError();
    }
    if (m_ullFileSize > m_dwMemoryLimit) {
        m_hFile = std::move(file);
        return NO_ERROR;
    }
    if (!LoadIntoMemory(std::move(file))) {
        return m_bStalled ? ERROR_TIMEOUT : ERROR_NOT_ENOUGH_MEMORY;
    }
    return NO_ERROR;
}

// The size the folder entry reports can lag behind a writer that keeps its
// handle open, so the file itself is asked; another file under the same name
// (a log rotated away) has another file index.
bool CLSFileStream::HasChangedOnDisk() const
{
    if (m_strPath.empty() || m_dwOpenError != NO_ERROR) {
        return false;  // nothing was shown that could be stale
    }
    const CLSHandle file = OpenShared(m_strPath.c_str());
    BY_HANDLE_FILE_INFORMATION now{};
    if (!file || !GetFileInformationByHandle(file.Get(), &now)) {
        return true;
    }
    return SizeOf(now) != SizeOf(m_infoOpened) || now.dwVolumeSerialNumber != m_infoOpened.dwVolumeSerialNumber ||
           now.nFileIndexHigh != m_infoOpened.nFileIndexHigh || now.nFileIndexLow != m_infoOpened.nFileIndexLow ||
           CompareFileTime(&now.ftLastWriteTime, &m_infoOpened.ftLastWriteTime) != 0;
}

// Copies the whole file and a terminating 0 into a fixed block and closes the
// handle. If the file shrinks while it is read, the document is what was read;
// a read that fails or stalls fails the whole copy.
bool CLSFileStream::LoadIntoMemory(CLSHandle file)
{
    const SIZE_T bytes = static_cast<SIZE_T>(m_dwFileSize) + 1;
    auto* block = bytes != 0 ? static_cast<unsigned char*>(GlobalAlloc(GPTR, bytes)) : nullptr;
    if (block == nullptr) {
        return false;
    }
    DWORD total = 0;
    const bool read = ReadAt(0, block, m_dwFileSize, &total);
    file.Reset();
    m_reader.reset();  // a copy in memory reads the file no more
    if (!read) {
        GlobalFree(block);
        return false;
    }
    block[total] = 0;
    m_dwFileSize = total;
    m_ullFileSize = total;
    m_lpbyMemory = block;
    return SetPosition(0, FILE_BEGIN) != kFailed;
}

void CLSFileStream::Close()
{
    m_index.Clear();  // its thread reads a handle of its own, but first of all the file
    m_reader.reset();
    m_hFile.Reset();
    if (m_lpbyMemory != nullptr) {
        GlobalFree(m_lpbyMemory);
        m_lpbyMemory = nullptr;
    }
    m_dwPosition = 0;
    m_dwFileSize = 0;
    m_ullFileSize = 0;
    m_encDetected = TextEncoding::Auto;
    m_kind = DocumentKind::None;
}

DWORD CLSFileStream::SetPosition(LONG distance, DWORD origin)
{
    if (m_hFile) {
        return SetFilePointer(m_hFile.Get(), distance, nullptr, origin);
    }
    if (m_lpbyMemory == nullptr) {
        return kFailed;
    }
    const LONGLONG size = m_dwFileSize;
    LONGLONG target;
    switch (origin) {
    case FILE_BEGIN:
        target = distance;
        break;
    case FILE_CURRENT:
        target = static_cast<LONGLONG>(m_dwPosition) + distance;
        break;
    case FILE_END:
        target = distance <= 0 ? size + distance : size + 1;
        break;
    default:
        return kFailed;
    }
    if (target < 0 || target > size) {
        return kFailed;
    }
    m_dwPosition = static_cast<DWORD>(target);
    return m_dwPosition;
}

bool CLSFileStream::SeekTo(std::uint64_t offset)
{
    if (m_hFile) {
        LARGE_INTEGER move;
        move.QuadPart = static_cast<LONGLONG>(offset);
        return offset <= static_cast<std::uint64_t>(LLONG_MAX) &&
               SetFilePointerEx(m_hFile.Get(), move, nullptr, FILE_BEGIN) != FALSE;
    }
    if (m_lpbyMemory == nullptr || offset > m_dwFileSize) {
        return false;
    }
    m_dwPosition = static_cast<DWORD>(offset);
    return true;
}

bool CLSFileStream::ReadBytes(void* destination, DWORD count, DWORD* read)
{
    if (read != nullptr) {
        *read = 0;
    }
    if (destination == nullptr) {
        return false;
    }
    auto* out = static_cast<unsigned char*>(destination);
    if (m_hFile) {
        // The handle's file pointer is the cursor; the read itself goes
        // through the reader, which gives up on one that never ends.
        LARGE_INTEGER at{};
        const LARGE_INTEGER none{};
        DWORD got = 0;
        if (!SetFilePointerEx(m_hFile.Get(), none, &at, FILE_CURRENT) ||
            !ReadAt(static_cast<std::uint64_t>(at.QuadPart), out, count, &got)) {
            return false;
        }
        at.QuadPart += got;
        SetFilePointerEx(m_hFile.Get(), at, nullptr, FILE_BEGIN);
        if (read != nullptr) {
            *read = got;
        }
        return true;
    }
    if (m_lpbyMemory == nullptr) {
        return false;
    }
    const DWORD available = m_dwFileSize - m_dwPosition;
    const DWORD k = count < available ? count : available;
    std::memcpy(out, m_lpbyMemory + m_dwPosition, k);
    m_dwPosition += k;
    if (read != nullptr) {
        *read = k;
    }
    return true;
}

bool CLSFileStream::ReadAt(std::uint64_t offset, void* into, DWORD count, DWORD* got)
{
    *got = 0;
    if (!m_reader) {
        return false;
    }
    const bool ok = m_reader->ReadAt(offset, into, count, got);
    m_bStalled = HasStalled();  // also once the reader of a copy in memory is gone
    return ok;
}

void CLSFileStream::ReadThrough(std::shared_ptr<CLSByteSource> source, DWORD deadline)
{
    if (m_hFile) {
        m_reader = std::make_unique<CLSTimedReader>(std::move(source), deadline);
    }
}

DocumentKind CLSFileStream::GetKind()
{
    if (HasStalled()) {
        return DocumentKind::None;  // nothing of it can be shown
    }
    if (m_kind != DocumentKind::None) {
        return m_kind;
    }
    std::unique_ptr<unsigned char[]> sample(new (std::nothrow) unsigned char[kSampleBufferSize]());
    if (!sample) {
        return DocumentKind::None;
    }
    DWORD got = 0;
    if (SetPosition(0, FILE_BEGIN) == kFailed || !ReadBytes(sample.get(), kSampleBytes, &got)) {
        return DocumentKind::None;
    }
    // The user's choice of encoding plays no part here: a binary file stays a
    // hex dump under the automatic view form.
    const TextEncoding found =
        m_encDetected != TextEncoding::Auto ? m_encDetected : DetectEncoding(sample.get(), got);
    m_kind = found == TextEncoding::Binary ? DocumentKind::Hex : DocumentKind::Text;
    if (found == TextEncoding::Binary) {
        // Kept, so that the status bar can say why the file is shown as a dump;
        // the line index would find the same from the same first bytes.
        m_encDetected = found;
    }
    return m_kind;
}

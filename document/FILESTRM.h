// The open document: one file read-only, held as a complete copy in memory up
// to a size limit or else read through its handle, with one byte cursor that
// is also offered as a COM IStream to the picture loaders. It decides whether
// the file is text or binary, detects its encoding, and keeps the line index.
// It knows nothing of windows: whoever shows it turns a picture or media file
// into what is shown.
#pragma once

#include "base/OWNERS.h"
#include "document/DECLINE.h"
#include "document/ENCODING.h"
#include "document/LINEINDX.h"
#include "document/TIMEDREAD.h"

#include <windows.h>

#include <objidl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CLSFileStream : public IStream {
public:
    CLSFileStream();
    virtual ~CLSFileStream();
    CLSFileStream(const CLSFileStream&) = delete;
    CLSFileStream& operator=(const CLSFileStream&) = delete;

    // IUnknown, ISequentialStream and IStream, for outside readers.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG count, ULONG* read) override;
    HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG count, ULONG* written) override;
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                     ULARGE_INTEGER* written) override;
    HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Revert() override;
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) override;
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) override;
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Clone(IStream** stream) override;

    // Largest file (bytes) that the next Open copies into memory. Values below
    // 1000 are ignored; the comparison is unsigned, so -1 from the settings
    // file means every file.
    void SetMemoryLimit(DWORD bytes);
    DWORD GetMemoryLimit() const { return m_dwMemoryLimit; }

    // Closes the current file and opens path, a text-or-hex document decided
    // on first request, with the cursor at its start. False when the file
    // cannot be read; nothing is open then, and GetOpenError says why.
    bool Open(const std::wstring& path);
    void Close();
    // Why the last Open failed: the system's error code, ERROR_DIRECTORY for
    // a folder; 0 after a successful open or before any.
    DWORD GetOpenError() const { return m_dwOpenError; }
    // The path of the last Open, whether it succeeded or not.
    const std::wstring& GetPath() const { return m_strPath; }
    // Whether the file at the path is no longer the one that was opened:
    // another size, time of last writing or file, or gone. Costs one open,
    // nothing is read.
    bool HasChangedOnDisk() const;
    // Whether a read of the file did not end in time (a share or a stick
    // that went away): nothing is shown of it then, and no read of it is tried
    // again; the read left behind ends on its own.
    bool HasStalled() const { return m_bStalled || (m_reader && m_reader->HasStalled()); }
    // Reads of the file on disk from now on come from source, each given up
    // after deadline milliseconds: what stands in for the file where a test
    // needs a read that never ends.
    void ReadThrough(std::shared_ptr<CLSByteSource> source, DWORD deadline);

    // Opens the file that shown (a text document on disk whose line index is
    // complete) shows, when it is still that file and has only grown: its
    // lines are shared and counted on from its old end on the index thread,
    // which calls notice when it is done.
    // False, nothing open, for a shrunk or replaced file or one shown
    // otherwise: that one is opened anew.
    bool OpenGrown(const std::shared_ptr<CLSFileStream>& shown, LineIndexNotice notice);

    // Moves the cursor (origin FILE_BEGIN, FILE_CURRENT or FILE_END); the new
    // position, or 0xFFFFFFFF on failure with the cursor where it was.
    DWORD SetPosition(LONG distance, DWORD origin);
    // Puts the cursor at any offset from the start, also past 4 GiB; false
    // (cursor unchanged in memory) beyond the end of a copy in memory.
    bool SeekTo(std::uint64_t offset);
    // Reads up to count bytes at the cursor; true also at the end (0 bytes).
    bool ReadBytes(void* destination, DWORD count, DWORD* read);

    // Text or Hex, decided from the first 8190 bytes on first request; None
    // when nothing is open.
    DocumentKind GetKind();
    // The encoding found when the line index was built; Auto before that.
    TextEncoding GetDetectedEncoding() const { return m_encDetected; }
    // When the sample decided nothing, the index thread looks on through the
    // file and gives its notice early once it finds the encoding: this takes
    // that as the detected one. True when the detected encoding changed.
    bool TakeFoundEncoding();

    // The encoding the user chose, Auto for none. Lines are split in the
    // units of the chosen encoding, else of the detected one: choosing UTF-16
    // for a file read as single bytes, or the other byte order, drops the
    // line index, to be counted anew (from StartLineIndex, on its thread).
    // Only for a document no copy or search reads: they read the index.
    void SetLineEncoding(TextEncoding chosen);
    // Whether SetLineEncoding(chosen) would count the lines anew.
    bool SplitsLinesAnew(TextEncoding chosen) const;

    // Lines of the file (at least 1 once a file is open); builds the index, or
    // waits for the one being built.
    DWORD GetLineCount();
    // Prepares the line index of a file on disk for a second thread, which
    // starts with RunLineIndex (or as soon as something needs the whole
    // index); notice is called on that thread when it is complete. Meanwhile
    // lines near the start can be read, and whatever needs the whole index
    // (the count, lines further on) waits for it. In memory, or when no
    // thread can be had, the index is built here and now.
    void StartLineIndex(LineIndexNotice notice);
    void RunLineIndex();
    // Whether the whole index is there, so that the count costs nothing.
    bool IsLineIndexReady() const { return m_index.IsReady(); }
    // Whether the index thread is still at work: its notice is yet to come.
    bool IsLineIndexBuilding() const { return m_index.IsBuilding(); }
    // Lines known without waiting: all once the index is complete, else the
    // complete lines read so far near the start (at least 1 while open).
    DWORD GetLinesKnown();
    // Line k decoded to UTF-16 without its break; encoding Auto means the
    // detected one. Where lines start follows SetLineEncoding only. Null past
    // the last line or when a read fails.
    CLSDecodedLine GetLine(DWORD line, TextEncoding encoding = TextEncoding::Auto);
    // As GetLine, but never waits for the index thread: while it counts, a
    // line whose end the start read has not reached is null.
    CLSDecodedLine GetKnownLine(DWORD line, TextEncoding encoding = TextEncoding::Auto);
    // Whether the end of line is known without waiting for the index thread:
    // always once the lines are counted; while they are, when the start read
    // reaches past it (reading on as far as that may go).
    bool KnowsLineEnd(DWORD line);
    // Where line k starts and the bytes it spans with its break, without
    // decoding it (a line too long to decode whole is read in pieces
    // instead). While the lines are still counted, a line that starts near
    // the start but reaches past what is read there without waiting spans
    // to the end of the file, and least says how far it is known to reach;
    // else least is the span. False past the last line.
    struct LineBytes {
        std::uint64_t start;
        std::uint64_t span;
        std::uint64_t least;
    };
    bool GetLineBytes(DWORD line, LineBytes* bytes);
    // What a reader on another thread reads while the file stays open: the
    // copy in memory (null on disk), a handle with a file pointer of its own
    // (on disk; null in memory or when none can be had), and the complete
    // line index, once IsLineIndexReady says so.
    const unsigned char* GetMemoryCopy() const { return m_lpbyMemory; }
    HANDLE ReopenForReading() const;
    const CLSLineStarts& GetLineIndex() const { return m_index.Lines(); }
    // The complete line index held, as it stays after the file is closed or
    // counted anew; null until it is complete.
    std::shared_ptr<const CLSLineStarts> GetSharedLineIndex() const { return m_index.SharedLines(); }
    // The lines through line without waiting where that can be: while the
    // index is still built on its thread, the lines read near the start when
    // line is complete among them; else the complete index, built or waited
    // for now.
    const CLSLineStarts& LinesThrough(DWORD line);

    std::uint64_t GetFileSize() const { return m_ullFileSize; }
    // Whether the complete line index reaches the end of the file: not when
    // memory ran out for it (a 32-bit build) or the lines passed what a
    // 32-bit count holds. Text then ends at the last line it holds.
    bool LinesCoverFile() const { return !m_index.Lines().IsCut(); }
    bool IsOpen() const { return m_hFile.Valid() || m_lpbyMemory != nullptr; }
    bool IsInMemory() const { return m_lpbyMemory != nullptr; }

private:
    DWORD OpenHandle(const WCHAR* path);
    bool LoadIntoMemory(CLSHandle file);
    bool ReadAt(std::uint64_t offset, void* into, DWORD count, DWORD* got);
    void DetectFromSample();
    void BuildLineIndex();
    LineSource GetLineSource() const;
    void AfterIndexBuiltHere();
    bool SpanOf(const CLSLineStarts& lines, DWORD line, LineBytes* bytes) const;

    CLSHandle m_hFile;
    // Every read of the file on disk that this thread makes goes through it.
    std::unique_ptr<CLSTimedReader> m_reader;
    bool m_bStalled = false;
    unsigned char* m_lpbyMemory;  // fixed GlobalAlloc block: the file and a 0 byte
    DWORD m_dwPosition;
    CLSLineIndex m_index;
    DWORD m_dwMemoryLimit;
    DWORD m_dwFileSize;  // the size of a copy in memory, held to 32 bits
    std::uint64_t m_ullFileSize = 0;
    DWORD m_dwOpenError = 0;
    std::wstring m_strPath;
    // The file as it was opened, to notice it changed or replaced behind us.
    BY_HANDLE_FILE_INFORMATION m_infoOpened{};
    TextEncoding m_encDetected;
    TextEncoding m_encChosen = TextEncoding::Auto;
    DocumentKind m_kind;
    LONG m_lRefCount;
};

// The open document as another thread reads it while the file stays open (a
// search, the text of a copy): its copy in memory, or a handle of its own with
// a file pointer that no one else moves, and the complete line index.
#pragma once

#include "base/OWNERS.h"
#include "document/ENCODING.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

class CLSFileStream;

struct DocumentSource {
    // Whoever reads the source on another thread holds the document here, so
    // that its copy in memory and its index stay while the reading lasts,
    // also after the pane has moved on to another file.
    std::shared_ptr<const void> holder;
    const unsigned char* memory = nullptr;
    CLSHandle file;
    std::uint64_t size = 0;
    // The complete line index: where line k starts, how many lines, and where
    // the last one ends (before the end of the file when the index was cut).
    std::function<std::uint64_t(std::uint64_t)> lineStart;
    std::uint64_t lineCount = 0;
    std::uint64_t linesEnd = 0;

    std::uint64_t LineEnd(std::uint64_t k) const { return k + 1 < lineCount ? lineStart(k + 1) : linesEnd; }
};

// The source of a reader of the open document doc: its copy in memory or a
// handle of its own, and with lines the complete line index (which this waits
// for when a thread is still building it). The memory and the index are the
// document's: the source's holder keeps it while the reading lasts, and it
// opens no other file meanwhile. False when the file cannot be read again.
bool MakeDocumentSource(CLSFileStream& doc, bool lines, DocumentSource& source);
// The same for lines up to last only: while the whole index is still being
// built and last is among the lines read near the start, the source takes a
// copy of their starts instead of waiting for the whole count.
bool MakeDocumentSourceThrough(CLSFileStream& doc, DWORD last, DocumentSource& source);

// Reads n bytes at offset; false past the end, on a read error, or when the
// file has shrunk under the handle.
bool ReadSourceBytes(const DocumentSource& source, std::uint64_t offset, unsigned char* into, std::uint64_t n);

// Lines first to last (or the last there is) decoded as the view decodes them,
// read in long pieces rather than one by one: each goes to take(line, text,
// length) in order, the text valid during that call only. False when it
// stopped short: a line could not be read or decoded, or take said false.
using SourceLineTaker = std::function<bool(std::uint64_t line, const WCHAR* text, int length)>;
bool ReadSourceLines(const DocumentSource& source, std::uint64_t first, std::uint64_t last, TextEncoding encoding,
                     const SourceLineTaker& take);

// Bytes of the file that lines first to last (or the last there is) span.
std::uint64_t SourceLinesBytes(const DocumentSource& source, std::uint64_t first, std::uint64_t last);

// Fuzz target: the line index builder fed in arbitrary pieces must give the
// offsets of the plain walk that reads one unit at a time.
#include "document/LINESCAN.h"
#include "tests/document/UNITWALK.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

// Layout: byte 0 picks the encoding and piece length (the largest value: the
// whole file in one piece); the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const TextEncoding encodings[] = {TextEncoding::ShiftJis, TextEncoding::Utf16Le, TextEncoding::Utf16Be};
    const TextEncoding encoding = encodings[data[0] % 3];
    const std::size_t piece = data[0] / 3 == 85 ? size : 1 + data[0] / 3;
    const std::uint8_t* file = data + 1;
    const std::size_t fileSize = size - 1;

    CLSLineStarts index;
    index.push_back(0);
    CLSLineScanner scanner(index, encoding, fileSize);
    for (std::size_t at = 0; at < fileSize; at += piece) {
        scanner.Feed(file + at, fileSize - at < piece ? fileSize - at : piece);
    }
    scanner.Finish();
    const std::vector<std::uint32_t> expected = WalkOneUnitAtATime(file, fileSize, encoding);
    if (index.size() != expected.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (index[i] != expected[i]) {
            std::abort();
        }
    }
    return 0;
}

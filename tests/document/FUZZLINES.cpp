// Fuzz target: the line index builder fed in arbitrary pieces must give the
// offsets of the plain walk that reads one unit at a time.
#include "document/LINESCAN.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::vector<std::uint32_t> Walk(const std::uint8_t* bytes, std::size_t size, bool wide, bool bigEndian)
{
    const std::size_t unit = wide ? 2 : 1;
    std::size_t pos = 0;
    auto read = [&](unsigned* value) -> std::size_t {
        const std::size_t got = size - pos < unit ? size - pos : unit;
        unsigned char b[2] = {0, 0};
        for (std::size_t i = 0; i < got; ++i) {
            b[i] = bytes[pos + i];
        }
        *value = !wide ? b[0] : bigEndian ? (b[0] << 8 | b[1]) : (b[1] << 8 | b[0]);
        pos += got;
        return got;
    };
    std::vector<std::uint32_t> offsets = {0};
    std::size_t p = 0;
    for (;;) {
        unsigned u = 0;
        const std::size_t got = read(&u);
        if (got == 0) {
            return offsets;
        }
        std::size_t q = p + got;
        if (u == 0x0A) {
            offsets.push_back(static_cast<std::uint32_t>(q));
        } else if (u == 0x0D) {
            unsigned next = 0;
            const std::size_t more = read(&next);
            if (more != 0 && next == 0x0A) {
                q += more;
            } else {
                pos -= more;
            }
            offsets.push_back(static_cast<std::uint32_t>(q));
        }
        p = q;
    }
}

}  // namespace

// Layout: byte 0 picks the encoding and piece length; the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const TextEncoding encodings[] = {TextEncoding::ShiftJis, TextEncoding::Utf16Le, TextEncoding::Utf16Be};
    const TextEncoding encoding = encodings[data[0] % 3];
    const std::size_t piece = 1 + data[0] / 3;
    const std::uint8_t* file = data + 1;
    const std::size_t fileSize = size - 1;

    vector<std::uint32_t> index;
    index.push_back(0);
    CLSLineScanner scanner(index, encoding);
    for (std::size_t at = 0; at < fileSize; at += piece) {
        scanner.Feed(file + at, fileSize - at < piece ? fileSize - at : piece);
    }
    scanner.Finish();
    const std::vector<std::uint32_t> expected =
        Walk(file, fileSize, encoding != TextEncoding::ShiftJis, encoding == TextEncoding::Utf16Be);
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

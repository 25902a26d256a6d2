// Block search for line breaks, the hot loop of the line index: finds, 64 bytes
// at a time, each unit that ends a line (an LF, or a CR not followed by an LF)
// and writes the offset just after it. The widest instructions the processor
// has are chosen once, at run time. Pure code.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::size_t kLineBlock = 64;

// How units are read: single bytes, or 2-byte UTF-16 in either byte order.
enum class LineUnits { Bytes, Utf16Le, Utf16Be };

// The unit at p as a number: a byte, or 16 bits in the file's byte order.
inline unsigned LineUnitAt(const unsigned char* p, LineUnits units)
{
    switch (units) {
    case LineUnits::Bytes:
        return p[0];
    case LineUnits::Utf16Le:
        return p[0] | (p[1] << 8);
    default:
        return (p[0] << 8) | p[1];
    }
}

// The bytes that may begin evidence of an encoding, for the search past an
// ASCII head that rides along with the index: every byte above 0x7F and the
// escape; with binary, the binary bytes 0x00-0x06 and 0x7F; with utf7, the
// plus sign and every byte that is no UTF-7 direct character.
struct EvidenceBytes {
    bool binary;
    bool utf7;
};

// Where in p[0..n) bytes must be looked at one by one: the first evidence byte
// of the whole parts looked at together (16 or 8 bytes), else the start of the
// shorter part at the end (n when there is none).
std::size_t SkipToEvidence(const unsigned char* p, std::size_t n, EvidenceBytes watched);

// Scans blocks * 64 bytes at p, whose first byte lies at file offset base and
// starts a unit. The unit after the last block (p[blocks * 64] onwards) must
// be readable: it is the look-ahead of a CR in the last unit. Writes the offset
// after each line-ending unit to out and returns how many there are; out needs
// room for one item a unit and two more, which may be written over.
// With watched, the same pass also tells in *firstEvidence the first block
// that holds an evidence byte (blocks when none), so that the bytes are read
// once for both.
std::size_t FindLineEnds(const unsigned char* p, std::size_t blocks, LineUnits units, std::uint32_t base,
                         std::uint32_t* out, const EvidenceBytes* watched = nullptr,
                         std::size_t* firstEvidence = nullptr);

// The kernels by instruction set, for tests that hold each one against the
// portable form; LineKernelAvailable tells which this processor can run.
enum class LineKernel { Portable, Sse2, Avx2 };
bool LineKernelAvailable(LineKernel kernel);
std::size_t FindLineEndsWith(LineKernel kernel, const unsigned char* p, std::size_t blocks, LineUnits units,
                             std::uint32_t base, std::uint32_t* out, const EvidenceBytes* watched = nullptr,
                             std::size_t* firstEvidence = nullptr);

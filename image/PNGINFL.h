// The image data of a PNG: one zlib stream spread over a run of consecutive
// IDAT chunks, inflated on demand a row at a time. Pure: no Windows headers.
#pragma once

#include "image/PNGCHUNK.h"

#include <zlib.h>

class CLSPngInflater {
public:
    // chunks stands just after the first IDAT of the run, which is first.
    CLSPngInflater(CLSPngChunks& chunks, const PngChunk& first);
    ~CLSPngInflater();
    CLSPngInflater(const CLSPngInflater&) = delete;
    CLSPngInflater& operator=(const CLSPngInflater&) = delete;

    // Fills exactly count bytes; false on a zlib error or when the data ends
    // (the stream's end or the run's last IDAT) before they are all there.
    bool Read(uint8_t* dest, size_t count);

    // Moves the walk past what is left of the IDAT run: the zlib trailer and
    // anything after the picture's last row are not needed.
    void SkipRestOfRun();

private:
    bool FeedNextChunk();

    CLSPngChunks& m_chunks;
    z_stream m_zs{};
    bool m_fOpen = false;
    bool m_fEnded = false;
};

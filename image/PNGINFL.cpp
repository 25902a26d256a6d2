// Inflating the IDAT run with zlib, feeding one chunk after another.
#include "image/PNGINFL.h"

#include <algorithm>
#include <climits>

namespace {

// The zlib interface the decoder was written against; later versions accept it.
constexpr char kZlibVersion[] = "1.1.3";

}  // namespace

CLSPngInflater::CLSPngInflater(CLSPngChunks& chunks, const PngChunk& first) : m_chunks(chunks)
{
    m_zs.next_in = const_cast<Bytef*>(first.data);
    m_zs.avail_in = first.length;
    m_fOpen = inflateInit_(&m_zs, kZlibVersion, static_cast<int>(sizeof(z_stream))) == Z_OK;
    if (m_fOpen) {
        // The decode stops at the picture's last byte and never reads the
        // stream's trailer, so its checksum would be computed for nothing.
        inflateValidate(&m_zs, 0);
    }
}

CLSPngInflater::~CLSPngInflater()
{
    if (m_fOpen) {
        inflateEnd(&m_zs);
    }
}

bool CLSPngInflater::FeedNextChunk()
{
    uint32_t type = 0;
    PngChunk chunk;
    // An IDAT of length 0 adds nothing and is passed over.
    while (m_chunks.PeekType(type) && type == kChunkIDAT && m_chunks.Next(chunk)) {
        if (chunk.length > 0) {
            m_zs.next_in = const_cast<Bytef*>(chunk.data);
            m_zs.avail_in = chunk.length;
            return true;
        }
    }
    return false;
}

bool CLSPngInflater::Read(uint8_t* dest, size_t count)
{
    if (!m_fOpen) {
        return false;
    }
    while (count > 0) {
        if (m_fEnded) {
            return false;  // the stream ended before the picture did
        }
        const uInt piece = static_cast<uInt>(std::min<size_t>(count, UINT_MAX / 2));
        m_zs.next_out = dest;
        m_zs.avail_out = piece;
        while (m_zs.avail_out > 0) {
            if (m_zs.avail_in == 0) {
                FeedNextChunk();
            }
            const int result = inflate(&m_zs, Z_NO_FLUSH);
            if (result == Z_STREAM_END) {
                m_fEnded = true;
                break;
            }
            if (result != Z_OK) {
                // Z_BUF_ERROR: no input left in the run and no output possible.
                return false;
            }
        }
        const size_t produced = piece - m_zs.avail_out;
        dest += produced;
        count -= produced;
    }
    return true;
}

void CLSPngInflater::SkipRestOfRun()
{
    uint32_t type = 0;
    PngChunk chunk;
    while (m_chunks.PeekType(type) && type == kChunkIDAT) {
        m_chunks.Next(chunk);
    }
}

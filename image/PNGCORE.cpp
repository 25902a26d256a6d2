// The chunk walk of the PNG decoder: which chunk may come when, and what ends it.
#include "image/PNGCORE.h"

#include "image/PNGCHUNK.h"
#include "image/PNGHEAD.h"
#include "image/PNGIMAGE.h"
#include "image/PNGPIXEL.h"
#include "image/PNGROWS.h"

#include <memory>

namespace {

enum SeenFlags : unsigned {
    kSeenHeader = 1,
    kSeenPalette = 2,
    kSeenData = 4,
    kSeenTransparency = 8,
};

enum class Step { Continue, Done, Fail };

class ChunkWalk {
public:
    ChunkWalk(const uint8_t* bytes, size_t size, uint32_t background, CLSDibBlock& block)
        : m_chunks(bytes, size), m_uBackground(background), m_block(block)
    {
    }

    bool Run();

private:
    Step Handle(const PngChunk& chunk);
    bool Has(unsigned flags) const { return (m_uSeen & flags) != 0; }
    Step Header(const PngChunk& chunk);
    Step Palette(const PngChunk& chunk);
    Step Transparency(const PngChunk& chunk);
    Step Data(const PngChunk& chunk);
    Step End(const PngChunk& chunk);

    CLSPngChunks m_chunks;
    uint32_t m_uBackground;
    CLSDibBlock& m_block;
    // The record holds the palette and alpha tables; kept off the stack.
    std::unique_ptr<PngImage> m_image = std::make_unique<PngImage>();
    unsigned m_uSeen = 0;
};

bool ChunkWalk::Run()
{
    PngChunk chunk;
    // The input ending before IEND, or inside a chunk, is a failure.
    while (m_chunks.Next(chunk)) {
        switch (Handle(chunk)) {
        case Step::Continue:
            break;
        case Step::Done:
            return true;
        case Step::Fail:
            return false;
        }
    }
    return false;
}

Step ChunkWalk::Handle(const PngChunk& chunk)
{
    switch (chunk.type) {
    case kChunkIHDR:
        return Header(chunk);
    case kChunkPLTE:
        return Palette(chunk);
    case kChunkTRNS:
        return Transparency(chunk);
    case kChunkIDAT:
        return Data(chunk);
    case kChunkIEND:
        return End(chunk);
    default:
        return Step::Continue;  // ancillary and unknown chunks are skipped
    }
}

Step ChunkWalk::Header(const PngChunk& chunk)
{
    if (m_uSeen != 0 || !ReadPngHeader(chunk, *m_image)) {
        return Step::Fail;
    }
    m_uSeen |= kSeenHeader;
    return Step::Continue;
}

Step ChunkWalk::Palette(const PngChunk& chunk)
{
    if (!Has(kSeenHeader) || Has(kSeenPalette | kSeenData) || !ReadPngPalette(chunk, *m_image)) {
        return Step::Fail;
    }
    m_uSeen |= kSeenPalette;
    return Step::Continue;
}

Step ChunkWalk::Transparency(const PngChunk& chunk)
{
    if (!Has(kSeenHeader) || Has(kSeenData | kSeenTransparency)) {
        return Step::Fail;
    }
    ReadPngTransparency(chunk, *m_image);
    m_uSeen |= kSeenTransparency;
    return Step::Continue;
}

Step ChunkWalk::Data(const PngChunk& chunk)
{
    if (!Has(kSeenHeader) || Has(kSeenData)) {
        return Step::Fail;  // a second run of IDAT chunks
    }
    // A palette picture without its palette has no colours to show.
    if (m_image->colourType == kPngPalette && !Has(kSeenPalette)) {
        return Step::Fail;
    }
    if (!DecodePngPixels(*m_image, m_uBackground, m_chunks, chunk, m_block)) {
        return Step::Fail;
    }
    m_uSeen |= kSeenData;
    return Step::Continue;
}

Step ChunkWalk::End(const PngChunk& chunk)
{
    if (!Has(kSeenHeader) || !Has(kSeenData) || chunk.length != 0) {
        return Step::Fail;
    }
    m_block.SetColoursUsed(FillPngColourTable(*m_image, m_uBackground, m_block.ColourTable()));
    return Step::Done;
}

}  // namespace

bool DecodePngBlock(const uint8_t* chunks, size_t size, uint32_t background, CLSDibBlock& block)
{
    block.Free();
    if (chunks == nullptr) {
        return false;
    }
    ChunkWalk walk(chunks, size, background, block);
    if (!walk.Run()) {
        block.Free();
        return false;
    }
    return true;
}

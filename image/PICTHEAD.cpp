// Signatures of the formats the system picture loader reads.
#include "image/PICTHEAD.h"

#include <cstring>
#include <initializer_list>

namespace {

bool StartsWith(const unsigned char* header, std::size_t length, const char* signature, std::size_t size,
                std::size_t at = 0)
{
    return length >= at + size && std::memcmp(header + at, signature, size) == 0;
}

// "BM" alone starts many a text; a bitmap also names the size of one of the
// known info headers right after its 14-byte file header.
bool IsBitmapHeader(const unsigned char* header, std::size_t length)
{
    if (length < 18 || header[0] != 'B' || header[1] != 'M') {
        return false;
    }
    const unsigned long infoSize = header[14] | header[15] << 8 | static_cast<unsigned long>(header[16]) << 16 |
                                   static_cast<unsigned long>(header[17]) << 24;
    for (unsigned long known : {12ul, 40ul, 52ul, 56ul, 64ul, 108ul, 124ul}) {
        if (infoSize == known) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool IsSystemPictureHeader(const unsigned char* header, std::size_t length)
{
    if (header == nullptr) {
        return false;
    }
    return IsBitmapHeader(header, length) ||
           StartsWith(header, length, "\xFF\xD8\xFF", 3) ||           // JPEG
           StartsWith(header, length, "GIF87a", 6) ||                 // GIF
           StartsWith(header, length, "GIF89a", 6) ||
           StartsWith(header, length, "\x00\x00\x01\x00", 4) ||       // icon
           StartsWith(header, length, "\xD7\xCD\xC6\x9A", 4) ||       // placeable metafile
           StartsWith(header, length, "\x01\x00\x09\x00\x00\x03", 6) ||  // metafile in memory
           StartsWith(header, length, "\x02\x00\x09\x00\x00\x03", 6) ||  // metafile on disk
           (StartsWith(header, length, "\x01\x00\x00\x00", 4) &&      // enhanced metafile
            StartsWith(header, length, " EMF", 4, 40));
}

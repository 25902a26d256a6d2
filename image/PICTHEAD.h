// Which files the system's picture loader is offered: it reads the whole stream
// before it decides, so a large text or archive would cost seconds and its size
// in memory. Only the formats it reads on every Windows go to it; pure code.
#pragma once

#include <cstddef>

// Bytes of the file's start that the test looks at (a shorter file gives fewer).
constexpr std::size_t kPictureHeaderBytes = 44;

// True when the leading bytes are those of a BMP, JPEG, GIF, icon, Windows or
// placeable metafile, or enhanced metafile.
bool IsSystemPictureHeader(const unsigned char* header, std::size_t length);

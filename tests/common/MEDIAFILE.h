// Pictures, audio and video written byte by byte for the picture and media
// tests: a 24-bit bitmap, a silent PCM wave and an uncompressed AVI, which
// the platform's picture loader and media window read without any codec.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// A 24-bit bottom-up BMP whose pixel (x, y) is pixel(x, y) as 0xRRGGBB.
std::string MakeBitmap(int width, int height, const std::function<std::uint32_t(int x, int y)>& pixel);

// Mono 8-bit PCM at 8000 Hz, milliseconds long, silent.
std::string MakeWave(unsigned milliseconds);

// Video only: width x height, 24-bit BI_RGB frames at framesPerSecond,
// the frames solid red, green and blue in turn.
std::string MakeAvi(int width, int height, unsigned frames, unsigned framesPerSecond);

// UTF-16 without a byte-order mark: texts that wide programs write are read as
// such, and what only looks like it keeps the answer it had.
#include "document/DETECT.h"

#include "TESTFILES.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace {

// n bytes of a fixed pseudo-random sequence, or of 16-bit sound samples.
std::string Noise(std::size_t n, std::uint32_t seed)
{
    std::string bytes;
    for (std::size_t i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes += static_cast<char>(seed >> 24);
    }
    return bytes;
}

// 16-bit sound samples of a sine, with or without the header of a wave file.
std::string Sound(double amplitude, bool header)
{
    std::string samples = header ? std::string("RIFF\x24\x40\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x44\xAC\0\0", 28) : "";
    for (int t = 0; t < 4000; ++t) {
        const auto v = static_cast<std::int16_t>(amplitude * std::sin(t / 7.0));
        samples += std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
    }
    return samples;
}

TextEncoding Detect(const std::string& sample)
{
    return DetectEncoding(reinterpret_cast<const unsigned char*>(sample.c_str()), sample.size());
}

}  // namespace

TEST(DetectEncoding, Utf16WithoutMarkFromTheSameSample)
{
    std::wstring log;
    for (int i = 0; i < 60; ++i) {
        log += L"2026-12-07 10:00:" + std::to_wstring(i) + L" INFO worker processed item " + std::to_wstring(i) + L"\r\n";
    }
    const std::wstring japanese = L"文字コードの自動判別について説明します。\r\n先頭の 8190 バイトを調べます。\r\n";
    for (const bool be : {false, true}) {
        const TextEncoding wide = be ? TextEncoding::Utf16Be : TextEncoding::Utf16Le;
        EXPECT_EQ(Detect(Utf16(japanese, be)), wide) << be;
        EXPECT_EQ(Detect(Utf16(log, be)), wide) << be;
        EXPECT_EQ(Detect(Utf16(L"hi", be)), wide) << be;
        EXPECT_EQ(Detect(Utf16(L"東京都", be)), wide) << be;  // no ASCII at all
        EXPECT_EQ(Detect(Utf16(L"\xD83D\xDE00 ok\r\n", be)), wide) << be;
        // A lone surrogate or a control is no text.
        EXPECT_EQ(Detect(Utf16(std::wstring(L"ok \xD83Dx\r\n"), be)), TextEncoding::Binary) << be;
        EXPECT_EQ(Detect(Utf16(log + L'\x01', be)), TextEncoding::Binary) << be;
    }
    std::string prose;
    while (prose.size() < 8000) {
        prose += "This program is free software, and comes with ABSOLUTELY NO WARRANTY (see the licence).\r\n";
    }
    const struct {
        const char* what;
        std::string sample;
    } binaries[] = {
        {"executable", Bytes({'M', 'Z', 0x90, 0, 3, 0, 0, 0, 4, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xB8, 0})},
        {"picture", Bytes({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D, 'I', 'H', 'D', 'R'})},
        {"archive", Bytes({'P', 'K', 3, 4, 0x14, 0, 0, 0, 8, 0, 0x21, 0x6B}) + Noise(4000, 1)},
        {"random bytes", Noise(8190, 7)},
        {"sound", Sound(12000, true)},
        {"quiet sound without header", Sound(40, false)},
        {"silence", ReadFixture("silence.wav")},
        {"ASCII text with a zero byte", prose.substr(0, 2001) + '\0' + prose.substr(2001)},
        {"hex digits with a zero byte", std::string(2000, 'a') + "0f3c9d" + '\0' + std::string(2001, '7')},
        {"Shift-JIS with a zero byte", Bytes({0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA, 0x00, 0x82, 0xA0, 0x0D, 0x0A})},
        {"UTF-32 without mark", Bytes({'a', 0, 0, 0, 'b', 0, 0, 0, 0x0D, 0, 0, 0, 0x0A, 0, 0, 0})},
    };
    for (const auto& b : binaries) {
        EXPECT_EQ(Detect(b.sample), TextEncoding::Binary) << b.what;
    }
}

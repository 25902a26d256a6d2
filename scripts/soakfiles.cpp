#include "scripts/soakfiles.h"

#include "base/OWNERS.h"
#include "tests/common/MEDIAFILE.h"

#include <cstdint>
#include <string_view>
#include <utility>

namespace {

// Japanese prose with half-width kana, symbols and a long line, so that every
// decoder has multi-byte sequences to split and a line to wrap.
constexpr wchar_t kProse[] =
    L"吾輩は猫である。名前はまだ無い。\r\n"
    L"どこで生れたかとんと見当がつかぱ。ｶﾀｶﾅもあり、①②③や〜も混ざる。\r\n"
    L"ASCII only line with tabs\tand\tcolumns.\r\n"
    L"長い行：あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
    L"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん。\r\n";

void WriteBytes(const std::wstring& path, std::string_view bytes)
{
    CLSHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file && !bytes.empty()) {
        WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
}

std::string Repeat(const std::string& unit, std::size_t times)
{
    std::string out;
    out.reserve(unit.size() * times);
    for (std::size_t i = 0; i < times; ++i) {
        out += unit;
    }
    return out;
}

// The prose in a code page; empty where this system has no such code page.
std::string Encode(UINT codePage, const std::wstring& text)
{
    int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
    std::string out(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    if (size > 0) {
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                            nullptr, nullptr);
    }
    return out;
}

std::string Utf16(const std::wstring& text, bool bigEndian, bool mark)
{
    std::wstring units = mark ? L"\xFEFF" + text : text;
    std::string out;
    for (wchar_t unit : units) {
        auto low = static_cast<char>(unit & 0xFF);
        auto high = static_cast<char>((unit >> 8) & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}

std::string Noise(std::size_t size, std::uint32_t seed)
{
    std::string out(size, '\0');
    for (char& byte : out) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<char>(seed >> 24);
    }
    return out;
}

}  // namespace

SoakCorpus::SoakCorpus(std::wstring root) : m_root(std::move(root))
{
    m_folders.push_back(m_root);
    WriteTexts();
    WriteBinaries();
    WritePictures();
    WriteMedia();
    WriteFolders();
    WriteNames();
    ToggleLock();
}

std::wstring SoakCorpus::Folder(const std::wstring& name)
{
    std::wstring path = m_root + L"\\" + name;
    CreateDirectoryW(path.c_str(), nullptr);
    m_folders.push_back(path);
    return path;
}

void SoakCorpus::WriteTexts()
{
    std::wstring dir = Folder(L"text");
    std::wstring prose = kProse;
    std::wstring many;
    for (int i = 0; i < 400; ++i) {
        many += std::to_wstring(i) + L": " + prose;
    }
    const std::pair<const wchar_t*, std::string> texts[] = {
        {L"sjis.txt", Encode(932, many)},
        {L"euc.txt", Encode(20932, many)},
        {L"jis.txt", Encode(50220, many)},
        {L"utf8.txt", Encode(CP_UTF8, many)},
        {L"utf8-mark.txt", "\xEF\xBB\xBF" + Encode(CP_UTF8, prose)},
        {L"utf7.txt", Encode(CP_UTF7, prose)},
        {L"utf16le-mark.txt", Utf16(many, false, true)},
        {L"utf16le.txt", Utf16(prose, false, false)},
        {L"utf16be-mark.txt", Utf16(prose, true, true)},
        {L"utf16be.txt", Utf16(many, true, false)},
        {L"lf-only.txt", Repeat("line ending in a line feed only\n", 2000)},
        {L"cr-only.log", Repeat("carriage returns only\r", 500)},
        {L"one-long-line.txt", Repeat("0123456789abcdef", 1 << 16)},
        {L"half-sjis.txt", Encode(932, prose).substr(0, 7)},
        {L"empty.txt", ""},
    };
    for (const auto& [name, bytes] : texts) {
        WriteBytes(dir + L"\\" + name, bytes);
    }
    WriteBytes(dir + L"\\locked.txt", Encode(932, prose));
    WriteBytes(dir + L"\\grow.log", "a log that grows while it is shown\r\n");
    for (unsigned i = 0; i < 3; ++i) {
        ToggleVanishing(i);
    }
}

void SoakCorpus::WriteBinaries()
{
    std::wstring dir = Folder(L"binary");
    WriteBytes(dir + L"\\noise.bin", Noise(256 * 1024, 7));
    WriteBytes(dir + L"\\zeros.dat", std::string(70000, '\0'));
    WriteBytes(dir + L"\\fake.exe", "MZ" + Noise(4096, 9));
    WriteBytes(dir + L"\\empty.bin", "");
    // Far larger than memory, yet it takes no room on the disk.
    CLSHandle huge(CreateFileW((dir + L"\\huge-sparse.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER end{};
    end.QuadPart = 6LL << 30;
    if (huge && SetFilePointerEx(huge.Get(), end, nullptr, FILE_BEGIN)) {
        SetEndOfFile(huge.Get());
    }
}

void SoakCorpus::WritePictures()
{
    std::wstring dir = Folder(L"picture");
    auto gradient = [](int x, int y) { return static_cast<std::uint32_t>((x * 3) << 16 | (y * 5) << 8 | (x ^ y)); };
    std::string good = MakeBitmap(64, 48, gradient);
    WriteBytes(dir + L"\\small.bmp", good);
    WriteBytes(dir + L"\\wide.bmp", MakeBitmap(1600, 40, gradient));
    WriteBytes(dir + L"\\tall.bmp", MakeBitmap(30, 1200, gradient));
    WriteBytes(dir + L"\\truncated.bmp", good.substr(0, good.size() / 3));
    WriteBytes(dir + L"\\header-only.bmp", good.substr(0, 20));
    WriteBytes(dir + L"\\noise.jpg", "\xFF\xD8\xFF\xE0" + Noise(3000, 3));
    WriteBytes(dir + L"\\noise.png", "\x89PNG\r\n\x1A\n" + Noise(2000, 4));
    WriteBytes(dir + L"\\noise.gif", "GIF89a" + Noise(500, 5));
    WriteBytes(dir + L"\\empty.jpg", "");
}

void SoakCorpus::WriteMedia()
{
    std::wstring dir = Folder(L"media");
    std::string wave = MakeWave(400);
    std::string avi = MakeAvi(32, 24, 6, 12);
    WriteBytes(dir + L"\\silence.wav", wave);
    WriteBytes(dir + L"\\colours.avi", avi);
    WriteBytes(dir + L"\\truncated.wav", wave.substr(0, 50));
    WriteBytes(dir + L"\\truncated.avi", avi.substr(0, avi.size() / 2));
    WriteBytes(dir + L"\\noise.mid", "MThd" + Noise(300, 6));
}

void SoakCorpus::WriteFolders()
{
    std::wstring wide = Folder(L"wide");
    const wchar_t* kinds[] = {L".txt", L".bin", L".log", L".c", L".bmp", L".ini", L""};
    for (int i = 0; i < 600; ++i) {
        std::wstring name = wide + L"\\file" + std::to_wstring(i) + kinds[i % 7];
        WriteBytes(name, Repeat("x", static_cast<std::size_t>(i * 37 % 5000)));
    }
    std::wstring deep = Folder(L"deep");
    for (int level = 0; level < 24; ++level) {
        deep += L"\\level" + std::to_wstring(level);
        CreateDirectoryW(deep.c_str(), nullptr);
        WriteBytes(deep + L"\\here.txt", "level " + std::to_string(level) + "\r\n");
    }
    m_folders.push_back(deep);
    Folder(L"empty folder");
}

void SoakCorpus::WriteNames()
{
    std::wstring dir = Folder(L"names");
    const wchar_t* names[] = {L"café.txt", L"\U00020BB7田.txt", L"日本語の名前.txt", L"한국어.txt",
                              L"Ελληνικά.txt", L"smile\U0001F600.txt", L"space and .dots..txt"};
    for (const wchar_t* name : names) {
        WriteBytes(dir + L"\\" + name, Encode(CP_UTF8, std::wstring(L"name: ") + name + L"\r\n"));
    }
    // Reached through the list only: the path box takes names in Shift-JIS.
    CreateDirectoryW((dir + L"\\フォルダ ünïcode").c_str(), nullptr);
}

void SoakCorpus::ToggleVanishing(unsigned which)
{
    std::wstring path = m_root + L"\\text\\vanishing" + std::to_wstring(which % 3) + L".txt";
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        WriteBytes(path, Repeat("this file comes and goes\r\n", 50 + which * 10));
    } else {
        DeleteFileW(path.c_str());
    }
}

void SoakCorpus::AppendToLog(unsigned lines)
{
    CLSHandle file(CreateFileW((m_root + L"\\text\\grow.log").c_str(), FILE_APPEND_DATA,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string text = Repeat("appended line of the growing log\r\n", lines);
    DWORD written = 0;
    if (file) {
        WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
}

void SoakCorpus::ToggleLock()
{
    if (m_locked) {
        m_locked.Reset();
        return;
    }
    m_locked.Reset(CreateFileW((m_root + L"\\text\\locked.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

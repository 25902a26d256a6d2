// The picture tests' helpers: files, the memory stream, bitmaps read back, and
// writers of the small BMP, GIF and PPM files the tests need.
#include "tests/image/PICTTEST.h"

#include <cstring>
#include <string>

TempFolder::TempFolder()
{
    char base[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, base);
    static int s_count = 0;
    for (;;) {
        m_path = std::string(base) + "glimimg" + std::to_string(GetCurrentProcessId()) + "_" +
                 std::to_string(++s_count);
        if (CreateDirectoryA(m_path.c_str(), nullptr)) {
            break;
        }
    }
}

TempFolder::~TempFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(File("*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileA(File(found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(m_path.c_str());
}

std::string TempFolder::Write(const std::string& name, const Bytes& bytes) const
{
    const std::string path = File(name);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    return path;
}

bool TempFolder::Remove(const std::string& name) const
{
    return DeleteFileA(File(name).c_str()) != FALSE;
}

Bytes ReadWholeFile(const std::string& path)
{
    Bytes bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        bytes.resize(GetFileSize(file, nullptr));
        DWORD read = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        bytes.resize(read);
        CloseHandle(file);
    }
    return bytes;
}

HRESULT MemoryStream::QueryInterface(REFIID riid, void** object)
{
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IStream)) {
        *object = this;
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT MemoryStream::Read(void* dest, ULONG count, ULONG* read)
{
    const size_t n = std::min<size_t>(count, m_bytes.size() - m_cbPos);
    std::memcpy(dest, m_bytes.data() + m_cbPos, n);
    m_cbPos += n;
    if (read != nullptr) {
        *read = static_cast<ULONG>(n);
    }
    return S_OK;
}

HRESULT MemoryStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position)
{
    // Like the document held in memory: only moves whose high 32 bits are 0,
    // so never backwards, and from the end only to the end itself.
    if (move.HighPart != 0) {
        return STG_E_INVALIDPOINTER;
    }
    const size_t d = move.LowPart;
    size_t target = 0;
    switch (origin) {
    case STREAM_SEEK_SET:
        target = d;
        break;
    case STREAM_SEEK_CUR:
        target = m_cbPos + d;
        break;
    case STREAM_SEEK_END:
        if (d != 0) {
            return STG_E_INVALIDPOINTER;
        }
        target = m_bytes.size();
        break;
    default:
        return STG_E_INVALIDFUNCTION;
    }
    if (target > m_bytes.size()) {
        return STG_E_INVALIDPOINTER;
    }
    m_cbPos = target;
    if (position != nullptr) {
        position->QuadPart = target;
    }
    return S_OK;
}

Pixels TakePixels(HBITMAP bitmap)
{
    Pixels pixels;
    if (bitmap == nullptr) {
        return pixels;
    }
    BITMAP info = {};
    GetObjectA(bitmap, sizeof(info), &info);
    pixels.width = info.bmWidth;
    pixels.height = info.bmHeight;
    BITMAPINFO request = {};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = -info.bmHeight;  // top row first
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> bgrx(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), bgrx.data(), &request, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(bitmap);
    for (uint32_t v : bgrx) {
        pixels.rgb.push_back(v & 0xFFFFFF);  // the 32-bit DIB stores blue first: 0x00RRGGBB
    }
    return pixels;
}

namespace {

void Le16(Bytes& out, unsigned v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Le32(Bytes& out, uint32_t v)
{
    Le16(out, v & 0xFFFF);
    Le16(out, v >> 16);
}

}  // namespace

Bytes MakeBmp(int width, int height, const std::vector<uint32_t>& rgb)
{
    const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    Bytes out = {'B', 'M'};
    Le32(out, 54 + stride * static_cast<uint32_t>(height));
    Le32(out, 0);
    Le32(out, 54);
    Le32(out, 40);
    Le32(out, static_cast<uint32_t>(width));
    Le32(out, static_cast<uint32_t>(height));
    Le16(out, 1);
    Le16(out, 24);
    for (int i = 0; i < 6; ++i) {
        Le32(out, 0);
    }
    for (int y = height - 1; y >= 0; --y) {
        const size_t start = out.size();
        for (int x = 0; x < width; ++x) {
            const uint32_t c = rgb[static_cast<size_t>(y) * width + x];
            out.insert(out.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16)});
        }
        out.resize(start + stride, 0);
    }
    return out;
}

Bytes MakeGif(int width, int height, const std::vector<uint32_t>& colours,
              const std::vector<uint8_t>& indices, int transparent)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    Le16(out, static_cast<unsigned>(width));
    Le16(out, static_cast<unsigned>(height));
    out.insert(out.end(), {0x91, 0, 0});  // a global table of 4 entries
    for (size_t i = 0; i < 4; ++i) {
        const uint32_t c = i < colours.size() ? colours[i] : 0;
        out.insert(out.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)});
    }
    if (transparent >= 0) {
        out.insert(out.end(), {0x21, 0xF9, 4, 1, 0, 0, static_cast<uint8_t>(transparent), 0});
    }
    out.push_back(0x2C);
    Le16(out, 0);
    Le16(out, 0);
    Le16(out, static_cast<unsigned>(width));
    Le16(out, static_cast<unsigned>(height));
    out.push_back(0);
    // LZW without compression: a clear code before every pixel keeps all codes
    // at 3 bits (clear 4, end 5).
    out.push_back(2);
    Bytes codes;
    uint32_t acc = 0;
    unsigned bits = 0;
    auto emit = [&](unsigned code) {
        acc |= code << bits;
        bits += 3;
        while (bits >= 8) {
            codes.push_back(static_cast<uint8_t>(acc));
            acc >>= 8;
            bits -= 8;
        }
    };
    for (uint8_t index : indices) {
        emit(4);
        emit(index);
    }
    emit(5);
    if (bits > 0) {
        codes.push_back(static_cast<uint8_t>(acc));
    }
    for (size_t i = 0; i < codes.size(); i += 255) {
        const size_t n = std::min<size_t>(255, codes.size() - i);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), codes.begin() + static_cast<long>(i), codes.begin() + static_cast<long>(i + n));
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

Bytes MakePpm(int width, int height, const std::vector<uint32_t>& rgb)
{
    const std::string head = "P6\n# made by the tests\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    Bytes out(head.begin(), head.end());
    for (uint32_t c : rgb) {
        out.insert(out.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)});
    }
    return out;
}

// One row of the file list and what it remembers of the shell and the disk.
#include "navigation/FILEITEM.h"

#include "base/WIDETEXT.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <iterator>

namespace {

// Overlay images of the system list: 1 the shared hand, 2 the shortcut arrow.
constexpr UINT kOverlayShare = 1;
constexpr UINT kOverlayLink = 2;

// Size, time and attributes of an item on disk; false for items without a
// file-system path and for drive roots. Read from the disk rather than from
// the item-ID list, which may carry only 32 bits of the size.
bool ItemFileData(LPCITEMIDLIST pidl, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    const std::wstring path = PathOfIdList(pidl);
    if (path.empty() || PathIsRootW(path.c_str())) {
        return false;
    }
    return GetFileAttributesExW(LongPathForm(path).c_str(), GetFileExInfoStandard, &data) != 0;
}

ULONGLONG Join64(DWORD high, DWORD low)
{
    return (static_cast<ULONGLONG>(high) << 32) | low;
}

// The stored (UTC) time as a calendar time, date in the short form of the
// user's locale, time forced to 24 hours.
std::wstring FormatModified(const FILETIME& ft)
{
    SYSTEMTIME st{};
    wchar_t buffer[128] = L"";
    if (!FileTimeToSystemTime(&ft, &st)) {
        return {};
    }
    const int size = static_cast<int>(std::size(buffer));
    const int date = GetDateFormatW(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE | DATE_SHORTDATE, &st, nullptr,
                                    buffer, size);
    if (date <= 0 || date + 1 >= size) {
        return {};
    }
    buffer[date - 1] = L' ';
    GetTimeFormatW(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE | TIME_FORCE24HOURFORMAT, &st, nullptr,
                   buffer + date, size - date);
    return buffer;
}

}  // namespace

std::string_view CLSFileItem::StampOf(LPCITEMIDLIST record) noexcept
{
    if (record == nullptr) {
        return {};
    }
    return {reinterpret_cast<const char*>(record), record->mkid.cb};
}

void CLSFileItem::Replace(LPITEMIDLIST pidl) noexcept
{
    m_pidl.Reset(pidl);
    m_bNameKnown = false;
    m_bTypeKnown = false;
    m_bFileKnown = false;
    m_bImageKnown = false;
}

// The name comes straight from the shown folder: the shell's look-up by
// absolute item-ID list binds to the parent folder anew for every item, which
// is most of the time a large folder takes to list.
void CLSFileItem::LoadName(IShellFolder* folder)
{
    if (m_bNameKnown) {
        return;
    }
    m_bNameKnown = true;
    LPCITEMIDLIST last = LastId();
    m_name = last != nullptr ? NameOf(folder, last, SHGDN_INFOLDER) : std::wstring();
}

void CLSFileItem::LoadType()
{
    if (m_bTypeKnown) {
        return;
    }
    m_bTypeKnown = true;
    SHFILEINFOW info{};
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(m_pidl.Get()), 0, &info, sizeof(info), SHGFI_PIDL | SHGFI_TYPENAME);
    m_type = info.szTypeName;
}

void CLSFileItem::LoadFileData()
{
    if (m_bFileKnown) {
        return;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!ItemFileData(m_pidl.Get(), data)) {
        SetFileData(0, 0, FILETIME{});
        return;
    }
    SetFileData(data.dwFileAttributes, Join64(data.nFileSizeHigh, data.nFileSizeLow), data.ftLastWriteTime);
}

// The time's text waits until the row is drawn: a sort of a large folder
// needs only the numbers.
void CLSFileItem::SetFileData(DWORD attributes, ULONGLONG size, const FILETIME& modified)
{
    m_bFileKnown = true;
    m_modified = Join64(modified.dwHighDateTime, modified.dwLowDateTime);
    m_modifiedText.clear();
    m_size = 0;
    m_sizeText.clear();
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return;  // folders have no size of their own
    }
    m_size = size;
    wchar_t text[64] = L"";
    StrFormatByteSizeW(static_cast<LONGLONG>(m_size), text, static_cast<UINT>(std::size(text)));
    m_sizeText = text;
}

void CLSFileItem::SetType(const std::wstring& type)
{
    m_bTypeKnown = true;
    m_type = type;
}

const std::wstring& CLSFileItem::ColumnText(int column, IShellFolder* folder)
{
    static const std::wstring kNone;
    switch (column) {
    case 0:
        LoadName(folder);
        return m_name;
    case 1:
        LoadFileData();
        return m_sizeText;
    case 2:
        LoadType();
        return m_type;
    case 3:
        LoadFileData();
        if (m_modifiedText.empty() && m_modified != 0) {
            const FILETIME ft{static_cast<DWORD>(m_modified), static_cast<DWORD>(m_modified >> 32)};
            m_modifiedText = FormatModified(ft);
        }
        return m_modifiedText;
    default:
        return kNone;
    }
}

ULONGLONG CLSFileItem::SortNumber(int column)
{
    LoadFileData();
    return column == 1 ? m_size : m_modified;
}

const CLSFileItem::Image& CLSFileItem::ImageIn(IShellFolder* folder)
{
    if (m_bImageKnown) {
        return m_image;
    }
    m_bImageKnown = true;
    m_image = Image{SmallIconIndex(m_pidl.Get()), 0, 0};
    ULONG attributes = SFGAO_LINK | SFGAO_SHARE | SFGAO_GHOSTED;
    if (!AttributesOfLast(folder, m_pidl.Get(), attributes)) {
        return m_image;
    }
    if (attributes & SFGAO_LINK) {
        m_image.stateMask |= LVIS_OVERLAYMASK;
        m_image.state = INDEXTOOVERLAYMASK(kOverlayLink);
    }
    if (attributes & SFGAO_SHARE) {
        m_image.stateMask |= LVIS_OVERLAYMASK;
        m_image.state |= INDEXTOOVERLAYMASK(kOverlayShare);
    }
    if (attributes & SFGAO_GHOSTED) {
        m_image.stateMask |= LVIS_CUT;
        m_image.state |= LVIS_CUT;
    }
    return m_image;
}

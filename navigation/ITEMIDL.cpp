// Item-ID list operations over the records' own byte counts.
#include "navigation/ITEMIDL.h"

#include <shlwapi.h>

#include <cstring>
#include <cwchar>

LPCITEMIDLIST NextItemId(LPCITEMIDLIST pidl) noexcept
{
    return reinterpret_cast<LPCITEMIDLIST>(reinterpret_cast<const BYTE*>(pidl) + pidl->mkid.cb);
}

std::size_t ItemIdListSize(LPCITEMIDLIST pidl) noexcept
{
    if (pidl == nullptr) {
        return 0;
    }
    std::size_t size = sizeof(USHORT);
    for (; pidl->mkid.cb != 0; pidl = NextItemId(pidl)) {
        size += pidl->mkid.cb;
    }
    return size;
}

LPITEMIDLIST AllocItemIdList(std::size_t bytes) noexcept
{
    void* p = CoTaskMemAlloc(bytes);
    if (p != nullptr) {
        std::memset(p, 0, bytes);
    }
    return static_cast<LPITEMIDLIST>(p);
}

LPCITEMIDLIST LastItemId(LPCITEMIDLIST pidl) noexcept
{
    if (pidl == nullptr || pidl->mkid.cb == 0) {
        return nullptr;
    }
    LPCITEMIDLIST last = pidl;
    for (LPCITEMIDLIST p = NextItemId(pidl); p->mkid.cb != 0; p = NextItemId(p)) {
        last = p;
    }
    return last;
}

LPITEMIDLIST JoinItemIdLists(LPCITEMIDLIST a, LPCITEMIDLIST b) noexcept
{
    if (a == nullptr && b == nullptr) {
        return nullptr;
    }
    const std::size_t headBytes = a != nullptr ? ItemIdListSize(a) - sizeof(USHORT) : 0;
    const std::size_t tailBytes = b != nullptr ? ItemIdListSize(b) : sizeof(USHORT);
    LPITEMIDLIST joined = AllocItemIdList(headBytes + tailBytes);
    if (joined == nullptr) {
        return nullptr;
    }
    auto* bytes = reinterpret_cast<BYTE*>(joined);
    if (headBytes != 0) {
        std::memcpy(bytes, a, headBytes);
    }
    if (b != nullptr) {
        std::memcpy(bytes + headBytes, b, tailBytes);
    }
    return joined;
}

LPITEMIDLIST CopyItemIdList(LPCITEMIDLIST pidl) noexcept
{
    return pidl != nullptr ? JoinItemIdLists(nullptr, pidl) : nullptr;
}

namespace {

// The record at depth n as a list of its own; null when the list ends first.
LPITEMIDLIST RecordAtDepth(LPCITEMIDLIST pidl, int depth) noexcept
{
    if (pidl == nullptr) {
        return nullptr;
    }
    for (; depth > 0 && pidl->mkid.cb != 0; --depth) {
        pidl = NextItemId(pidl);
    }
    if (pidl->mkid.cb == 0) {
        return nullptr;
    }
    LPITEMIDLIST one = AllocItemIdList(pidl->mkid.cb + sizeof(USHORT));
    if (one != nullptr) {
        std::memcpy(one, pidl, pidl->mkid.cb);
    }
    return one;
}

}  // namespace

bool SameItemIdAtDepth(IShellFolder* folder, LPCITEMIDLIST a, LPCITEMIDLIST b, int depth) noexcept
{
    CLSItemIdList first(RecordAtDepth(a, depth));
    CLSItemIdList second(RecordAtDepth(b, depth));
    if (!first || !second || folder == nullptr) {
        return false;
    }
    const HRESULT hr = folder->CompareIDs(0, first.Get(), second.Get());
    return SUCCEEDED(hr) && static_cast<short>(HRESULT_CODE(hr)) == 0;
}

std::wstring NameOf(IShellFolder* folder, LPCITEMIDLIST item, SHGDNF flags)
{
    STRRET name{};
    LPWSTR text = nullptr;
    if (folder == nullptr || FAILED(folder->GetDisplayNameOf(item, flags, &name)) ||
        FAILED(StrRetToStrW(&name, item, &text)) || text == nullptr) {
        return {};
    }
    std::wstring result = text;
    CoTaskMemFree(text);
    return result;
}

// Most paths fit the first buffer; only a longer one (or an item outside the
// file system) is asked again with room for the longest path Windows takes.
std::wstring PathOfIdList(LPCITEMIDLIST pidl)
{
    if (pidl == nullptr) {
        return {};
    }
    wchar_t path[MAX_PATH];
    if (SHGetPathFromIDListEx(pidl, path, MAX_PATH, GPFIDL_DEFAULT)) {
        return path;
    }
    std::wstring longPath(32768, L'\0');
    if (!SHGetPathFromIDListEx(pidl, longPath.data(), static_cast<DWORD>(longPath.size()), GPFIDL_DEFAULT)) {
        return {};
    }
    longPath.resize(wcslen(longPath.c_str()));
    return longPath;
}

std::wstring InFolderParsingName(IShellFolder* folder, LPCITEMIDLIST child)
{
    STRRET name{};
    wchar_t text[MAX_PATH] = L"";
    if (folder == nullptr || child == nullptr ||
        FAILED(folder->GetDisplayNameOf(child, SHGDN_INFOLDER | SHGDN_FORPARSING, &name)) ||
        FAILED(StrRetToBufW(&name, child, text, MAX_PATH))) {
        return {};
    }
    return text;
}

int SmallIconIndex(LPCITEMIDLIST pidl, UINT extraFlags) noexcept
{
    SHFILEINFOA info{};
    if (SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof(info),
                       SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON | extraFlags) == 0) {
        return -1;
    }
    return info.iIcon;
}

std::wstring DisplayNameOf(LPCITEMIDLIST pidl)
{
    SHFILEINFOW info{};
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, &info, sizeof(info), SHGFI_PIDL | SHGFI_DISPLAYNAME);
    return info.szDisplayName;
}

bool AttributesOfLast(IShellFolder* folder, LPCITEMIDLIST pidl, ULONG& attributes) noexcept
{
    LPCITEMIDLIST last = LastItemId(pidl);
    if (folder == nullptr || last == nullptr) {
        return false;
    }
    return SUCCEEDED(folder->GetAttributesOf(1, &last, &attributes));
}

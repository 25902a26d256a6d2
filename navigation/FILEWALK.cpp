// Size, time and type of the listed files from one walk of the folder: asked
// of the shell one file at a time, each costs a bind to its parent folder and
// a look at the disk, minutes for a folder of 10,000 files; the walk reads
// them all in one pass, and a type is looked up once per extension.
#include "navigation/FILELIST.h"

#include <shlwapi.h>

#include <algorithm>
#include <unordered_map>

namespace {

struct WalkEntry {
    DWORD attributes;
    ULONGLONG size;
    FILETIME modified;
};

// The entries of a folder by name; empty when it cannot be read.
std::unordered_map<std::wstring, WalkEntry> WalkFolder(const std::wstring& folder)
{
    std::unordered_map<std::wstring, WalkEntry> entries;
    std::wstring pattern = folder;
    if (pattern.empty() || pattern.back() != L'\\') {
        pattern += L'\\';
    }
    pattern += L'*';
    WIN32_FIND_DATAW found;
    CLSFindHandle search(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                          FIND_FIRST_EX_LARGE_FETCH));
    if (!search) {
        return entries;
    }
    do {
        const ULONGLONG size = (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        entries.emplace(found.cFileName, WalkEntry{found.dwFileAttributes, size, found.ftLastWriteTime});
    } while (FindNextFileW(search.Get(), &found));
    return entries;
}

}  // namespace

// Records the walk does not know (items off the disk) ask for themselves.
void CLSWndFileList::LoadFolderData(bool types)
{
    if (m_bFolderWalked && (!types || m_bTypesWalked)) {
        return;
    }
    if (!m_pshf || !m_pidlFolder || m_strFolderPath.empty()) {
        return;
    }
    m_bFolderWalked = true;
    m_bTypesWalked = m_bTypesWalked || types;
    const std::vector<CLSFileItem*> records = Records();
    const bool needed = std::any_of(records.begin(), records.end(), [types](CLSFileItem* r) {
        return r != nullptr && (!r->FileDataKnown() || (types && !r->TypeKnown()));
    });
    if (!needed) {
        return;
    }
    const std::unordered_map<std::wstring, WalkEntry> entries = WalkFolder(m_strFolderPath);
    for (CLSFileItem* record : records) {
        if (record == nullptr || (record->FileDataKnown() && (!types || record->TypeKnown()))) {
            continue;
        }
        const std::wstring name = InFolderParsingName(m_pshf.Get(), record->LastId());
        auto it = entries.find(name);
        if (it == entries.end()) {
            continue;
        }
        if (!record->FileDataKnown()) {
            record->SetFileData(it->second.attributes, it->second.size, it->second.modified);
        }
        if (types && !record->TypeKnown()) {
            record->SetType(TypeName(name, it->second.attributes));
        }
    }
}

// The details view shows every column: its rows learn theirs before they are
// drawn, from the walk rather than one look-up per row. (Not on request from
// LVN_GETDISPINFO: the list's own item calls there would overwrite the request.)
void CLSWndFileList::LoadDetails()
{
    if (m_hWndControl != nullptr && (GetWindowLongPtrA(m_hWndControl, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT) {
        LoadFolderData(true);
    }
}

// Every file of one extension has the type of that extension; folders share
// one. The key is the extension in lower case, or a backslash for folders.
const std::wstring& CLSWndFileList::TypeName(const std::wstring& name, DWORD attributes)
{
    const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    std::wstring key = folder ? std::wstring(L"\\") : std::wstring(PathFindExtensionW(name.c_str()));
    CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
    auto [it, added] = m_types.try_emplace(key);
    if (!added) {
        return it->second;
    }
    SHFILEINFOW info{};
    const std::wstring probe = folder ? name : L"x" + key;
    SHGetFileInfoW(probe.c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                   SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME);
    it->second = info.szTypeName;
    return it->second;
}

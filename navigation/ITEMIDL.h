// Shell item-ID lists: the walking, joining and comparing shared by the folder
// tree, the file list and the main window, and their owner. Lists come from
// and go back to the shell allocator (the COM task allocator).
#pragma once

#include "base/OWNERS.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstddef>
#include <string>
#include <utility>

// An item-ID list freed with the shell allocator.
struct CLSItemIdListTraits : CLSNullIsNone<LPITEMIDLIST> {
    static void Free(LPITEMIDLIST p) noexcept { CoTaskMemFree(p); }
};
using CLSItemIdList = CLSUniqueOwner<CLSItemIdListTraits>;

// The record after this one.
LPCITEMIDLIST NextItemId(LPCITEMIDLIST pidl) noexcept;
// Bytes of the whole list with its terminator; 0 for a null list.
std::size_t ItemIdListSize(LPCITEMIDLIST pidl) noexcept;
// n zero-filled bytes from the shell allocator; null on failure.
LPITEMIDLIST AllocItemIdList(std::size_t bytes) noexcept;
// The last record; null for a null or empty list.
LPCITEMIDLIST LastItemId(LPCITEMIDLIST pidl) noexcept;
// a's records followed by b's; a may be null; null when both are null or the
// memory is not there.
LPITEMIDLIST JoinItemIdLists(LPCITEMIDLIST a, LPCITEMIDLIST b) noexcept;
// A copy of the whole list.
LPITEMIDLIST CopyItemIdList(LPCITEMIDLIST pidl) noexcept;
// True when both lists have a record at depth n and the folder's CompareIDs
// calls the two records equal.
bool SameItemIdAtDepth(IShellFolder* folder, LPCITEMIDLIST a, LPCITEMIDLIST b, int depth) noexcept;
// The folder's name of item of that kind (SHGDN_...), as the shell gives it;
// empty when it has none.
std::wstring NameOf(IShellFolder* folder, LPCITEMIDLIST item, SHGDNF flags);
// The file-system path of an absolute list, however long; empty for items
// outside the file system.
std::wstring PathOfIdList(LPCITEMIDLIST pidl);
// The index in the small system image list, with the caller's extra flags
// (SHGFI_OPENICON); -1 when the shell has none.
int SmallIconIndex(LPCITEMIDLIST pidl, UINT extraFlags = 0) noexcept;
// The shell's display name of an absolute list.
std::wstring DisplayNameOf(LPCITEMIDLIST pidl);
// The name of child inside its folder as the file system spells it (the
// file's own name, extension included); empty on failure.
std::wstring InFolderParsingName(IShellFolder* folder, LPCITEMIDLIST child);
// SFGAO_ bits of the list's last record inside its folder; false on failure.
bool AttributesOfLast(IShellFolder* folder, LPCITEMIDLIST pidl, ULONG& attributes) noexcept;

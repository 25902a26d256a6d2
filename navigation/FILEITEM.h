// CLSFileItem: one row of the file list. It owns the item's absolute
// item-ID list and keeps what the shell and the disk said of the item, each
// asked once when first needed, for as long as the item stays as it was
// enumerated: a re-read of the folder then costs no shell look-ups for the
// rows that did not change.
#pragma once

#include "navigation/ITEMIDL.h"

#include <windows.h>

#include <shlobj.h>

#include <string>
#include <string_view>

class CLSFileItem {
public:
    // What the list draws for the item: the small system icon and the
    // overlay and dimming state.
    struct Image {
        int icon;
        UINT state;
        UINT stateMask;
    };

    explicit CLSFileItem(LPITEMIDLIST pidl) noexcept : m_pidl(pidl) {}

    LPITEMIDLIST IdList() const noexcept { return m_pidl.Get(); }
    LPCITEMIDLIST LastId() const noexcept { return LastItemId(m_pidl.Get()); }
    // The bytes of the item's own record as the folder enumerated it. For
    // file-system items they hold the name, size, time and attributes, so
    // equal bytes mean an unchanged item.
    std::string_view Stamp() const noexcept { return StampOf(LastId()); }
    static std::string_view StampOf(LPCITEMIDLIST record) noexcept;
    // The same item enumerated anew (its size or time changed): what was
    // asked of the old one is forgotten.
    void Replace(LPITEMIDLIST pidl) noexcept;

    // Name (asked of the folder that holds the item), size (files only),
    // type, modified, as the shell gives them; empty when the item has none.
    const std::wstring& ColumnText(int column, IShellFolder* folder);
    // Size for column 1 (0 for folders and items off the disk), last-write
    // time for column 3.
    ULONGLONG SortNumber(int column);
    const Image& ImageIn(IShellFolder* folder);
    // What the walk of the whole folder found of this item, so that it need
    // not be asked of the disk on its own.
    void SetFileData(DWORD attributes, ULONGLONG size, const FILETIME& modified);
    bool FileDataKnown() const noexcept { return m_bFileKnown; }
    bool TypeKnown() const noexcept { return m_bTypeKnown; }
    void SetType(const std::wstring& type);

private:
    void LoadName(IShellFolder* folder);
    void LoadType();
    void LoadFileData();

    CLSItemIdList m_pidl;
    std::wstring m_name;
    std::wstring m_type;
    std::wstring m_sizeText;
    std::wstring m_modifiedText;
    ULONGLONG m_size = 0;
    ULONGLONG m_modified = 0;
    Image m_image{-1, 0, 0};
    bool m_bNameKnown = false;
    bool m_bTypeKnown = false;
    bool m_bFileKnown = false;
    bool m_bImageKnown = false;
};

// The neighbouring file of the list, for stepping through a folder from the
// preview: rows in their shown order, folders passed over.
#include "navigation/FILELIST.h"

namespace {

// Folders, but not the files that the shell also browses like one (archives).
bool IsFolderRow(IShellFolder* folder, LPCITEMIDLIST record)
{
    SFGAOF attributes = SFGAO_FOLDER | SFGAO_STREAM;
    if (FAILED(folder->GetAttributesOf(1, &record, &attributes))) {
        return false;
    }
    return (attributes & SFGAO_FOLDER) != 0 && (attributes & SFGAO_STREAM) == 0;
}

}  // namespace

bool CLSWndFileList::SelectNeighbourFile(bool next)
{
    if (m_hWndControl == nullptr || !m_pshf) {
        return false;
    }
    const int count = ItemCount();
    const int focused = static_cast<int>(
        SendMessageA(m_hWndControl, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
    const int step = next ? 1 : -1;
    int index = focused >= 0 ? focused + step : next ? 0 : count - 1;
    for (; index >= 0 && index < count; index += step) {
        const CLSFileItem* record = Record(index);
        if (record != nullptr && !IsFolderRow(m_pshf.Get(), record->LastId())) {
            break;
        }
    }
    if (index < 0 || index >= count) {
        return false;
    }
    SelectRow(index);
    return true;
}

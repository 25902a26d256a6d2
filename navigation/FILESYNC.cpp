// The shown folder read again, the rows brought up to date in place: the
// watcher's refresh and F5. Only rows whose items came, went or changed are
// touched, so selection, focus, scroll position and the shell's answers kept
// in the other rows all stay.
#include "navigation/FILELIST.h"

#include "navigation/ROWMATCH.h"

#include <algorithm>

namespace {

// The names as byte strings, to be matched as keys: equal bytes, equal names.
std::vector<std::string_view> Views(const std::vector<std::wstring>& texts)
{
    std::vector<std::string_view> views;
    views.reserve(texts.size());
    for (const std::wstring& text : texts) {
        views.emplace_back(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    }
    return views;
}

}  // namespace

// The full name of a record inside the shown folder: what says whether a row
// and a fresh item are the same file.
std::wstring CLSWndFileList::ParsingName(LPCITEMIDLIST record) const
{
    return record != nullptr ? NameOf(m_pshf.Get(), record, SHGDN_FORPARSING) : std::wstring();
}

void CLSWndFileList::Refresh()
{
    if (m_hWndControl == nullptr || !m_pshf || !m_pidlFolder) {
        return;
    }
    std::vector<CLSItemIdList> children;
    if (!Enumerate(children)) {
        SendMessageA(m_hWndControl, LVM_DELETEALLITEMS, 0, 0);  // the folder is gone: so are its items
        return;
    }
    const std::vector<CLSFileItem*> rows = Records();
    std::vector<std::string_view> rowStamps;
    std::vector<std::string_view> childStamps;
    for (CLSFileItem* row : rows) {
        rowStamps.push_back(row != nullptr ? row->Stamp() : std::string_view());
    }
    for (const CLSItemIdList& child : children) {
        childStamps.push_back(CLSFileItem::StampOf(child.Get()));
    }
    const CLSRowMatch same = MatchKeys(rowStamps, childStamps);

    // What is left pairs by name: the same file with another size or time
    // keeps its row; the rest went, or came (a rename is both).
    std::vector<std::wstring> rowNames;
    std::vector<std::wstring> childNames;
    for (std::size_t i : same.oldOnly) {
        rowNames.push_back(rows[i] != nullptr ? ParsingName(rows[i]->LastId()) : std::wstring());
    }
    for (std::size_t j : same.freshOnly) {
        childNames.push_back(ParsingName(children[j].Get()));
    }
    const CLSRowMatch named = MatchKeys(Views(rowNames), Views(childNames));
    if (!named.pairs.empty() || !named.freshOnly.empty()) {
        m_bFolderWalked = false;  // the new and changed rows are not known yet
        m_bTypesWalked = false;
    }

    for (const auto& [i, j] : named.pairs) {
        const std::size_t row = same.oldOnly[i];
        LPITEMIDLIST pidl = JoinItemIdLists(m_pidlFolder.Get(), children[same.freshOnly[j]].Get());
        if (pidl != nullptr && rows[row] != nullptr) {
            rows[row]->Replace(pidl);
            SendMessageA(m_hWndControl, LVM_REDRAWITEMS, row, row);
        } else {
            CoTaskMemFree(pidl);
        }
    }
    // From the bottom up, so that the indices of the rows still to go hold.
    for (auto it = named.oldOnly.rbegin(); it != named.oldOnly.rend(); ++it) {
        SendMessageA(m_hWndControl, LVM_DELETEITEM, same.oldOnly[*it], 0);
    }
    // A changed size or time may move a row when the list is sorted by it.
    if (!named.pairs.empty() && m_iSortColumn != 0) {
        Sort();
    }
    for (std::size_t j : named.freshOnly) {
        InsertSorted(NewRecord(children[same.freshOnly[j]].Get()));
    }
    LoadDetails();
}

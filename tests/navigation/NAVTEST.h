// The panes in a test process: a parent window that keeps what the panes
// send it, item-ID lists of real paths, what the list shows, and a pump.
#pragma once

#include "navigation/FILELIST.h"
#include "navigation/FOLDERTR.h"
#include "tests/common/PUMP.h"
#include "tests/common/TEMPDIR.h"

#include <windows.h>

#include <string>
#include <vector>

// A top-level window standing in for the main window: it keeps the path of
// the last folder selected, item selected and folder opened, and passes the
// tree's selection on to a file list when it is given one.
class PaneHost {
public:
    PaneHost();
    ~PaneHost();
    PaneHost(const PaneHost&) = delete;
    PaneHost& operator=(const PaneHost&) = delete;
    HWND Get() const { return m_hWnd; }

    CLSWndFileList* list = nullptr;
    std::string selectedFolder, selectedFile, openedFolder;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    HWND m_hWnd = nullptr;
};

// The absolute item-ID list of a path; null when it names nothing.
CLSItemIdList IdListOf(const std::string& path);
// The file-system path of an item-ID list in the ANSI code page; empty for none.
std::string AnsiPathOf(LPCITEMIDLIST pidl);
// The texts of one column, top to bottom, as the list shows them.
std::vector<std::string> ColumnTexts(HWND hWndList, int column);

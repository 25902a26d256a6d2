// The soak run's corpus: a folder of every kind of file a user points Glim at,
// and the few that change under it while it runs.
#pragma once

#include "base/OWNERS.h"

#include <windows.h>

#include <string>
#include <vector>

class SoakCorpus {
public:
    // Writes the corpus into root (which exists and is empty).
    explicit SoakCorpus(std::wstring root);
    SoakCorpus(const SoakCorpus&) = delete;
    SoakCorpus& operator=(const SoakCorpus&) = delete;

    const std::wstring& Root() const { return m_root; }
    // Folders worth going to directly, the corpus root first.
    const std::vector<std::wstring>& Folders() const { return m_folders; }

    // The changes a user's other programs make: a shown file deleted or
    // written again, a log appended to, a file locked and let go.
    void ToggleVanishing(unsigned which);
    void AppendToLog(unsigned lines);
    void ToggleLock();

private:
    void WriteTexts();
    void WriteBinaries();
    void WritePictures();
    void WriteMedia();
    void WriteFolders();
    void WriteNames();
    std::wstring Folder(const std::wstring& name);

    std::wstring m_root;
    std::vector<std::wstring> m_folders;
    CLSHandle m_locked;  // held with no sharing while locked
};

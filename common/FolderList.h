#pragma once
// What the Save Wallpaper dialog's folder list shows: every drive, the folders on the way
// down to the current one, and the current folder's subfolders, each with its depth. Pure
// text work on Windows paths, so it is tested without a window.
#include <string>
#include <vector>

struct FolderEntry {
    std::wstring name; // the text shown: a root such as "C:\", or a folder's own name
    std::wstring path; // the folder's full path
    int level = 0;     // 0 for a root, one more per folder below it
    bool open = false; // on the way to the current folder (the current one included)
};

// Splits an absolute path into its root ("C:\" or "\\server\share\") and the folder names
// below it; false when the path has no such root.
bool SplitFolderPath(const std::wstring& path, std::wstring& root, std::vector<std::wstring>& names);

// The entries for the current folder `current` among the drive roots `roots` (in their
// order; the current root is added at the end when it is not one of them). `subfolders`
// are the names of the current folder's subfolders, listed sorted without regard to case.
std::vector<FolderEntry> FolderEntries(const std::vector<std::wstring>& roots, const std::wstring& current,
                                       std::vector<std::wstring> subfolders);

// The index of the current folder's entry (the last open one), -1 when there is none.
int CurrentFolderEntry(const std::vector<FolderEntry>& entries);

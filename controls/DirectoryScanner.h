#pragma once

#include "framework/VxString.h"

#include <dirent.h>
#include <string>

namespace vx::ui {

// Reads one folder's entries in turn: first, next, is-folder test and full path.
class DirectoryScanner {
public:
    DirectoryScanner() = default;
    ~DirectoryScanner() { Close(); }
    DirectoryScanner(const DirectoryScanner&) = delete;
    DirectoryScanner& operator=(const DirectoryScanner&) = delete;

    // -1 for a null or empty path; 0 when a first entry was read; 1 when the
    // folder cannot be opened or holds no entry. One trailing separator is dropped.
    int First(const char* path);
    // False at the end of the folder.
    bool Next();
    const char* CurrentName() const { return mEntry ? mEntry->d_name : ""; }
    // 0 not a folder; 1 a folder; for a link to a folder, 4 when it leads back
    // to the scanned folder or one of its ancestors (a recursive scan must not
    // follow it), else 2.
    int CurrentIsDirectory() const;
    void CurrentFullPath(VxString& out) const;
    void Close();

private:
    DIR* mDir = nullptr;
    const dirent* mEntry = nullptr;
    std::string mBasePath;
    // The base path resolved, for the link test: a folder reached through a
    // relative or linked path still recognises links to its ancestors.
    std::string mResolvedBase;
};

} // namespace vx::ui

#pragma once

#include <optional>
#include <string>
#include <vector>

// The pure rules of the file panels: Win32 filter lists (pairs of
// NUL-terminated description and pattern list, ended by an empty string),
// the initial name, the extension a saved path gets and the buffers the
// panels answer in.

namespace winlayer {

// The extension of every pattern ("*.wav;*.aif" gives wav, aif), in order;
// empty and "*" skipped. An extension equal to preferred (case-insensitive)
// goes to the front instead.
std::vector<std::string> FileTypesOf(const char* filterList, const std::string& preferred = "");

// One entry of a save panel's "File type:" selector: every pair whose pattern
// list is not "*.*", with the pattern list after its first '.'.
struct FileTypeChoice {
    std::string description;
    std::string extensions; // "wav;*.aif"
};
std::vector<FileTypeChoice> FileTypeChoices(const char* filterList);
// The entry listing the extension of fileName (case-insensitive), else 0.
int ChoiceForFile(const std::vector<FileTypeChoice>& choices, const std::string& fileName);
// The first extension of an entry's list: "wav;*.aif" gives "wav".
std::string FirstExtension(const std::string& extensions);

// Where a panel starts and the name it offers.
struct InitialName {
    std::string folder;
    std::string name;
};
// An initial file that is empty or starts with '.' offers no name; its part
// before the last '/' is the folder ("/" when empty), else initialFolder.
// cutExtension drops an extension that is one of types.
InitialName InitialNameOf(const char* initialFile, const char* initialFolder,
                          const std::vector<std::string>& types, bool cutExtension);

// The path a save panel answers: kept when its extension is one of types,
// else given the chosen entry's first extension, else the initial file when
// it starts with '.' ("." + extension), else the first type.
std::string SavedPath(const std::string& path, const std::vector<std::string>& types,
                      const std::string& chosenExtensions, const char* initialFile);

// Copies text and a NUL when it fits in size bytes; false (buffer untouched)
// otherwise, so a cut path never names another file.
bool CopyWhole(const std::string& text, char* buffer, int size);

// BrowseForFiles' answer: one path and two NULs, or for several an empty
// string, each path with its NUL and a final NUL. Paths stay whole.
std::string FileListBlock(const std::vector<std::string>& paths);

} // namespace winlayer

#pragma once

#include <string>
#include <string_view>

namespace winlayer {

// Replaces the file at path with contents, so that readers see either the old
// file or the new one, never a mix: the text goes to a fresh temporary file
// in the same folder ".<name>.tmp-XXXXXX", created exclusively (a planted link
// is never followed), given the old file's mode (new files: 0666 less the
// umask), synced, renamed over the file, and the folder synced so the rename
// survives a power cut. A symbolic link at path stays and its target is
// replaced. False, errno kept and no temporary file left, when a step fails.
bool ReplaceFileContents(const std::string& path, std::string_view contents);

// Removes what writers of target killed before their rename left behind.
// Only safe while holding target's write lock, when no write is under way.
void RemoveStaleTemporaryFiles(const std::string& target);

// The mode a file created at target gets: the old file's, else 0666 less the
// umask.
unsigned int ModeForReplacing(const std::string& target);

} // namespace winlayer

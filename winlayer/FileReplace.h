#pragma once

#include <string>
#include <string_view>

namespace winlayer {

// Replaces the file at path with contents, so that readers see either the old
// file or the new one, never a mix: the text goes to a fresh temporary file
// in the same folder ".<name>.new…", created exclusively (a planted link is
// never followed), given the old file's mode (new files: 0666 less the umask),
// synced and renamed over the file. A symbolic link at path stays and its
// target is replaced. False, with no temporary file left, when any step fails.
bool ReplaceFileContents(const std::string& path, std::string_view contents);

} // namespace winlayer

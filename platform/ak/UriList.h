#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ak {

// The local file paths of a "text/uri-list" drop: one URI a line (CRLF or LF),
// '#' lines are comments, percent escapes decoded. URIs of other schemes, of
// other hosts than this one ("", "localhost" or localHost) and malformed ones
// are skipped.
std::vector<std::string> FilePathsFromUriList(std::string_view list,
                                              std::string_view localHost = {});

// A "file://" URI for an absolute path, for file drags out.
std::string FileUriFromPath(std::string_view path);

} // namespace ak

#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ak {

// The desktop's clipboard. Reads wait at most one second for the owner and
// answer nothing after that, or for contents over 64 MB.
namespace Pasteboard {

inline constexpr const char* kTextType = "UTF8_STRING";
inline constexpr const char* kFilesType = "text/uri-list";

// Replaces the contents with one or more representations (type, bytes).
// Each answers whether the clipboard took them: the window system may refuse
// us the ownership, and then the old contents stay.
bool SetContents(std::vector<std::pair<std::string, std::string>> representations);
bool SetText(const std::string& utf8);
bool SetFilePaths(const std::vector<std::string>& paths);
void Clear();

// The types on offer, in the owner's order, without repeats.
std::vector<std::string> Types();
// Malformed UTF-8 becomes U+FFFD.
std::optional<std::string> Text();
// Local files only; other URIs are skipped.
std::vector<std::string> FilePaths();
std::optional<std::string> Data(const std::string& type);

} // namespace Pasteboard

} // namespace ak

#pragma once

#include "winlayer/WinTypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The clipboard's numbered formats and the rules for the blocks handed to it.
// Pure: the clipboard calls (winlayer/shell) hold the one table.

namespace winlayer {

inline constexpr UINT CF_TEXT = 1;
inline constexpr UINT CF_HDROP = 2;
inline constexpr const char* kTextFormatName = "WISP__CF_TEXT";

// Format n is entry n - 1: 1 text, 2 file lists, then registered type names.
class ClipboardFormatTable {
public:
    // 0 for null or empty, 1 for "WISP__CF_TEXT", the number of a name
    // already held, else a new number.
    UINT Register(const char* name);
    // The type name of a registered format (3 and up); none otherwise.
    std::optional<std::string> NameOf(UINT format) const;
    // The format of a type on offer: 1 for any text type, 0 for the file
    // list's type and unknown ones.
    UINT FormatOfType(std::string_view type) const;

private:
    std::vector<std::string> registered_;
};

// The text of a format-1 block: up to its first NUL, never past its size.
std::string TextOfBlock(const char* bytes, std::size_t size);
// The paths of a dropped-file block, when it is one: larger than 16 bytes,
// its list offset inside, 8-bit (wide flag 0). Reading stops at the empty
// name or the block's end.
std::optional<std::vector<std::string>> PathsOfDropBlock(const char* bytes, std::size_t size);

} // namespace winlayer

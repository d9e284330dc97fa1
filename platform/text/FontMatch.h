#pragma once

// Installed fonts by requested name, with the desktop's substitution, for
// callers that ask by name on any thread.

#include <cstdint>
#include <string>
#include <vector>

namespace text {

struct MatchedFont {
    std::string family;
    std::string style;
    std::string fullName;
    std::string file;
    int faceIndex = 0;
    bool bold = false;
    bool italic = false;
};

// A name such as "Helvetica Bold Italic": the family with optional trailing
// " Bold" and " Italic" words. Unknown families get fontconfig's substitute;
// empty when no font is installed at all.
MatchedFont MatchFontName(const std::string& requestedName);

// Makes a font file's faces part of this process's lookups.
bool RegisterFontFile(const std::string& path);

// The glyph number of each code point in a face of a font file; 0 where the
// face has none, all 0 when the file cannot be read.
std::vector<uint32_t> GlyphIndices(const std::string& file, int faceIndex,
                                   const std::vector<char32_t>& codePoints);

} // namespace text

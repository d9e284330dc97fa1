#include "platform/text/FontMatch.h"

#include "platform/text/FontLookup.h"
#include "platform/text/ProcessFontConfig.h"

#include <memory>

#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

namespace text {

namespace {

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

bool CutSuffix(std::string& name, const char* suffix) {
    const std::string word = suffix;
    if (name.size() <= word.size() || name.compare(name.size() - word.size(), word.size(), word))
        return false;
    name.resize(name.size() - word.size());
    return true;
}

std::string StringOf(FcPattern* pattern, const char* object) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value)
        return {};
    return reinterpret_cast<const char*>(value);
}

} // namespace

MatchedFont MatchFontName(const std::string& requestedName) {
    std::string family = requestedName;
    const bool italic = CutSuffix(family, " Italic");
    const bool bold = CutSuffix(family, " Bold");
    std::lock_guard lock(FontConfigMutex());
    FcConfig* config = ProcessFontConfig();
    PatternPtr pattern(FcPatternCreate());
    if (!config || !pattern)
        return {};
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(config, pattern.get(), &result));
    if (!match)
        return {};
    MatchedFont font;
    font.family = StringOf(match.get(), FC_FAMILY);
    font.style = StringOf(match.get(), FC_STYLE);
    font.fullName = StringOf(match.get(), FC_FULLNAME);
    if (font.fullName.empty())
        font.fullName = font.style.empty() ? font.family : font.family + " " + font.style;
    font.file = StringOf(match.get(), FC_FILE);
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &font.faceIndex);
    font.bold = bold;
    font.italic = italic;
    return font;
}

bool RegisterFontFile(const std::string& path) {
    std::lock_guard lock(FontConfigMutex());
    FcConfig* config = ProcessFontConfig();
    return config &&
           FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(path.c_str())) != 0;
}

std::vector<uint32_t> GlyphIndices(const std::string& file, int faceIndex,
                                   const std::vector<char32_t>& codePoints) {
    std::vector<uint32_t> glyphs(codePoints.size(), 0);
    const auto bytes = ReadFontFile(file);
    if (!bytes)
        return glyphs;
    const int offset = stbtt_GetFontOffsetForIndex(bytes->data(), faceIndex);
    stbtt_fontinfo info;
    if (offset < 0 || !stbtt_InitFont(&info, bytes->data(), offset))
        return glyphs;
    for (size_t i = 0; i < codePoints.size(); ++i)
        glyphs[i] = static_cast<uint32_t>(stbtt_FindGlyphIndex(&info, int(codePoints[i])));
    return glyphs;
}

} // namespace text

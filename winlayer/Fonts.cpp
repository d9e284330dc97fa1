#include "winlayer/GdiRecords.h"
#include "winlayer/GdiText.h"
#include "winlayer/SortedStringMap.h"

#include "platform/text/FontMatch.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

using namespace winlayer;

namespace {

constexpr int kMaxFaceBytes = 899;
constexpr double kFallbackSize = 10;

using MatchRef = std::shared_ptr<const text::MatchedFont>;

// Requested names resolve once for the life of the process.
MatchRef MatchCached(const std::string& requested) {
    static std::mutex mutex;
    static SortedStringMap<MatchRef> cache;
    std::lock_guard lock(mutex);
    if (const MatchRef* hit = cache.Find(requested.c_str()))
        return *hit;
    auto match = std::make_shared<const text::MatchedFont>(text::MatchFontName(requested));
    cache.Insert(requested.c_str(), match);
    return match;
}

double FontSize(int height, int width) {
    const double size = std::abs(height != 0 ? height : width);
    return size > 8192 || size < 2 ? kFallbackSize : size;
}

std::shared_ptr<const FontFace> FaceFor(const std::string& requested, double size) {
    const MatchRef match = MatchCached(requested);
    if (match->family.empty())
        return std::make_shared<const FontFace>(
            FontFace{ak::Font::System(size), requested, std::string(), 0});
    return std::make_shared<const FontFace>(
        FontFace{ak::Font::Resolved(match->family, size, match->bold, match->italic),
                 match->fullName, match->file, match->faceIndex});
}

std::shared_ptr<const FontFace> SystemFace(double size) {
    const ak::Font system = ak::Font::System(size);
    const MatchRef match = MatchCached(system.Family());
    return std::make_shared<const FontFace>(
        FontFace{system, match->fullName.empty() ? system.Family() : match->fullName, match->file,
                 match->faceIndex});
}

} // namespace

namespace winlayer {

const FontFace& DefaultFontFace() {
    static const std::shared_ptr<const FontFace> face = SystemFace(kFallbackSize);
    return *face;
}

const FontFace& SelectedFontFace(HDC hdc) {
    if (IsValidContext(hdc) && IsObjectOfType(hdc->font, kFont) && hdc->font->font)
        return *hdc->font->font;
    return DefaultFontFace();
}

} // namespace winlayer

HFONT CreateFont(int height, int width, int, int, int weight, DWORD italic, DWORD, DWORD, DWORD,
                 DWORD, DWORD, DWORD, DWORD, const char* face) {
    const double size = FontSize(height, width);
    std::string requested = face ? std::string(face, strnlen(face, kMaxFaceBytes)) : std::string();
    if (weight >= 700)
        requested += " Bold";
    if ((italic & 0xFF) != 0)
        requested += " Italic";
    HFONT font = AllocObject(kFont);
    font->font = requested.empty() ? SystemFace(size) : FaceFor(requested, size);
    return font;
}

HFONT CreateFontIndirect(const LOGFONT* font) {
    if (!font)
        return nullptr;
    char face[sizeof font->lfFaceName + 1] = {};
    std::memcpy(face, font->lfFaceName, sizeof font->lfFaceName);
    return CreateFont(font->lfHeight, font->lfWidth, 0, font->lfOrientation, font->lfWeight,
                      font->lfItalic, 0, 0, 0, 0, 0, 0, 0, face);
}

int GetTextFace(HDC hdc, int size, char* buffer) {
    if (!IsValidContext(hdc) || size <= 0 || !buffer)
        return 0;
    const std::string& name = SelectedFontFace(hdc).fullName;
    const size_t length = std::min(name.size(), size_t(size - 1));
    std::memcpy(buffer, name.data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

int GetGlyphIndicesW(HDC hdc, const char16_t* characters, int count, WORD* glyphs, DWORD flags) {
    if (!glyphs || count <= 0)
        return 0;
    const WORD missing = flags == 1 ? 0xFFFF : 0;
    if (IsValidContext(hdc) && IsObjectOfType(hdc->font, kFont) && hdc->font->font && characters &&
        !hdc->font->font->file.empty()) {
        const std::vector<char32_t> codes(characters, characters + count);
        const auto found =
            text::GlyphIndices(hdc->font->font->file, hdc->font->font->faceIndex, codes);
        bool all = true;
        for (uint32_t glyph : found)
            all = all && glyph != 0 && glyph <= 0xFFFF;
        if (all) {
            for (int i = 0; i < count; ++i)
                glyphs[i] = static_cast<WORD>(found[size_t(i)]);
            return count;
        }
    }
    std::fill(glyphs, glyphs + count, missing);
    return 0;
}

int AddFontResourceEx(const char* path, DWORD, void*) {
    if (!path || !*path)
        return 0;
    // One registration serves both scopes: the lookups here and ak's drawing.
    if (!text::RegisterFontFile(path))
        return 0;
    return ak::Font::RegisterFile(path) ? 1 : 0;
}

const ak::Font* WISP_FontHandleToCTFont(HFONT font) {
    return IsObjectOfType(font, kFont) && font->font ? &font->font->font : nullptr;
}

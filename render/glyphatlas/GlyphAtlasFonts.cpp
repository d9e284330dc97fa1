#include "render/glyphatlas/GlyphAtlasInternal.h"

#include "platform/sys/File.h"
#include "render/util/TryAlloc.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Takes the data over (freeing it on failure when the atlas owns it) and reads
// the face's vertical metrics; null when the face is unusable.
std::unique_ptr<GlyphAtlasFont> load_font(GlyphAtlas* atlas, const char* name, unsigned char* data,
                                          int size, int faceIndex, int freeData) {
    std::unique_ptr<GlyphAtlasFont> font(new (std::nothrow) GlyphAtlasFont);
    if (!font) {
        if (freeData)
            std::free(data);
        return nullptr;
    }
    font->data = data;
    font->dataSize = size;
    font->freeData = freeData != 0;
    try {
        font->glyphs.reserve(256);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    std::strncpy(font->name, name, sizeof(font->name) - 1);
    std::fill(std::begin(font->lut), std::end(font->lut), -1);
    glyphatlas_scratch_reset(atlas);
    if (!data || size <= 0)
        return nullptr;
    font->face = truetype_open(atlas, data, faceIndex);
    if (!font->face)
        return nullptr;
    int ascent = 0, descent = 0, lineGap = 0;
    truetype_vmetrics(*font->face, &ascent, &descent, &lineGap);
    const int height = ascent - descent;
    // A face without height would divide every metric and scale by zero.
    if (height <= 0)
        return nullptr;
    font->unitsHeight = height;
    const float fh = static_cast<float>(height);
    font->ascender = static_cast<float>(ascent) / fh;
    font->descender = static_cast<float>(descent) / fh;
    font->lineh = static_cast<float>(height + lineGap) / fh;
    return font;
}

} // namespace

int glyphatlas_add_font_mem(GlyphAtlas* atlas, const char* name, unsigned char* data, int size,
                            int fontIndex, int freeData) {
    if (!atlas || !name) {
        if (freeData)
            std::free(data);
        return -1;
    }
    std::unique_ptr<GlyphAtlasFont> font = load_font(atlas, name, data, size, fontIndex, freeData);
    if (!font || !try_push_back(atlas->fonts, std::move(font)))
        return -1;
    return static_cast<int>(atlas->fonts.size()) - 1;
}

int glyphatlas_add_font_file(GlyphAtlas* atlas, const char* name, const char* path, int fontIndex) {
    if (!atlas)
        return -1;
    const sys::UniqueFile fp = sys::OpenFile(path, "rb");
    if (!fp)
        return -1;
    unsigned char* data = nullptr;
    long size = -1;
    if (std::fseek(fp.get(), 0, SEEK_END) == 0)
        size = std::ftell(fp.get());
    bool ok = size > 0 && size <= 0x7FFFFFFF && std::fseek(fp.get(), 0, SEEK_SET) == 0;
    if (ok) {
        data = static_cast<unsigned char*>(std::malloc(static_cast<std::size_t>(size)));
        ok = data && std::fread(data, 1, static_cast<std::size_t>(size), fp.get()) ==
                         static_cast<std::size_t>(size);
    }
    if (!ok) {
        std::free(data);
        return -1;
    }
    return glyphatlas_add_font_mem(atlas, name, data, static_cast<int>(size), fontIndex, 1);
}

GlyphAtlasFont* glyphatlas_font_at(GlyphAtlas* atlas, int index) {
    if (!atlas || index < 0 || index >= static_cast<int>(atlas->fonts.size()))
        return nullptr;
    GlyphAtlasFont* font = atlas->fonts[index].get();
    return font->data ? font : nullptr;
}

int glyphatlas_font_valid(GlyphAtlas* atlas, int font) {
    return glyphatlas_font_at(atlas, font) != nullptr;
}

int glyphatlas_font_by_name(GlyphAtlas* atlas, const char* name) {
    if (!atlas || !name)
        return -1;
    for (std::size_t i = 0; i < atlas->fonts.size(); ++i)
        if (std::strcmp(atlas->fonts[i]->name, name) == 0)
            return static_cast<int>(i);
    return -1;
}

int glyphatlas_add_fallback(GlyphAtlas* atlas, int base, int fallback) {
    if (!atlas || base < 0 || base >= static_cast<int>(atlas->fonts.size()))
        return 0;
    GlyphAtlasFont& font = *atlas->fonts[base];
    if (font.nfallbacks >= GLYPHATLAS_MAX_FALLBACKS)
        return 0;
    font.fallbacks[font.nfallbacks++] = fallback;
    return 1;
}

float glyphatlas_font_scale(const GlyphAtlasFont& font, short isize) {
    return static_cast<float>(isize) / 10.0f / static_cast<float>(font.unitsHeight);
}

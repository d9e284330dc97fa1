#include "render/glyphatlas/GlyphAtlasInternal.h"

#include "render/util/TryAlloc.h"

#include <algorithm>
#include <cstring>

namespace {

void set_empty_dirty(GlyphAtlas* atlas) {
    atlas->dirtyRect[0] = atlas->params.width;
    atlas->dirtyRect[1] = atlas->params.height;
    atlas->dirtyRect[2] = 0;
    atlas->dirtyRect[3] = 0;
}

bool dirty_is_empty(const GlyphAtlas* atlas) {
    return atlas->dirtyRect[0] >= atlas->dirtyRect[2] || atlas->dirtyRect[1] >= atlas->dirtyRect[3];
}

void store_size(GlyphAtlas* atlas, int width, int height) {
    atlas->params.width = width;
    atlas->params.height = height;
    atlas->itw = 1.0f / static_cast<float>(width);
    atlas->ith = 1.0f / static_cast<float>(height);
}

bool valid_size(int width, int height) {
    // Skyline nodes and glyph rectangles are 16-bit.
    return width > 0 && height > 0 && width <= 32767 && height <= 32767;
}

// Flushes what is pending at the old size, lets the owner resize, and makes
// zeroed pixels for the new size; false when either fails.
bool begin_resize(GlyphAtlas* atlas, int width, int height, std::vector<unsigned char>* pixels) {
    glyphatlas_flush(atlas);
    if (atlas->params.renderResize &&
        !atlas->params.renderResize(atlas->params.userPtr, width, height))
        return false;
    return try_resize(*pixels, static_cast<std::size_t>(width) * height);
}

} // namespace

GlyphAtlasFont::~GlyphAtlasFont() {
    face.reset();
    if (freeData)
        std::free(data);
}

GlyphAtlas* glyphatlas_create(const GlyphAtlasParams* params) {
    if (!params || !valid_size(params->width, params->height))
        return nullptr;
    std::unique_ptr<GlyphAtlas> atlas(new (std::nothrow) GlyphAtlas);
    if (!atlas)
        return nullptr;
    atlas->params = *params;
    atlas->scratch.reset(new (std::nothrow) unsigned char[GLYPHATLAS_SCRATCH_SIZE]);
    if (!atlas->scratch)
        return nullptr;
    GlyphAtlas* raw = atlas.get();
    auto fail = [&]() {
        glyphatlas_delete(atlas.release());
        return nullptr;
    };
    if (params->renderCreate &&
        !params->renderCreate(params->userPtr, params->width, params->height))
        return fail();
    if (!skyline_reset(raw->atlas, params->width, params->height))
        return fail();
    try {
        raw->fonts.reserve(4);
    } catch (const std::bad_alloc&) {
        return fail();
    }
    store_size(raw, params->width, params->height);
    if (!try_resize(raw->texData, static_cast<std::size_t>(params->width) * params->height))
        return fail();
    set_empty_dirty(raw);
    if (!glyphatlas_add_white_rect(raw))
        return fail();
    glyphatlas_push_state(raw);
    glyphatlas_clear_state(raw);
    return atlas.release();
}

void glyphatlas_delete(GlyphAtlas* atlas) {
    if (!atlas)
        return;
    if (atlas->params.renderDelete)
        atlas->params.renderDelete(atlas->params.userPtr);
    delete atlas;
}

void glyphatlas_set_error_callback(GlyphAtlas* atlas, GlyphAtlasErrorCallback callback,
                                   void* uptr) {
    if (!atlas)
        return;
    atlas->handleError = callback;
    atlas->errorUptr = uptr;
}

void glyphatlas_report(GlyphAtlas* atlas, int error, int value) {
    if (atlas->handleError)
        atlas->handleError(atlas->errorUptr, error, value);
}

void* glyphatlas_scratch_alloc(GlyphAtlas* atlas, std::size_t size) {
    const std::size_t rounded = (size + 0xF) & ~static_cast<std::size_t>(0xF);
    const std::size_t total = static_cast<std::size_t>(atlas->nscratch) + rounded;
    if (total <= static_cast<std::size_t>(GLYPHATLAS_SCRATCH_SIZE)) {
        void* block = atlas->scratch.get() + atlas->nscratch;
        atlas->nscratch = static_cast<int>(total);
        return block;
    }
    glyphatlas_report(atlas, GLYPHATLAS_SCRATCH_FULL,
                      static_cast<int>(std::min<std::size_t>(total, 0x7FFFFFFF)));
    atlas->scratchOverflowed = true;
    // The rasteriser uses some of its buffers without checking them, so a
    // failed request still gets memory; the glyph's bitmap is dropped instead.
    std::unique_ptr<unsigned char[]> spill(new (std::nothrow) unsigned char[rounded]);
    if (!spill || !try_push_back(atlas->scratchSpill, std::move(spill)))
        return nullptr;
    return atlas->scratchSpill.back().get();
}

void glyphatlas_scratch_reset(GlyphAtlas* atlas) {
    atlas->nscratch = 0;
    atlas->scratchSpill.clear();
    atlas->scratchOverflowed = false;
}

void glyphatlas_mark_dirty(GlyphAtlas* atlas, int x0, int y0, int x1, int y1) {
    atlas->dirtyRect[0] = std::min(atlas->dirtyRect[0], x0);
    atlas->dirtyRect[1] = std::min(atlas->dirtyRect[1], y0);
    atlas->dirtyRect[2] = std::max(atlas->dirtyRect[2], x1);
    atlas->dirtyRect[3] = std::max(atlas->dirtyRect[3], y1);
}

bool glyphatlas_add_white_rect(GlyphAtlas* atlas) {
    constexpr int w = 2, h = 2;
    int gx = 0, gy = 0;
    if (!skyline_add_rect(atlas->atlas, w, h, &gx, &gy))
        return false;
    const int stride = atlas->params.width;
    for (int y = 0; y < h; ++y)
        std::memset(&atlas->texData[static_cast<std::size_t>(gy + y) * stride + gx], 0xFF, w);
    glyphatlas_mark_dirty(atlas, gx, gy, gx + w, gy + h);
    return true;
}

void glyphatlas_flush(GlyphAtlas* atlas) {
    if (!dirty_is_empty(atlas)) {
        if (atlas->params.renderUpdate)
            atlas->params.renderUpdate(atlas->params.userPtr, atlas->dirtyRect,
                                       atlas->texData.data());
        set_empty_dirty(atlas);
    }
    if (atlas->nverts > 0) {
        if (atlas->params.renderDraw)
            atlas->params.renderDraw(atlas->params.userPtr, atlas->verts, atlas->tcoords,
                                     atlas->colors, atlas->nverts);
        atlas->nverts = 0;
    }
}

void glyphatlas_atlas_size(GlyphAtlas* atlas, int* width, int* height) {
    if (!atlas)
        return;
    if (width)
        *width = atlas->params.width;
    if (height)
        *height = atlas->params.height;
}

int glyphatlas_expand_atlas(GlyphAtlas* atlas, int width, int height) {
    if (!atlas)
        return 0;
    const int oldWidth = atlas->params.width, oldHeight = atlas->params.height;
    width = std::max(width, oldWidth);
    height = std::max(height, oldHeight);
    if (width == oldWidth && height == oldHeight)
        return 1;
    if (!valid_size(width, height))
        return 0;
    std::vector<unsigned char> grown;
    if (!begin_resize(atlas, width, height, &grown))
        return 0;
    for (int y = 0; y < oldHeight; ++y)
        std::memcpy(&grown[static_cast<std::size_t>(y) * width],
                    &atlas->texData[static_cast<std::size_t>(y) * oldWidth], oldWidth);
    if (width > oldWidth && !skyline_append_node(atlas->atlas, oldWidth, width - oldWidth))
        return 0;
    atlas->texData.swap(grown);
    atlas->atlas.width = width;
    atlas->atlas.height = height;
    atlas->dirtyRect[0] = 0;
    atlas->dirtyRect[1] = 0;
    atlas->dirtyRect[2] = oldWidth;
    atlas->dirtyRect[3] = skyline_max_y(atlas->atlas);
    store_size(atlas, width, height);
    return 1;
}

int glyphatlas_reset_atlas(GlyphAtlas* atlas, int width, int height) {
    if (!atlas || !valid_size(width, height))
        return 0;
    std::vector<unsigned char> cleared;
    if (!begin_resize(atlas, width, height, &cleared))
        return 0;
    if (!skyline_reset(atlas->atlas, width, height))
        return 0;
    atlas->texData.swap(cleared);
    store_size(atlas, width, height);
    set_empty_dirty(atlas);
    for (auto& font : atlas->fonts) {
        font->glyphs.clear();
        std::fill(std::begin(font->lut), std::end(font->lut), -1);
    }
    glyphatlas_add_white_rect(atlas);
    return 1;
}

const unsigned char* glyphatlas_texture_data(GlyphAtlas* atlas, int* width, int* height) {
    if (width)
        *width = atlas->params.width;
    if (height)
        *height = atlas->params.height;
    return atlas->texData.data();
}

int glyphatlas_validate_texture(GlyphAtlas* atlas, int* dirty) {
    if (dirty_is_empty(atlas))
        return 0;
    for (int i = 0; i < 4; ++i)
        dirty[i] = atlas->dirtyRect[i];
    set_empty_dirty(atlas);
    return 1;
}

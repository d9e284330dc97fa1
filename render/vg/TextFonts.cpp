#include "render/vg/VGText.h"
#include "render/vg/VGTextInternal.h"

int vg_create_font(VGdrawContext* ctx, const char* name, const char* filename) {
    return glyphatlas_add_font_file(ctx->fs.get(), name, filename, 0);
}

int vg_create_font_at_index(VGdrawContext* ctx, const char* name, const char* filename,
                            int fontIndex) {
    return glyphatlas_add_font_file(ctx->fs.get(), name, filename, fontIndex);
}

int vg_create_font_mem_plain(VGdrawContext* ctx, const char* name, unsigned char* data, int ndata,
                             int freeData) {
    return glyphatlas_add_font_mem(ctx->fs.get(), name, data, ndata, 0, freeData);
}

int vg_create_font_mem(VGdrawContext* ctx, const char* name, unsigned char* data, int ndata,
                       int fontIndex, int freeData) {
    return glyphatlas_add_font_mem(ctx->fs.get(), name, data, ndata, fontIndex, freeData);
}

int vg_find_font(VGdrawContext* ctx, const char* name) {
    if (!name)
        return -1;
    return glyphatlas_font_by_name(ctx->fs.get(), name);
}

int vg_add_fallback_font_id(VGdrawContext* ctx, int baseFont, int fallbackFont) {
    if (baseFont == -1 || fallbackFont == -1)
        return 0;
    return glyphatlas_add_fallback(ctx->fs.get(), baseFont, fallbackFont);
}

int vg_add_fallback_font(VGdrawContext* ctx, const char* baseFont, const char* fallbackFont) {
    return vg_add_fallback_font_id(ctx, vg_find_font(ctx, baseFont),
                                   vg_find_font(ctx, fallbackFont));
}

#include "render/metal/VGMetal.h"

#include "render/metal/MVGcontext.h"

#include <new>

namespace {

// Where the next flush draws: a target, or null for the layer's drawable.
MVGoffscreen* g_currentTarget = nullptr;

MVGcontext* self(void* uptr) {
    return static_cast<MVGcontext*>(uptr);
}

int cb_render_create(void* uptr) {
    return self(uptr)->renderCreate();
}
int cb_create_texture(void* uptr, int type, int w, int h, int flags, const unsigned char* data) {
    return self(uptr)->renderCreateTexture(type, w, h, flags, data);
}
int cb_delete_texture(void* uptr, int image) {
    return self(uptr)->renderDeleteTexture(image);
}
int cb_update_texture(void* uptr, int image, int x, int y, int w, int h,
                      const unsigned char* data) {
    return self(uptr)->renderUpdateTexture(image, x, y, w, h, data);
}
int cb_get_texture_size(void* uptr, int image, int* w, int* h) {
    return self(uptr)->renderGetTextureSize(image, w, h);
}
void cb_viewport(void* uptr, float w, float h, float ratio) {
    self(uptr)->renderViewport(w, h, ratio);
}
void cb_cancel(void* uptr) {
    self(uptr)->renderCancel();
}
void cb_flush(void* uptr) {
    self(uptr)->renderFlush();
}
void cb_fill(void* uptr, const VGpaint* paint, VGcompositeOperationState op,
             const VGscissor* scissor, float fringe, const float* bounds, const VGpath* paths,
             int npaths) {
    self(uptr)->renderFill(paint, op, scissor, fringe, bounds, paths, npaths);
}
void cb_stroke(void* uptr, const VGpaint* paint, VGcompositeOperationState op,
               const VGscissor* scissor, float fringe, float strokeWidth, const VGpath* paths,
               int npaths) {
    self(uptr)->renderStroke(paint, op, scissor, fringe, strokeWidth, paths, npaths);
}
void cb_triangles(void* uptr, const VGpaint* paint, VGcompositeOperationState op,
                  const VGscissor* scissor, const VGvertex* verts, int nverts, float fringe) {
    self(uptr)->renderTriangles(paint, op, scissor, verts, nverts, fringe);
}
// The table held the one reference to the renderer.
void cb_delete(void* uptr) {
    self(uptr)->renderDelete();
    delete self(uptr);
}

} // namespace

VGdrawContext* vgmtl_create_context(std::shared_ptr<mtl::MetalLayer> layer, int flags) {
    auto* renderer = new (std::nothrow) MVGcontext;
    if (!renderer)
        return nullptr;
    renderer->flags = flags;
    renderer->fragSize = 256;
    renderer->indexSize = 4;
    renderer->metalLayer = std::move(layer);
    VGrendererTable table{};
    table.userPtr = renderer;
    table.edgeAntiAlias = flags & VGMTL_ANTIALIAS;
    table.renderCreate = cb_render_create;
    table.renderCreateTexture = cb_create_texture;
    table.renderDeleteTexture = cb_delete_texture;
    table.renderUpdateTexture = cb_update_texture;
    table.renderGetTextureSize = cb_get_texture_size;
    table.renderViewport = cb_viewport;
    table.renderCancel = cb_cancel;
    table.renderFlush = cb_flush;
    table.renderFill = cb_fill;
    table.renderStroke = cb_stroke;
    table.renderTriangles = cb_triangles;
    table.renderDelete = cb_delete;
    return vg_create_context(&table);
}

void vgmtl_delete_context(VGdrawContext* ctx) {
    vg_delete_context(ctx);
}

VGrendererTable* vgmtl_renderer_table(VGdrawContext* ctx) {
    return reinterpret_cast<VGrendererTable*>(ctx);
}

MVGcontext* vgmtl_renderer(VGdrawContext* ctx) {
    return ctx ? self(vgmtl_renderer_table(ctx)->userPtr) : nullptr;
}

void vgmtl_bind_offscreen(MVGoffscreen* target) {
    g_currentTarget = target;
}

MVGoffscreen* vgmtl_bound_offscreen() {
    return g_currentTarget;
}

MVGoffscreen* vgmtl_create_offscreen(VGdrawContext* ctx, int width, int height, int imageFlags) {
    auto* target = new (std::nothrow) MVGoffscreen{ctx, 0};
    if (!target)
        return nullptr;
    const VGrendererTable* table = vgmtl_renderer_table(ctx);
    target->image = table->renderCreateTexture(table->userPtr, VG_TEXTURE_RGBA, width, height,
                                               imageFlags | VG_IMAGE_PREMULTIPLIED, nullptr);
    return target;
}

void vgmtl_delete_offscreen(MVGoffscreen* target) {
    if (!target)
        return;
    if (g_currentTarget == target) // never leave the global pointing at freed memory
        g_currentTarget = nullptr;
    if (target->image > 0) {
        const VGrendererTable* table = vgmtl_renderer_table(target->context);
        table->renderDeleteTexture(table->userPtr, target->image);
    }
    delete target;
}

void vgmtl_clear_with_color(VGdrawContext* ctx, VGcolor color) {
    MVGcontext* r = vgmtl_renderer(ctx);
    r->clearColor = {double(color.r * color.a), double(color.g * color.a),
                     double(color.b * color.a), double(color.a)};
    r->clearBufferOnFlush = true;
}

bool vgmtl_present_image(VGdrawContext* ctx, int image, mtl::PixelRect damage) {
    return vgmtl_renderer(ctx)->presentImage(image, damage);
}

std::shared_ptr<mtl::CommandQueue> vgmtl_command_queue(VGdrawContext* ctx) {
    return vgmtl_renderer(ctx)->commandQueue;
}

std::shared_ptr<mtl::Device> vgmtl_device(VGdrawContext* ctx) {
    const auto& layer = vgmtl_renderer(ctx)->metalLayer;
    return layer ? layer->device() : nullptr;
}

int vgmtl_image_from_texture(VGdrawContext* ctx, std::shared_ptr<mtl::Texture> texture,
                             int imageFlags) {
    auto slot = vgmtl_renderer(ctx)->allocTexture();
    slot->type = VG_TEXTURE_RGBA;
    slot->tex = std::move(texture);
    slot->flags = imageFlags;
    return slot->id;
}

std::shared_ptr<mtl::Texture> vgmtl_texture_of_image(VGdrawContext* ctx, int image) {
    MVGcontext* r = vgmtl_renderer(ctx);
    const auto slot = r->findTexture(image);
    if (!slot)
        return nullptr;
    r->waitForImage(image);
    return slot->tex;
}

void vgmtl_read_pixels(VGdrawContext* ctx, int image, int x, int y, int width, int height,
                       void* data) {
    MVGcontext* r = vgmtl_renderer(ctx);
    const auto slot = r->findTexture(image);
    if (!slot || !slot->tex || x < 0 || y < 0 || width < 0 || height < 0)
        return;
    const size_t pitch = slot->tex->width() * (slot->type == VG_TEXTURE_RGBA ? 4 : 1);
    r->waitForImage(image);
    slot->tex->getBytes(
        data, pitch, mtl::Region::make2D(size_t(x), size_t(y), size_t(width), size_t(height)), 0);
}

int vgmtl_target() {
    return 1;
}

#include "tests/render/support/RecordingBackend.h"

#include <algorithm>
#include <cstring>

namespace render_test {

namespace {

RecordingBackend& self(void* uptr) {
    return *static_cast<RecordingBackend*>(uptr);
}

int bytes_per_pixel(int type) {
    return type == VG_TEXTURE_RGBA ? 4 : 1;
}

std::vector<RecordedPath> copy_paths(const VGpath* paths, int npaths) {
    std::vector<RecordedPath> out;
    for (int i = 0; i < npaths; ++i) {
        const VGpath& p = paths[i];
        RecordedPath r{p, {}, {}};
        if (p.fill && p.nfill > 0)
            r.fill.assign(p.fill, p.fill + p.nfill);
        if (p.stroke && p.nstroke > 0)
            r.stroke.assign(p.stroke, p.stroke + p.nstroke);
        out.push_back(std::move(r));
    }
    return out;
}

RecordedDraw base_draw(RecordedDraw::Kind kind, const VGpaint* paint, VGcompositeOperationState op,
                       const VGscissor* scissor, float fringe) {
    RecordedDraw d;
    d.kind = kind;
    d.paint = *paint;
    d.composite = op;
    d.scissor = *scissor;
    d.fringe = fringe;
    return d;
}

} // namespace

VGrendererTable RecordingBackend::table() {
    VGrendererTable t{};
    t.userPtr = this;
    t.edgeAntiAlias = edgeAntiAlias;
    t.renderCreate = create;
    t.renderCreateTexture = create_texture;
    t.renderDeleteTexture = delete_texture;
    t.renderUpdateTexture = update_texture;
    t.renderGetTextureSize = texture_size;
    t.renderViewport = set_viewport;
    t.renderCancel = cancel;
    t.renderFlush = flush;
    t.renderFill = fill;
    t.renderStroke = stroke;
    t.renderTriangles = triangles;
    t.renderDelete = destroy;
    return t;
}

int RecordingBackend::count_events(const std::string& prefix) const {
    return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const std::string& e) {
        return e.compare(0, prefix.size(), prefix) == 0;
    }));
}

int RecordingBackend::create(void* uptr) {
    RecordingBackend& b = self(uptr);
    b.events.push_back("create");
    return b.failCreate ? 0 : 1;
}

int RecordingBackend::create_texture(void* uptr, int type, int w, int h, int flags,
                                     const unsigned char* data) {
    RecordingBackend& b = self(uptr);
    ++b.textureCreations;
    if (b.textureCreations == b.failTextureCreation || w <= 0 || h <= 0) {
        b.events.push_back("createTexture 0");
        return 0;
    }
    const int id = b.nextId_++;
    RecordedTexture tex{type, w, h, flags, {}};
    const std::size_t size = static_cast<std::size_t>(w) * h * bytes_per_pixel(type);
    if (data)
        tex.pixels.assign(data, data + size);
    else
        tex.pixels.assign(size, 0);
    b.textures[id] = std::move(tex);
    b.events.push_back("createTexture " + std::to_string(id) + " " + std::to_string(type) + " " +
                       std::to_string(w) + "x" + std::to_string(h));
    return id;
}

int RecordingBackend::delete_texture(void* uptr, int image) {
    RecordingBackend& b = self(uptr);
    b.events.push_back("deleteTexture " + std::to_string(image));
    b.deletedTextures.push_back(image);
    return b.textures.erase(image) ? 1 : 0;
}

int RecordingBackend::update_texture(void* uptr, int image, int x, int y, int w, int h,
                                     const unsigned char* data) {
    RecordingBackend& b = self(uptr);
    b.events.push_back("updateTexture " + std::to_string(image) + " " + std::to_string(x) + " " +
                       std::to_string(y) + " " + std::to_string(w) + " " + std::to_string(h));
    auto it = b.textures.find(image);
    if (it == b.textures.end())
        return 0;
    RecordedTexture& tex = it->second;
    const int bpp = bytes_per_pixel(tex.type);
    x = std::max(x, 0);
    y = std::max(y, 0);
    w = std::min(w, tex.width - x);
    h = std::min(h, tex.height - y);
    if (w <= 0 || h <= 0 || !data)
        return 1;
    for (int row = y; row < y + h; ++row) {
        const std::size_t offset = (static_cast<std::size_t>(row) * tex.width + x) * bpp;
        std::memcpy(&tex.pixels[offset], data + offset, static_cast<std::size_t>(w) * bpp);
    }
    return 1;
}

int RecordingBackend::texture_size(void* uptr, int image, int* w, int* h) {
    RecordingBackend& b = self(uptr);
    auto it = b.textures.find(image);
    if (it == b.textures.end())
        return 0;
    *w = it->second.width;
    *h = it->second.height;
    return 1;
}

void RecordingBackend::set_viewport(void* uptr, float width, float height, float ratio) {
    RecordingBackend& b = self(uptr);
    b.events.push_back("viewport");
    b.viewport = {width, height, ratio};
}

void RecordingBackend::cancel(void* uptr) {
    self(uptr).events.push_back("cancel");
}

void RecordingBackend::flush(void* uptr) {
    self(uptr).events.push_back("flush");
}

void RecordingBackend::fill(void* uptr, const VGpaint* paint, VGcompositeOperationState op,
                            const VGscissor* scissor, float fringe, const float* bounds,
                            const VGpath* paths, int npaths) {
    RecordingBackend& b = self(uptr);
    b.events.push_back("fill");
    RecordedDraw d = base_draw(RecordedDraw::Kind::Fill, paint, op, scissor, fringe);
    std::copy(bounds, bounds + 4, d.bounds.begin());
    d.paths = copy_paths(paths, npaths);
    b.draws.push_back(std::move(d));
}

void RecordingBackend::stroke(void* uptr, const VGpaint* paint, VGcompositeOperationState op,
                              const VGscissor* scissor, float fringe, float strokeWidth,
                              const VGpath* paths, int npaths) {
    RecordingBackend& b = self(uptr);
    b.events.push_back("stroke");
    RecordedDraw d = base_draw(RecordedDraw::Kind::Stroke, paint, op, scissor, fringe);
    d.strokeWidth = strokeWidth;
    d.paths = copy_paths(paths, npaths);
    b.draws.push_back(std::move(d));
}

void RecordingBackend::triangles(void* uptr, const VGpaint* paint, VGcompositeOperationState op,
                                 const VGscissor* scissor, const VGvertex* verts, int nverts,
                                 float fringe) {
    RecordingBackend& b = self(uptr);
    b.events.push_back("triangles");
    RecordedDraw d = base_draw(RecordedDraw::Kind::Triangles, paint, op, scissor, fringe);
    if (verts && nverts > 0)
        d.verts.assign(verts, verts + nverts);
    b.draws.push_back(std::move(d));
}

void RecordingBackend::destroy(void* uptr) {
    RecordingBackend& b = self(uptr);
    b.events.push_back("delete");
    ++b.renderDeleteCalls;
}

} // namespace render_test

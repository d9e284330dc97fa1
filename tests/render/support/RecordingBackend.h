#pragma once

// A vector-renderer back end that draws nothing and records every callback
// with deep copies, for tests of the renderer and of what draws through it.

#include "render/vg/VGRendererTable.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace render_test {

struct RecordedPath {
    VGpath header; // its vertex pointers are stale: use fill and stroke
    std::vector<VGvertex> fill;
    std::vector<VGvertex> stroke;
};

struct RecordedDraw {
    enum class Kind { Fill, Stroke, Triangles };
    Kind kind = Kind::Fill;
    VGpaint paint{};
    VGcompositeOperationState composite{};
    VGscissor scissor{};
    float fringe = 0;
    float strokeWidth = 0;
    std::array<float, 4> bounds{};
    std::vector<RecordedPath> paths;
    std::vector<VGvertex> verts;
};

struct RecordedTexture {
    int type = 0;
    int width = 0;
    int height = 0;
    int flags = 0;
    std::vector<unsigned char> pixels; // rows of width x (1 or 4) bytes
};

class RecordingBackend {
public:
    // The table to hand to vg_create_context; it points at this object.
    VGrendererTable table();

    // Failure injection.
    bool failCreate = false;
    int failTextureCreation = 0; // the n-th texture creation (1-based) returns 0
    int edgeAntiAlias = 1;

    // What happened, in order: "create", "createTexture <id> <type> <w>x<h>",
    // "deleteTexture <id>", "updateTexture <id> <x> <y> <w> <h>", "viewport",
    // "cancel", "flush", "fill", "stroke", "triangles", "delete".
    std::vector<std::string> events;
    std::vector<RecordedDraw> draws;
    std::map<int, RecordedTexture> textures; // live textures by id
    std::vector<int> deletedTextures;
    int textureCreations = 0;
    int renderDeleteCalls = 0;
    std::array<float, 3> viewport{};

    int count_events(const std::string& prefix) const;

private:
    int nextId_ = 1;

    static int create(void* uptr);
    static int create_texture(void* uptr, int type, int w, int h, int flags,
                              const unsigned char* data);
    static int delete_texture(void* uptr, int image);
    static int update_texture(void* uptr, int image, int x, int y, int w, int h,
                              const unsigned char* data);
    static int texture_size(void* uptr, int image, int* w, int* h);
    static void set_viewport(void* uptr, float width, float height, float ratio);
    static void cancel(void* uptr);
    static void flush(void* uptr);
    static void fill(void* uptr, const VGpaint* paint, VGcompositeOperationState op,
                     const VGscissor* scissor, float fringe, const float* bounds,
                     const VGpath* paths, int npaths);
    static void stroke(void* uptr, const VGpaint* paint, VGcompositeOperationState op,
                       const VGscissor* scissor, float fringe, float strokeWidth,
                       const VGpath* paths, int npaths);
    static void triangles(void* uptr, const VGpaint* paint, VGcompositeOperationState op,
                          const VGscissor* scissor, const VGvertex* verts, int nverts,
                          float fringe);
    static void destroy(void* uptr);
};

} // namespace render_test

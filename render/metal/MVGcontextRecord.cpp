#include "render/metal/MVGcontext.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Grows a set's Metal buffer to hold `needed` entries of `size` bytes,
// keeping the first `used`; false when the new buffer cannot be made.
template <typename T>
bool grow(mtl::Device& device, std::shared_ptr<mtl::Buffer>& buffer, T*& contents, int& capacity,
          int used, long needed, int minimum, int size) {
    if (needed <= capacity)
        return true;
    const long entries = std::max<long>(needed, minimum) + capacity / 2;
    if (entries > (1L << 31) / size)
        return false;
    auto bigger = device.newBuffer(size_t(entries) * size, mtl::ResourceCPUCacheModeWriteCombined);
    if (!bigger)
        return false;
    if (buffer && used > 0)
        std::memcpy(bigger->contents(), buffer->contents(), size_t(used) * size);
    buffer = std::move(bigger);
    contents = static_cast<T*>(buffer->contents());
    capacity = static_cast<int>(entries);
    return true;
}

mtl::BlendFactor blend_factor(int factor, bool& valid) {
    switch (factor) {
    case VG_ZERO:
        return mtl::BlendFactorZero;
    case VG_ONE:
        return mtl::BlendFactorOne;
    case VG_SRC_COLOR:
        return mtl::BlendFactorSourceColor;
    case VG_ONE_MINUS_SRC_COLOR:
        return mtl::BlendFactorOneMinusSourceColor;
    case VG_DST_COLOR:
        return mtl::BlendFactorDestinationColor;
    case VG_ONE_MINUS_DST_COLOR:
        return mtl::BlendFactorOneMinusDestinationColor;
    case VG_SRC_ALPHA:
        return mtl::BlendFactorSourceAlpha;
    case VG_ONE_MINUS_SRC_ALPHA:
        return mtl::BlendFactorOneMinusSourceAlpha;
    case VG_DST_ALPHA:
        return mtl::BlendFactorDestinationAlpha;
    case VG_ONE_MINUS_DST_ALPHA:
        return mtl::BlendFactorOneMinusDestinationAlpha;
    case VG_SRC_ALPHA_SATURATE:
        return mtl::BlendFactorSourceAlphaSaturated;
    default:
        valid = false;
        return mtl::BlendFactorZero;
    }
}

// Appends a path's stroke vertices with its first and last repeated, so
// consecutive paths join by degenerate triangles in one strip.
void append_strip(VGvertex* out, int& at, const VGpath& path) {
    out[at++] = path.stroke[0];
    std::copy(path.stroke, path.stroke + path.nstroke, out + at);
    at += path.nstroke;
    out[at++] = path.stroke[path.nstroke - 1];
}

} // namespace

MVGcall* MVGcontext::allocCall() {
    MVGbuffers& b = *buffers;
    if (b.ncalls + 1 > b.ccalls) {
        const int capacity = std::max(b.ncalls + 1, 128) + b.ccalls / 2;
        std::unique_ptr<MVGcall[]> calls(new (std::nothrow) MVGcall[capacity]);
        if (!calls)
            return nullptr;
        std::copy(b.calls.get(), b.calls.get() + b.ncalls, calls.get());
        b.calls = std::move(calls);
        b.ccalls = capacity;
    }
    MVGcall* call = &b.calls[b.ncalls++];
    *call = MVGcall{};
    return call;
}

int MVGcontext::allocVerts(int n) {
    MVGbuffers& b = *buffers;
    if (!grow(*metalLayer->device(), b.vertBuffer, b.verts, b.cverts, b.nverts, long(b.nverts) + n,
              4096, sizeof(VGvertex)))
        return -1;
    const int first = b.nverts;
    b.nverts += n;
    return first;
}

int MVGcontext::allocIndexes(int n) {
    MVGbuffers& b = *buffers;
    if (!grow(*metalLayer->device(), b.indexBuffer, b.indexes, b.cindexes, b.nindexes,
              long(b.nindexes) + n, 4096, indexSize))
        return -1;
    const int first = b.nindexes;
    b.nindexes += n;
    return first;
}

int MVGcontext::allocFragUniforms(int n) {
    MVGbuffers& b = *buffers;
    if (!grow(*metalLayer->device(), b.uniformBuffer, b.uniforms, b.cuniforms, b.nuniforms,
              long(b.nuniforms) + n, 128, fragSize))
        return -1;
    const int first = b.nuniforms * fragSize;
    b.nuniforms += n;
    return first;
}

MVGfragUniforms* MVGcontext::fragUniformAtIndex(int offset) {
    return reinterpret_cast<MVGfragUniforms*>(buffers->uniforms + offset);
}

void MVGcontext::dropCall() {
    buffers->ncalls = std::max(0, buffers->ncalls - 1);
}

MVGblend MVGcontext::blendCompositeOperation(VGcompositeOperationState op) {
    bool valid = true;
    const MVGblend blend{blend_factor(op.srcRGB, valid), blend_factor(op.dstRGB, valid),
                         blend_factor(op.srcAlpha, valid), blend_factor(op.dstAlpha, valid)};
    if (valid)
        return blend;
    return {mtl::BlendFactorOne, mtl::BlendFactorOneMinusSourceAlpha, mtl::BlendFactorOne,
            mtl::BlendFactorOneMinusSourceAlpha};
}

int MVGcontext::convertPaintForFrag(MVGfragUniforms* frag, const VGpaint* paint,
                                    const VGscissor* scissor, float width, float fringe,
                                    float strokeThr) {
    const auto image = paint->image != 0 ? findTexture(paint->image) : nullptr;
    const MVGimageInfo info = image ? MVGimageInfo{image->type, image->flags} : MVGimageInfo{};
    return mvg_convert_paint(frag, *paint, *scissor, width, fringe, strokeThr,
                             image ? &info : nullptr, paint->image != 0 && !image);
}

void MVGcontext::renderFill(const VGpaint* paint, VGcompositeOperationState op,
                            const VGscissor* scissor, float fringe, const float* bounds,
                            const VGpath* paths, int npaths) {
    if (!buffers)
        return;
    MVGcall* call = allocCall();
    if (!call)
        return;
    call->type = MVG_FILL;
    call->triangleCount = 4;
    call->image = paint->image;
    call->blendFunc = blendCompositeOperation(op);
    if (npaths == 1 && paths[0].convex) {
        call->type = MVG_CONVEXFILL;
        call->triangleCount = 0;
    }
    int indexCount = 0, strokeCount = 0, maxverts = 0;
    for (int i = 0; i < npaths; ++i) {
        if (paths[i].nfill > 2) {
            indexCount += (paths[i].nfill - 2) * 3;
            maxverts += paths[i].nfill;
        }
        if (paths[i].nstroke > 0)
            strokeCount += paths[i].nstroke + 2;
    }
    maxverts += strokeCount + call->triangleCount;
    const MVGcall recorded = *call; // the call array may move while buffers grow
    int vertOffset = allocVerts(maxverts);
    const int indexOffset = vertOffset < 0 ? -1 : allocIndexes(indexCount);
    if (vertOffset < 0 || indexOffset < 0)
        return dropCall();
    MVGcall c = recorded;
    c.indexOffset = indexOffset;
    c.indexCount = indexCount;
    int strokeAt = vertOffset + maxverts - strokeCount;
    c.strokeOffset = strokeAt + 1;
    c.strokeCount = strokeCount - 2;
    MVGbuffers& b = *buffers;
    int index = indexOffset;
    for (int i = 0; i < npaths; ++i) {
        const VGpath& path = paths[i];
        if (path.nfill > 2) {
            std::copy(path.fill, path.fill + path.nfill, b.verts + vertOffset);
            for (int j = 2; j < path.nfill; ++j) {
                b.indexes[index++] = vertOffset;
                b.indexes[index++] = vertOffset + j - 1;
                b.indexes[index++] = vertOffset + j;
            }
            vertOffset += path.nfill;
        }
        if (path.nstroke > 0)
            append_strip(b.verts, strokeAt, path);
    }
    if (c.type == MVG_FILL) {
        c.triangleOffset = vertOffset;
        const VGvertex quad[4] = {{bounds[2], bounds[3], 0.5f, 1.0f},
                                  {bounds[2], bounds[1], 0.5f, 1.0f},
                                  {bounds[0], bounds[3], 0.5f, 1.0f},
                                  {bounds[0], bounds[1], 0.5f, 1.0f}};
        std::copy(quad, quad + 4, b.verts + vertOffset);
    }
    c.uniformOffset = allocFragUniforms(1);
    if (c.uniformOffset < 0 || !convertPaintForFrag(fragUniformAtIndex(c.uniformOffset), paint,
                                                    scissor, fringe, fringe, -1.0f))
        return dropCall();
    clipCall(c, *scissor, fringe);
    b.calls[b.ncalls - 1] = c;
}

void MVGcontext::renderStroke(const VGpaint* paint, VGcompositeOperationState op,
                              const VGscissor* scissor, float fringe, float strokeWidth,
                              const VGpath* paths, int npaths) {
    if (!buffers)
        return;
    MVGcall* call = allocCall();
    if (!call)
        return;
    MVGcall c{};
    c.type = MVG_STROKE;
    c.image = paint->image;
    c.blendFunc = blendCompositeOperation(op);
    int maxverts = 0, strokeCount = 0;
    for (int i = 0; i < npaths; ++i) {
        if (paths[i].nfill > 2)
            maxverts += paths[i].nfill;
        if (paths[i].nstroke > 0)
            strokeCount += paths[i].nstroke + 2;
    }
    maxverts += strokeCount;
    int at = allocVerts(maxverts);
    if (at < 0)
        return dropCall();
    c.strokeOffset = at + 1;
    c.strokeCount = strokeCount - 2;
    for (int i = 0; i < npaths; ++i)
        if (paths[i].nstroke > 0)
            append_strip(buffers->verts, at, paths[i]);
    const bool stencil = flags & kStencilStrokes;
    c.uniformOffset = allocFragUniforms(stencil ? 2 : 1);
    if (c.uniformOffset < 0 ||
        !convertPaintForFrag(fragUniformAtIndex(c.uniformOffset), paint, scissor, strokeWidth,
                             fringe, -1.0f) ||
        (stencil && !convertPaintForFrag(fragUniformAtIndex(c.uniformOffset + fragSize), paint,
                                         scissor, strokeWidth, fringe, kMVGstencilStrokeThreshold)))
        return dropCall();
    clipCall(c, *scissor, fringe);
    buffers->calls[buffers->ncalls - 1] = c;
}

void MVGcontext::renderTriangles(const VGpaint* paint, VGcompositeOperationState op,
                                 const VGscissor* scissor, const VGvertex* verts, int nverts,
                                 float fringe) {
    if (!buffers)
        return;
    if (!allocCall())
        return;
    MVGcall c{};
    c.type = MVG_TRIANGLES;
    c.image = paint->image;
    c.blendFunc = blendCompositeOperation(op);
    c.triangleOffset = allocVerts(nverts);
    if (c.triangleOffset < 0)
        return dropCall();
    c.triangleCount = nverts;
    std::copy(verts, verts + nverts, buffers->verts + c.triangleOffset);
    c.uniformOffset = allocFragUniforms(1);
    if (c.uniformOffset < 0 || !convertPaintForFrag(fragUniformAtIndex(c.uniformOffset), paint,
                                                    scissor, 1.0f, fringe, -1.0f))
        return dropCall();
    fragUniformAtIndex(c.uniformOffset)->type = kMVGshaderTriangles;
    clipCall(c, *scissor, fringe);
    buffers->calls[buffers->ncalls - 1] = c;
}

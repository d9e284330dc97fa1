#include "platform/mtl/MtlRaster.h"

#include "platform/mtl/MtlSpanClones.h"

#include "platform/mtl/MtlSpanOps.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace mtl {

namespace {

constexpr int64_t kSubpixels = 256;
// Snapped coordinates are kept within ±2^28 (a million pixels) so every edge
// product fits in 64 bits.
constexpr double kCoordinateLimit = 268435456.0;

struct ClipRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0; // x1, y1 exclusive
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};

// An affine varying: value = a·x + (b·y + c) at pixel centres.
struct Plane {
    float a = 0, b = 0, c = 0;
    float row(float fy) const { return b * fy + c; }
    float at(float rowBase, float fx) const { return a * fx + rowBase; }
};

struct ScreenVertex {
    int64_t x = 0, y = 0;
    float varyings[kMaxVaryings] = {};
};

struct Edge {
    int64_t dx = 0, dy = 0, ax = 0, ay = 0, bias = 0;
    // Edge function at the pixel centre (x, y), with the top-left bias.
    int64_t at(int x, int y) const {
        const int64_t px = x * kSubpixels + kSubpixels / 2, py = y * kSubpixels + kSubpixels / 2;
        return dx * (py - ay) - dy * (px - ax) + bias;
    }
};

int64_t floor_div(int64_t a, int64_t b) { // b > 0
    const int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}
int64_t ceil_div(int64_t a, int64_t b) {
    return -floor_div(-a, b);
}

Edge make_edge(const ScreenVertex& a, const ScreenVertex& b) {
    Edge e;
    e.dx = b.x - a.x;
    e.dy = b.y - a.y;
    e.ax = a.x;
    e.ay = a.y;
    const bool topLeft = e.dy < 0 || (e.dy == 0 && e.dx > 0);
    e.bias = topLeft ? 0 : -1;
    return e;
}

// Narrows [xl, xr] to the pixels of row y where the edge passes.
void clip_span_to_edge(const Edge& e, int y, int64_t& xl, int64_t& xr) {
    const int64_t py = y * kSubpixels + kSubpixels / 2;
    const int64_t a = -kSubpixels * e.dy;
    const int64_t c = -(kSubpixels / 2) * e.dy + e.dx * (py - e.ay) + e.dy * e.ax + e.bias;
    if (a > 0)
        xl = std::max(xl, ceil_div(-c, a));
    else if (a < 0)
        xr = std::min(xr, floor_div(c, -a));
    else if (c < 0)
        xr = xl - 1;
}

ClipRect clip_rect(const RasterTarget& t, const DrawState& s) {
    const auto side = [](size_t v) { return static_cast<int>(std::min<size_t>(v, 1 << 30)); };
    ClipRect r{0, 0, 1 << 30, 1 << 30};
    for (const Texture* texture : {t.color, t.stencil}) {
        if (texture) {
            r.x1 = std::min(r.x1, side(texture->width()));
            r.y1 = std::min(r.y1, side(texture->height()));
        }
    }
    const Viewport& v = s.viewport;
    r.x0 = std::max(r.x0, static_cast<int>(std::max(0.0, std::floor(v.originX))));
    r.y0 = std::max(r.y0, static_cast<int>(std::max(0.0, std::floor(v.originY))));
    r.x1 = std::min(r.x1, static_cast<int>(std::clamp(std::ceil(v.originX + v.width), 0.0, 1e9)));
    r.y1 = std::min(r.y1, static_cast<int>(std::clamp(std::ceil(v.originY + v.height), 0.0, 1e9)));
    r.y0 = std::max(r.y0, t.rowBegin);
    r.y1 = std::min(r.y1, t.rowEnd);
    if (s.hasScissor) {
        r.x0 = std::max(r.x0, side(s.scissor.x));
        r.y0 = std::max(r.y0, side(s.scissor.y));
        r.x1 = std::min(r.x1, side(s.scissor.x) + side(s.scissor.width));
        r.y1 = std::min(r.y1, side(s.scissor.y) + side(s.scissor.height));
    }
    return r;
}

int64_t snap(double pixels) {
    const double v = std::clamp(pixels * kSubpixels, -kCoordinateLimit, kCoordinateLimit);
    return std::isnan(v) ? 0 : static_cast<int64_t>(std::llround(v));
}

class DrawJob {
public:
    DrawJob(const RasterTarget& t, const DrawState& s, RasterPath path)
        : target_(t), state_(s), path_(path), clip_(clip_rect(t, s)) {}

    bool run(const DrawRange& range);
    RasterCounts counts() const { return counts_; }

private:
    const RasterTarget& target_;
    const DrawState& state_;
    RasterPath path_;
    ClipRect clip_;
    FragmentProgram shader_;
    std::vector<ScreenVertex> vertices_; // from firstVertex_
    size_t firstVertex_ = 0;
    unsigned varyingMask_ = 0; // varyings the fragment stage reads
    RasterCounts counts_;
    SpanColors colors_;
    float varyings_[kMaxVaryings][kMaxSpan];

    bool buffers_ok(const ShaderFunctionInfo& info, const BufferView* buffers) const;
    bool transform(size_t first, size_t last);
    void triangle(size_t i0, size_t i1, size_t i2);
    MTL_SPAN_CLONES void span(const Plane* planes, bool front, int y, int x0, int count);
};

bool DrawJob::buffers_ok(const ShaderFunctionInfo& info, const BufferView* buffers) const {
    for (const BufferNeed& need : info.needs)
        if (need.index >= 0 && (need.index >= kMaxBuffers || !buffers[need.index].data ||
                                buffers[need.index].size < need.bytes))
            return false;
    return true;
}

bool DrawJob::transform(size_t first, size_t last) {
    const RenderPipelineDescriptor& p = state_.pipeline->descriptor();
    const VertexDescriptor& vd = p.vertexDescriptor;
    for (const VertexAttribute& a : vd.attributes) {
        if (!a.used)
            continue;
        const BufferView& b = state_.vertexBuffers[a.bufferIndex];
        const size_t end = last * vd.stride + a.offset + a.floatCount * sizeof(float);
        if (!b.data || end > b.size || end < last)
            return false;
    }
    firstVertex_ = first;
    vertices_.resize(last - first + 1);
    const Viewport& v = state_.viewport;
    for (size_t i = first; i <= last; ++i) {
        float attributes[kMaxAttributes][4] = {};
        for (int k = 0; k < kMaxAttributes; ++k) {
            const VertexAttribute& a = vd.attributes[k];
            if (a.used)
                std::memcpy(attributes[k],
                            state_.vertexBuffers[a.bufferIndex].data + i * vd.stride + a.offset,
                            a.floatCount * sizeof(float));
        }
        VertexOut out{};
        p.vertexFunction->info().vertex(attributes, state_.vertexBuffers, out);
        ScreenVertex& s = vertices_[i - first];
        s.x = snap(v.originX + (out.position[0] + 1.0) * 0.5 * v.width);
        s.y = snap(v.originY + (1.0 - out.position[1]) * 0.5 * v.height);
        std::copy(out.varyings, out.varyings + kMaxVaryings, s.varyings);
    }
    return true;
}

bool DrawJob::run(const DrawRange& range) {
    if (!state_.pipeline || !state_.pipeline->descriptor().vertexFunction)
        return false;
    const RenderPipelineDescriptor& p = state_.pipeline->descriptor();
    if (!buffers_ok(p.vertexFunction->info(), state_.vertexBuffers))
        return false;
    if (p.fragmentFunction && !buffers_ok(p.fragmentFunction->info(), state_.fragment.buffers))
        return false;
    if (range.count < 3)
        return true;
    std::vector<uint32_t> ids(range.count);
    if (range.indices) {
        const size_t bytes = (range.start + range.count) * sizeof(uint32_t);
        if (!range.indices->data || bytes > range.indices->size || range.start > bytes)
            return false;
        std::memcpy(ids.data(), range.indices->data + range.start * sizeof(uint32_t),
                    range.count * sizeof(uint32_t));
    } else {
        for (size_t i = 0; i < range.count; ++i)
            ids[i] = static_cast<uint32_t>(range.start + i);
    }
    const auto [lo, hi] = std::minmax_element(ids.begin(), ids.end());
    if (!transform(*lo, *hi))
        return false;
    if (clip_.empty())
        return true;
    if (p.fragmentFunction)
        p.fragmentFunction->info().fragment(state_.fragment, shader_);
    // The reference path interpolates every varying, as the plainest pipeline would.
    const unsigned all = (1u << kMaxVaryings) - 1;
    varyingMask_ = !shader_ ? 0 : path_ == RasterPath::Reference ? all : shader_.varyings & all;
    const size_t base = firstVertex_;
    if (range.type == PrimitiveTypeTriangleStrip) {
        for (size_t i = 0; i + 2 < ids.size(); ++i) {
            if (i % 2 == 0)
                triangle(ids[i] - base, ids[i + 1] - base, ids[i + 2] - base);
            else
                triangle(ids[i + 1] - base, ids[i] - base, ids[i + 2] - base);
        }
    } else {
        for (size_t i = 0; i + 2 < ids.size(); i += 3)
            triangle(ids[i] - base, ids[i + 1] - base, ids[i + 2] - base);
    }
    return true;
}

Plane make_plane(const ScreenVertex* v, int k) {
    const double x0 = v[0].x / 256.0, y0 = v[0].y / 256.0;
    const double x1 = v[1].x / 256.0 - x0, y1 = v[1].y / 256.0 - y0;
    const double x2 = v[2].x / 256.0 - x0, y2 = v[2].y / 256.0 - y0;
    const double det = x1 * y2 - x2 * y1;
    const double d1 = double(v[1].varyings[k]) - v[0].varyings[k];
    const double d2 = double(v[2].varyings[k]) - v[0].varyings[k];
    const double a = (d1 * y2 - d2 * y1) / det;
    const double b = (d2 * x1 - d1 * x2) / det;
    return {static_cast<float>(a), static_cast<float>(b),
            static_cast<float>(v[0].varyings[k] - a * x0 - b * y0)};
}

void DrawJob::triangle(size_t i0, size_t i1, size_t i2) {
    ScreenVertex v[3] = {vertices_[i0], vertices_[i1], vertices_[i2]};
    const int64_t area =
        (v[1].x - v[0].x) * (v[2].y - v[0].y) - (v[2].x - v[0].x) * (v[1].y - v[0].y);
    if (area == 0)
        return;
    // y grows downwards, so a counter-clockwise triangle on screen has a negative area.
    const bool counterClockwise = area < 0;
    const bool front = (state_.frontFacingWinding == WindingCounterClockwise) == counterClockwise;
    if ((state_.cullMode == CullModeBack && !front) || (state_.cullMode == CullModeFront && front))
        return;
    if (area < 0)
        std::swap(v[1], v[2]);
    const Edge edges[3] = {make_edge(v[0], v[1]), make_edge(v[1], v[2]), make_edge(v[2], v[0])};
    Plane planes[kMaxVaryings];
    for (int k = 0; k < kMaxVaryings; ++k)
        if (varyingMask_ & (1u << k))
            planes[k] = make_plane(v, k);
    const int64_t minY = std::min({v[0].y, v[1].y, v[2].y}),
                  maxY = std::max({v[0].y, v[1].y, v[2].y});
    const int64_t minX = std::min({v[0].x, v[1].x, v[2].x}),
                  maxX = std::max({v[0].x, v[1].x, v[2].x});
    const int y0 = static_cast<int>(std::max<int64_t>(clip_.y0, ceil_div(minY - 128, 256)));
    const int y1 = static_cast<int>(std::min<int64_t>(clip_.y1 - 1, floor_div(maxY - 128, 256)));
    const int64_t bx0 = std::max<int64_t>(clip_.x0, ceil_div(minX - 128, 256));
    const int64_t bx1 = std::min<int64_t>(clip_.x1 - 1, floor_div(maxX - 128, 256));
    for (int y = y0; y <= y1; ++y) {
        if (path_ == RasterPath::Reference) {
            for (int64_t x = bx0; x <= bx1; ++x) {
                const int xi = static_cast<int>(x);
                if (edges[0].at(xi, y) >= 0 && edges[1].at(xi, y) >= 0 && edges[2].at(xi, y) >= 0)
                    span(planes, front, y, xi, 1);
            }
            continue;
        }
        int64_t xl = bx0, xr = bx1;
        for (const Edge& e : edges)
            clip_span_to_edge(e, y, xl, xr);
        for (int64_t x = xl; x <= xr; x += kMaxSpan)
            span(planes, front, y, static_cast<int>(x),
                 static_cast<int>(std::min<int64_t>(kMaxSpan, xr - x + 1)));
    }
}

void DrawJob::span(const Plane* planes, bool front, int y, int x0, int count) {
    const RenderPipelineDescriptor& p = state_.pipeline->descriptor();
    counts_.visited += count;
    const StencilDescriptor* face = nullptr;
    if (target_.stencil && state_.depthStencil) {
        const DepthStencilDescriptor& d = state_.depthStencil->descriptor();
        face = front ? (d.hasFrontFaceStencil ? &d.frontFaceStencil : nullptr)
                     : (d.hasBackFaceStencil ? &d.backFaceStencil : nullptr);
    }
    unsigned char* colorRow = nullptr;
    if (shader_ && target_.color) {
        Texture& c = *target_.color;
        colorRow = c.pixels() + y * c.bytesPerRow() + x0 * bytes_per_pixel(c.pixelFormat());
    }
    SpanShortcut shortcut;
    if (shader_) {
        const float fy = static_cast<float>(y) + 0.5f;
        SpanIn in{x0, y, count, {}};
        for (int k = 0; k < kMaxVaryings; ++k) {
            if (!(varyingMask_ & (1u << k)))
                continue;
            const float rowBase = planes[k].row(fy);
            for (int i = 0; i < count; ++i)
                varyings_[k][i] = planes[k].at(rowBase, static_cast<float>(x0 + i) + 0.5f);
            in.varyings[k] = varyings_[k];
        }
        std::fill(colors_.keep, colors_.keep + count, 1);
        // Whole-span answers skip the per-pixel stencil, so only spans without one take them.
        const bool offer = path_ == RasterPath::Spans && colorRow && !face;
        shader_(in, SpanOut{colors_.r, colors_.g, colors_.b, colors_.a, colors_.keep,
                            offer ? &shortcut : nullptr});
    } else {
        std::fill(colors_.keep, colors_.keep + count, 1);
    }
    if (shortcut.kind != SpanShortcut::None) {
        const Texture& c = *target_.color;
        if (blend_shortcut(p.colorAttachment0, c.pixelFormat(), colorRow, shortcut)) {
            counts_.whole += shortcut.end - shortcut.begin;
            // The pixels on either side of the run were answered pixel by pixel.
            blend_span(p.colorAttachment0, c.pixelFormat(), colorRow, 0, shortcut.begin, colors_);
            blend_span(p.colorAttachment0, c.pixelFormat(), colorRow, shortcut.end, count, colors_);
            return;
        }
        expand_shortcut(shortcut, colors_);
    }
    if (face) {
        unsigned char* row = target_.stencil->pixels() + y * target_.stencil->bytesPerRow() + x0;
        stencil_span(face, state_.stencilReference, row, count, colors_.keep);
    }
    if (colorRow)
        blend_span(p.colorAttachment0, target_.color->pixelFormat(), colorRow, count, colors_);
}

} // namespace

bool rasterise(const RasterTarget& target, const DrawState& state, const DrawRange& range,
               RasterPath path, RasterCounts* counts) {
    if (!target.color && !target.stencil)
        return true;
    DrawJob job(target, state, path);
    const bool drew = job.run(range);
    if (counts) {
        counts->visited += job.counts().visited;
        counts->whole += job.counts().whole;
    }
    return drew;
}

} // namespace mtl

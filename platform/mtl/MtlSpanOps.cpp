#include "platform/mtl/MtlSpanOps.h"

#include "platform/mtl/MtlSpanClones.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace mtl {

namespace {

bool stencil_passes(CompareFunction f, uint32_t ref, uint32_t value) {
    switch (f) {
    case CompareFunctionNever:
        return false;
    case CompareFunctionLess:
        return ref < value;
    case CompareFunctionEqual:
        return ref == value;
    case CompareFunctionLessEqual:
        return ref <= value;
    case CompareFunctionGreater:
        return ref > value;
    case CompareFunctionNotEqual:
        return ref != value;
    case CompareFunctionGreaterEqual:
        return ref >= value;
    default:
        return true;
    }
}

unsigned stencil_apply(StencilOperation op, unsigned value, uint32_t ref) {
    switch (op) {
    case StencilOperationZero:
        return 0;
    case StencilOperationReplace:
        return ref & 0xFF;
    case StencilOperationIncrementClamp:
        return value == 255 ? 255 : value + 1;
    case StencilOperationDecrementClamp:
        return value == 0 ? 0 : value - 1;
    case StencilOperationInvert:
        return ~value & 0xFF;
    case StencilOperationIncrementWrap:
        return (value + 1) & 0xFF;
    case StencilOperationDecrementWrap:
        return (value - 1) & 0xFF;
    default:
        return value;
    }
}

float clamp01(float v) {
    return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f;
}

struct Rgba {
    float r, g, b, a;
};

float factor(BlendFactor f, float s, float sa, float d, float da, bool alphaChannel) {
    switch (f) {
    case BlendFactorZero:
        return 0.0f;
    case BlendFactorOne:
        return 1.0f;
    case BlendFactorSourceColor:
        return s;
    case BlendFactorOneMinusSourceColor:
        return 1.0f - s;
    case BlendFactorSourceAlpha:
        return sa;
    case BlendFactorOneMinusSourceAlpha:
        return 1.0f - sa;
    case BlendFactorDestinationColor:
        return d;
    case BlendFactorOneMinusDestinationColor:
        return 1.0f - d;
    case BlendFactorDestinationAlpha:
        return da;
    case BlendFactorOneMinusDestinationAlpha:
        return 1.0f - da;
    case BlendFactorSourceAlphaSaturated:
        return alphaChannel ? 1.0f : std::min(sa, 1.0f - da);
    default:
        return 0.0f;
    }
}

// Channel order of the format in memory: index of r, g, b, a (-1: absent).
struct Layout {
    int r, g, b, a, size;
};

Layout layout_of(PixelFormat format) {
    switch (format) {
    case PixelFormatBGRA8Unorm:
        return {2, 1, 0, 3, 4};
    case PixelFormatR8Unorm:
        return {0, -1, -1, -1, 1};
    default:
        return {0, 1, 2, 3, 4};
    }
}

float channel(const unsigned char* p, int index, float absent) {
    return index < 0 ? absent : p[index] * (1.0f / 255.0f);
}

void store(unsigned char* p, int index, uint64_t writeMask, uint64_t bit, float v) {
    if (index >= 0 && (writeMask & bit))
        p[index] = to_unorm8(v);
}

// One channel of source-over: the destination byte at bit `shift` of the
// pixel, blended with the source channel; `inverse` is one minus the
// clamped source alpha.
inline uint32_t source_over_channel(float source, float inverse, uint32_t pixel, int shift) {
    constexpr float k = 1.0f / 255.0f;
    const float d = static_cast<float>(static_cast<int>((pixel >> shift) & 0xFF));
    const int value = to_unorm8_int(clamp01(source) * 1.0f + (d * k) * inverse);
    return static_cast<uint32_t>(value) << shift;
}

// The usual premultiplied source-over into four-byte pixels: the same
// arithmetic as the general path with factors one and one minus source
// alpha, on whole pixels in place so the loops vectorise. Two kinds of run
// need less: one whose kept pixels are all zero leaves every byte as it was
// (d / 255 rounds back to d), and one of opaque sources does not depend on
// the destination (its weight one minus alpha is zero).
MTL_SPAN_CLONES void blend_source_over(const Layout& l, unsigned char* row, int first, int count,
                                       const SpanColors& c) {
    static_assert(std::endian::native == std::endian::little, "channel shifts assume it");
    // Plain counts and ors, so these loops vectorise. clamp01(a) is 1 exactly when a >= 1.
    int opaqueCount = 0, moved = 0;
    for (int i = first; i < count; ++i)
        opaqueCount += c.a[i] >= 1.0f ? 1 : 0;
    for (int i = first; i < count; ++i) {
        const int source =
            (c.r[i] != 0.0f) | (c.g[i] != 0.0f) | (c.b[i] != 0.0f) | (c.a[i] != 0.0f);
        moved |= c.keep[i] != 0 ? source : 0;
    }
    if (!moved)
        return;
    const bool opaque = opaqueCount == count - first;
    // Rows need not be four-byte aligned: pixels move through memcpy.
    const auto load = [row](int i) {
        uint32_t pixel;
        std::memcpy(&pixel, row + size_t(i) * 4, 4);
        return pixel;
    };
    const auto store = [row](int i, uint32_t pixel) {
        std::memcpy(row + size_t(i) * 4, &pixel, 4);
    };
    const int sr = 8 * l.r, sg = 8 * l.g, sb = 8 * l.b, sa = 8 * l.a;
    if (opaque) {
        for (int i = first; i < count; ++i) {
            const uint32_t source = static_cast<uint32_t>(to_unorm8_int(clamp01(c.r[i]))) << sr |
                                    static_cast<uint32_t>(to_unorm8_int(clamp01(c.g[i]))) << sg |
                                    static_cast<uint32_t>(to_unorm8_int(clamp01(c.b[i]))) << sb |
                                    static_cast<uint32_t>(to_unorm8_int(clamp01(c.a[i]))) << sa;
            store(i, c.keep[i] ? source : load(i));
        }
        return;
    }
    for (int i = first; i < count; ++i) {
        const uint32_t pixel = load(i);
        const float inverse = 1.0f - clamp01(c.a[i]);
        const uint32_t blended = source_over_channel(c.r[i], inverse, pixel, sr) |
                                 source_over_channel(c.g[i], inverse, pixel, sg) |
                                 source_over_channel(c.b[i], inverse, pixel, sb) |
                                 source_over_channel(c.a[i], inverse, pixel, sa);
        store(i, c.keep[i] ? blended : pixel);
    }
}

bool is_source_over(const ColorAttachmentDescriptor& b) {
    return b.blendingEnabled && b.writeMask == ColorWriteMaskAll &&
           b.sourceRGBBlendFactor == BlendFactorOne && b.sourceAlphaBlendFactor == BlendFactorOne &&
           b.destinationRGBBlendFactor == BlendFactorOneMinusSourceAlpha &&
           b.destinationAlphaBlendFactor == BlendFactorOneMinusSourceAlpha;
}

// The texel byte channel / 255 as the sampler reads it.
inline float byte_value(unsigned char byte) {
    return static_cast<float>(static_cast<int>(byte)) * (1.0f / 255.0f);
}

void fill_pixels(unsigned char* row, int count, uint32_t pixel) {
    for (int i = 0; i < count; ++i)
        std::memcpy(row + size_t(i) * 4, &pixel, 4);
}

} // namespace

bool blend_shortcut(const ColorAttachmentDescriptor& b, PixelFormat format, unsigned char* row,
                    const SpanShortcut& s) {
    if (b.writeMask == ColorWriteMaskNone)
        return true;
    const Layout l = layout_of(format);
    const bool replaces = !b.blendingEnabled && b.writeMask == ColorWriteMaskAll;
    if (l.size != 4 || !(replaces || is_source_over(b)))
        return false;
    const int count = s.end - s.begin;
    unsigned char* run = row + size_t(s.begin) * 4;
    const int sr = 8 * l.r, sg = 8 * l.g, sb = 8 * l.b, sa = 8 * l.a;
    if (s.kind == SpanShortcut::Uniform) {
        // As in blend_source_over: an opaque source, or any source replacing,
        // is stored whatever the target held; all zero under source-over
        // leaves it. Other colours blend pixel by pixel.
        const float r = s.colour[0], g = s.colour[1], bl = s.colour[2], a = s.colour[3];
        if (!replaces && !(a >= 1.0f))
            return r == 0.0f && g == 0.0f && bl == 0.0f && a == 0.0f;
        const auto byte = [](float v, int shift) {
            return static_cast<uint32_t>(to_unorm8_int(clamp01(v))) << shift;
        };
        fill_pixels(run, count, byte(r, sr) | byte(g, sg) | byte(bl, sb) | byte(a, sa));
        return true;
    }
    if (s.kind != SpanShortcut::Texels || !s.texels)
        return false;
    // Opaque texels: source-over and replace both store the source, and a
    // byte read as byte / 255 stores back as the same byte, so the texels
    // move with only their channel order changed.
    const int tr = 8 * s.r, tg = 8 * s.g, tb = 8 * s.b, ta = 8 * s.a;
    if (tr == sr && tg == sg && tb == sb && ta == sa) {
        std::memcpy(run, s.texels, size_t(count) * 4);
        return true;
    }
    for (int i = 0; i < count; ++i) {
        uint32_t t;
        std::memcpy(&t, s.texels + size_t(i) * 4, 4);
        const uint32_t pixel = ((t >> tr) & 0xFF) << sr | ((t >> tg) & 0xFF) << sg |
                               ((t >> tb) & 0xFF) << sb | ((t >> ta) & 0xFF) << sa;
        std::memcpy(run + size_t(i) * 4, &pixel, 4);
    }
    return true;
}

void expand_shortcut(const SpanShortcut& s, SpanColors& c) {
    std::fill(c.keep + s.begin, c.keep + s.end, 1);
    if (s.kind == SpanShortcut::Uniform) {
        std::fill(c.r + s.begin, c.r + s.end, s.colour[0]);
        std::fill(c.g + s.begin, c.g + s.end, s.colour[1]);
        std::fill(c.b + s.begin, c.b + s.end, s.colour[2]);
        std::fill(c.a + s.begin, c.a + s.end, s.colour[3]);
    } else if (s.kind == SpanShortcut::Texels) {
        for (int i = s.begin; i < s.end; ++i) {
            const unsigned char* t = s.texels + size_t(i - s.begin) * 4;
            c.r[i] = byte_value(t[s.r]);
            c.g[i] = byte_value(t[s.g]);
            c.b[i] = byte_value(t[s.b]);
            c.a[i] = byte_value(t[s.a]);
        }
    }
}

void stencil_span(const StencilDescriptor* face, uint32_t reference, unsigned char* stencil,
                  int count, unsigned char* keep) {
    if (!face || !stencil)
        return;
    const uint32_t ref = reference & face->readMask & 0xFF;
    const unsigned writeMask = face->writeMask & 0xFF;
    for (int i = 0; i < count; ++i) {
        if (!keep[i])
            continue;
        const unsigned value = stencil[i];
        const bool pass = stencil_passes(face->stencilCompareFunction, ref, value & face->readMask);
        const StencilOperation op =
            pass ? face->depthStencilPassOperation : face->stencilFailureOperation;
        const unsigned next = stencil_apply(op, value, reference);
        stencil[i] = static_cast<unsigned char>((value & ~writeMask) | (next & writeMask));
        keep[i] = pass;
    }
}

void blend_span(const ColorAttachmentDescriptor& b, PixelFormat format, unsigned char* row,
                int count, const SpanColors& c) {
    blend_span(b, format, row, 0, count, c);
}

void blend_span(const ColorAttachmentDescriptor& b, PixelFormat format, unsigned char* row,
                int first, int count, const SpanColors& c) {
    if (b.writeMask == ColorWriteMaskNone || first >= count)
        return;
    const Layout l = layout_of(format);
    if (l.size == 4 && is_source_over(b)) {
        blend_source_over(l, row, first, count, c);
        return;
    }
    for (int i = first; i < count; ++i) {
        if (!c.keep[i])
            continue;
        unsigned char* p = row + i * l.size;
        const Rgba s{clamp01(c.r[i]), clamp01(c.g[i]), clamp01(c.b[i]), clamp01(c.a[i])};
        if (!b.blendingEnabled) {
            store(p, l.r, b.writeMask, ColorWriteMaskRed, s.r);
            store(p, l.g, b.writeMask, ColorWriteMaskGreen, s.g);
            store(p, l.b, b.writeMask, ColorWriteMaskBlue, s.b);
            store(p, l.a, b.writeMask, ColorWriteMaskAlpha, s.a);
            continue;
        }
        const Rgba d{channel(p, l.r, 0), channel(p, l.g, 0), channel(p, l.b, 0),
                     channel(p, l.a, 1)};
        auto mix = [&](float sc, float dc, bool alpha) {
            const BlendFactor fs = alpha ? b.sourceAlphaBlendFactor : b.sourceRGBBlendFactor;
            const BlendFactor fd =
                alpha ? b.destinationAlphaBlendFactor : b.destinationRGBBlendFactor;
            return sc * factor(fs, sc, s.a, dc, d.a, alpha) +
                   dc * factor(fd, sc, s.a, dc, d.a, alpha);
        };
        store(p, l.r, b.writeMask, ColorWriteMaskRed, mix(s.r, d.r, false));
        store(p, l.g, b.writeMask, ColorWriteMaskGreen, mix(s.g, d.g, false));
        store(p, l.b, b.writeMask, ColorWriteMaskBlue, mix(s.b, d.b, false));
        store(p, l.a, b.writeMask, ColorWriteMaskAlpha, mix(s.a, d.a, true));
    }
}

} // namespace mtl

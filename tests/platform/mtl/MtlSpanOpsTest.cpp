#include "platform/mtl/MtlSpanOps.h"
#include "tests/platform/mtl/MtlTestKit.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

namespace {

struct StencilCase {
    mtl::CompareFunction compare;
    uint32_t reference;
    unsigned char stored;
    bool passes;
};

TEST(MtlStencil, CompareFunctionsTestReferenceAgainstStoredValue) {
    using namespace mtl;
    const StencilCase cases[] = {
        {CompareFunctionNever, 0, 0, false},       {CompareFunctionAlways, 0, 9, true},
        {CompareFunctionLess, 1, 2, true},         {CompareFunctionLess, 2, 2, false},
        {CompareFunctionEqual, 0, 0, true},        {CompareFunctionEqual, 0, 1, false},
        {CompareFunctionLessEqual, 2, 2, true},    {CompareFunctionLessEqual, 3, 2, false},
        {CompareFunctionGreater, 3, 2, true},      {CompareFunctionGreater, 2, 2, false},
        {CompareFunctionNotEqual, 0, 7, true},     {CompareFunctionNotEqual, 0, 0, false},
        {CompareFunctionGreaterEqual, 2, 2, true}, {CompareFunctionGreaterEqual, 1, 2, false},
    };
    for (const StencilCase& c : cases) {
        StencilDescriptor face;
        face.stencilCompareFunction = c.compare;
        face.stencilFailureOperation = StencilOperationInvert;
        face.depthStencilPassOperation = StencilOperationKeep;
        unsigned char stencil = c.stored;
        unsigned char keep = 1;
        stencil_span(&face, c.reference, &stencil, 1, &keep);
        EXPECT_EQ(keep, c.passes) << "compare " << c.compare << " ref " << c.reference;
        EXPECT_EQ(stencil, c.passes ? c.stored : static_cast<unsigned char>(~c.stored))
            << "compare " << c.compare;
    }
}

TEST(MtlStencil, OperationsWrapAndClampAtTheEnds) {
    using namespace mtl;
    const struct {
        StencilOperation op;
        unsigned char before, after;
    } cases[] = {
        {StencilOperationKeep, 7, 7},
        {StencilOperationZero, 7, 0},
        {StencilOperationReplace, 7, 5},
        {StencilOperationInvert, 0x0F, 0xF0},
        {StencilOperationIncrementClamp, 254, 255},
        {StencilOperationIncrementClamp, 255, 255},
        {StencilOperationDecrementClamp, 1, 0},
        {StencilOperationDecrementClamp, 0, 0},
        {StencilOperationIncrementWrap, 255, 0},
        {StencilOperationIncrementWrap, 3, 4},
        {StencilOperationDecrementWrap, 0, 255},
        {StencilOperationDecrementWrap, 3, 2},
    };
    for (const auto& c : cases) {
        StencilDescriptor face;
        face.depthStencilPassOperation = c.op;
        unsigned char stencil = c.before;
        unsigned char keep = 1;
        stencil_span(&face, 5, &stencil, 1, &keep);
        EXPECT_EQ(stencil, c.after) << "op " << c.op << " from " << int(c.before);
    }
}

TEST(MtlStencil, DiscardedPixelsAndAbsentFacesKeepTheirValue) {
    mtl::StencilDescriptor face;
    face.depthStencilPassOperation = mtl::StencilOperationZero;
    unsigned char stencil[2] = {9, 9};
    unsigned char keep[2] = {0, 1};
    mtl::stencil_span(&face, 0, stencil, 2, keep);
    EXPECT_EQ(stencil[0], 9);
    EXPECT_EQ(stencil[1], 0);
    mtl::stencil_span(nullptr, 0, stencil, 2, keep);
    EXPECT_EQ(stencil[0], 9);
}

// Source (0.6, 0.4, 0.2, 0.5) over destination bytes (51, 102, 204, 153).
TEST(MtlBlend, EveryFactorScalesAsMetalDefinesIt) {
    using namespace mtl;
    const float s[4] = {0.6f, 0.4f, 0.2f, 0.5f};
    const struct {
        BlendFactor factor;
        float rgb[3];
        float alpha;
    } cases[] = {
        {BlendFactorZero, {0, 0, 0}, 0},
        {BlendFactorOne, {1, 1, 1}, 1},
        {BlendFactorSourceColor, {0.6f, 0.4f, 0.2f}, 0.5f},
        {BlendFactorOneMinusSourceColor, {0.4f, 0.6f, 0.8f}, 0.5f},
        {BlendFactorSourceAlpha, {0.5f, 0.5f, 0.5f}, 0.5f},
        {BlendFactorOneMinusSourceAlpha, {0.5f, 0.5f, 0.5f}, 0.5f},
        {BlendFactorDestinationColor, {0.2f, 0.4f, 0.8f}, 0.6f},
        {BlendFactorOneMinusDestinationColor, {0.8f, 0.6f, 0.2f}, 0.4f},
        {BlendFactorDestinationAlpha, {0.6f, 0.6f, 0.6f}, 0.6f},
        {BlendFactorOneMinusDestinationAlpha, {0.4f, 0.4f, 0.4f}, 0.4f},
        {BlendFactorSourceAlphaSaturated, {0.4f, 0.4f, 0.4f}, 1.0f},
    };
    for (const auto& c : cases) {
        ColorAttachmentDescriptor blend;
        blend.blendingEnabled = true;
        blend.sourceRGBBlendFactor = blend.sourceAlphaBlendFactor = c.factor;
        blend.destinationRGBBlendFactor = blend.destinationAlphaBlendFactor = BlendFactorZero;
        SpanColors colors{};
        colors.r[0] = s[0], colors.g[0] = s[1], colors.b[0] = s[2], colors.a[0] = s[3];
        colors.keep[0] = 1;
        unsigned char pixel[4] = {51, 102, 204, 153};
        blend_span(blend, PixelFormatRGBA8Unorm, pixel, 1, colors);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(pixel[k], s[k] * c.rgb[k] * 255.0f, 0.51f) << "factor " << c.factor;
        EXPECT_NEAR(pixel[3], s[3] * c.alpha * 255.0f, 0.51f) << "factor " << c.factor;
    }
}

TEST(MtlBlend, SourceOverKeepsChannelOrderAndRoundsNaNToZero) {
    using namespace mtl;
    const ColorAttachmentDescriptor blend = mtl_test::source_over(PixelFormatBGRA8Unorm);
    SpanColors colors{};
    colors.r[0] = 0.5f, colors.g[0] = 0.0f, colors.b[0] = 0.0f, colors.a[0] = 0.5f;
    colors.r[1] = std::numeric_limits<float>::quiet_NaN(), colors.a[1] = 1.0f;
    colors.keep[0] = colors.keep[1] = 1;
    unsigned char bgra[8] = {255, 0, 0, 255, 255, 255, 255, 255}; // blue, white
    blend_span(blend, PixelFormatBGRA8Unorm, bgra, 2, colors);
    const unsigned char expected[8] = {128, 0, 128, 255, 0, 0, 0, 255};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(bgra[i], expected[i]) << i;
}

TEST(MtlBlend, WriteMaskNoneLeavesTheTarget) {
    mtl::ColorAttachmentDescriptor blend;
    blend.writeMask = mtl::ColorWriteMaskNone;
    mtl::SpanColors colors{};
    colors.r[0] = 1, colors.a[0] = 1, colors.keep[0] = 1;
    unsigned char pixel[4] = {1, 2, 3, 4};
    mtl::blend_span(blend, mtl::PixelFormatRGBA8Unorm, pixel, 1, colors);
    EXPECT_EQ(pixel[0], 1);
    EXPECT_EQ(pixel[3], 4);
}

// The source-over span loop against the general blend arithmetic: an alpha
// factor of "source alpha saturated" is one for the alpha channel, so this
// descriptor computes the same sums but is not taken for source-over.
TEST(MtlBlend, SourceOverSpanMatchesGeneralPath) {
    using namespace mtl;
    const ColorAttachmentDescriptor fast = mtl_test::source_over(PixelFormatRGBA8Unorm);
    ColorAttachmentDescriptor general = fast;
    general.sourceAlphaBlendFactor = BlendFactorSourceAlphaSaturated;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(-0.2f, 1.2f);
    std::uniform_int_distribution<int> byte(0, 255);
    for (PixelFormat format : {PixelFormatRGBA8Unorm, PixelFormatBGRA8Unorm}) {
        for (int count : {1, 3, 17, kMaxSpan}) {
            SpanColors colors{};
            for (int i = 0; i < count; ++i) {
                colors.a[i] = i % 5 == 0 ? 1.0f : value(random);
                colors.r[i] = value(random), colors.g[i] = value(random);
                colors.b[i] = i % 7 == 3 ? std::numeric_limits<float>::quiet_NaN() : value(random);
                colors.keep[i] = i % 4 != 1;
            }
            // One byte of slack in front so rows need not be aligned.
            std::vector<unsigned char> target(size_t(count) * 4 + 1);
            for (auto& b : target)
                b = static_cast<unsigned char>(byte(random));
            auto expected = target;
            blend_span(fast, format, target.data() + 1, count, colors);
            blend_span(general, format, expected.data() + 1, count, colors);
            EXPECT_EQ(target, expected) << "format " << format << ", " << count << " pixels";
        }
    }
}

// Opaque texels are copied, not blended, on the strength of this: a byte read
// as byte / 255 (as the sampler reads it) stores back as the same byte, and
// an alpha of 255 reads as exactly one.
TEST(MtlBlend, EveryByteSurvivesTheRoundTripThroughItsValue) {
    for (int byte = 0; byte < 256; ++byte)
        ASSERT_EQ(mtl::to_unorm8_int(static_cast<float>(byte) * (1.0f / 255.0f)), byte);
    EXPECT_EQ(255.0f * (1.0f / 255.0f), 1.0f);
}

// A whole-span answer against the planar colours it stands for, blended the
// ordinary way: the same bytes, or no shortcut taken.
TEST(MtlBlend, WholeSpanAnswersWriteWhatTheirPlanarColoursWould) {
    using namespace mtl;
    ColorAttachmentDescriptor replaceNoRed = mtl_test::replace(PixelFormatRGBA8Unorm);
    replaceNoRed.writeMask = ColorWriteMaskAll & ~ColorWriteMaskRed;
    ColorAttachmentDescriptor maskNone = mtl_test::source_over(PixelFormatRGBA8Unorm);
    maskNone.writeMask = ColorWriteMaskNone;
    struct Case {
        const char* name;
        SpanShortcut::Kind kind;
        float r, g, b, a; // uniform colour
        ColorAttachmentDescriptor blend;
        PixelFormat format;
        bool taken;
    };
    const ColorAttachmentDescriptor over = mtl_test::source_over(PixelFormatRGBA8Unorm);
    const ColorAttachmentDescriptor replace = mtl_test::replace(PixelFormatRGBA8Unorm);
    const Case cases[] = {
        {"opaque colour over", SpanShortcut::Uniform, 0.2f, 0.4f, 0.6f, 1.0f, over,
         PixelFormatBGRA8Unorm, true},
        {"opaque colour over RGBA", SpanShortcut::Uniform, 1.0f, 0.0f, 0.5f, 1.0f, over,
         PixelFormatRGBA8Unorm, true},
        {"translucent colour over", SpanShortcut::Uniform, 0.2f, 0.1f, 0.0f, 0.5f, over,
         PixelFormatBGRA8Unorm, false},
        {"clear colour over", SpanShortcut::Uniform, 0, 0, 0, 0, over, PixelFormatBGRA8Unorm, true},
        {"translucent colour replacing", SpanShortcut::Uniform, 0.2f, 0.1f, 0.0f, 0.5f, replace,
         PixelFormatBGRA8Unorm, true},
        {"replacing without red", SpanShortcut::Uniform, 0.2f, 0.1f, 0.0f, 1.0f, replaceNoRed,
         PixelFormatBGRA8Unorm, false},
        {"no channel written", SpanShortcut::Uniform, 0.2f, 0.1f, 0.0f, 1.0f, maskNone,
         PixelFormatBGRA8Unorm, true},
        {"one-byte target", SpanShortcut::Uniform, 0.2f, 0.1f, 0.0f, 1.0f, replace,
         PixelFormatR8Unorm, false},
        {"texels over, same order", SpanShortcut::Texels, 0, 0, 0, 0, over, PixelFormatRGBA8Unorm,
         true},
        {"texels over, swapped order", SpanShortcut::Texels, 0, 0, 0, 0, over,
         PixelFormatBGRA8Unorm, true},
        {"texels replacing", SpanShortcut::Texels, 0, 0, 0, 0, replace, PixelFormatBGRA8Unorm,
         true},
    };
    std::mt19937 random(11);
    std::uniform_int_distribution<int> byte(0, 255);
    constexpr int count = 40, begin = 5, end = 37; // a run between pixels left alone
    std::vector<unsigned char> texels((end - begin) * 4);
    for (size_t i = 0; i < texels.size(); ++i)
        texels[i] = static_cast<unsigned char>(i % 4 == 3 ? 255 : byte(random));
    for (const Case& c : cases) {
        SpanShortcut shortcut;
        shortcut.kind = c.kind;
        shortcut.begin = begin;
        shortcut.end = end;
        shortcut.texels = texels.data();
        shortcut.colour[0] = c.r, shortcut.colour[1] = c.g, shortcut.colour[2] = c.b;
        shortcut.colour[3] = c.a;
        const int size = c.format == PixelFormatR8Unorm ? 1 : 4;
        std::vector<unsigned char> target(size_t(count) * size);
        for (auto& b : target)
            b = static_cast<unsigned char>(byte(random));
        auto expected = target;
        const bool taken = blend_shortcut(c.blend, c.format, target.data(), shortcut);
        EXPECT_EQ(taken, c.taken) << c.name;
        if (!taken) {
            EXPECT_EQ(target, expected) << c.name << ": the row was touched";
        }
        SpanColors colors{}; // nothing kept outside the run
        expand_shortcut(shortcut, colors);
        blend_span(c.blend, c.format, expected.data(), count, colors);
        if (taken) {
            EXPECT_EQ(target, expected) << c.name;
        }
    }
}

} // namespace

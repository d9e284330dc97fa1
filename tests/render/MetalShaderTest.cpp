#include "platform/mtl/MtlLibrary.h"
#include "render/metal/MVGclip.h"
#include "render/metal/MVGshaders.h"
#include "render/metal/MVGuniforms.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

VGpaint plain_paint(VGcolor color) {
    VGpaint p{};
    p.xform[0] = p.xform[3] = 1;
    p.extent[0] = p.extent[1] = 10;
    p.innerColor = p.outerColor = color;
    return p;
}

const VGscissor kNoScissor{{1, 0, 0, 1, 0, 0}, {-1, -1}};

TEST(MetalUniforms, NoScissorLeavesMatrixZeroAndOnes) {
    MVGfragUniforms u;
    ASSERT_EQ(
        mvg_convert_paint(&u, plain_paint({{{1, 1, 1, 1}}}), kNoScissor, 1, 1, -1, nullptr, false),
        1);
    for (float m : u.scissorMat)
        EXPECT_EQ(m, 0.0f);
    EXPECT_EQ(u.scissorExt[0], 1.0f);
    EXPECT_EQ(u.scissorExt[1], 1.0f);
    EXPECT_EQ(u.scissorScale[0], 1.0f);
    EXPECT_EQ(u.scissorScale[1], 1.0f);
    EXPECT_EQ(u.strokeMult, 1.0f); // a fill with fringe 1
    EXPECT_EQ(u.type, kMVGshaderGradient);
}

TEST(MetalUniforms, ColoursArePremultipliedByTheirOwnAlpha) {
    MVGfragUniforms u;
    mvg_convert_paint(&u, plain_paint({{{1, 1, 1, 0.5f}}}), kNoScissor, 1, 1, -1, nullptr, false);
    for (float c : u.innerCol)
        EXPECT_EQ(c, 0.5f);
}

TEST(MetalUniforms, SingularPaintTransformGivesIdentity) {
    VGpaint paint = plain_paint({{{1, 1, 1, 1}}});
    const float singular[6] = {1, 2, 2, 4, 5, 6};
    std::copy(singular, singular + 6, paint.xform);
    MVGfragUniforms u;
    mvg_convert_paint(&u, paint, kNoScissor, 1, 1, -1, nullptr, false);
    const float identity[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(u.paintMat[i], identity[i]) << i;
}

TEST(MetalUniforms, TextureTypeFollowsImageTypeAndFlags) {
    const struct {
        MVGimageInfo image;
        int texType;
    } cases[] = {{{VG_TEXTURE_ALPHA, 0}, 2},
                 {{VG_TEXTURE_ALPHA, VG_IMAGE_PREMULTIPLIED}, 2},
                 {{VG_TEXTURE_RGBA, 0}, 1},
                 {{VG_TEXTURE_RGBA, VG_IMAGE_PREMULTIPLIED}, 0}};
    for (const auto& c : cases) {
        MVGfragUniforms u;
        VGpaint paint = plain_paint({{{1, 1, 1, 1}}});
        paint.image = 1;
        paint.radius = paint.feather = 3;
        mvg_convert_paint(&u, paint, kNoScissor, 1, 1, -1, &c.image, false);
        EXPECT_EQ(u.texType, c.texType);
        EXPECT_EQ(u.type, kMVGshaderImage);
        EXPECT_EQ(u.radius, 0.0f);
    }
}

TEST(MetalUniforms, FlippedImagesInvertTheFlippedTransform) {
    VGpaint paint = plain_paint({{{1, 1, 1, 1}}});
    paint.extent[1] = 20;
    const MVGimageInfo flipped{VG_TEXTURE_RGBA, VG_IMAGE_FLIPY};
    MVGfragUniforms u;
    mvg_convert_paint(&u, paint, kNoScissor, 1, 1, -1, &flipped, false);
    // (x, 20 - y) inverted is itself: y' = -y + 20.
    EXPECT_EQ(u.paintMat[5], -1.0f);
    EXPECT_EQ(u.paintMat[9], 20.0f);
}

TEST(MetalUniforms, MissingImageConvertsToNothing) {
    MVGfragUniforms u;
    EXPECT_EQ(
        mvg_convert_paint(&u, plain_paint({{{1, 1, 1, 1}}}), kNoScissor, 1, 1, -1, nullptr, true),
        0);
}

// Runs the named fragment function over one pixel with tcoord (u, v) at pos (x, y).
struct Shaded {
    float r, a;
    bool kept;
};

Shaded shade(const char* function, const MVGfragUniforms& u, float tu, float tv, float x = 5,
             float y = 5) {
    mvg_register_shaders();
    mtl::ShaderFunctionInfo info;
    EXPECT_TRUE(mtl::find_shader_function(function, info));
    mtl::FragmentBindings bindings;
    bindings.buffers[0] = {reinterpret_cast<const unsigned char*>(&u), sizeof(u)};
    mtl::FragmentProgram shader;
    info.fragment(bindings, shader);
    const float varyings[4] = {tu, tv, x, y};
    mtl::SpanIn in{0, 0, 1, {&varyings[0], &varyings[1], &varyings[2], &varyings[3]}};
    float r = 0, g = 0, b = 0, a = 0;
    unsigned char keep = 1;
    shader(in, mtl::SpanOut{&r, &g, &b, &a, &keep});
    return {r, a, keep != 0};
}

TEST(MetalShaders, StrokeFactorAndThreshold) {
    MVGfragUniforms u;
    mvg_convert_paint(&u, plain_paint({{{1, 1, 1, 1}}}), kNoScissor, 1, 1, -1, nullptr, false);
    const Shaded centre = shade("fragmentShaderAA", u, 0.5f, 1.0f);
    EXPECT_EQ(centre.a, 1.0f); // no scissor gives a factor of 1
    EXPECT_TRUE(centre.kept);
    EXPECT_EQ(shade("fragmentShaderAA", u, 0.0f, 1.0f).a, 0.0f); // u = 0 gives 0
    EXPECT_EQ(shade("fragmentShader", u, 0.0f, 1.0f).a, 1.0f);   // no stroke factor without AA
    u.strokeThr = kMVGstencilStrokeThreshold;
    EXPECT_FALSE(shade("fragmentShaderAA", u, 0.25f, 1.0f).kept); // partial coverage
    EXPECT_TRUE(shade("fragmentShaderAA", u, 0.5f, 1.0f).kept);
}

TEST(MetalShaders, ScissorFadesOverOneFringe) {
    VGscissor scissor{{1, 0, 0, 1, 10, 10}, {4, 4}}; // 6..14 square
    MVGfragUniforms u;
    mvg_convert_paint(&u, plain_paint({{{1, 1, 1, 1}}}), scissor, 1, 1, -1, nullptr, false);
    EXPECT_EQ(shade("fragmentShader", u, 0.5f, 1, 10, 10).a, 1.0f);
    EXPECT_EQ(shade("fragmentShader", u, 0.5f, 1, 14, 10).a, 0.5f);
    EXPECT_EQ(shade("fragmentShader", u, 0.5f, 1, 20, 10).a, 0.0f);
}

TEST(MetalShaders, GradientMixesByFeatheredDistance) {
    VGpaint paint = plain_paint({{{0, 0, 0, 1}}});
    paint.outerColor = {{{1, 1, 1, 1}}};
    paint.extent[0] = paint.extent[1] = 4; // a radial gradient as the core builds it
    paint.radius = 4;
    paint.feather = 2;
    MVGfragUniforms u;
    mvg_convert_paint(&u, paint, kNoScissor, 1, 1, -1, nullptr, false);
    EXPECT_EQ(shade("fragmentShader", u, 0.5f, 1, 0, 0).r, 0.0f);
    EXPECT_FLOAT_EQ(shade("fragmentShader", u, 0.5f, 1, 4, 0).r, 0.5f);
    EXPECT_EQ(shade("fragmentShader", u, 0.5f, 1, 6, 0).r, 1.0f);
    paint.feather = 0; // a hard edge
    mvg_convert_paint(&u, paint, kNoScissor, 1, 1, -1, nullptr, false);
    EXPECT_EQ(shade("fragmentShader", u, 0.5f, 1, 3.9f, 0).r, 0.0f);
    EXPECT_EQ(shade("fragmentShader", u, 0.5f, 1, 4.1f, 0).r, 1.0f);
}

// The rasteriser visits only the scissor's device box: every pixel outside it
// must be one the mask gives nothing, whatever the scissor's transform.
TEST(MetalShaders, ScissorBoxHoldsEveryPixelTheMaskLetsThrough) {
    const struct {
        const char* name;
        VGscissor scissor;
        float ratio;
    } cases[] = {
        {"square", {{1, 0, 0, 1, 20, 20}, {6, 4}}, 1},
        {"square at ratio 2", {{1, 0, 0, 1, 20, 20}, {6, 4}}, 2},
        {"fractional", {{1, 0, 0, 1, 20.3f, 17.8f}, {5.45f, 3.2f}}, 1},
        {"rotated", {{0.8776f, 0.4794f, -0.4794f, 0.8776f, 24, 24}, {10, 5}}, 1},
        {"rotated and scaled", {{1.5f, 0.6f, -0.3f, 0.7f, 24, 24}, {6, 8}}, 2},
        {"mirrored", {{-1, 0, 0, 1, 30, 20}, {4, 9}}, 1},
    };
    const unsigned viewport[2] = {128, 128};
    for (const auto& c : cases) {
        const float fringe = 1.0f / c.ratio;
        MVGfragUniforms u;
        mvg_convert_paint(&u, plain_paint({{{1, 1, 1, 1}}}), c.scissor, 1, fringe, -1, nullptr,
                          false);
        const float toDevice[2] = {c.ratio, c.ratio};
        mtl::ScissorRect box;
        ASSERT_TRUE(mvg_scissor_box(c.scissor, fringe, toDevice, viewport, box)) << c.name;
        int inside = 0, leaks = 0;
        for (unsigned y = 0; y < viewport[1]; ++y) {
            for (unsigned x = 0; x < viewport[0]; ++x) {
                const bool inBox =
                    x >= box.x && x < box.x + box.width && y >= box.y && y < box.y + box.height;
                const float a =
                    shade("fragmentShader", u, 0.5f, 1, (x + 0.5f) / c.ratio, (y + 0.5f) / c.ratio)
                        .a;
                inside += inBox && a > 0 ? 1 : 0;
                leaks += !inBox && a != 0 ? 1 : 0;
            }
        }
        EXPECT_EQ(leaks, 0) << c.name;
        EXPECT_GT(inside, 0) << c.name;
        // The box is the scissor's, not the viewport: spares of a few pixels only.
        const float side = 2 * std::max(c.scissor.extent[0], c.scissor.extent[1]) *
                           std::sqrt(2.5f) * 1.6f * c.ratio;
        EXPECT_LT(float(box.width), side + 8) << c.name;
        EXPECT_LT(float(box.height), side + 8) << c.name;
    }
}

// An open scissor, and one whose transform is singular (its mask then runs
// through the identity), give no box: the whole viewport is visited.
TEST(MetalShaders, NoScissorBoxWithoutAScissorOrForASingularOne) {
    const unsigned viewport[2] = {64, 64};
    const float toDevice[2] = {1, 1};
    mtl::ScissorRect box;
    EXPECT_FALSE(mvg_scissor_box(kNoScissor, 1, toDevice, viewport, box));
    const VGscissor singular{{1, 2, 2, 4, 10, 10}, {4, 4}};
    EXPECT_FALSE(mvg_scissor_box(singular, 1, toDevice, viewport, box));
}

} // namespace

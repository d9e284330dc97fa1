#include "platform/mtl/MtlLibrary.h"
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
    const mtl::SpanShader shader = info.fragment(bindings);
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

} // namespace

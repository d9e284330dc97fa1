#include "render/vg/VG.h"
#include "render/vg/VGContextInternal.h"
#include "tests/render/support/ContextHandle.h"
#include "tests/render/support/RecordingBackend.h"
#include "tests/render/support/TestAssets.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <set>
#include <string>
#include <vector>

using render_test::ContextPtr;
using render_test::RecordingBackend;

namespace {

using Strings = std::vector<std::string>;
using Xform = std::array<float, 6>;

Xform xform_of(const float* t) {
    return {t[0], t[1], t[2], t[3], t[4], t[5]};
}

void expect_xform_near(const Xform& actual, const Xform& expected) {
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-4f) << "element " << i;
}

class VGContextTest : public ::testing::Test {
protected:
    void SetUp() override {
        table = backend.table();
        ctx.reset(vg_create_context(&table));
        ASSERT_TRUE(ctx);
    }

    VGdrawState& state() { return vg_state(ctx.get()); }

    RecordingBackend backend;
    VGrendererTable table{};
    ContextPtr ctx;
};

TEST(VGContextLifeTest, CreatesInOrderAndReleasesEverything) {
    RecordingBackend backend;
    VGrendererTable table = backend.table();
    VGdrawContext* ctx = vg_create_context(&table);
    ASSERT_TRUE(ctx);
    EXPECT_EQ(backend.events, (Strings{"create", "createTexture 1 1 512x512"}));
    vg_delete_context(ctx);
    EXPECT_EQ(backend.events,
              (Strings{"create", "createTexture 1 1 512x512", "deleteTexture 1", "delete"}));
    EXPECT_TRUE(backend.textures.empty());
    vg_delete_context(nullptr);
}

TEST(VGContextLifeTest, FailedCreationEndsTheBackEndOnce) {
    struct Case {
        const char* name;
        bool failCreate;
        int failTexture;
        Strings events;
    };
    const Case cases[] = {
        {"renderCreate gives 0", true, 0, {"create", "delete"}},
        {"first font image gives 0", false, 1, {"create", "createTexture 0", "delete"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingBackend backend;
        backend.failCreate = c.failCreate;
        backend.failTextureCreation = c.failTexture;
        VGrendererTable table = backend.table();
        EXPECT_EQ(vg_create_context(&table), nullptr);
        EXPECT_EQ(backend.events, c.events);
        EXPECT_EQ(backend.renderDeleteCalls, 1);
        EXPECT_TRUE(backend.textures.empty());
    }
    EXPECT_EQ(vg_create_context(nullptr), nullptr);
}

TEST_F(VGContextTest, ResetAndBeginFrameRestoreTheDefaults) {
    auto mess_up = [&] {
        vg_fill_color(ctx.get(), vg_rgb(1, 2, 3));
        vg_stroke_color(ctx.get(), vg_rgb(4, 5, 6));
        vg_set_stroke_width(ctx.get(), 7);
        vg_set_miter_limit(ctx.get(), 3);
        vg_set_line_join(ctx.get(), VG_ROUND);
        vg_set_line_cap(ctx.get(), VG_SQUARE);
        vg_set_global_alpha(ctx.get(), 0.5f);
        vg_set_shape_antialias(ctx.get(), 0);
        vg_translate(ctx.get(), 3, 4);
        vg_scissor(ctx.get(), 0, 0, 10, 10);
        vg_composite_operation(ctx.get(), VG_XOR);
    };
    auto expect_defaults = [&] {
        const VGdrawState& s = state();
        EXPECT_EQ(s.compositeOperation.srcRGB, 2);
        EXPECT_EQ(s.compositeOperation.dstRGB, 128);
        EXPECT_EQ(s.compositeOperation.srcAlpha, 2);
        EXPECT_EQ(s.compositeOperation.dstAlpha, 128);
        EXPECT_EQ(s.shapeAntiAlias, 1);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(s.fill.innerColor.rgba[i], 1.0f);
            EXPECT_EQ(s.fill.outerColor.rgba[i], 1.0f);
            EXPECT_EQ(s.stroke.innerColor.rgba[i], i == 3 ? 1.0f : 0.0f);
        }
        EXPECT_EQ(s.fill.feather, 1.0f);
        EXPECT_EQ(s.fill.image, 0);
        EXPECT_EQ(s.strokeWidth, 1.0f);
        EXPECT_EQ(s.miterLimit, 10.0f);
        EXPECT_EQ(s.lineJoin, VG_MITER);
        EXPECT_EQ(s.lineCap, VG_BUTT);
        EXPECT_EQ(s.alpha, 1.0f);
        expect_xform_near(xform_of(s.xform), {1, 0, 0, 1, 0, 0});
        expect_xform_near(xform_of(s.scissor.xform), {0, 0, 0, 0, 0, 0});
        EXPECT_EQ(s.scissor.extent[0], -1.0f);
        EXPECT_EQ(s.scissor.extent[1], -1.0f);
        EXPECT_EQ(s.fontSize, 16.0f);
        EXPECT_EQ(s.letterSpacing, 0.0f);
        EXPECT_EQ(s.lineHeight, 1.0f);
        EXPECT_EQ(s.fontBlur, 0.0f);
        EXPECT_EQ(s.textAlign, 65);
        EXPECT_EQ(s.fontId, 0);
    };
    expect_defaults();
    mess_up();
    vg_reset(ctx.get());
    expect_defaults();
    mess_up();
    vg_save(ctx.get());
    vg_begin_frame(ctx.get(), 800, 600, 2);
    EXPECT_EQ(ctx->nstates, 1);
    expect_defaults();
    EXPECT_FLOAT_EQ(ctx->fringeWidth, 0.5f);
    EXPECT_FLOAT_EQ(ctx->tessTol, 0.125f);
    EXPECT_EQ(backend.viewport, (std::array<float, 3>{800, 600, 2}));
}

TEST_F(VGContextTest, SaveAndRestoreStopAtTheirLimits) {
    vg_begin_frame(ctx.get(), 100, 100, 1);
    vg_set_global_alpha(ctx.get(), 0.25f);
    vg_restore(ctx.get());
    EXPECT_EQ(ctx->nstates, 1);
    EXPECT_EQ(state().alpha, 0.25f);

    for (int i = 1; i < 40; ++i) {
        vg_save(ctx.get());
        vg_set_stroke_width(ctx.get(), static_cast<float>(std::min(i, 31)));
    }
    EXPECT_EQ(ctx->nstates, 32);
    EXPECT_EQ(state().strokeWidth, 31.0f);
    vg_restore(ctx.get());
    EXPECT_EQ(state().strokeWidth, 30.0f);
    for (int i = 0; i < 40; ++i)
        vg_restore(ctx.get());
    EXPECT_EQ(ctx->nstates, 1);
    EXPECT_EQ(state().alpha, 0.25f);
}

TEST_F(VGContextTest, CompositeOperationsSetTheirFactorPairs) {
    const std::array<std::array<int, 2>, 13> expected = {{
        {2, 128},   // source over
        {256, 1},   // source in
        {512, 1},   // source out
        {256, 128}, // atop
        {512, 2},   // destination over
        {1, 64},    // destination in
        {1, 128},   // destination out
        {512, 64},  // destination atop
        {2, 2},     // lighter
        {2, 1},     // copy
        {512, 128}, // xor
        {2, 1},     // 11
        {2, 1},     // -1
    }};
    for (int i = 0; i < 13; ++i) {
        const int op = i == 12 ? -1 : i;
        SCOPED_TRACE(op);
        vg_composite_operation(ctx.get(), op);
        const VGcompositeOperationState s = state().compositeOperation;
        EXPECT_EQ(
            (std::array<int, 4>{s.srcRGB, s.dstRGB, s.srcAlpha, s.dstAlpha}),
            (std::array<int, 4>{expected[i][0], expected[i][1], expected[i][0], expected[i][1]}));
    }
    vg_composite_blend_func_separate(ctx.get(), 4, 8, 16, 32);
    const VGcompositeOperationState s = state().compositeOperation;
    EXPECT_EQ((std::array<int, 4>{s.srcRGB, s.dstRGB, s.srcAlpha, s.dstAlpha}),
              (std::array<int, 4>{4, 8, 16, 32}));
}

TEST(VGTransformTest, ProductsAndInverses) {
    float t[6], s[6];
    vg_transform_translate(t, 10, 20);
    vg_transform_scale(s, 2, 3);
    vg_transform_multiply(t, s); // translate, then scale
    expect_xform_near(xform_of(t), {2, 0, 0, 3, 20, 60});
    vg_transform_translate(t, 10, 20);
    vg_transform_premultiply(t, s); // scale, then translate
    expect_xform_near(xform_of(t), {2, 0, 0, 3, 10, 20});

    float r[6], inv[6];
    vg_transform_rotate(r, 0.7f);
    vg_transform_multiply(r, t);
    ASSERT_EQ(vg_transform_inverse(inv, r), 1);
    vg_transform_multiply(r, inv);
    expect_xform_near(xform_of(r), {1, 0, 0, 1, 0, 0});

    const float singular[6] = {1, 2, 2, 4, 5, 6};
    inv[0] = 99;
    EXPECT_EQ(vg_transform_inverse(inv, singular), 0);
    expect_xform_near(xform_of(inv), {1, 0, 0, 1, 0, 0});

    float x = 0, y = 0;
    vg_transform_point(&x, &y, t, 1, 1);
    EXPECT_FLOAT_EQ(x, 12);
    EXPECT_FLOAT_EQ(y, 23);
    EXPECT_NEAR(vg_deg_to_rad(180), 3.1415927f, 1e-6f);
    EXPECT_NEAR(vg_rad_to_deg(3.1415927f / 2), 90.0f, 1e-4f);
}

TEST_F(VGContextTest, StateTransformsApplyBeforeTheCurrentOne) {
    vg_translate(ctx.get(), 100, 0);
    vg_scale(ctx.get(), 2, 2);
    vg_rotate(ctx.get(), 3.1415927f / 2);
    float t[6];
    vg_current_transform(ctx.get(), t);
    float x = 0, y = 0;
    vg_transform_point(&x, &y, t, 1, 0); // rotated to (0, 1), scaled, translated
    EXPECT_NEAR(x, 100, 1e-4f);
    EXPECT_NEAR(y, 2, 1e-4f);
    vg_skew_x(ctx.get(), 0);
    vg_transform(ctx.get(), 1, 0, 0, 1, 0, 0);
    vg_current_transform(ctx.get(), t);
    vg_transform_point(&x, &y, t, 1, 0);
    EXPECT_NEAR(y, 2, 1e-4f);
    vg_reset_transform(ctx.get());
    vg_current_transform(ctx.get(), t);
    expect_xform_near(xform_of(t), {1, 0, 0, 1, 0, 0});
    vg_current_transform(ctx.get(), nullptr);
}

TEST_F(VGContextTest, PaintsKeepTheTransformTheyWereSetUnder) {
    const VGcolor red = vg_rgb(255, 0, 0), blue = vg_rgb(0, 0, 255);
    VGpaint flat = vg_linear_gradient(ctx.get(), 5, 7, 5, 7, red, blue);
    expect_xform_near(xform_of(flat.xform), {1, 0, 0, 1, 5, 7 - 100000});
    EXPECT_FLOAT_EQ(flat.extent[0], 100000);
    EXPECT_FLOAT_EQ(flat.extent[1], 100000);
    EXPECT_FLOAT_EQ(flat.feather, 1);

    vg_translate(ctx.get(), 10, 0);
    vg_fill_paint(ctx.get(), vg_radial_gradient(ctx.get(), 1, 2, 4, 10, red, blue));
    vg_translate(ctx.get(), 50, 50);
    expect_xform_near(xform_of(state().fill.xform), {1, 0, 0, 1, 11, 2});
    EXPECT_FLOAT_EQ(state().fill.radius, 7);
    EXPECT_FLOAT_EQ(state().fill.feather, 6);

    vg_fill_paint(ctx.get(), vg_image_pattern(ctx.get(), 0, 0, 8, 8, 0, 42, 0.5f));
    EXPECT_EQ(state().fill.image, 42);
    vg_fill_color(ctx.get(), red);
    EXPECT_EQ(state().fill.image, 0);
    expect_xform_near(xform_of(state().fill.xform), {1, 0, 0, 1, 0, 0});
    EXPECT_EQ(state().fill.innerColor.r, 1.0f);

    VGpaint box = vg_box_gradient(ctx.get(), 0, 0, 20, 10, 3, 0.2f, red, blue);
    expect_xform_near(xform_of(box.xform), {1, 0, 0, 1, 10, 5});
    EXPECT_FLOAT_EQ(box.feather, 1);
}

TEST_F(VGContextTest, ScissorsIntersectInCurrentCoordinates) {
    vg_intersect_scissor(ctx.get(), 10, 20, 30, 40); // none yet: a plain scissor
    expect_xform_near(xform_of(state().scissor.xform), {1, 0, 0, 1, 25, 40});
    EXPECT_FLOAT_EQ(state().scissor.extent[0], 15);
    EXPECT_FLOAT_EQ(state().scissor.extent[1], 20);

    vg_intersect_scissor(ctx.get(), 100, 100, 10, 10); // disjoint
    expect_xform_near(xform_of(state().scissor.xform), {1, 0, 0, 1, 100, 100});
    EXPECT_FLOAT_EQ(state().scissor.extent[0], 0);
    EXPECT_FLOAT_EQ(state().scissor.extent[1], 0);

    // A scissor set under a 45-degree rotation bounds a larger box afterwards.
    vg_reset_scissor(ctx.get());
    EXPECT_EQ(state().scissor.extent[0], -1.0f);
    vg_rotate(ctx.get(), 3.1415927f / 4);
    vg_scissor(ctx.get(), -5, -5, 10, 10);
    vg_reset_transform(ctx.get());
    vg_intersect_scissor(ctx.get(), -100, -100, 200, 200);
    const float half = 5 * std::sqrt(2.0f);
    EXPECT_NEAR(state().scissor.extent[0], half, 1e-4f);
    EXPECT_NEAR(state().scissor.extent[1], half, 1e-4f);

    vg_scissor(ctx.get(), 0, 0, -5, -5);
    EXPECT_FLOAT_EQ(state().scissor.extent[0], 0);
}

TEST(VGColorTest, HslWrapsAndClamps) {
    auto expect_color = [](VGcolor c, std::array<float, 4> expected) {
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(c.rgba[i], expected[i], 1e-5f) << "channel " << i;
    };
    expect_color(vg_hsla(-0.25f, 1, 0.5f, 255), {0.5f, 0, 1, 1});
    expect_color(vg_hsla(0.75f, 1, 0.5f, 255), {0.5f, 0, 1, 1});
    expect_color(vg_hsla(1.75f, 1, 0.5f, 255), {0.5f, 0, 1, 1});
    expect_color(vg_hsl(0, 1, 0.5f), {1, 0, 0, 1});
    expect_color(vg_hsl(1.0f / 3.0f, 2, 0.5f), {0, 1, 0, 1});
    expect_color(vg_hsla(0, 0, 3, 51), {1, 1, 1, 0.2f});
    expect_color(vg_lerp_rgba(vg_rgb(0, 0, 0), vg_rgb(255, 255, 255), 2), {1, 1, 1, 1});
    expect_color(vg_with_alpha(vg_rgb_f(0.1f, 0.2f, 0.3f), 0), {0.1f, 0.2f, 0.3f, 0});
}

TEST_F(VGContextTest, EndFrameKeepsTheLargestFontImagesAndReleasesTheRest) {
    struct Case {
        const char* name;
        std::vector<std::array<int, 2>> sizes; // slot 0 is the context's own 512 x 512
        int current;
        std::vector<int> slotsAfter; // indices into the images made, -1 = empty
        std::vector<int> deleted;
    };
    const Case cases[] = {
        {"same sizes", {{512, 512}, {512, 512}, {512, 512}}, 2, {2, 1, 0, -1}, {}},
        {"smaller ones go", {{512, 512}, {1024, 512}, {1024, 1024}}, 2, {2, -1, -1, -1}, {0, 1}},
        {"a same-size image behind the current one",
         {{512, 512}, {512, 512}},
         1,
         {1, 0, -1, -1},
         {}},
        {"images beyond the current one",
         {{512, 512}, {512, 512}, {512, 512}, {512, 512}},
         1,
         {1, 0, -1, -1},
         {2, 3}},
        {"no overflow", {{512, 512}, {512, 512}}, 0, {0, 1, -1, -1}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingBackend backend;
        VGrendererTable table = backend.table();
        ContextPtr context(vg_create_context(&table));
        std::vector<int> ids = {context->fontImages[0]};
        for (std::size_t i = 1; i < c.sizes.size(); ++i)
            ids.push_back(
                vg_create_image_rgba(context.get(), c.sizes[i][0], c.sizes[i][1], 0, nullptr));
        for (std::size_t i = 0; i < ids.size(); ++i)
            context->fontImages[i] = ids[i];
        context->fontImageIdx = c.current;
        backend.events.clear();

        vg_end_frame(context.get());
        std::array<int, 4> expected{};
        for (int i = 0; i < 4; ++i)
            expected[i] = c.slotsAfter[i] < 0 ? 0 : ids[c.slotsAfter[i]];
        EXPECT_EQ((std::array<int, 4>{context->fontImages[0], context->fontImages[1],
                                      context->fontImages[2], context->fontImages[3]}),
                  expected);
        EXPECT_EQ(context->fontImageIdx, 0);
        std::vector<int> deleted;
        for (int i : c.deleted)
            deleted.push_back(ids[i]);
        EXPECT_EQ(backend.deletedTextures, deleted);
        if (c.current == 0) {
            EXPECT_EQ(backend.events, Strings{"flush"});
        }
        context.reset();
        // Every image made was released exactly once in the end.
        EXPECT_TRUE(backend.textures.empty());
        EXPECT_EQ(
            std::set<int>(backend.deletedTextures.begin(), backend.deletedTextures.end()).size(),
            backend.deletedTextures.size());
    }
}

TEST_F(VGContextTest, FrameCallsReachTheBackEnd) {
    vg_begin_frame(ctx.get(), 10, 10, 1);
    vg_cancel_frame(ctx.get());
    vg_end_frame(ctx.get());
    EXPECT_EQ(backend.events,
              (Strings{"create", "createTexture 1 1 512x512", "viewport", "cancel", "flush"}));
}

TEST_F(VGContextTest, ImagesLoadFromFilesAndBytes) {
    const unsigned char pixels[2 * 3 * 4] = {
        255, 0,  0,  255, 0,  255, 0,  255, 0,  0,  255, 255,
        10,  20, 30, 255, 40, 50,  60, 255, 70, 80, 90,  255,
    };
    const std::string png = render_test::write_test_png("vg-image.png", 3, 2, 4, pixels);
    ASSERT_FALSE(png.empty());
    const int image = vg_create_image_file(ctx.get(), png.c_str(), VG_IMAGE_NEAREST);
    ASSERT_NE(image, 0);
    const render_test::RecordedTexture& tex = backend.textures.at(image);
    EXPECT_EQ(tex.type, VG_TEXTURE_RGBA);
    EXPECT_EQ(tex.flags, VG_IMAGE_NEAREST);
    EXPECT_EQ(tex.pixels, std::vector<unsigned char>(pixels, pixels + sizeof(pixels)));
    int w = -1, h = -1;
    EXPECT_EQ(vg_image_size(ctx.get(), image, &w, &h), 1);
    EXPECT_EQ((std::array<int, 2>{w, h}), (std::array<int, 2>{3, 2}));

    std::vector<unsigned char> bytes = render_test::read_file(png);
    EXPECT_NE(vg_create_image_mem(ctx.get(), 0, bytes.data(), static_cast<int>(bytes.size())), 0);

    const std::string truncated = png + ".truncated.png";
    std::ofstream(truncated, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), 20);
    const std::vector<unsigned char> garbage(64, 0x42);
    const int made = backend.textureCreations;
    EXPECT_EQ(vg_create_image_file(ctx.get(), "/nonexistent/image.png", 0), 0);
    EXPECT_EQ(vg_create_image_file(ctx.get(), truncated.c_str(), 0), 0);
    EXPECT_EQ(vg_create_image_file(ctx.get(), nullptr, 0), 0);
    EXPECT_EQ(vg_create_image_mem(ctx.get(), 0, garbage.data(), 64), 0);
    EXPECT_EQ(vg_create_image_mem(ctx.get(), 0, bytes.data(), 0), 0);
    EXPECT_EQ(backend.textureCreations, made);

    backend.failTextureCreation = backend.textureCreations + 1;
    EXPECT_EQ(vg_create_image_file(ctx.get(), png.c_str(), 0), 0);
}

TEST_F(VGContextTest, UnknownImagesReportNoSizeAndGetNoUpload) {
    int w = 77, h = 77;
    EXPECT_EQ(vg_image_size(ctx.get(), 999, &w, &h), 0);
    EXPECT_EQ((std::array<int, 2>{w, h}), (std::array<int, 2>{0, 0}));
    const unsigned char data[16] = {};
    vg_update_image(ctx.get(), 999, data);
    EXPECT_EQ(backend.count_events("updateTexture"), 0);

    const int image = vg_create_image_rgba(ctx.get(), 2, 2, 0, nullptr);
    const unsigned char white[16] = {255, 255, 255, 255, 255, 255, 255, 255,
                                     255, 255, 255, 255, 255, 255, 255, 255};
    vg_update_image(ctx.get(), image, white);
    EXPECT_EQ(backend.events.back(), "updateTexture " + std::to_string(image) + " 0 0 2 2");
    EXPECT_EQ(backend.textures.at(image).pixels, std::vector<unsigned char>(16, 255));
    vg_delete_image(ctx.get(), image);
    EXPECT_EQ(backend.textures.count(image), 0u);
}

} // namespace

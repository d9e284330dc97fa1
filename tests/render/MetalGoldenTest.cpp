#include "tests/render/support/MetalHarness.h"
#include "tests/render/support/ReferenceScene.h"
#include "tests/render/support/TestAssets.h"

#include "render/vg/VG.h"

#include <gtest/gtest.h>

#include <cmath>

using render_test::MetalHarness;

namespace {

constexpr float kPi = 3.14159265f;

struct Images {
    int straight = 0, premultiplied = 0, nearest = 0, repeat = 0;
};

// A 4×4 pattern: opaque red and half-transparent green squares.
std::vector<unsigned char> pattern(bool premultiply) {
    std::vector<unsigned char> rgba(4 * 4 * 4);
    for (int i = 0; i < 16; ++i) {
        const bool red = ((i % 4) + (i / 4)) % 2 == 0;
        unsigned char* p = &rgba[i * 4];
        p[0] = red ? 255 : 0;
        p[1] = red ? 0 : (premultiply ? 128 : 255);
        p[2] = 0;
        p[3] = red ? 255 : 128;
    }
    return rgba;
}

Images make_images(VGdrawContext* c) {
    Images i;
    i.straight = vg_create_image_rgba(c, 4, 4, 0, pattern(false).data());
    i.premultiplied = vg_create_image_rgba(c, 4, 4, VG_IMAGE_PREMULTIPLIED, pattern(true).data());
    i.nearest = vg_create_image_rgba(c, 4, 4, VG_IMAGE_NEAREST, pattern(false).data());
    i.repeat = vg_create_image_rgba(c, 4, 4, VG_IMAGE_NEAREST | VG_IMAGE_REPEATX | VG_IMAGE_REPEATY,
                                    pattern(false).data());
    return i;
}

void fill_with(VGdrawContext* c, VGpaint paint) {
    vg_fill_paint(c, paint);
    vg_fill(c);
}

// Ten corners alternating between two radii: a concave outline, so it fills
// through the stencil.
void star(VGdrawContext* c) {
    vg_begin_path(c);
    for (int i = 0; i < 10; ++i) {
        const float a = -kPi / 2 + i * kPi / 5, r = i % 2 ? 11.0f : 27.0f;
        const float x = 32 + r * std::cos(a), y = 34 + r * std::sin(a);
        i == 0 ? vg_move_to(c, x, y) : vg_line_to(c, x, y);
    }
    vg_close_path(c);
    vg_fill_color(c, vg_rgb(240, 200, 40));
    vg_fill(c);
}

struct Scene {
    const char* name;
    void (*draw)(VGdrawContext*, const Images&);
};

const Scene kScenes[] = {
    {"convex_rect",
     [](VGdrawContext* c, const Images&) {
         vg_begin_path(c);
         vg_rect(c, 8.5f, 10.25f, 40, 30);
         vg_fill_color(c, vg_rgba(30, 120, 220, 255));
         vg_fill(c);
     }},
    {"star", [](VGdrawContext* c, const Images&) { star(c); }},
    {"hole",
     [](VGdrawContext* c, const Images&) {
         vg_begin_path(c);
         vg_rounded_rect(c, 6, 6, 52, 52, 8);
         vg_circle(c, 32, 32, 14);
         vg_path_winding(c, VG_HOLE);
         vg_fill_color(c, vg_rgb(200, 60, 60));
         vg_fill(c);
     }},
    {"thin_strokes",
     [](VGdrawContext* c, const Images&) {
         for (int i = 0; i < 2; ++i) {
             vg_begin_path(c);
             vg_move_to(c, 6, 10 + i * 24);
             vg_line_to(c, 58, 20 + i * 24);
             vg_line_to(c, 10, 30 + i * 24);
             vg_set_stroke_width(c, i == 0 ? 1.0f : 0.5f);
             vg_stroke_color(c, vg_rgb(255, 255, 255));
             vg_stroke(c);
         }
     }},
    {"round_caps_joins",
     [](VGdrawContext* c, const Images&) {
         vg_begin_path(c);
         vg_move_to(c, 12, 50);
         vg_line_to(c, 24, 14);
         vg_line_to(c, 40, 44);
         vg_line_to(c, 52, 16);
         vg_set_line_cap(c, VG_ROUND);
         vg_set_line_join(c, VG_ROUND);
         vg_set_stroke_width(c, 7);
         vg_stroke_color(c, vg_rgba(90, 220, 120, 200));
         vg_stroke(c);
     }},
    {"text",
     [](VGdrawContext* c, const Images&) {
         vg_create_font(c, "sans", render_test::kDejaVuSans);
         vg_font_face(c, "sans");
         vg_font_size(c, 15);
         vg_fill_color(c, vg_rgb(250, 250, 250));
         vg_text(c, 4, 24, "Bass", nullptr);
         vg_font_size(c, 10);
         vg_text(c, 4, 48, "Treble 7", nullptr);
     }},
    {"image_patterns",
     [](VGdrawContext* c, const Images& i) {
         const int ids[4] = {i.straight, i.premultiplied, i.nearest, i.repeat};
         for (int k = 0; k < 4; ++k) {
             const float x = 4 + (k % 2) * 30, y = 4 + (k / 2) * 30;
             vg_begin_path(c);
             vg_rect(c, x, y, 26, 26);
             const float size = k == 3 ? 8 : 26; // the last one repeats
             fill_with(c, vg_image_pattern(c, x, y, size, size, 0, ids[k], 1));
         }
     }},
    {"gradients",
     [](VGdrawContext* c, const Images&) {
         vg_begin_path(c);
         vg_rect(c, 2, 2, 60, 18);
         fill_with(c, vg_linear_gradient(c, 2, 0, 62, 0, vg_rgb(255, 0, 0), vg_rgb(0, 0, 255)));
         vg_begin_path(c);
         vg_rect(c, 2, 22, 28, 40);
         fill_with(
             c, vg_radial_gradient(c, 16, 42, 2, 16, vg_rgb(255, 255, 255), vg_rgba(0, 80, 0, 0)));
         vg_begin_path(c);
         vg_rect(c, 32, 22, 30, 40);
         fill_with(
             c, vg_box_gradient(c, 36, 28, 22, 28, 6, 5, vg_rgb(250, 200, 0), vg_rgb(40, 20, 80)));
     }},
    {"rotated_scissor",
     [](VGdrawContext* c, const Images&) {
         vg_translate(c, 32, 32);
         vg_rotate(c, 0.5f);
         vg_scissor(c, -18, -12, 36, 24);
         vg_reset_transform(c);
         vg_begin_path(c);
         vg_rect(c, 0, 0, 64, 64);
         vg_fill_color(c, vg_rgb(220, 120, 30));
         vg_fill(c);
     }},
    {"destination_out",
     [](VGdrawContext* c, const Images&) {
         vg_begin_path(c);
         vg_rect(c, 4, 4, 56, 56);
         vg_fill_color(c, vg_rgb(60, 160, 220));
         vg_fill(c);
         vg_composite_operation(c, VG_DESTINATION_OUT);
         vg_begin_path(c);
         vg_circle(c, 32, 32, 18);
         vg_fill_color(c, vg_rgba(0, 0, 0, 200));
         vg_fill(c);
     }},
};

class MetalGolden : public ::testing::TestWithParam<float> {};

TEST_P(MetalGolden, ScenesMatchTheirGoldens) {
    const float ratio = GetParam();
    for (const Scene& scene : kScenes) {
        MetalHarness h;
        ASSERT_TRUE(h.ctx);
        const Images images = make_images(h.ctx.get());
        const auto pixels = h.renderOffscreen(
            64, 64, ratio, [&](VGdrawContext* c) { scene.draw(c, images); },
            vg_rgba(20, 20, 24, 255));
        const int side = static_cast<int>(64 * ratio);
        std::string message;
        const std::string name =
            std::string("metal_") + scene.name + "_x" + std::to_string(static_cast<int>(ratio));
        EXPECT_TRUE(render_test::matches_golden(name, side, side, pixels, message)) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(Ratios, MetalGolden, ::testing::Values(1.0f, 2.0f));

// The toolkit's frame path: draw into a back buffer, then copy it into the
// drawable as one textured rectangle.
TEST(MetalGoldenFrames, OffscreenFrameCopiedToTheDrawable) {
    MetalHarness h(VGMTL_ANTIALIAS | VGMTL_TRIPLE_BUFFER, 128, 128);
    VGdrawContext* c = h.ctx.get();
    MVGoffscreen* back = vgmtl_create_offscreen(c, 128, 128, 0);
    vgmtl_bind_offscreen(back);
    vgmtl_clear_with_color(c, vg_rgba(20, 20, 24, 255));
    vg_begin_frame(c, 64, 64, 2);
    star(c);
    vg_end_frame(c);
    vgmtl_bind_offscreen(nullptr);
    vg_begin_frame(c, 64, 64, 2);
    vg_begin_path(c);
    vg_rect(c, 0, 0, 64, 64);
    vg_fill_paint(c, vg_image_pattern(c, 0, 0, 64, 64, 0, back->image, 1));
    vg_fill(c);
    vg_end_frame(c);
    vgmtl_delete_offscreen(back);
    h.ctx.reset(); // waits for the presentation
    int w = 0, hgt = 0;
    auto bgra = h.presenter->lastFrame(&w, &hgt);
    ASSERT_EQ(w, 128);
    for (size_t i = 0; i < bgra.size(); i += 4)
        std::swap(bgra[i], bgra[i + 2]);
    std::string message;
    EXPECT_TRUE(render_test::matches_golden("metal_offscreen_to_drawable", w, hgt, bgra, message))
        << message;
}

TEST(MetalGoldenFrames, ReferenceSceneAtHalfSize) {
    MetalHarness h;
    render_test::ReferenceScene scene(h.ctx.get());
    ASSERT_TRUE(scene.ready());
    const auto pixels = h.renderOffscreen(
        960, 600, 1, [&](VGdrawContext*) { scene.draw(960, 600); }, vg_rgba(0, 0, 0, 255));
    std::string message;
    EXPECT_TRUE(render_test::matches_golden("metal_reference_scene", 960, 600, pixels, message))
        << message;
}

// 16×16 texels, opaque or not, in a pattern every channel of which varies.
int pattern_image(VGdrawContext* c, int flags, bool opaque) {
    std::vector<unsigned char> rgba(16 * 16 * 4);
    for (int i = 0; i < 16 * 16; ++i) {
        rgba[i * 4 + 0] = static_cast<unsigned char>(i * 7);
        rgba[i * 4 + 1] = static_cast<unsigned char>(255 - i);
        rgba[i * 4 + 2] = static_cast<unsigned char>(i * 13 + 5);
        rgba[i * 4 + 3] = opaque ? 255 : 100;
    }
    return vg_create_image_rgba(c, 16, 16, flags, rgba.data());
}

void image_rect(VGdrawContext* c, int image, float x, float y, float size, float alpha = 1) {
    vg_begin_path(c);
    vg_rect(c, x, y, size, size);
    fill_with(c, vg_image_pattern(c, x, y, size, size, 0, image, alpha));
}

void solid_rect(VGdrawContext* c, float x, float y, float w, float h, VGcolor colour) {
    vg_begin_path(c);
    vg_rect(c, x, y, w, h);
    vg_fill_color(c, colour);
    vg_fill(c);
}

// Draws the fast paths take (solid colours at full coverage filled, opaque
// untinted images drawn 1:1 copied) beside draws they must leave to the
// shader, each against the per-pixel reference path on one thread: the same
// bytes, and the fast path taken exactly where it applies.
TEST(MetalFastPaths, EveryDrawGivesTheReferencePathsBytes) {
    struct Case {
        const char* name;
        bool fast;
        void (*draw)(VGdrawContext*);
    };
    const Case cases[] = {
        {"nothing", false, [](VGdrawContext*) {}},
        {"opaque colour", true,
         [](VGdrawContext* c) { solid_rect(c, 3, 5, 50, 40, vg_rgba(30, 120, 220, 255)); }},
        {"opaque colour, fractional edges", true,
         [](VGdrawContext* c) { solid_rect(c, 3.3f, 5.7f, 50.2f, 40.6f, vg_rgb(200, 10, 90)); }},
        {"translucent colour", false,
         [](VGdrawContext* c) { solid_rect(c, 3, 5, 50, 40, vg_rgba(30, 120, 220, 128)); }},
        {"opaque colour in a rotated scissor", true,
         [](VGdrawContext* c) {
             vg_translate(c, 32, 32);
             vg_rotate(c, 0.5f);
             vg_scissor(c, -18, -12, 36, 24);
             vg_reset_transform(c);
             solid_rect(c, 0, 0, 64, 64, vg_rgb(220, 120, 30));
         }},
        {"opaque colour in a scissor", true,
         [](VGdrawContext* c) {
             vg_scissor(c, 10.5f, 8, 30, 20.25f);
             solid_rect(c, 0, 0, 64, 64, vg_rgb(20, 220, 130));
         }},
        {"gradient", false,
         [](VGdrawContext* c) {
             vg_begin_path(c);
             vg_rect(c, 2, 2, 60, 30);
             fill_with(c, vg_linear_gradient(c, 2, 0, 62, 0, vg_rgb(255, 0, 0), vg_rgb(0, 0, 255)));
         }},
        {"opaque image 1:1", true,
         [](VGdrawContext* c) { image_rect(c, pattern_image(c, 0, true), 8, 9, 16); }},
        {"opaque premultiplied image 1:1", true,
         [](VGdrawContext* c) {
             image_rect(c, pattern_image(c, VG_IMAGE_PREMULTIPLIED, true), 30, 3, 16);
         }},
        {"opaque nearest image 1:1", true,
         [](VGdrawContext* c) {
             image_rect(c, pattern_image(c, VG_IMAGE_NEAREST, true), 4, 40, 16);
         }},
        {"opaque image 1:1 in a scissor", true,
         [](VGdrawContext* c) {
             vg_scissor(c, 10.5f, 10.5f, 9, 9);
             image_rect(c, pattern_image(c, 0, true), 8, 9, 16);
         }},
        {"opaque image between pixels", false,
         [](VGdrawContext* c) { image_rect(c, pattern_image(c, 0, true), 8.5f, 9, 16); }},
        {"opaque image magnified", false,
         [](VGdrawContext* c) { image_rect(c, pattern_image(c, 0, true), 8, 9, 32); }},
        {"opaque image tinted", false,
         [](VGdrawContext* c) { image_rect(c, pattern_image(c, 0, true), 8, 9, 16, 0.5f); }},
        {"translucent image 1:1", false,
         [](VGdrawContext* c) { image_rect(c, pattern_image(c, 0, false), 8, 9, 16); }},
        {"repeating image 1:1", false,
         [](VGdrawContext* c) {
             const int image =
                 pattern_image(c, VG_IMAGE_REPEATX | VG_IMAGE_REPEATY | VG_IMAGE_NEAREST, true);
             vg_begin_path(c);
             vg_rect(c, 0, 0, 48, 48);
             fill_with(c, vg_image_pattern(c, 0, 0, 16, 16, 0, image, 1));
         }},
        {"text", false,
         [](VGdrawContext* c) {
             vg_create_font(c, "sans", render_test::kDejaVuSans);
             vg_font_face(c, "sans");
             vg_font_size(c, 15);
             vg_fill_color(c, vg_rgb(250, 250, 250));
             vg_text(c, 4, 24, "Bass", nullptr);
         }},
    };
    const auto render = [](const Case& c, mtl::RasterPath path, long* whole) {
        MetalHarness h;
        h.device->setRasterPath(path);
        if (path == mtl::RasterPath::Reference)
            h.device->setRasterThreads(1);
        const auto pixels = h.renderOffscreen(
            64, 64, 1,
            [&](VGdrawContext* ctx) {
                solid_rect(ctx, 0, 0, 64, 64, vg_rgb(40, 44, 52)); // something to blend over
                c.draw(ctx);
            },
            vg_rgba(20, 20, 24, 255));
        *whole = h.device->wholeSpanPixels();
        return pixels;
    };
    long background = 0, reference = 0;
    render(cases[0], mtl::RasterPath::Spans, &background);
    EXPECT_GT(background, 0);
    for (const Case& c : cases) {
        long whole = 0;
        const auto fast = render(c, mtl::RasterPath::Spans, &whole);
        EXPECT_EQ(fast, render(c, mtl::RasterPath::Reference, &reference)) << c.name;
        EXPECT_EQ(reference, 0) << c.name;
        EXPECT_EQ(whole > background, c.fast) << c.name;
    }
}

} // namespace

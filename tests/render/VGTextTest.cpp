#include "render/vg/VG.h"
#include "render/vg/VGContextInternal.h"
#include "tests/render/support/ContextHandle.h"
#include "tests/render/support/RecordingBackend.h"
#include "tests/render/support/TestAssets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

using render_test::ContextPtr;
using render_test::kDejaVuSans;
using render_test::RecordedDraw;
using render_test::RecordingBackend;

namespace {

using Strings = std::vector<std::string>;

class VGTextTest : public ::testing::Test {
protected:
    void SetUp() override { make_context(); }

    void make_context() {
        ctx.reset();
        backend = RecordingBackend{};
        table = backend.table();
        ctx.reset(vg_create_context(&table));
        ASSERT_TRUE(ctx);
        ASSERT_EQ(vg_create_font(ctx.get(), "sans", kDejaVuSans), 0);
        vg_begin_frame(ctx.get(), 800, 600, 1);
    }

    float width(const char* text, const char* end = nullptr) {
        return vg_text_bounds(ctx.get(), 0, 0, text, end, nullptr);
    }

    std::vector<RecordedDraw> triangles() const {
        std::vector<RecordedDraw> out;
        for (const RecordedDraw& d : backend.draws)
            if (d.kind == RecordedDraw::Kind::Triangles)
                out.push_back(d);
        return out;
    }

    // The glyph bitmap width in atlas pixels of the first glyph drawn.
    float first_glyph_texels() const {
        const std::vector<RecordedDraw> t = triangles();
        if (t.empty() || t.back().verts.size() < 2)
            return 0;
        return (t.back().verts[1].u - t.back().verts[0].u) * 512.0f;
    }

    RecordingBackend backend;
    VGrendererTable table{};
    ContextPtr ctx;
};

TEST_F(VGTextTest, EmptyTextSubmitsOneEmptyBatch) {
    EXPECT_EQ(vg_text(ctx.get(), 12, 34, "", nullptr), 12);
    EXPECT_EQ(vg_text(ctx.get(), 12, 34, nullptr, nullptr), 12);
    const char* text = "abc";
    EXPECT_EQ(vg_text(ctx.get(), 12, 34, text + 2, text), 12); // a reversed range
    const std::vector<RecordedDraw> t = triangles();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_TRUE(t[2].verts.empty());
    EXPECT_TRUE(t[0].verts.empty());
    EXPECT_EQ(t[0].paint.image, ctx->fontImages[0]);
}

TEST_F(VGTextTest, GlyphsAreTwoTrianglesFromTheAtlas) {
    vg_fill_color(ctx.get(), vg_rgba(255, 0, 0, 200));
    vg_set_global_alpha(ctx.get(), 0.5f);
    const float end = vg_text(ctx.get(), 10, 50, "H", nullptr);
    EXPECT_FLOAT_EQ(end, 10 + width("H"));
    const std::vector<RecordedDraw> t = triangles();
    ASSERT_EQ(t.size(), 1u);
    const std::vector<VGvertex>& v = t[0].verts;
    ASSERT_EQ(v.size(), 6u);
    const VGvertex &a = v[0], &c = v[1], &b = v[2], &d = v[4];
    EXPECT_EQ((std::array<float, 4>{v[3].x, v[3].y, v[3].u, v[3].v}),
              (std::array<float, 4>{a.x, a.y, a.u, a.v}));
    EXPECT_EQ((std::array<float, 4>{v[5].x, v[5].y, v[5].u, v[5].v}),
              (std::array<float, 4>{c.x, c.y, c.u, c.v}));
    EXPECT_LT(a.x, c.x);
    EXPECT_LT(a.y, c.y); // A top left, C bottom right
    EXPECT_LT(a.y, 50);
    EXPECT_EQ((std::array<float, 2>{b.x, b.y}), (std::array<float, 2>{c.x, a.y}));
    EXPECT_EQ((std::array<float, 2>{d.x, d.y}), (std::array<float, 2>{a.x, c.y}));
    EXPECT_EQ((std::array<float, 2>{b.u, b.v}), (std::array<float, 2>{c.u, a.v}));
    EXPECT_FLOAT_EQ(t[0].paint.innerColor.a, 200.0f / 255.0f * 0.5f);

    // The upload put the atlas pixels into the font image.
    int w = 0, h = 0;
    const unsigned char* atlas = glyphatlas_texture_data(ctx->fs.get(), &w, &h);
    const render_test::RecordedTexture& tex = backend.textures.at(ctx->fontImages[0]);
    ASSERT_EQ(tex.pixels.size(), static_cast<std::size_t>(w * h));
    EXPECT_EQ(std::memcmp(tex.pixels.data(), atlas, tex.pixels.size()), 0);
    EXPECT_EQ(backend.count_events("updateTexture"), 1);
}

TEST_F(VGTextTest, GlyphsAreRasterisedAtTheQuantisedScreenScale) {
    struct Case {
        const char* name;
        float scale, ratio;
        float factor; // of the font size, as rasterised
    };
    const Case cases[] = {
        {"scale 3 at ratio 2", 3, 2, 6},
        {"scale 5 is limited to 4", 5, 2, 8},
        {"scale 1.004 counts as 1", 1.004f, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        make_context();
        vg_font_size(ctx.get(), 10 * c.factor);
        vg_text(ctx.get(), 0, 0, "H", nullptr);
        const float reference = first_glyph_texels();

        make_context();
        vg_begin_frame(ctx.get(), 800, 600, c.ratio);
        vg_scale(ctx.get(), c.scale, c.scale);
        vg_font_size(ctx.get(), 10);
        vg_text(ctx.get(), 0, 0, "H", nullptr);
        EXPECT_GT(reference, 0);
        EXPECT_FLOAT_EQ(first_glyph_texels(), reference);
    }
}

TEST_F(VGTextTest, TextShrunkToNothingStillGivesFiniteResults) {
    const std::string text = "ab cd";
    for (float scale : {0.0f, 0.004f, std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(scale);
        vg_reset(ctx.get());
        vg_scale(ctx.get(), scale, scale);
        EXPECT_EQ(vg_text(ctx.get(), 5, 6, text.c_str(), nullptr), 5);
        float bounds[4] = {};
        EXPECT_EQ(vg_text_bounds(ctx.get(), 5, 6, text.c_str(), nullptr, bounds), 0);
        float lineh = 0;
        vg_text_metrics(ctx.get(), nullptr, nullptr, &lineh);
        VGwrapRow rows[2] = {};
        vg_text_break_lines(ctx.get(), text.c_str(), nullptr, 10, rows, 2);
        for (float v :
             {bounds[0], bounds[1], bounds[2], bounds[3], lineh, rows[0].width, rows[0].maxx})
            EXPECT_TRUE(std::isfinite(v)) << v;
    }
}

TEST_F(VGTextTest, BreaksLinesAtSpacesNewlinesAndCjk) {
    struct Row {
        int start, end, next;
    };
    struct Case {
        const char* name;
        std::string text;
        float rowWidth; // in widths of the prefix of that many bytes, plus a quarter unit
        int maxRows;
        std::vector<Row> rows;
    };
    const std::string cjk = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"; // three CJK characters
    const Case cases[] = {
        {"two words, only the first fits", "hello world", 8, 10, {{0, 5, 6}, {6, 11, 11}}},
        {"an over-long word", "abcdefgh", 4, 10, {{0, 4, 4}, {4, 8, 8}}},
        {"CR LF", "a\r\nb", 4, 10, {{0, 1, 2}, {3, 4, 4}}},
        {"max rows", "a\nb\nc", 5, 2, {{0, 1, 2}, {2, 3, 4}}},
        {"CJK breaks between characters", cjk, 6, 10, {{0, 6, 6}, {6, 9, 9}}},
        {"leading spaces are skipped", "  ab", 4, 10, {{2, 4, 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const char* text = c.text.c_str();
        const float rowWidth = width(text, text + static_cast<int>(c.rowWidth)) + 0.25f;
        VGwrapRow rows[10];
        const int n =
            vg_text_break_lines(ctx.get(), text, text + c.text.size(), rowWidth, rows, c.maxRows);
        ASSERT_EQ(n, static_cast<int>(c.rows.size()));
        for (int i = 0; i < n; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(rows[i].start - text, c.rows[i].start);
            EXPECT_EQ(rows[i].end - text, c.rows[i].end);
            EXPECT_EQ(rows[i].next - text, c.rows[i].next);
            // A row is as wide as its visible text measures.
            EXPECT_NEAR(rows[i].width, width(rows[i].start, rows[i].end), 1e-3f);
        }
    }
    VGwrapRow row;
    EXPECT_EQ(vg_text_break_lines(ctx.get(), "abc", nullptr, 100, &row, 0), 0);
    EXPECT_EQ(vg_text_break_lines(ctx.get(), "", nullptr, 100, &row, 1), 0);
    EXPECT_EQ(vg_text_break_lines(ctx.get(), nullptr, nullptr, 100, &row, 1), 0);
}

TEST_F(VGTextTest, TextBoxesPlaceRowsByAlignment) {
    const char* text = "Omnar";
    const float w = width(text);
    struct Case {
        const char* name;
        int align;
        float x; // where the row's pen starts
    };
    const Case cases[] = {
        {"left", VG_ALIGN_LEFT, 20},
        {"centre", VG_ALIGN_CENTER, 20 + 50 - w / 2},
        {"right", VG_ALIGN_RIGHT, 20 + 100 - w},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        backend.draws.clear();
        vg_text_align(ctx.get(), c.align | VG_ALIGN_TOP);
        vg_text_box(ctx.get(), 20, 30, 100, text, nullptr);
        EXPECT_EQ(vg_state(ctx.get()).textAlign, c.align | VG_ALIGN_TOP);
        vg_text_align(ctx.get(), VG_ALIGN_LEFT | VG_ALIGN_TOP);
        vg_text(ctx.get(), c.x, 30, text, nullptr);
        const std::vector<RecordedDraw> t = triangles();
        ASSERT_EQ(t.size(), 2u);
        ASSERT_EQ(t[0].verts.size(), t[1].verts.size());
        for (std::size_t i = 0; i < t[0].verts.size(); ++i)
            EXPECT_NEAR(t[0].verts[i].x, t[1].verts[i].x, 1e-4f) << i;

        // The box's bounds cover its origin and the row as measured alone.
        float box[4], line[4];
        vg_text_align(ctx.get(), c.align | VG_ALIGN_TOP);
        vg_text_box_bounds(ctx.get(), 20, 30, 100, text, nullptr, box);
        vg_text_align(ctx.get(), VG_ALIGN_LEFT | VG_ALIGN_TOP);
        vg_text_bounds(ctx.get(), c.x, 30, text, nullptr, line);
        // Rows are measured at pen 0, so glyph snapping moves them by under a pixel.
        EXPECT_NEAR(box[0], std::min(20.0f, line[0]), 1.0f);
        EXPECT_NEAR(box[2], line[2], 1.0f);
        EXPECT_NEAR(box[1], line[1], 1e-3f);
        EXPECT_NEAR(box[3], line[3], 1e-3f);
    }

    // Two rows: the second one line height further down.
    float lineh = 0;
    vg_text_metrics(ctx.get(), nullptr, nullptr, &lineh);
    vg_text_line_height(ctx.get(), 1.5f);
    float box[4];
    vg_text_box_bounds(ctx.get(), 0, 100, width("Omnar") + 1, "Omnar Omnar", nullptr, box);
    float line[4];
    vg_text_bounds(ctx.get(), 0, 100, "Omnar", nullptr, line);
    EXPECT_NEAR(box[3] - box[1], line[3] - line[1] + 1.5f * lineh, 1e-3f);
}

TEST_F(VGTextTest, AtlasOverflowMovesToLargerFontImages) {
    // Glyphs of 450 pixels: a handful fill each font image.
    vg_font_size(ctx.get(), 450);
    const std::string text = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    vg_text(ctx.get(), 0, 450, text.c_str(), nullptr);

    const Strings created = [&] {
        Strings out;
        for (const std::string& e : backend.events)
            if (e.rfind("createTexture", 0) == 0)
                out.push_back(e.substr(e.rfind(' ') + 1));
        return out;
    }();
    EXPECT_EQ(created, (Strings{"512x512", "1024x512", "1024x1024", "2048x1024"}));
    EXPECT_EQ(ctx->fontImageIdx, 3);

    // One batch per image, submitted before each switch, then the closing
    // batch, empty since nothing more fit.
    const std::vector<RecordedDraw> t = triangles();
    ASSERT_EQ(t.size(), 5u);
    std::size_t drawn = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(t[i].paint.image, ctx->fontImages[i]);
        EXPECT_FALSE(t[i].verts.empty()) << i;
        drawn += t[i].verts.size();
    }
    EXPECT_TRUE(t[4].verts.empty());
    EXPECT_LT(drawn, text.size() * 6); // the rest was dropped
    for (int image : ctx->fontImages)
        EXPECT_GT(backend.count_events("updateTexture " + std::to_string(image) + " "), 0);

    std::vector<unsigned char> pixels = backend.textures.at(ctx->fontImages[3]).pixels;
    EXPECT_FALSE(
        render_test::write_test_png("vg-text-atlas.png", 2048, 1024, 1, pixels.data()).empty());

    // The next frame starts in the largest image; the smaller ones are gone.
    const int largest = ctx->fontImages[3];
    vg_end_frame(ctx.get());
    EXPECT_EQ(ctx->fontImages[0], largest);
    EXPECT_EQ(backend.textures.size(), 1u);
}

TEST_F(VGTextTest, FailedFontImageDrawsWithImageZero) {
    // The glyphs outgrow the first image and fit the second, which fails.
    backend.failTextureCreation = backend.textureCreations + 1;
    vg_font_size(ctx.get(), 450);
    vg_text(ctx.get(), 0, 450, "ABCD", nullptr);
    const std::vector<RecordedDraw> t = triangles();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[1].paint.image, 0);
    EXPECT_EQ(t[0].verts.size() + t[1].verts.size(), 4u * 6);
    EXPECT_EQ(backend.count_events("updateTexture 0"), 0);

    // The next frame draws into the first image again, not into nothing.
    vg_end_frame(ctx.get());
    EXPECT_EQ(ctx->fontImageIdx, 0);
    backend.draws.clear();
    backend.events.clear();
    vg_begin_frame(ctx.get(), 800, 600, 1);
    vg_font_size(ctx.get(), 100);
    vg_text(ctx.get(), 0, 100, "AB", nullptr);
    ASSERT_EQ(triangles().size(), 1u);
    EXPECT_EQ(triangles()[0].paint.image, ctx->fontImages[0]);
    EXPECT_NE(ctx->fontImages[0], 0);
    EXPECT_EQ(triangles()[0].verts.size(), 12u);
    EXPECT_EQ(backend.count_events("updateTexture " + std::to_string(ctx->fontImages[0]) + " "), 1);
}

TEST_F(VGTextTest, FallbacksAndFontLookup) {
    EXPECT_EQ(vg_find_font(ctx.get(), nullptr), -1);
    EXPECT_EQ(vg_find_font(ctx.get(), "sans"), 0);
    EXPECT_EQ(vg_find_font(ctx.get(), "Sans"), -1);
    EXPECT_EQ(vg_create_font(ctx.get(), "missing", "/nonexistent.ttf"), -1);
    EXPECT_EQ(vg_create_font_at_index(ctx.get(), "face 3", kDejaVuSans, 3), -1);
    ASSERT_EQ(vg_create_font(ctx.get(), "second", kDejaVuSans), 1);

    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(vg_add_fallback_font_id(ctx.get(), 0, 1), 1);
    EXPECT_EQ(vg_add_fallback_font_id(ctx.get(), 0, 1), 0);
    EXPECT_EQ(vg_add_fallback_font_id(ctx.get(), -1, 1), 0);
    EXPECT_EQ(vg_add_fallback_font_id(ctx.get(), 1, -1), 0);
    EXPECT_EQ(vg_add_fallback_font(ctx.get(), "second", "sans"), 1);
    EXPECT_EQ(vg_add_fallback_font(ctx.get(), "second", "nope"), 0);
    EXPECT_EQ(vg_add_fallback_font(ctx.get(), nullptr, "sans"), 0);

    vg_font_face(ctx.get(), "second");
    EXPECT_EQ(vg_state(ctx.get()).fontId, 1);
    vg_font_face(ctx.get(), "nope");
    EXPECT_EQ(vg_state(ctx.get()).fontId, -1);
}

TEST_F(VGTextTest, NoFontMeansNothingIsLaidOut) {
    for (int font : {-1, 7}) {
        SCOPED_TRACE(font);
        backend.draws.clear();
        vg_font_face_id(ctx.get(), font);
        EXPECT_EQ(vg_text(ctx.get(), 5, 6, "abc", nullptr), 5);
        vg_text_box(ctx.get(), 5, 6, 100, "abc", nullptr);
        EXPECT_TRUE(backend.draws.empty());
        float bounds[4] = {1, 1, 1, 1};
        EXPECT_EQ(vg_text_bounds(ctx.get(), 5, 6, "abc", nullptr, bounds), 0);
        vg_text_box_bounds(ctx.get(), 5, 6, 100, "abc", nullptr, bounds);
        EXPECT_EQ((std::array<float, 4>{bounds[0], bounds[1], bounds[2], bounds[3]}),
                  (std::array<float, 4>{0, 0, 0, 0}));
        VGwrapRow rows[2];
        EXPECT_EQ(vg_text_break_lines(ctx.get(), "abc", nullptr, 100, rows, 2), 0);
        VGglyphSpot spots[3];
        EXPECT_EQ(vg_text_glyph_positions(ctx.get(), 0, 0, "abc", nullptr, spots, 3), 0);
        float asc = 99;
        vg_text_metrics(ctx.get(), &asc, nullptr, nullptr);
        EXPECT_EQ(asc, 99);
    }
}

TEST_F(VGTextTest, GlyphPositionsStopAtTheirLimit) {
    VGglyphSpot spots[4] = {};
    EXPECT_EQ(vg_text_glyph_positions(ctx.get(), 10, 0, "abc", nullptr, spots, 0), 0);
    EXPECT_EQ(vg_text_glyph_positions(ctx.get(), 10, 0, "abc", nullptr, spots, -1), 0);
    EXPECT_EQ(spots[0].str, nullptr);
    EXPECT_EQ(vg_text_glyph_positions(ctx.get(), 10, 0, "", nullptr, spots, 4), 0);

    const char* text = "abc";
    ASSERT_EQ(vg_text_glyph_positions(ctx.get(), 10, 0, text, nullptr, spots, 2), 2);
    EXPECT_EQ(spots[1].str, text + 1);
    EXPECT_EQ(vg_text_glyph_positions(ctx.get(), 10, 0, text, nullptr, spots, 4), 3);
    EXPECT_FLOAT_EQ(spots[0].x, 10);
    EXPECT_FLOAT_EQ(spots[1].x, 10 + width("a"));
    EXPECT_FLOAT_EQ(spots[2].x, 10 + width("ab"));
    for (int i = 0; i < 3; ++i)
        EXPECT_LT(spots[i].minx, spots[i].maxx);
}

TEST_F(VGTextTest, MetricsAndBoundsAreInUserUnits) {
    float asc1 = 0, desc1 = 0, lineh1 = 0;
    vg_text_metrics(ctx.get(), &asc1, &desc1, &lineh1);
    EXPECT_GT(asc1, 0);
    EXPECT_LT(desc1, 0);
    EXPECT_GT(lineh1, asc1 - desc1 - 0.01f);

    const float w1 = width("Omnar");
    vg_scale(ctx.get(), 2, 2);
    float asc2 = 0;
    vg_text_metrics(ctx.get(), &asc2, nullptr, nullptr);
    EXPECT_NEAR(asc2, asc1, 0.05f);
    EXPECT_NEAR(width("Omnar"), w1, 1.0f);

    // Bounds span the whole line, whatever the glyphs' ink.
    vg_reset_transform(ctx.get());
    float low[4], high[4];
    vg_text_bounds(ctx.get(), 0, 50, "...", nullptr, low);
    vg_text_bounds(ctx.get(), 0, 50, "HH", nullptr, high);
    EXPECT_FLOAT_EQ(low[1], high[1]);
    EXPECT_FLOAT_EQ(low[3], high[3]);
    EXPECT_NEAR(low[3] - low[1], lineh1, 1e-3f);
}

} // namespace

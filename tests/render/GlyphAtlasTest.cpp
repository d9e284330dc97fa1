#include "render/glyphatlas/GlyphAtlas.h"
#include "render/glyphatlas/Skyline.h"
#include "tests/render/support/TestAssets.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using render_test::kDejaVuSans;

namespace {

struct AtlasDeleter {
    void operator()(GlyphAtlas* atlas) const { glyphatlas_delete(atlas); }
};
using AtlasPtr = std::unique_ptr<GlyphAtlas, AtlasDeleter>;

AtlasPtr make_atlas(int width = 512, int height = 512) {
    GlyphAtlasParams params{};
    params.width = width;
    params.height = height;
    params.flags = GLYPHATLAS_ZERO_TOPLEFT;
    return AtlasPtr(glyphatlas_create(&params));
}

struct ErrorLog {
    std::vector<std::pair<int, int>> errors;
    static void record(void* uptr, int error, int value) {
        static_cast<ErrorLog*>(uptr)->errors.emplace_back(error, value);
    }
};

class GlyphAtlasTest : public ::testing::Test {
protected:
    void SetUp() override {
        atlas = make_atlas();
        ASSERT_TRUE(atlas);
        font = glyphatlas_add_font_file(atlas.get(), "sans", kDejaVuSans, 0);
        ASSERT_EQ(font, 0);
        glyphatlas_set_font(atlas.get(), font);
        glyphatlas_set_size(atlas.get(), 20.0f);
        int dirty[4];
        glyphatlas_validate_texture(atlas.get(), dirty);
    }

    // Quads of the glyphs the text yields with the given bitmap option.
    std::vector<GlyphAtlasQuad> quads(const char* text, int option) {
        std::vector<GlyphAtlasQuad> out;
        GlyphAtlasTextIter iter;
        if (!glyphatlas_iter_init(atlas.get(), &iter, 0, 0, text, nullptr, option))
            return out;
        GlyphAtlasQuad q{};
        while (glyphatlas_iter_next(atlas.get(), &iter, &q))
            if (glyphatlas_iter_has_quad(iter))
                out.push_back(q);
        return out;
    }

    std::vector<unsigned int> codepoints(const char* text, const char* end = nullptr) {
        std::vector<unsigned int> out;
        GlyphAtlasTextIter iter;
        glyphatlas_iter_init(atlas.get(), &iter, 0, 0, text, end, GLYPHATLAS_GLYPH_BITMAP_OPTIONAL);
        GlyphAtlasQuad q{};
        while (glyphatlas_iter_next(atlas.get(), &iter, &q))
            if (glyphatlas_iter_decoded(iter))
                out.push_back(iter.codepoint);
        return out;
    }

    AtlasPtr atlas;
    int font = -1;
};

TEST(SkylineTest, PlacesRectanglesBottomLeft) {
    struct Case {
        const char* name;
        std::vector<std::array<int, 2>> sizes;
        std::vector<std::array<int, 2>> expected; // {-1, -1}: does not fit
    };
    const Case cases[] = {
        {"side by side", {{30, 10}, {20, 20}}, {{0, 0}, {30, 0}}},
        {"lowest row wins",
         {{30, 10}, {20, 20}, {50, 5}, {10, 10}},
         {{0, 0}, {30, 0}, {50, 0}, {50, 5}}},
        {"as tall as the empty atlas", {{10, 100}}, {{-1, -1}}},
        {"wider than the atlas", {{101, 1}}, {{-1, -1}}},
        {"reaching the bottom from a narrower node", {{40, 10}, {60, 100}}, {{0, 0}, {40, 0}}},
        {"on top of a full row", {{100, 10}, {10, 10}}, {{0, 0}, {0, 10}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GlyphAtlasSkyline sky;
        ASSERT_TRUE(skyline_reset(sky, 100, 100));
        for (std::size_t i = 0; i < c.sizes.size(); ++i) {
            int x = -1, y = -1;
            const bool placed = skyline_add_rect(sky, c.sizes[i][0], c.sizes[i][1], &x, &y);
            EXPECT_EQ(placed, c.expected[i][0] >= 0) << "rectangle " << i;
            if (placed) {
                EXPECT_EQ((std::array<int, 2>{x, y}), c.expected[i]) << "rectangle " << i;
            }
        }
    }
}

TEST(GlyphAtlasCreateTest, FirstValidateReportsTheWhiteRectangleOnce) {
    AtlasPtr atlas = make_atlas();
    ASSERT_TRUE(atlas);
    int dirty[4] = {};
    ASSERT_EQ(glyphatlas_validate_texture(atlas.get(), dirty), 1);
    EXPECT_EQ((std::array<int, 4>{dirty[0], dirty[1], dirty[2], dirty[3]}),
              (std::array<int, 4>{0, 0, 2, 2}));
    EXPECT_EQ(glyphatlas_validate_texture(atlas.get(), dirty), 0);
    int w = 0, h = 0;
    const unsigned char* data = glyphatlas_texture_data(atlas.get(), &w, &h);
    EXPECT_EQ(data[0], 255);
    EXPECT_EQ(data[w + 1], 255);
    EXPECT_EQ(data[2], 0);
}

TEST(GlyphAtlasCreateTest, RefusesUnusableFonts) {
    AtlasPtr atlas = make_atlas();
    std::vector<unsigned char> bytes = render_test::read_file(kDejaVuSans);
    ASSERT_FALSE(bytes.empty());

    // A face whose 'hhea' ascent equals its descent has no height.
    std::vector<unsigned char> flat = bytes;
    const int numTables = flat[4] << 8 | flat[5];
    for (int t = 0; t < numTables; ++t) {
        const unsigned char* rec = &flat[12 + 16 * t];
        if (std::memcmp(rec, "hhea", 4) == 0) {
            const std::size_t off =
                static_cast<std::size_t>(rec[8]) << 24 | rec[9] << 16 | rec[10] << 8 | rec[11];
            std::memset(&flat[off + 4], 0, 4);
        }
    }
    std::vector<unsigned char> garbage(1000, 0x5A);

    EXPECT_EQ(glyphatlas_add_font_file(atlas.get(), "x", "/nonexistent/font.ttf", 0), -1);
    EXPECT_EQ(glyphatlas_add_font_file(atlas.get(), "x", "/etc", 0), -1);
    EXPECT_EQ(glyphatlas_add_font_file(atlas.get(), "x", kDejaVuSans, 1), -1);
    EXPECT_EQ(
        glyphatlas_add_font_mem(atlas.get(), "x", flat.data(), static_cast<int>(flat.size()), 0, 0),
        -1);
    EXPECT_EQ(glyphatlas_add_font_mem(atlas.get(), "x", garbage.data(),
                                      static_cast<int>(garbage.size()), 0, 0),
              -1);
    EXPECT_EQ(glyphatlas_add_font_mem(atlas.get(), nullptr, bytes.data(),
                                      static_cast<int>(bytes.size()), 0, 0),
              -1);
    // Owned data is released on refusal too (checked by the leak sanitizer).
    auto* owned = static_cast<unsigned char*>(std::malloc(garbage.size()));
    std::memcpy(owned, garbage.data(), garbage.size());
    EXPECT_EQ(
        glyphatlas_add_font_mem(atlas.get(), "x", owned, static_cast<int>(garbage.size()), 0, 1),
        -1);
    EXPECT_EQ(glyphatlas_add_font_mem(atlas.get(), "ok", bytes.data(),
                                      static_cast<int>(bytes.size()), 0, 0),
              0);
}

TEST(GlyphAtlasCreateTest, NamesAreCutAndMatchedExactly) {
    AtlasPtr atlas = make_atlas();
    const std::string longName(80, 'n');
    ASSERT_EQ(glyphatlas_add_font_file(atlas.get(), longName.c_str(), kDejaVuSans, 0), 0);
    ASSERT_EQ(glyphatlas_add_font_file(atlas.get(), "Sans", kDejaVuSans, 0), 1);
    EXPECT_EQ(glyphatlas_font_by_name(atlas.get(), longName.substr(0, 63).c_str()), 0);
    EXPECT_EQ(glyphatlas_font_by_name(atlas.get(), longName.c_str()), -1);
    EXPECT_EQ(glyphatlas_font_by_name(atlas.get(), "Sans"), 1);
    EXPECT_EQ(glyphatlas_font_by_name(atlas.get(), "sans"), -1);
    EXPECT_EQ(glyphatlas_font_by_name(atlas.get(), nullptr), -1);
}

TEST_F(GlyphAtlasTest, TinySizesYieldNoGlyphs) {
    glyphatlas_set_size(atlas.get(), 0.15f);
    EXPECT_TRUE(quads("AB", GLYPHATLAS_GLYPH_BITMAP_REQUIRED).empty());
    glyphatlas_set_size(atlas.get(), 0.2f);
    EXPECT_EQ(quads("AB", GLYPHATLAS_GLYPH_BITMAP_REQUIRED).size(), 2u);
}

TEST_F(GlyphAtlasTest, BlurPadsTheGlyphRectangleAndIsLimitedTo20) {
    auto widthAt = [&](float blur) {
        glyphatlas_set_blur(atlas.get(), blur);
        std::vector<GlyphAtlasQuad> q = quads("H", GLYPHATLAS_GLYPH_BITMAP_REQUIRED);
        EXPECT_EQ(q.size(), 1u);
        return q.empty() ? 0.0f : q[0].x1 - q[0].x0;
    };
    const float sharp = widthAt(0);
    EXPECT_FLOAT_EQ(widthAt(3), sharp + 2 * 3);
    EXPECT_FLOAT_EQ(widthAt(20), sharp + 2 * 20);
    EXPECT_FLOAT_EQ(widthAt(25), sharp + 2 * 20);
}

TEST_F(GlyphAtlasTest, SizesSharingTheTruncatedTenthShareAnEntry) {
    int dirty[4];
    glyphatlas_set_size(atlas.get(), 12.0f);
    quads("g", GLYPHATLAS_GLYPH_BITMAP_REQUIRED);
    EXPECT_EQ(glyphatlas_validate_texture(atlas.get(), dirty), 1);
    glyphatlas_set_size(atlas.get(), 12.05f);
    quads("g", GLYPHATLAS_GLYPH_BITMAP_REQUIRED);
    EXPECT_EQ(glyphatlas_validate_texture(atlas.get(), dirty), 0);
    glyphatlas_set_size(atlas.get(), 12.1f);
    quads("g", GLYPHATLAS_GLYPH_BITMAP_REQUIRED);
    EXPECT_EQ(glyphatlas_validate_texture(atlas.get(), dirty), 1);
}

TEST_F(GlyphAtlasTest, StateStackAndFallbacksStopAt20) {
    ErrorLog log;
    glyphatlas_set_error_callback(atlas.get(), ErrorLog::record, &log);
    glyphatlas_set_size(atlas.get(), 33.0f);
    for (int i = 1; i < 20; ++i)
        glyphatlas_push_state(atlas.get());
    EXPECT_TRUE(log.errors.empty());
    glyphatlas_push_state(atlas.get());
    EXPECT_EQ(log.errors, (std::vector<std::pair<int, int>>{{GLYPHATLAS_STATES_OVERFLOW, 0}}));
    glyphatlas_set_size(atlas.get(), 5.0f);
    for (int i = 1; i < 20; ++i)
        glyphatlas_pop_state(atlas.get());
    EXPECT_EQ(log.errors.size(), 1u);
    glyphatlas_pop_state(atlas.get());
    EXPECT_EQ(log.errors.back(), (std::pair<int, int>{GLYPHATLAS_STATES_UNDERFLOW, 0}));
    // The bottom state survived both refusals.
    float lineh = 0;
    glyphatlas_vert_metrics(atlas.get(), nullptr, nullptr, &lineh);
    float lineh33 = 0;
    glyphatlas_set_size(atlas.get(), 33.0f);
    glyphatlas_vert_metrics(atlas.get(), nullptr, nullptr, &lineh33);
    EXPECT_FLOAT_EQ(lineh, lineh33);

    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(glyphatlas_add_fallback(atlas.get(), font, font), 1);
    EXPECT_EQ(glyphatlas_add_fallback(atlas.get(), font, font), 0);
}

TEST_F(GlyphAtlasTest, AlignmentShiftsBoundsByTheAdvance) {
    float left[4], centre[4], right[4];
    const float advance = glyphatlas_text_bounds(atlas.get(), 10, 50, "Omnar", nullptr, left);
    ASSERT_GT(advance, 0);
    glyphatlas_set_align(atlas.get(), GLYPHATLAS_ALIGN_CENTER | GLYPHATLAS_ALIGN_BASELINE);
    EXPECT_FLOAT_EQ(glyphatlas_text_bounds(atlas.get(), 10, 50, "Omnar", nullptr, centre), advance);
    glyphatlas_set_align(atlas.get(), GLYPHATLAS_ALIGN_RIGHT | GLYPHATLAS_ALIGN_BASELINE);
    glyphatlas_text_bounds(atlas.get(), 10, 50, "Omnar", nullptr, right);
    for (int i : {0, 2}) {
        EXPECT_FLOAT_EQ(centre[i], left[i] - advance / 2);
        EXPECT_FLOAT_EQ(right[i], left[i] - advance);
    }
    for (int i : {1, 3})
        EXPECT_FLOAT_EQ(centre[i], left[i]);

    // Drawing starts where the measured box says.
    glyphatlas_set_align(atlas.get(), GLYPHATLAS_ALIGN_CENTER | GLYPHATLAS_ALIGN_BASELINE);
    GlyphAtlasTextIter iter;
    ASSERT_EQ(glyphatlas_iter_init(atlas.get(), &iter, 10, 50, "Omnar", nullptr,
                                   GLYPHATLAS_GLYPH_BITMAP_OPTIONAL),
              1);
    EXPECT_FLOAT_EQ(iter.x, 10 - advance / 2);
}

TEST_F(GlyphAtlasTest, VerticalAlignmentMovesTheLine) {
    float asc = 0, desc = 0;
    glyphatlas_vert_metrics(atlas.get(), &asc, &desc, nullptr);
    struct Case {
        const char* name;
        int valign;
        float offset; // of the line, top-left origin
    };
    const Case cases[] = {
        {"baseline", GLYPHATLAS_ALIGN_BASELINE, 0},
        {"none", 0, 0},
        {"top", GLYPHATLAS_ALIGN_TOP, asc},
        {"middle", GLYPHATLAS_ALIGN_MIDDLE, (asc + desc) / 2},
        {"bottom", GLYPHATLAS_ALIGN_BOTTOM, desc},
        {"bottom and baseline", GLYPHATLAS_ALIGN_BOTTOM | GLYPHATLAS_ALIGN_BASELINE, 0},
    };
    // The same atlas with y growing upwards moves the other way.
    GlyphAtlasParams params{};
    params.width = params.height = 256;
    AtlasPtr upward(glyphatlas_create(&params));
    ASSERT_EQ(glyphatlas_add_font_file(upward.get(), "sans", kDejaVuSans, 0), 0);
    glyphatlas_set_size(upward.get(), 20.0f);
    float baseMin = 0, baseMax = 0, upMin = 0, upMax = 0;
    glyphatlas_line_bounds(atlas.get(), 100, &baseMin, &baseMax);
    glyphatlas_line_bounds(upward.get(), 100, &upMin, &upMax);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        glyphatlas_set_align(atlas.get(), GLYPHATLAS_ALIGN_LEFT | c.valign);
        glyphatlas_set_align(upward.get(), GLYPHATLAS_ALIGN_LEFT | c.valign);
        float miny = 0, maxy = 0;
        glyphatlas_line_bounds(atlas.get(), 100, &miny, &maxy);
        EXPECT_NEAR(miny, baseMin + c.offset, 1e-4f);
        EXPECT_NEAR(maxy, baseMax + c.offset, 1e-4f);
        glyphatlas_line_bounds(upward.get(), 100, &miny, &maxy);
        EXPECT_NEAR(miny, upMin - c.offset, 1e-4f);
        EXPECT_NEAR(maxy, upMax - c.offset, 1e-4f);
    }
}

TEST(GlyphAtlasCallbacksTest, OwnerCallbacksFrameTheAtlasLife) {
    struct Owner {
        std::vector<std::string> calls;
        int createResult = 1, resizeResult = 1;
        std::vector<unsigned int> colors;
        static Owner& of(void* uptr) { return *static_cast<Owner*>(uptr); }
        static int create(void* u, int w, int h) {
            of(u).calls.push_back("create " + std::to_string(w) + "x" + std::to_string(h));
            return of(u).createResult;
        }
        static int resize(void* u, int w, int h) {
            of(u).calls.push_back("resize " + std::to_string(w) + "x" + std::to_string(h));
            return of(u).resizeResult;
        }
        static void update(void* u, int* r, const unsigned char*) {
            of(u).calls.push_back("update " + std::to_string(r[0]) + " " + std::to_string(r[1]) +
                                  " " + std::to_string(r[2]) + " " + std::to_string(r[3]));
        }
        static void draw(void* u, const float*, const float*, const unsigned int* c, int n) {
            of(u).calls.push_back("draw " + std::to_string(n));
            of(u).colors.assign(c, c + n);
        }
        static void destroy(void* u) { of(u).calls.push_back("delete"); }
    };
    auto params_for = [](Owner& owner) {
        GlyphAtlasParams p{};
        p.width = p.height = 64;
        p.flags = GLYPHATLAS_ZERO_TOPLEFT;
        p.userPtr = &owner;
        p.renderCreate = Owner::create;
        p.renderResize = Owner::resize;
        p.renderUpdate = Owner::update;
        p.renderDraw = Owner::draw;
        p.renderDelete = Owner::destroy;
        return p;
    };

    Owner refusing;
    refusing.createResult = 0;
    GlyphAtlasParams params = params_for(refusing);
    EXPECT_EQ(glyphatlas_create(&params), nullptr);
    EXPECT_EQ(refusing.calls, (std::vector<std::string>{"create 64x64", "delete"}));

    Owner owner;
    params = params_for(owner);
    AtlasPtr atlas(glyphatlas_create(&params));
    ASSERT_TRUE(atlas);
    // The debug view: a backdrop, the texture, and one bar per skyline node.
    glyphatlas_draw_debug(atlas.get(), 0, 0);
    ASSERT_EQ(owner.colors.size(), 24u);
    EXPECT_EQ(owner.colors[0], 0x0FFFFFFFu);
    EXPECT_EQ(owner.colors[6], 0xFFFFFFFFu);
    EXPECT_EQ(owner.colors[12], 0xC00000FFu);

    owner.resizeResult = 0;
    EXPECT_EQ(glyphatlas_expand_atlas(atlas.get(), 128, 128), 0);
    EXPECT_EQ(glyphatlas_reset_atlas(atlas.get(), 128, 128), 0);
    int w = 0, h = 0;
    glyphatlas_atlas_size(atlas.get(), &w, &h);
    EXPECT_EQ(w, 64);
    owner.resizeResult = 1;
    EXPECT_EQ(glyphatlas_expand_atlas(atlas.get(), 128, 64), 1);
    atlas.reset();
    EXPECT_EQ(owner.calls, (std::vector<std::string>{"create 64x64", "update 0 0 2 2", "draw 24",
                                                     "resize 128x128", "resize 128x128",
                                                     "resize 128x64", "delete"}));
}

TEST_F(GlyphAtlasTest, DecodesUtf8AndStopsAtAMalformedByte) {
    struct Case {
        const char* name;
        const char* text;
        std::vector<unsigned int> expected;
    };
    const Case cases[] = {
        {"ascii", "Ab", {'A', 'b'}},
        {"two to four bytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", {0xE9, 0x20AC, 0x1F600}},
        {"stray continuation byte", "A\x80Z", {'A'}},
        {"invalid lead byte",
         "AB\xFF"
         "CD",
         {'A', 'B'}},
        {"overlong encoding", "A\xC0\xAFZ", {'A'}},
        {"surrogate", "A\xED\xA0\x80Z", {'A'}},
        {"null string", nullptr, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(codepoints(c.text), c.expected);
    }
    // Nothing is read past the end, not even to finish a sequence.
    const char text[] = "A\xC3\xA9";
    EXPECT_EQ(codepoints(text, text + 2), (std::vector<unsigned int>{'A'}));
}

TEST_F(GlyphAtlasTest, KerningPullsPairsTogether) {
    // Pair adjustments are rounded towards zero, so they show at large sizes.
    glyphatlas_set_size(atlas.get(), 100.0f);
    auto advance = [&](const char* text) {
        return glyphatlas_text_bounds(atlas.get(), 0, 0, text, nullptr, nullptr);
    };
    EXPECT_LT(advance("AV"), advance("A") + advance("V"));
    EXPECT_FLOAT_EQ(advance("HH"), 2 * advance("H"));
    const float hh = advance("HH");
    glyphatlas_set_spacing(atlas.get(), 3.0f);
    EXPECT_FLOAT_EQ(advance("HH"), hh + 3);
}

TEST_F(GlyphAtlasTest, FallbackGlyphsAreNotKernedWithTheTextFont) {
    // DejaVu Sans lacks the mathematical letters its math companion has; the
    // Sans kerning table holds pairs at those glyph indices for other glyphs.
    const int math = glyphatlas_add_font_file(
        atlas.get(), "math", "/usr/share/fonts/truetype/dejavu/DejaVuMathTeXGyre.ttf", 0);
    ASSERT_EQ(math, 1);
    glyphatlas_set_size(atlas.get(), 100.0f);
    const char* boldL = "\xF0\x9D\x90\x8B"; // U+1D40B
    auto advance = [&](const char* text) {
        return glyphatlas_text_bounds(atlas.get(), 0, 0, text, nullptr, nullptr);
    };
    glyphatlas_set_blur(atlas.get(), 1.0f); // a cache entry of its own
    const float missing = advance(boldL);
    glyphatlas_set_blur(atlas.get(), 0.0f);
    ASSERT_EQ(glyphatlas_add_fallback(atlas.get(), font, math), 1);
    const float fromFallback = advance(boldL);
    EXPECT_NE(fromFallback, missing);
    const std::string pair = std::string("A") + boldL;
    EXPECT_FLOAT_EQ(advance(pair.c_str()), advance("A") + fromFallback);
}

TEST_F(GlyphAtlasTest, ExpandKeepsPixelsAndResetEmptiesTheAtlas) {
    glyphatlas_draw_text(atlas.get(), 0, 0, "Omnar", nullptr);
    int dirty[4];
    glyphatlas_validate_texture(atlas.get(), dirty);
    int w = 0, h = 0;
    const unsigned char* before = glyphatlas_texture_data(atlas.get(), &w, &h);
    const std::vector<unsigned char> old(before, before + w * h);

    EXPECT_EQ(glyphatlas_expand_atlas(atlas.get(), 100, 100), 1);
    EXPECT_EQ(glyphatlas_validate_texture(atlas.get(), dirty), 0);
    ASSERT_EQ(glyphatlas_expand_atlas(atlas.get(), 1024, 100), 1);
    glyphatlas_atlas_size(atlas.get(), &w, &h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 512);
    ASSERT_EQ(glyphatlas_validate_texture(atlas.get(), dirty), 1);
    EXPECT_EQ(dirty[0], 0);
    EXPECT_EQ(dirty[2], 512);
    EXPECT_GT(dirty[3], 0);
    const unsigned char* after = glyphatlas_texture_data(atlas.get(), &w, &h);
    bool kept = true;
    for (int y = 0; y < 512; ++y)
        kept = kept && std::memcmp(&after[y * 1024], &old[y * 512], 512) == 0 &&
               after[y * 1024 + 700] == 0;
    EXPECT_TRUE(kept);

    ASSERT_EQ(glyphatlas_reset_atlas(atlas.get(), 256, 128), 1);
    glyphatlas_atlas_size(atlas.get(), &w, &h);
    EXPECT_EQ(w, 256);
    EXPECT_EQ(h, 128);
    ASSERT_EQ(glyphatlas_validate_texture(atlas.get(), dirty), 1);
    EXPECT_EQ((std::array<int, 4>{dirty[0], dirty[1], dirty[2], dirty[3]}),
              (std::array<int, 4>{0, 0, 2, 2}));
    // The glyph cache went with the pixels: drawing again rasterises anew.
    quads("Omnar", GLYPHATLAS_GLYPH_BITMAP_REQUIRED);
    EXPECT_EQ(glyphatlas_validate_texture(atlas.get(), dirty), 1);
}

TEST_F(GlyphAtlasTest, FullAtlasAsksTheOwnerOnceThenSkipsTheGlyph) {
    struct Owner {
        GlyphAtlas* atlas;
        std::vector<int> codes;
        bool expand;
        static void handle(void* uptr, int error, int) {
            auto* self = static_cast<Owner*>(uptr);
            self->codes.push_back(error);
            if (self->expand && error == GLYPHATLAS_ATLAS_FULL)
                glyphatlas_expand_atlas(self->atlas, 1024, 1024);
        }
    };
    atlas = make_atlas(64, 64);
    ASSERT_EQ(glyphatlas_add_font_file(atlas.get(), "sans", kDejaVuSans, 0), 0);
    glyphatlas_set_size(atlas.get(), 40.0f);

    Owner refusing{atlas.get(), {}, false};
    glyphatlas_set_error_callback(atlas.get(), Owner::handle, &refusing);
    EXPECT_LT(quads("WQM", GLYPHATLAS_GLYPH_BITMAP_REQUIRED).size(), 3u);
    EXPECT_FALSE(refusing.codes.empty());

    Owner growing{atlas.get(), {}, true};
    glyphatlas_set_error_callback(atlas.get(), Owner::handle, &growing);
    EXPECT_EQ(quads("WQM", GLYPHATLAS_GLYPH_BITMAP_REQUIRED).size(), 3u);
    EXPECT_EQ(growing.codes, (std::vector<int>{GLYPHATLAS_ATLAS_FULL}));
}

TEST_F(GlyphAtlasTest, GlyphOutgrowingTheScratchIsReportedAndLeftBlank) {
    // The keyboard sign at 2000 pixels needs more temporary memory than the
    // scratch holds; the rasteriser must neither crash nor leave half a glyph.
    atlas = make_atlas(4096, 4096);
    ASSERT_EQ(glyphatlas_add_font_file(atlas.get(), "sans", kDejaVuSans, 0), 0);
    ErrorLog log;
    glyphatlas_set_error_callback(atlas.get(), ErrorLog::record, &log);
    auto ink = [&](const GlyphAtlasQuad& q) {
        int w = 0, h = 0;
        const unsigned char* data = glyphatlas_texture_data(atlas.get(), &w, &h);
        int inked = 0;
        for (int y = static_cast<int>(q.t0 * h); y < static_cast<int>(q.t1 * h); ++y)
            for (int x = static_cast<int>(q.s0 * w); x < static_cast<int>(q.s1 * w); ++x)
                inked += data[y * w + x] != 0;
        return inked;
    };

    glyphatlas_set_size(atlas.get(), 2000.0f);
    const std::vector<GlyphAtlasQuad> big =
        quads("\xE2\x8C\xA8", GLYPHATLAS_GLYPH_BITMAP_REQUIRED); // U+2328
    ASSERT_EQ(big.size(), 1u);
    ASSERT_FALSE(log.errors.empty());
    EXPECT_EQ(log.errors[0].first, GLYPHATLAS_SCRATCH_FULL);
    EXPECT_GT(log.errors[0].second, 96000);
    EXPECT_EQ(ink(big[0]), 0);

    // The next glyph starts with the whole scratch again.
    log.errors.clear();
    glyphatlas_set_size(atlas.get(), 40.0f);
    const std::vector<GlyphAtlasQuad> small = quads("H", GLYPHATLAS_GLYPH_BITMAP_REQUIRED);
    ASSERT_EQ(small.size(), 1u);
    EXPECT_GT(ink(small[0]), 0);
    EXPECT_TRUE(log.errors.empty());
}

TEST_F(GlyphAtlasTest, DrawnTextLandsInTheTextureForAPersonToSee) {
    struct Draws {
        int vertices = 0;
        static void draw(void* uptr, const float*, const float*, const unsigned int*, int n) {
            static_cast<Draws*>(uptr)->vertices += n;
        }
    } draws;
    GlyphAtlasParams params{};
    params.width = 256;
    params.height = 256;
    params.flags = GLYPHATLAS_ZERO_TOPLEFT;
    params.userPtr = &draws;
    params.renderDraw = Draws::draw;
    AtlasPtr drawing(glyphatlas_create(&params));
    ASSERT_EQ(glyphatlas_add_font_file(drawing.get(), "sans", kDejaVuSans, 0), 0);
    glyphatlas_set_size(drawing.get(), 24.0f);
    const float end = glyphatlas_draw_text(drawing.get(), 5, 30, "Omnar Bass", nullptr);
    EXPECT_GT(end, 5);
    EXPECT_EQ(draws.vertices, 10 * 6); // the space has a quad too
    glyphatlas_set_blur(drawing.get(), 4.0f);
    glyphatlas_draw_text(drawing.get(), 5, 30, "blur", nullptr);

    int w = 0, h = 0;
    const unsigned char* data = glyphatlas_texture_data(drawing.get(), &w, &h);
    int inked = 0;
    for (int i = 0; i < w * h; ++i)
        inked += data[i] > 128;
    EXPECT_GT(inked, 200);
    EXPECT_FALSE(render_test::write_test_png("glyph-atlas.png", w, h, 1, data).empty());
}

} // namespace

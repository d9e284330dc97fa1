#include "render/vg/VG.h"
#include "render/vg/VGContextInternal.h"
#include "tests/render/support/ContextHandle.h"
#include "tests/render/support/RecordingBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

using render_test::ContextPtr;
using render_test::RecordedDraw;
using render_test::RecordedPath;
using render_test::RecordingBackend;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kPi = 3.14159265f;

struct Point {
    float x, y;
    bool operator==(const Point&) const = default;
};

class VGPathTest : public ::testing::Test {
protected:
    void SetUp() override { make_context(1); }

    void make_context(int edgeAntiAlias) {
        ctx.reset();
        backend = RecordingBackend{};
        backend.edgeAntiAlias = edgeAntiAlias;
        table = backend.table();
        ctx.reset(vg_create_context(&table));
        ASSERT_TRUE(ctx);
        vg_begin_frame(ctx.get(), 100, 100, 1);
        vg_begin_path(ctx.get());
    }

    std::vector<float> commands() const {
        return {ctx->commands.begin(), ctx->commands.begin() + ctx->ncommands};
    }

    RecordedDraw fill() {
        vg_fill(ctx.get());
        return backend.draws.back();
    }

    RecordedDraw stroke() {
        vg_stroke(ctx.get());
        return backend.draws.back();
    }

    static void expect_values_near(const std::vector<float>& actual,
                                   const std::vector<float>& expected) {
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t i = 0; i < actual.size(); ++i)
            EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "value " << i;
    }

    static std::vector<Point> positions(const std::vector<VGvertex>& verts) {
        std::vector<Point> out;
        for (const VGvertex& v : verts)
            out.push_back({v.x, v.y});
        return out;
    }

    static bool all_finite(const std::vector<float>& values) {
        return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
    }

    RecordingBackend backend;
    VGrendererTable table{};
    ContextPtr ctx;
};

TEST_F(VGPathTest, ShapesEncodeTheirCommands) {
    vg_rect(ctx.get(), 1, 2, 3, 4);
    EXPECT_EQ(commands(), (std::vector<float>{0, 1, 2, 1, 1, 6, 1, 4, 6, 1, 4, 2, 3}));

    struct Case {
        const char* name;
        float radius;
        std::size_t values;
    };
    for (const Case& c : {Case{"radii below 0.1", 0.09f, 13}, Case{"rounded", 2, 44}}) {
        SCOPED_TRACE(c.name);
        vg_begin_path(ctx.get());
        vg_rounded_rect(ctx.get(), 0, 0, 20, 10, c.radius);
        EXPECT_EQ(commands().size(), c.values);
    }

    // Radii are limited to half of each side and take the sides' signs.
    vg_begin_path(ctx.get());
    vg_rounded_rect_corners(ctx.get(), 100, 100, -20, 10, 8, 0, 0, 0);
    const std::vector<float> v = commands();
    EXPECT_EQ((std::vector<float>{v[0], v[1], v[2]}), (std::vector<float>{0, 100, 105}));
    const std::vector<float> tail(v.end() - 8, v.end());
    EXPECT_EQ(tail[0], 2);
    EXPECT_NEAR(tail[1], 100 - 8 * (1 - 0.5522848f), 1e-4f); // top-left control, x
    EXPECT_FLOAT_EQ(tail[5], 100);
    EXPECT_FLOAT_EQ(tail[6], 105);
    EXPECT_EQ(tail[7], 3);

    vg_begin_path(ctx.get());
    vg_ellipse(ctx.get(), 50, 50, 10, 5);
    EXPECT_EQ(commands().size(), 32u);
    EXPECT_EQ(commands().back(), 3);

    vg_begin_path(ctx.get());
    vg_move_to(ctx.get(), 0, 0);
    vg_quad_to(ctx.get(), 3, 6, 6, 0);
    expect_values_near(commands(), {0, 0, 0, 2, 2, 4, 4, 4, 6, 0});
}

TEST_F(VGPathTest, PointsAreTransformedWhenAppended) {
    vg_translate(ctx.get(), 10, 20);
    vg_scale(ctx.get(), 2, 2);
    vg_move_to(ctx.get(), 1, 1);
    vg_path_winding(ctx.get(), VG_HOLE);
    vg_reset_transform(ctx.get());
    vg_line_to(ctx.get(), 5, 5);
    EXPECT_EQ(commands(), (std::vector<float>{0, 12, 22, 4, 2, 1, 5, 5}));
    // The last command point stays in user space for the next relative command.
    vg_begin_path(ctx.get());
    vg_scale(ctx.get(), 2, 2);
    vg_move_to(ctx.get(), 3, 0);
    vg_quad_to(ctx.get(), 3, 0, 3, 0);
    const std::vector<float> v = commands();
    expect_values_near(std::vector<float>(v.begin() + 3, v.end()), {2, 6, 0, 6, 0, 6, 0});
}

TEST_F(VGPathTest, ArcsSplitIntoAtMostFourQuartersPerTurn) {
    vg_arc(ctx.get(), 0, 0, 10, 0, 2 * kPi + 1, VG_CW);
    std::vector<float> v = commands();
    ASSERT_EQ(v.size(), 3u + 4 * 7);
    EXPECT_EQ(v[0], 0); // an empty path starts with a move
    EXPECT_NEAR(v[1], 10, 1e-4f);
    EXPECT_NEAR(v.back(), 0, 1e-3f); // back at the start
    EXPECT_NEAR(v[v.size() - 2], 10, 1e-3f);

    vg_arc(ctx.get(), 0, 0, 10, 0, kPi / 2, VG_CCW); // three quarters the other way
    v = commands();
    ASSERT_EQ(v.size(), 31u + 3 + 3 * 7);
    EXPECT_EQ(v[31], 1); // a path in progress gets a line to the arc

    vg_begin_path(ctx.get());
    vg_arc(ctx.get(), 0, 0, 10, 1, 1, VG_CW); // no sweep
    EXPECT_TRUE(all_finite(commands()));
}

TEST_F(VGPathTest, ArcToFallsBackToLinesWithoutNaN) {
    vg_arc_to(ctx.get(), 10, 0, 10, 10, 5);
    EXPECT_EQ(ctx->ncommands, 0);

    struct Case {
        const char* name;
        Point p0, p1, p2;
        float radius;
    };
    const Case lines[] = {
        {"collinear", {0, 0}, {5, 0}, {10, 0}, 3},
        {"P2 back towards P0", {0, 0}, {10, 0}, {5, 0}, 3},
        {"P2 back towards P0, diagonal", {0.1f, 0.3f}, {3.1f, 9.3f}, {1.7f, 5.1f}, 2},
        {"P1 on P0", {1, 1}, {1, 1}, {5, 5}, 2},
        {"radius below tolerance", {0, 0}, {10, 0}, {10, 10}, 0.001f},
    };
    for (const Case& c : lines) {
        SCOPED_TRACE(c.name);
        vg_begin_path(ctx.get());
        vg_move_to(ctx.get(), c.p0.x, c.p0.y);
        vg_arc_to(ctx.get(), c.p1.x, c.p1.y, c.p2.x, c.p2.y, c.radius);
        const std::vector<float> v = commands();
        EXPECT_TRUE(all_finite(v));
        EXPECT_EQ((std::vector<float>(v.begin() + 3, v.end())),
                  (std::vector<float>{1, c.p1.x, c.p1.y}));
    }

    // A real corner: a line to the first tangent point, an arc to the second.
    vg_begin_path(ctx.get());
    vg_move_to(ctx.get(), 0, 0);
    vg_arc_to(ctx.get(), 10, 0, 10, 10, 4);
    const std::vector<float> v = commands();
    ASSERT_GT(v.size(), 6u);
    EXPECT_EQ(v[3], 1);
    EXPECT_NEAR(v[4], 6, 1e-4f);
    EXPECT_NEAR(v[5], 0, 1e-4f);
    EXPECT_NEAR(v[v.size() - 2], 10, 1e-4f);
    EXPECT_NEAR(v[v.size() - 1], 4, 1e-4f);
}

TEST_F(VGPathTest, LastPointOnTheFirstClosesThePath) {
    make_context(0);
    vg_move_to(ctx.get(), 0, 0);
    vg_line_to(ctx.get(), 0, 10);
    vg_line_to(ctx.get(), 10, 10);
    vg_line_to(ctx.get(), 0.001f, 0);
    const RecordedPath p = fill().paths.at(0);
    EXPECT_EQ(p.header.count, 3);
    EXPECT_EQ(p.header.closed, 1);
    EXPECT_EQ(positions(p.fill), (std::vector<Point>{{0, 0}, {0, 10}, {10, 10}}));
}

TEST_F(VGPathTest, WindingDecidesTheOrderOfPoints) {
    struct Case {
        const char* name;
        std::vector<Point> points;
        int winding;
        bool reversed;
        int convex;
    };
    const std::vector<Point> solid = {{0, 0}, {0, 10}, {10, 10}, {10, 0}};
    const std::vector<Point> hole(solid.rbegin(), solid.rend());
    const std::vector<Point> ell = {{0, 0}, {0, 10}, {10, 10}, {10, 8}, {2, 8}, {2, 0}};
    const Case cases[] = {
        {"solid stays", solid, VG_SOLID, false, 1},
        {"clockwise solid is reversed", hole, VG_SOLID, true, 1},
        {"counter-clockwise hole is reversed", solid, VG_HOLE, true, 0},
        {"hole stays", hole, VG_HOLE, false, 0},
        {"two points keep their order", {{0, 0}, {5, 5}}, VG_HOLE, false, 0},
        {"concave", ell, VG_SOLID, false, 0},
    };
    make_context(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        vg_begin_path(ctx.get());
        vg_move_to(ctx.get(), c.points[0].x, c.points[0].y);
        for (std::size_t i = 1; i < c.points.size(); ++i)
            vg_line_to(ctx.get(), c.points[i].x, c.points[i].y);
        vg_close_path(ctx.get());
        vg_path_winding(ctx.get(), c.winding);
        const RecordedPath p = fill().paths.at(0);
        std::vector<Point> expected = c.points;
        if (c.reversed)
            std::reverse(expected.begin(), expected.end());
        EXPECT_EQ(positions(p.fill), expected);
        EXPECT_EQ(p.header.convex, c.convex);
        EXPECT_EQ(p.header.winding, c.winding);
    }
}

TEST_F(VGPathTest, ConvexFillIsInsetByHalfAFringe) {
    vg_rect(ctx.get(), 0, 0, 10, 10);
    const RecordedDraw aa = fill();
    ASSERT_EQ(aa.paths.size(), 1u);
    const RecordedPath& p = aa.paths[0];
    EXPECT_EQ(positions(p.fill),
              (std::vector<Point>{{0.5f, 0.5f}, {0.5f, 9.5f}, {9.5f, 9.5f}, {9.5f, 0.5f}}));
    ASSERT_EQ(p.stroke.size(), 10u);
    for (std::size_t i = 0; i < p.stroke.size(); ++i) {
        EXPECT_EQ(p.stroke[i].u, i % 2 ? 1.0f : 0.5f) << i;
        EXPECT_EQ(p.stroke[i].v, 1.0f);
    }
    EXPECT_EQ((Point{p.stroke[1].x, p.stroke[1].y}), (Point{-0.5f, -0.5f})); // outer edge
    EXPECT_EQ(aa.bounds, (std::array<float, 4>{0, 0, 10, 10}));
    EXPECT_EQ(aa.fringe, 1.0f);

    vg_set_shape_antialias(ctx.get(), 0);
    const RecordedPath plain = fill().paths.at(0);
    EXPECT_EQ(positions(plain.fill), (std::vector<Point>{{0, 0}, {0, 10}, {10, 10}, {10, 0}}));
    EXPECT_TRUE(plain.stroke.empty());
    EXPECT_EQ(plain.header.stroke, nullptr);
}

TEST_F(VGPathTest, FillPaintCarriesTheGlobalAlpha) {
    vg_rect(ctx.get(), 0, 0, 10, 10);
    vg_fill_color(ctx.get(), vg_rgba(255, 0, 0, 255));
    vg_set_global_alpha(ctx.get(), 0.5f);
    vg_scissor(ctx.get(), 1, 2, 3, 4);
    vg_composite_operation(ctx.get(), VG_LIGHTER);
    const RecordedDraw d = fill();
    EXPECT_FLOAT_EQ(d.paint.innerColor.a, 0.5f);
    EXPECT_FLOAT_EQ(d.paint.outerColor.a, 0.5f);
    EXPECT_FLOAT_EQ(d.scissor.extent[0], 1.5f);
    EXPECT_EQ(d.composite.srcRGB, VG_ONE);
    EXPECT_EQ(d.composite.dstRGB, VG_ONE);
}

TEST_F(VGPathTest, CapsAndJoinsBuildTheirVertices) {
    struct CapCase {
        const char* name;
        int cap;
        std::size_t verts;
        float minx, maxx; // along a stroke from x = 0 to x = 20, 10 wide
        float tolerance;
    };
    // Round caps of half width 5 at tolerance 0.25 take 6 segments per half circle.
    const CapCase caps[] = {
        {"butt", VG_BUTT, 8, -0.5f, 20.5f, 1e-4f},
        {"square", VG_SQUARE, 8, -5.5f, 25.5f, 1e-4f},
        {"round", VG_ROUND, 4 * 6 + 4, -5.5f, 25.5f, 0.3f},
    };
    for (const CapCase& c : caps) {
        SCOPED_TRACE(c.name);
        vg_begin_path(ctx.get());
        vg_move_to(ctx.get(), 0, 50);
        vg_line_to(ctx.get(), 20, 50);
        vg_set_line_cap(ctx.get(), c.cap);
        vg_set_stroke_width(ctx.get(), 10);
        const RecordedDraw d = stroke();
        const std::vector<VGvertex>& v = d.paths.at(0).stroke;
        ASSERT_FALSE(v.empty());
        EXPECT_EQ(v.size(), c.verts);
        EXPECT_TRUE(d.paths[0].fill.empty());
        EXPECT_EQ(d.strokeWidth, 10.0f);
        auto [lo, hi] =
            std::minmax_element(v.begin(), v.end(), [](auto& a, auto& b) { return a.x < b.x; });
        EXPECT_NEAR(lo->x, c.minx, c.tolerance);
        EXPECT_NEAR(hi->x, c.maxx, c.tolerance);
    }

    struct JoinCase {
        const char* name;
        int join;
        Point corner, end;
        std::size_t verts; // two butt caps of 4 each, plus the join
    };
    const JoinCase joins[] = {
        {"miter", VG_MITER, {20, 0}, {20, 20}, 8 + 2},
        {"bevel", VG_BEVEL, {20, 0}, {20, 20}, 8 + 8},
        {"miter past its limit", VG_MITER, {20, 0}, {0, 1}, 8 + 8},
        {"round", VG_ROUND, {20, 0}, {20, 20}, 8 + 4 + 2 * 3},
    };
    for (const JoinCase& c : joins) {
        SCOPED_TRACE(c.name);
        vg_begin_path(ctx.get());
        vg_move_to(ctx.get(), 0, 0);
        vg_line_to(ctx.get(), c.corner.x, c.corner.y);
        vg_line_to(ctx.get(), c.end.x, c.end.y);
        vg_set_line_cap(ctx.get(), VG_BUTT);
        vg_set_line_join(ctx.get(), c.join);
        vg_set_stroke_width(ctx.get(), 10);
        EXPECT_EQ(stroke().paths.at(0).stroke.size(), c.verts);
    }
}

TEST_F(VGPathTest, StrokeWidthsAreScaledAndLimited) {
    struct Case {
        const char* name;
        float width, scale;
        float passedWidth, alpha;
    };
    const Case cases[] = {
        {"plain", 3, 1, 3, 1},       {"scaled", 3, 2, 6, 1},    {"hairline", 0.5f, 1, 1, 0.25f},
        {"limited", 500, 1, 200, 1}, {"negative", -4, 1, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        vg_reset(ctx.get());
        vg_scale(ctx.get(), c.scale, c.scale);
        vg_set_stroke_width(ctx.get(), c.width);
        vg_begin_path(ctx.get());
        vg_move_to(ctx.get(), 0, 0);
        vg_line_to(ctx.get(), 10, 0);
        const RecordedDraw d = stroke();
        EXPECT_FLOAT_EQ(d.strokeWidth, c.passedWidth);
        EXPECT_FLOAT_EQ(d.paint.innerColor.a, c.alpha);
    }

    // Without anti-aliasing the stroke has no gradient across it.
    make_context(0);
    vg_move_to(ctx.get(), 0, 0);
    vg_line_to(ctx.get(), 10, 0);
    const RecordedDraw plain = stroke();
    for (const VGvertex& v : plain.paths.at(0).stroke)
        EXPECT_EQ(v.u, 0.5f);
}

TEST_F(VGPathTest, SinglePointPathsDrawNothingAndReadNothingOutside) {
    struct Case {
        const char* name;
        std::vector<Point> points;
        Point anchor;
    };
    const Case cases[] = {
        {"a move alone", {{7, 8}}, {7, 8}},
        {"points that all merge", {{7, 8}, {7.001f, 8}, {7, 8.001f}}, {7, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        vg_begin_path(ctx.get());
        vg_move_to(ctx.get(), 50, 50); // a path before it, so its vertices sit elsewhere
        vg_line_to(ctx.get(), 60, 50);
        vg_move_to(ctx.get(), c.points[0].x, c.points[0].y);
        for (std::size_t i = 1; i < c.points.size(); ++i)
            vg_line_to(ctx.get(), c.points[i].x, c.points[i].y);
        for (const RecordedDraw& d : {fill(), stroke()}) {
            const RecordedPath& p = d.paths.at(1);
            EXPECT_EQ(p.header.count, 0);
            EXPECT_EQ(p.header.closed, 1);
            EXPECT_TRUE(p.fill.empty());
            ASSERT_EQ(p.stroke.size(), 2u);
            EXPECT_EQ(positions(p.stroke), (std::vector<Point>{c.anchor, c.anchor}));
        }
    }
}

TEST_F(VGPathTest, BeziersThatNeverFlattenAddNoPoints) {
    vg_move_to(ctx.get(), 0, 0);
    vg_bezier_to(ctx.get(), kNaN, 0, 10, 10, 20, 0);
    EXPECT_EQ(fill().paths.at(0).header.count, 0);

    vg_begin_path(ctx.get());
    vg_move_to(ctx.get(), 0, 0);
    vg_bezier_to(ctx.get(), 0, 10, 20, 10, 20, 0);
    EXPECT_GT(fill().paths.at(0).header.count, 4);
}

TEST_F(VGPathTest, NonFiniteInputsNeverHang) {
    struct Case {
        const char* name;
        void (*draw)(VGdrawContext*);
    };
    const Case cases[] = {
        {"NaN arc angles", [](VGdrawContext* c) { vg_arc(c, 0, 0, 10, kNaN, 1, VG_CW); }},
        {"infinite arc sweep", [](VGdrawContext* c) { vg_arc(c, 0, 0, 10, 0, kInf, VG_CCW); }},
        {"NaN arc-to radius",
         [](VGdrawContext* c) {
             vg_move_to(c, 0, 0);
             vg_arc_to(c, 10, 0, 10, 10, kNaN);
         }},
        {"infinite rectangle", [](VGdrawContext* c) { vg_rect(c, 0, 0, kInf, kInf); }},
        {"NaN circle", [](VGdrawContext* c) { vg_circle(c, kNaN, 0, 5); }},
        {"NaN transform",
         [](VGdrawContext* c) {
             vg_scale(c, kNaN, 1);
             vg_rounded_rect(c, 0, 0, 10, 10, 3);
         }},
        {"NaN stroke width", [](VGdrawContext* c) { vg_set_stroke_width(c, kNaN); }},
        {"infinite stroke width", [](VGdrawContext* c) { vg_set_stroke_width(c, kInf); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        vg_reset(ctx.get());
        vg_begin_path(ctx.get());
        vg_move_to(ctx.get(), 1, 1);
        vg_line_to(ctx.get(), 5, 5);
        c.draw(ctx.get());
        vg_set_line_join(ctx.get(), VG_ROUND);
        vg_set_line_cap(ctx.get(), VG_ROUND);
        vg_fill(ctx.get());
        vg_stroke(ctx.get());
    }
    EXPECT_EQ(backend.count_events("fill"), 8);
    EXPECT_EQ(backend.count_events("stroke"), 8);
}

TEST_F(VGPathTest, DumpListsPathsAndVertices) {
    make_context(0);
    vg_move_to(ctx.get(), 0, 0);
    vg_line_to(ctx.get(), 0, 2);
    vg_line_to(ctx.get(), 2, 2);
    vg_fill(ctx.get());
    ::testing::internal::CaptureStdout();
    vg_debug_dump_paths(ctx.get());
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Dumping 1 cached paths\n"
                                                        " - Path 0\n"
                                                        "   - fill: 3\n"
                                                        "0.000000\t0.000000\n"
                                                        "0.000000\t2.000000\n"
                                                        "2.000000\t2.000000\n");
}

} // namespace

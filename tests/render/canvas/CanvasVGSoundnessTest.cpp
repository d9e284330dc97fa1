// Input the drawing operations must survive: degenerate dashes and gradients,
// rotated text and blends that must not leak into later drawing.
#include "tests/render/canvas/CanvasTestKit.h"

#include <cmath>
#include <limits>

namespace canvas_test {
namespace {

constexpr IColor kPaper{255, 255, 255, 255};

// Draws the scene on white and answers the straight RGBA pixel at (x, y).
std::vector<unsigned char> PixelAfter(const std::function<void(ICanvas&)>& scene, int x, int y) {
    CanvasFixture f(40, 40, 1.f, 1.f);
    f.canvas.AddControl(new SceneControl({0, 0, 40, 40}, [&](ICanvas& g, const IRECT& r) {
        g.FillRect(kPaper, r);
        scene(g);
    }));
    EXPECT_TRUE(f.canvas.DrawFrame());
    const auto frame = f.canvas.LastFrame();
    const size_t at = (size_t(y) * 40 + size_t(x)) * 4;
    return {frame.begin() + long(at), frame.begin() + long(at) + 4};
}

const std::vector<unsigned char> kWhite{255, 255, 255, 255};
const std::vector<unsigned char> kRed{255, 0, 0, 255};

TEST(CanvasVGSoundness, DashesWithoutASensibleLengthDrawSolid) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float dash : {0.f, -3.f, 1e-7f, nan}) {
        // Halfway between where the first dash would end and the next begin.
        EXPECT_EQ(
            PixelAfter(
                [&](ICanvas& g) {
                    g.DrawDashedLine({255, 255, 0, 0}, 2, 20.5f, 38, 20.5f, nullptr, 1.f, dash);
                },
                20, 20),
            kRed)
            << "dash " << dash;
        EXPECT_EQ(PixelAfter(
                      [&](ICanvas& g) {
                          g.DrawDashedRect({255, 255, 0, 0}, {4.5f, 4.5f, 35.5f, 35.5f}, nullptr,
                                           1.f, dash);
                      },
                      20, 4),
                  kRed)
            << "dash " << dash;
    }
    // A usable dash leaves gaps.
    EXPECT_EQ(PixelAfter(
                  [](ICanvas& g) {
                      g.DrawDashedLine({255, 255, 0, 0}, 0, 20.5f, 40, 20.5f, nullptr, 1.f, 4.f);
                  },
                  6, 20),
              kWhite);
}

TEST(CanvasVGSoundness, SingularGradientTransformCountsAsIdentity) {
    IFillPattern radial;
    radial.type = IFillPattern::Radial;
    radial.nStops = 2;
    radial.stops[0] = {{255, 0, 0, 255}, 0.f};
    radial.stops[1] = {{255, 255, 0, 0}, 1.f};
    radial.transform = IAffineMatrix{0, 0, 0, 0, 0, 0};
    // Radius 1 around the origin: far from it the outer colour.
    EXPECT_EQ(PixelAfter(
                  [&](ICanvas& g) {
                      g.PathAddRect({0, 0, 40, 40});
                      g.PathFillCurrent(radial, IFillStyle(), nullptr);
                  },
                  30, 30),
              kRed);
}

TEST(CanvasVGSoundness, GradientWithoutStopsDrawsNothing) {
    IFillPattern empty;
    empty.type = IFillPattern::Linear;
    EXPECT_EQ(PixelAfter(
                  [&](ICanvas& g) {
                      g.PathAddRect({0, 0, 40, 40});
                      g.PathFillCurrent(empty, IFillStyle(), nullptr);
                      g.PathAddRect({0, 0, 40, 40});
                      g.PathStrokeCurrent(empty, 10.f, IStrokeStyle(), nullptr);
                  },
                  1, 1),
              kWhite);
}

TEST(CanvasVGSoundness, BlendsEndWithTheDrawThatUsedThem) {
    // Destination-out erases; the plain fill after it must paint normally.
    EXPECT_EQ(PixelAfter(
                  [](ICanvas& g) {
                      const IBlendSetting erase{6, 1.f};
                      g.FillRect({255, 0, 0, 0}, {0, 0, 40, 40}, &erase);
                      g.FillRect({255, 255, 0, 0}, {10, 10, 30, 30});
                  },
                  20, 20),
              kRed);
    EXPECT_EQ(PixelAfter(
                  [](ICanvas& g) {
                      const IBlendSetting factors{8, 1.f};
                      g.FillRect({255, 0, 0, 255}, {0, 0, 40, 40}, &factors);
                      g.FillRect({255, 255, 0, 0}, {10, 10, 30, 30});
                  },
                  20, 20),
              kRed);
}

TEST(CanvasVGSoundness, RotatedTextLeavesTheTransformAsItWas) {
    CanvasFixture f(60, 40, 1.f, 1.f);
    IAffineMatrix before, after;
    f.canvas.AddControl(new SceneControl({0, 0, 60, 40}, [&](ICanvas& g, const IRECT& r) {
        g.PathMatrixTranslate(3, 4);
        before = g.GetTransform();
        IText t(12.f, {255, 0, 0, 0}, 1, 1);
        t.SetFont(kFont);
        t.angle = 45.f;
        g.DrawText(t, "Tilt", r);
        after = g.GetTransform();
    }));
    ASSERT_TRUE(f.canvas.DrawFrame());
    EXPECT_EQ(before, after);
    EXPECT_EQ(before.tx, 3.0);
}

// Rows 0..h-1 of the frame that hold anything but paper: {first, last}, or {-1, -1}.
std::pair<int, int> InkedRows(const std::vector<unsigned char>& frame, int w, int h) {
    std::pair<int, int> rows{-1, -1};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (frame[(size_t(y) * size_t(w) + size_t(x)) * 4] != 255) {
                rows.first = rows.first < 0 ? y : rows.first;
                rows.second = y;
                break;
            }
    return rows;
}

TEST(CanvasVGSoundness, BottomAlignedWrappedTextStartsNRowsAboveTheBottom) {
    CanvasFixture f(120, 100, 1.f, 1.f);
    IText t(12.f, {255, 0, 0, 0}, 0, 2);
    t.SetFont(kFont);
    auto* ctx = static_cast<VGdrawContext*>(f.canvas.DrawContextHandle());
    vg_font_face(ctx, kFont);
    vg_font_size(ctx, t.size);
    float lineHeight = 0.f;
    vg_text_metrics(ctx, nullptr, nullptr, &lineHeight);
    ASSERT_GT(lineHeight, 0.f);
    const IRECT box{0, 0, 120, 90};
    f.canvas.AddControl(new SceneControl({0, 0, 120, 100}, [&](ICanvas& g, const IRECT& r) {
        g.FillRect(kPaper, r);
        g.DrawWrappedText(t, "one\ntwo\nthree", box);
    }));
    ASSERT_TRUE(f.canvas.DrawFrame());
    const auto [first, last] = InkedRows(f.canvas.LastFrame(), 120, 100);
    const float rows = 3.f;
    EXPECT_GE(float(first), box.B - (rows + 1.f) * lineHeight - 1.f);
    EXPECT_LE(float(last), box.B - lineHeight + 1.f);
    EXPECT_GT(float(last), box.B - 2.f * lineHeight) << "the last row sits one line up";
}

TEST(CanvasVGSoundness, MeasuringTextGivesItsWidthAndNothingWithoutAString) {
    CanvasFixture f(60, 40, 1.f, 1.f);
    IText t(12.f, {255, 0, 0, 0}, 0, 0);
    t.SetFont(kFont);
    IRECT wide{0, 0, 60, 40}, narrow{0, 0, 60, 40}, none{0, 0, 60, 40};
    const float w1 = f.canvas.MeasureText(t, "WWWW", wide);
    const float w2 = f.canvas.MeasureText(t, "ii", narrow);
    EXPECT_GT(w1, w2);
    EXPECT_GT(w2, 0.f);
    EXPECT_FLOAT_EQ(wide.W(), w1);
    EXPECT_EQ(f.canvas.MeasureText(t, nullptr, none), 0.f);
}

} // namespace
} // namespace canvas_test

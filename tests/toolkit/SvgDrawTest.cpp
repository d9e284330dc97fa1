#include "tests/support/ToolkitTest.h"

#include "toolkit/svg/SvgImage.h"

#include <cmath>

namespace {

using namespace vx::ui;
using vx::test::FakeDelegate;
using vx::test::RecordingCanvas;

// Keeps the last paint and styles the shape walk handed over.
class PaintCanvas : public RecordingCanvas {
public:
    using RecordingCanvas::RecordingCanvas;
    void PathStrokeCurrent(const IFillPattern& p, float t, const IStrokeStyle& s,
                           const IBlendSetting* b) override {
        stroke = p;
        strokeStyle = s;
        RecordingCanvas::PathStrokeCurrent(p, t, s, b);
    }
    void PathFillCurrent(const IFillPattern& p, const IFillStyle& s,
                         const IBlendSetting* b) override {
        fill = p;
        RecordingCanvas::PathFillCurrent(p, s, b);
    }
    IFillPattern stroke, fill;
    IStrokeStyle strokeStyle;
};

class SvgDraw : public ::testing::Test {
protected:
    ISVGHandle Load(const std::string& body,
                    const std::string& size = "width=\"100\" height=\"50\"") {
        const std::string doc = "<svg " + size + ">" + body + "</svg>";
        parsed = svg::Parse(doc.data(), doc.size());
        EXPECT_TRUE(parsed.image) << parsed.error;
        return {parsed.image.get()};
    }
    std::vector<std::string> Calls(const char* prefix) const { return g.CallsStartingWith(prefix); }

    FakeDelegate delegate;
    PaintCanvas g{delegate};
    ICanvas& canvas = g; // the toolkit's signatures with their defaults
    svg::ParseResult parsed;
};

TEST_F(SvgDraw, FitsAtTheTopLeftKeepingTheAspect) {
    const ISVGHandle h = Load(R"(<path d="M0 0 L100 50"/>)");
    g.ClearCalls();
    canvas.DrawSVG(h, {10, 10, 110, 210});
    EXPECT_EQ(Calls("PathSetTransform"),
              (std::vector<std::string>{"PathSetTransform 1 0 0 1 10 10",
                                        "PathSetTransform 1 0 0 1 10 10",
                                        "PathSetTransform 1 0 0 1 0 0"}));
    EXPECT_EQ(Calls("PathAdd"),
              (std::vector<std::string>{"PathAddMove 0 0",
                                        "PathAddCubic 33.3333 16.6667 66.6667 33.3333 100 50"}));
    g.ClearCalls();
    canvas.DrawSVG(h, {0, 0, 50, 50}); // half size
    EXPECT_EQ(Calls("PathSetTransform")[1], "PathSetTransform 0.5 0 0 0.5 0 0");
}

TEST_F(SvgDraw, EmptyOrSizelessImagesDrawNothing) {
    g.ClearCalls();
    canvas.DrawSVG(ISVGHandle{}, {0, 0, 10, 10});
    const ISVGHandle zero = Load(R"(<rect width="5" height="5"/>)", "width=\"0\" height=\"10\"");
    canvas.DrawSVG(zero, {0, 0, 10, 10});
    EXPECT_EQ(g.calls, (std::vector<std::string>{"DrawSVG 0,0,10,10 -", "DrawSVG 0,0,10,10 -"}));
}

TEST_F(SvgDraw, InnerSubPathsAreHolesAndSeparateOnesStaySolid) {
    struct Case {
        const char* d;
        std::vector<std::string> windings;
    };
    const Case cases[] = {
        {"M0 0 H100 V100 H0 Z M25 25 H75 V75 H25 Z",
         {"PathSetFillRule solid", "PathSetFillRule hole"}},
        {"M0 0 H10 V10 H0 Z M50 0 H60 V10 H50 Z",
         {"PathSetFillRule solid", "PathSetFillRule solid"}},
        {"M0 0 H100 V100 H0 Z M10 10 H90 V90 H10 Z M30 30 H70 V70 H30 Z",
         {"PathSetFillRule solid", "PathSetFillRule hole", "PathSetFillRule solid"}},
        {"M0 0 H100 V100 H0 Z", {"PathSetFillRule solid"}},
    };
    for (const Case& c : cases) {
        const ISVGHandle h = Load(std::string("<path d=\"") + c.d + "\"/>");
        g.ClearCalls();
        canvas.DrawSVG(h, {0, 0, 100, 50});
        EXPECT_EQ(Calls("PathSetFillRule"), c.windings) << c.d;
        EXPECT_EQ(Calls("PathFillCurrent"),
                  std::vector<std::string>{"PathFillCurrent 255,0,0,0 2 0 -"})
            << c.d;
    }
}

TEST_F(SvgDraw, ShapeWalkOrderStylesAndCallerColours) {
    const ISVGHandle h = Load(R"(
        <rect width="10" height="10" fill="#ff0000" fill-opacity="0.5" opacity="0.5"
              stroke="blue" stroke-width="3" stroke-linecap="round" stroke-linejoin="bevel"
              stroke-miterlimit="6" stroke-dasharray="2 1" stroke-dashoffset="1"/>
        <rect width="10" height="10" visibility="hidden"/>
        <rect width="10" height="10" fill="none" stroke="none"/>)");
    const IBlendSetting half{0, 0.5f};
    g.ClearCalls();
    canvas.DrawSVG(h, {0, 0, 100, 50}, &half);
    EXPECT_EQ(Calls("PathFillCurrent"),
              std::vector<std::string>{"PathFillCurrent 64,255,0,0 2 1 b(0,0.5)"});
    EXPECT_EQ(Calls("PathStrokeCurrent"),
              std::vector<std::string>{"PathStrokeCurrent 128,0,0,255 3 2 b(0,0.5)"});
    EXPECT_EQ(g.strokeStyle.cap, 1);
    EXPECT_EQ(g.strokeStyle.join, 2);
    EXPECT_FLOAT_EQ(g.strokeStyle.miterLimit, 6.f);
    EXPECT_FLOAT_EQ(g.strokeStyle.dashOffset, 1.f);
    EXPECT_FLOAT_EQ(g.strokeStyle.dashArray[1], 1.f);
    EXPECT_FALSE(g.strokeStyle.keepPath);
    EXPECT_EQ(Calls("PathReset").size(), 2u); // the hidden shape is skipped

    const IColor stroke = kColorGreen, fill = kColorYellow;
    g.ClearCalls();
    canvas.DrawSVG(h, {0, 0, 100, 50}, nullptr, &stroke, &fill);
    EXPECT_EQ(Calls("PathFillCurrent")[0], "PathFillCurrent 255,255,255,0 2 1 -");
    EXPECT_EQ(Calls("PathStrokeCurrent")[0], "PathStrokeCurrent 255,0,255,0 3 2 -");
}

TEST_F(SvgDraw, GradientPaintKeepsSixteenStopsAndTheirAlpha) {
    std::string stops;
    for (int i = 0; i < 20; ++i)
        stops += "<stop offset=\"" + std::to_string(i / 19.0) + "\" stop-color=\"#0000ff\"" +
                 (i == 0 ? " stop-opacity=\"0.5\"" : "") + "/>";
    const ISVGHandle h = Load("<rect width=\"10\" height=\"10\" fill=\"url(#g)\" opacity=\"0.5\"/>"
                              "<linearGradient id=\"g\" spreadMethod=\"repeat\">" +
                              stops + "</linearGradient>");
    g.ClearCalls();
    canvas.DrawSVG(h, {0, 0, 100, 50});
    EXPECT_EQ(g.fill.type, IFillPattern::Linear);
    EXPECT_EQ(g.fill.extend, 3);
    EXPECT_EQ(g.fill.nStops, 16);
    EXPECT_NEAR(g.fill.stops[15].offset, 15 / 19.0, 1e-5);
    EXPECT_EQ(g.fill.stops[0].color, (IColor{64, 0, 0, 255})); // 0.5 stop x 0.5 shape
    EXPECT_EQ(g.fill.stops[1].color, (IColor{128, 0, 0, 255}));
    // The pattern maps image space to gradient space: x 0..10 runs along 0..1.
    const IAffineMatrix& m = g.fill.transform;
    EXPECT_NEAR(m.tx, 0.0, 1e-5);
    EXPECT_NEAR(m.ty, 0.0, 1e-5);
    EXPECT_NEAR(m.yx * 10 + m.ty, 1.0, 1e-5);
}

TEST_F(SvgDraw, PaintConversionTable) {
    struct Case {
        int type;
        uint32_t color;
        float opacity;
        IColor expected;
    };
    const Case cases[] = {
        {svg::Paint::Color, 0xff0080ffu, 1.f, {255, 255, 128, 0}},
        {svg::Paint::Color, 0x800000ffu, 1.f, {128, 255, 0, 0}},
        {svg::Paint::Color, 0xff0000ffu, 0.25f, {64, 255, 0, 0}},
        {svg::Paint::Color, 0xff0000ffu, 2.f, {255, 255, 0, 0}},
        {svg::Paint::None, 0xff0000ffu, 0.5f, {128, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        svg::Paint paint;
        paint.type = c.type;
        paint.color = c.color;
        const IFillPattern p = ICanvas::PatternFromSVGPaint(paint, c.opacity);
        EXPECT_EQ(p.type, IFillPattern::Solid);
        EXPECT_EQ(p.stops[0].color, c.expected) << std::hex << c.color;
    }
}

TEST_F(SvgDraw, ImageAndSvgDrawersLeaveTheTransformAsTheyFoundIt) {
    const ISVGHandle h = Load(R"(<rect width="10" height="10"/>)");
    IBitmapHandle bitmap(RecordingCanvas::MakeBitmap(40, 20, 2.f), "b", 2, true);
    canvas.PathMatrixTranslate(3, 4);
    canvas.PathMatrixPush();
    const IAffineMatrix before = canvas.GetTransform();
    const std::function<void()> draws[] = {
        [&] {
            canvas.DrawSVG(h, {0, 0, 10, 10});
        },
        [&] { canvas.DrawRotatedSVG(h, 5, 5, 10, 10, 45.0); },
        [&] {
            canvas.DrawFittedBitmap(bitmap, {0, 0, 50, 50});
        },
        [&] { canvas.DrawRotatedBitmap(bitmap, 5, 5, 30.0); },
        [&] {
            canvas.FillEllipse(kColorBlack, {0, 0, 0, 10});
        },
    };
    for (const auto& draw : draws) {
        draw();
        EXPECT_EQ(canvas.TransformStackDepth(), 1);
        EXPECT_EQ(canvas.GetTransform(), before);
    }
    g.ClearCalls();
    canvas.DrawFittedBitmap(bitmap, {0, 0, 50, 50}); // scaled by one frame of 10 x 10
    EXPECT_EQ(Calls("PathSetTransform")[1], "PathSetTransform 5 0 0 5 3 4");
    EXPECT_EQ(Calls("DrawBitmapRegion"),
              std::vector<std::string>{"DrawBitmapRegion b 0,0,10,10 0 0 -"});
    delete bitmap.bitmap;
}

TEST_F(SvgDraw, RotatedTextOffsets) {
    struct Case {
        float angle;
        int align, vAlign;
        float dx, dy; // -1: not written
    };
    const Case cases[] = {
        {90.f, 0, 0, 10.f, 0.f}, {90.f, 1, 1, 55.f, 30.f}, {90.f, 2, 2, 100.f, 60.f},
        {0.f, 0, 0, -1.f, -1.f}, {90.f, 5, 0, -1.f, 0.f},  {180.f, 0, 0, 40.f, 10.f},
    };
    for (const Case& c : cases) {
        IText text;
        text.angle = c.angle;
        text.align = c.align;
        text.vAlign = c.vAlign;
        IRECT measured{0, 0, 40, 10};
        float dx = -1.f, dy = -1.f;
        canvas.TextRotationOffset(text, {0, 0, 100, 100}, measured, dx, dy);
        EXPECT_NEAR(dx, c.dx, 1e-4) << c.angle << " " << c.align;
        EXPECT_NEAR(dy, c.dy, 1e-4) << c.angle << " " << c.vAlign;
    }
    IText text;
    text.angle = 90.f;
    text.align = 0;
    text.vAlign = 0;
    IRECT measured{0, 0, 40, 10};
    canvas.MeasureRotatedText(text, {0, 0, 100, 100}, measured);
    EXPECT_NEAR(measured.L, 0.f, 1e-4);
    EXPECT_NEAR(measured.R, 10.f, 1e-4);
    EXPECT_NEAR(measured.B, 40.f, 1e-4);
}

} // namespace

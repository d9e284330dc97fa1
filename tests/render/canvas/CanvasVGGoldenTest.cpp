// Golden images of the vector back end, each scene at draw scale 1 on screen
// scale 1 and at draw scale 0.5 on screen scale 2.
#include "tests/render/canvas/CanvasTestKit.h"

#include <cstring>

namespace canvas_test {
namespace {

using Scene = std::function<void(ICanvas&)>;

struct Scale {
    const char* suffix;
    float draw, screen;
};

constexpr Scale kScales[] = {{"ds1", 1.f, 1.f}, {"ds05", 0.5f, 2.f}};
constexpr int kW = 160, kH = 120; // panel units

void RenderGolden(const std::string& name, const Scene& scene) {
    for (const Scale& s : kScales) {
        CanvasFixture f(kW, kH, s.draw, s.screen);
        f.canvas.AddControl(
            new SceneControl({0, 0, float(kW), float(kH)}, [&](ICanvas& g, const IRECT& r) {
                g.FillRect({255, 245, 245, 240}, r);
                scene(g);
            }));
        ASSERT_TRUE(f.canvas.DrawFrame());
        ExpectGolden(f.canvas, "canvas_" + name + "_" + s.suffix);
    }
}

IText Text(int align, int vAlign, float angle = 0.f) {
    IText t(13.f, {255, 20, 20, 90}, align, vAlign);
    t.SetFont(kFont);
    t.angle = angle;
    return t;
}

IFillPattern Gradient(int type, std::initializer_list<IColorStop> stops) {
    IFillPattern p;
    p.type = type;
    for (const IColorStop& s : stops)
        p.stops[p.nStops++] = s;
    return p;
}

TEST(CanvasVGGolden, PrimitivesAndDashes) {
    RenderGolden("primitives", [](ICanvas& g) {
        const IColor ink{255, 30, 60, 160};
        g.DrawLine(ink, 5, 5, 60, 30, nullptr, 2.f);
        g.DrawRect(ink, {70, 5, 100, 30});
        g.FillRoundRect({255, 200, 80, 40}, {110, 5, 155, 30}, 6.f);
        g.DrawCircle(ink, 20, 55, 14, nullptr, 3.f);
        g.FillCircle({255, 40, 160, 60}, 55, 55, 12);
        g.DrawArc({255, 160, 20, 20}, 95, 55, 15, 0, 200, nullptr, 2.f);
        g.FillTriangle({255, 120, 40, 160}, 120, 70, 155, 70, 138, 40);
        g.DrawDashedLine(ink, 5, 85, 150, 85, nullptr, 1.f, 6.f);
        g.DrawDashedRect({255, 0, 0, 0}, {10, 92, 70, 115}, nullptr, 1.f, 4.f);
        g.DrawDashedRect({255, 0, 0, 0}, {80, 92, 80, 115}, nullptr, 2.f, 3.f);   // zero width
        g.DrawDashedLine({255, 200, 0, 0}, 90, 100, 150, 110, nullptr, 1.f, 0.f); // solid
    });
}

TEST(CanvasVGGolden, Gradients) {
    RenderGolden("gradients", [](ICanvas& g) {
        IFillPattern linear =
            Gradient(IFillPattern::Linear,
                     {{{255, 255, 0, 0}, 0.f}, {{255, 0, 255, 0}, 0.5f}, {{255, 0, 0, 255}, 1.f}});
        linear.transform.Scale(1.0 / 60.0, 1.0 / 60.0).Translate(-10.0, -10.0);
        g.PathAddRect({10, 10, 70, 70});
        g.PathFillCurrent(linear, IFillStyle(), nullptr);
        IFillPattern radial =
            Gradient(IFillPattern::Radial, {{{255, 255, 255, 0}, 0.3f}, {{0, 0, 0, 128}, 1.f}});
        radial.transform.Scale(1.0 / 30.0, 1.0 / 30.0).Translate(-115.0, -40.0);
        g.PathAddCircle(115, 40, 30);
        g.PathFillCurrent(radial, IFillStyle(), nullptr);
        const IBlendSetting half{0, 0.5f};
        g.PathAddRect({10, 80, 150, 110});
        g.PathStrokeCurrent(linear, 4.f, IStrokeStyle(), &half);
        g.PathAddRect({20, 90, 40, 100});
        g.PathFillCurrent(Gradient(IFillPattern::Linear, {}), IFillStyle(), nullptr); // no stops
    });
}

TEST(CanvasVGGolden, Blends) {
    RenderGolden("blends", [](ICanvas& g) {
        for (int type = 1; type <= 9; ++type) {
            const float x = float((type - 1) % 5) * 30.f + 8.f, y = (type - 1) / 5 * 55.f + 8.f;
            g.FillRect({255, 30, 90, 200}, {x, y, x + 18, y + 18});
            const IBlendSetting blend{type, 0.8f};
            g.FillCircle({200, 230, 60, 30}, x + 16, y + 16, 10, &blend);
            g.DrawText(Text(1, 0), std::to_string(type).c_str(), {x, y + 30, x + 24, y + 44});
        }
    });
}

IBitmapHandle LoadStrip(ICanvas& g) {
    // Two 8×8 frames side by side: red over green, then blue over yellow.
    std::vector<unsigned char> px(16 * 8 * 4, 255);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            unsigned char* p = &px[size_t(y * 16 + x) * 4];
            const bool top = y < 4, first = x < 8;
            p[0] = first ? (top ? 255 : 0) : (top ? 0 : 255);
            p[1] = first ? (top ? 0 : 255) : (top ? 0 : 255);
            p[2] = first ? 0 : (top ? 255 : 0);
        }
    const std::string path =
        render_test::write_test_png("canvas_strip_source.png", 16, 8, 4, px.data());
    return g.LoadScaledBitmap(path.c_str(), 2, true, 1);
}

TEST(CanvasVGGolden, BitmapsRegionsFramesAndRotation) {
    RenderGolden("bitmaps", [](ICanvas& g) {
        const IBitmapHandle strip = LoadStrip(g);
        ASSERT_TRUE(strip.IsValid());
        g.DrawBitmapRegion(strip, {10, 10, 26, 18}, 0, 0);
        g.DrawBitmapRegion(strip, {40, 10, 48, 18}, 4, 2);
        g.DrawBitmapFrame(strip, {60, 10, 68, 18}, 2); // frames count from 1
        g.DrawFittedBitmap(strip, {10, 30, 74, 62});
        g.DrawRotatedBitmap(strip, 120, 45, 30.0);
        const IBlendSetting faint{0, 0.4f};
        g.DrawBitmapRegion(strip, {10, 80, 26, 88}, 0, 0, &faint);
    });
}

TEST(CanvasVGGolden, SvgThroughTheParser) {
    RenderGolden("svg", [](ICanvas& g) {
        static const char kSvg[] =
            R"(<svg xmlns="http://www.w3.org/2000/svg" width="40" height="40">)"
            R"(<rect x="2" y="2" width="36" height="36" rx="6" fill="#3366cc"/>)"
            R"(<path d="M8 20 L20 8 L32 20 L20 32 Z M16 20 L20 16 L24 20 L20 24 Z" fill="#ffcc00"/>)"
            R"(<circle cx="20" cy="20" r="17" fill="none" stroke="#000" stroke-width="2"/></svg>)";
        const ISVGHandle svg = g.LoadSVGData("golden.svg", kSvg, int(std::strlen(kSvg)));
        ASSERT_TRUE(svg.IsValid());
        g.DrawSVG(svg, {10, 10, 90, 90});
        g.DrawRotatedSVG(svg, 125, 60, 40, 40, 45.0);
    });
}

TEST(CanvasVGGolden, TextAlignedRotatedAndWrapped) {
    RenderGolden("text", [](ICanvas& g) {
        const IRECT box{10, 10, 90, 40};
        g.DrawRect({255, 180, 180, 180}, box);
        for (int a = 0; a < 3; ++a)
            g.DrawText(Text(a, a), "Aq", box);
        g.DrawText(Text(1, 1, 30.f), "Rotated", {95, 5, 155, 55});
        const IRECT wrapBox{10, 50, 90, 115};
        g.DrawRect({255, 180, 180, 180}, wrapBox);
        g.DrawWrappedText(Text(0, 2), "Bass preamp tone wrapped into rows", wrapBox);
        g.DrawWrappedText(Text(2, 0), "Top right rows here", {95, 60, 155, 115});
    });
}

TEST(CanvasVGGolden, FastShadowAndLayerShadows) {
    RenderGolden("shadows", [](ICanvas& g) {
        g.DrawRectShadowFast({12, 12, 52, 42}, {2, 2, 62, 52}, nullptr, 3.f, 4.f, 8.f);
        g.FillRect({255, 255, 255, 255}, {12, 12, 52, 42});
        for (int i = 0; i < 2; ++i) {
            const float x = 75.f + float(i) * 42.f;
            const IRECT area{x, 10, x + 38, 60};
            g.BeginOffscreenLayer(nullptr, area, false);
            g.FillCircle({255, 220, 80, 20}, x + 16, 30, 12);
            ILayerPtr layer = g.FinishOffscreenLayer();
            ILayerShadow shadow;
            shadow.pattern = IFillPattern({255, 0, 0, 120});
            shadow.blurSize = 3.f;
            shadow.xOffset = 4.f;
            shadow.yOffset = 5.f;
            shadow.opacity = 0.8f;
            shadow.drawForeground = i == 0;
            g.DropShadowOnLayer(*layer, shadow);
            g.DrawOffscreenLayer(*layer);
        }
    });
}

} // namespace
} // namespace canvas_test

// One convention for every angle the controls hand the canvas: degrees, 0
// straight up, positive clockwise on screen with y down.
#include "controls/IBitmapControls.h"
#include "controls/ISVGControls.h"
#include "controls/IVButtonControl.h"
#include "controls/IVKnobControl.h"
#include "tests/controls/ControlsTest.h"

#include <functional>
#include <memory>
#include <sstream>

namespace vx::test {
namespace {

using ui::IRECT;
using ui::IVStyle;

// The numbers at the given token positions of each recorded call with the prefix.
std::vector<double> Tokens(const std::vector<std::string>& calls, size_t at) {
    std::vector<double> out;
    for (const std::string& call : calls) {
        std::istringstream in(call);
        std::vector<std::string> parts;
        for (std::string p; in >> p;)
            parts.push_back(p);
        if (at < parts.size())
            out.push_back(std::stod(parts[at]));
    }
    return out;
}

class AngleConventionTest : public ControlsTest {
protected:
    std::vector<std::string> Drawn(ui::IControl* c, double value, const std::string& prefix) {
        c->SetValue(value);
        canvas.ClearCalls();
        c->Draw(canvas);
        return canvas.CallsStartingWith(prefix);
    }
    // Start and end angles of the arcs a knob draws: background, glow, value.
    std::vector<double> KnobArcs(float anchor, float end, double value) {
        IVStyle quiet;
        quiet.showLabel = quiet.showValue = false;
        auto* knob = Attach(new ui::IVKnobControl({0, 0, 100, 100}, -1, "", quiet, false, -135.f,
                                                  end, anchor, 4.0, 18.f, false));
        const auto arcs = Drawn(knob, value, "DrawArc");
        std::vector<double> out;
        const auto a1 = Tokens(arcs, 5), a2 = Tokens(arcs, 6);
        for (size_t i = 0; i < a1.size(); ++i) {
            out.push_back(a1[i]);
            out.push_back(a2[i]);
        }
        return out;
    }
};

TEST_F(AngleConventionTest, EveryControlHandsTheCanvasTheSameAngles) {
    std::unique_ptr<ui::APIBitmap> pixels(RecordingCanvas::MakeBitmap(40, 40));
    const ui::IBitmapHandle knobImage(pixels.get(), "rotate.png", 1, false);
    auto* rotater = Attach(new ui::IBKnobRotaterControl({0, 0, 40, 40}, knobImage));
    const std::string text = R"(<svg width="10" height="10"><rect width="10" height="10"/></svg>)";
    const ui::ISVGHandle svg =
        canvas.LoadSVGData("angle.svg", text.data(), static_cast<int>(text.size()));
    ASSERT_TRUE(svg.IsValid());
    auto* svgKnob = Attach(new ui::ISVGKnobControl({0, 0, 40, 40}, svg));

    struct Case {
        const char* what;
        std::function<std::vector<double>()> angles;
        std::vector<double> expected;
    };
    const Case cases[] = {
        {"knob at 0.5: background, glow and value arcs",
         [&] { return KnobArcs(-135.f, 135.f, 0.5); },
         {-135, 135, -135, 0, -135, 0}},
        {"anchor 0 at 0.25: the arc runs from the smaller angle",
         [&] { return KnobArcs(0.f, 135.f, 0.25); },
         {0, 135, -67.5, 0, -67.5, 0}},
        {"end angle 100: the background still covers -135..135",
         [&] { return KnobArcs(-135.f, 100.f, 0.0); },
         {-135, 135, -135, -135, -135, -135}},
        {"rotating bitmap at 0, 0.5, 1",
         [&] {
             std::vector<double> out;
             for (double v : {0.0, 0.5, 1.0})
                 out.push_back(Tokens(Drawn(rotater, v, "DrawRotatedBitmap"), 4).at(0));
             return out;
         },
         {-150, 0, 150}},
        {"SVG knob at 0, 0.5, 1",
         [&] {
             std::vector<double> out;
             for (double v : {0.0, 0.5, 1.0})
                 out.push_back(Tokens(Drawn(svgKnob, v, "DrawRotatedSVG"), 5).at(0));
             return out;
         },
         {-135, 0, 135}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.angles(), c.expected) << c.what;
}

TEST_F(AngleConventionTest, TriangleAtNinetyDegreesPointsRight) {
    IVStyle style;
    style.angle = 90.f;
    style.drawShadows = false;
    auto* button = Attach(new ui::IVButtonControl({0, 0, 60, 60}, nullptr, "", style, false, false,
                                                  ui::EVShape::Triangle));
    canvas.ClearCalls();
    button->Draw(canvas);
    const auto fills = canvas.CallsStartingWith("FillTriangle");
    ASSERT_FALSE(fills.empty());
    // The apex is the second corner.
    const double apexX = Tokens(fills, 4).at(0), apexY = Tokens(fills, 5).at(0);
    const IRECT w = button->GetWidgetBounds();
    EXPECT_GT(apexX, w.MW() + 1.0);
    EXPECT_NEAR(apexY, w.MH(), 0.5);
}

} // namespace
} // namespace vx::test

#include "controls/ISVGControls.h"
#include "controls/IVPadPlotControls.h"
#include "tests/controls/ControlsTest.h"

#include <string>

namespace vx::test {
namespace {

using ui::IColor;
using ui::IRECT;
using ui::ISVGHandle;
using ui::IVStyle;

IVStyle Quiet() {
    IVStyle s;
    s.showLabel = false;
    s.showValue = false;
    return s;
}

class SVGAndPadTest : public ControlsTest {
protected:
    ISVGHandle Svg(const std::string& name, int w, int h) {
        const std::string text = "<svg width=\"" + std::to_string(w) + "\" height=\"" +
                                 std::to_string(h) + "\"><rect width=\"" + std::to_string(w) +
                                 "\" height=\"" + std::to_string(h) + "\"/></svg>";
        return canvas.LoadSVGData(name.c_str(), text.data(), static_cast<int>(text.size()));
    }
    std::vector<std::string> Drawn(ui::IControl* c, const std::string& prefix) {
        canvas.ClearCalls();
        c->Draw(canvas);
        return canvas.CallsStartingWith(prefix);
    }
};

TEST_F(SVGAndPadTest, ToggleColoursFollowStateAndHover) {
    const IColor colours[4] = {{255, 1, 0, 0}, {255, 2, 0, 0}, {255, 3, 0, 0}, {255, 4, 0, 0}};
    auto* toggle = Attach(new ui::ISVGToggleControl({0, 0, 20, 20}, nullptr, Svg("t", 10, 10),
                                                    colours, ui::ISVGColors::kFill));
    struct Case {
        double value;
        bool over;
        const char* fill;
    };
    const Case cases[] = {{0.5, false, "255,1,0,0"},
                          {0.5, true, "255,3,0,0"},
                          {1.0, false, "255,2,0,0"},
                          {1.0, true, "255,4,0,0"}};
    for (const Case& c : cases) {
        toggle->SetValue(c.value);
        if (c.over)
            toggle->OnMouseOver(5, 5, {});
        else
            toggle->OnMouseOut();
        const auto svgs = Drawn(toggle, "DrawSVG");
        ASSERT_EQ(svgs.size(), 1u);
        EXPECT_NE(svgs[0].find("fill " + std::string(c.fill)), std::string::npos) << svgs[0];
    }
    auto* plain = Attach(
        new ui::ISVGButtonControl({0, 0, 20, 20}, nullptr, Svg("off", 10, 10), Svg("on", 10, 10)));
    EXPECT_EQ(Drawn(plain, "DrawSVG"), std::vector<std::string>{"DrawSVG 0,0,20,20 b(0,1)"})
        << "mode 0 replaces no colour";
}

TEST_F(SVGAndPadTest, SwitchPicksItsImageByStateAndClampsToTheLast) {
    auto* sw = Attach(new ui::ISVGSwitchControl(
        {0, 0, 20, 20}, {Svg("a", 10, 10), Svg("b", 10, 10), Svg("c", 10, 10)}));
    struct Case {
        double value;
        int image;
    };
    for (const Case& c : {Case{0.0, 0}, Case{0.5, 1}, Case{1.0, 2}, Case{0.3, 1}}) {
        sw->SetValue(c.value);
        EXPECT_EQ(sw->ImageIndex(), c.image) << c.value;
    }
    const int p = AddParam([](IParam& param) { param.SetUpInt("Many", 0, 0, 5); });
    auto* many =
        Attach(new ui::ISVGSwitchControl({0, 0, 20, 20}, {Svg("a", 10, 10), Svg("b", 10, 10)}, p));
    many->SetValue(1.0);
    EXPECT_EQ(many->ImageIndex(), 1) << "six states, two images";
    auto* none = Attach(new ui::ISVGSwitchControl({0, 0, 20, 20}, {}));
    EXPECT_EQ(none->ImageIndex(), -1);
    EXPECT_TRUE(Drawn(none, "DrawSVG").empty());
}

TEST_F(SVGAndPadTest, SliderHandleReachesBothEnds) {
    struct Case {
        ui::EDirection direction;
        IRECT bounds;
        ISVGHandle handle, track;
        IRECT trackImage, atZero, atOne;
    };
    // clang-format off
    const Case cases[] = {
        {ui::EDirection::Vertical, {0, 0, 40, 200}, Svg("handle", 10, 20), Svg("track", 10, 100),
         {10, 0, 30, 200}, {10, 160, 30, 200}, {10, 0, 30, 40}},
        {ui::EDirection::Horizontal, {0, 0, 200, 40}, Svg("hhandle", 20, 10), Svg("htrack", 100, 10),
         {0, 10, 200, 30}, {0, 10, 40, 30}, {160, 10, 200, 30}},
    };
    // clang-format on
    for (const Case& c : cases) {
        auto* slider =
            Attach(new ui::ISVGSliderControl(c.bounds, c.handle, c.track, -1, c.direction));
        EXPECT_EQ(slider->GetTrackImageBounds(), c.trackImage);
        EXPECT_EQ(slider->GetHandleBounds(0.0), c.atZero);
        EXPECT_EQ(slider->GetHandleBounds(1.0), c.atOne);
        EXPECT_EQ(Drawn(slider, "DrawSVG").size(), 2u);
    }

    auto* sizeless =
        Attach(new ui::ISVGSliderControl({0, 0, 40, 200}, ISVGHandle(), Svg("track2", 10, 100)));
    EXPECT_EQ(sizeless->GetTrackRECT(), (IRECT{0, 0, 40, 200}));
    EXPECT_TRUE(Drawn(sizeless, "DrawSVG").empty());
}

TEST_F(SVGAndPadTest, PadDragPinsAtTheEdgesWithYUpwards) {
    auto* pad = Attach(new ui::IVXYPadControl({0, 0, 100, 100}, {-1, -1}, "", Quiet()));
    struct Case {
        float x, y;
        double vx, vy;
    };
    for (const Case& c :
         {Case{50, 50, 0.5, 0.5}, Case{-30, -30, 0.0, 1.0}, Case{150, 150, 1.0, 0.0}}) {
        pad->OnMouseDrag(c.x, c.y, 0, 0, {});
        EXPECT_EQ(pad->GetValue(0), c.vx) << c.x;
        EXPECT_EQ(pad->GetValue(1), c.vy) << c.y;
    }
    auto* flat = Attach(new ui::IVXYPadControl({10, 10, 10, 10}, {-1, -1}, "", Quiet()));
    flat->SetValue(0.25, 0);
    flat->OnMouseDrag(10, 10, 0, 0, {});
    EXPECT_EQ(flat->GetValue(0), 0.25) << "a pad without area sets nothing";
}

TEST_F(SVGAndPadTest, PlotSamplesAndBounds) {
    auto ramp = [](double x) { return x; };
    auto* two = Attach(
        new ui::IVPlotControl({0, 0, 100, 100}, {{ui::kColorRed, ramp}}, 2, "", Quiet(), 0.f, 1.f));
    EXPECT_EQ(two->SampleX(0), 0.0);
    EXPECT_EQ(two->SampleX(1), 1.0);
    EXPECT_EQ(Drawn(two, "DrawData").size(), 1u);
    auto* one = Attach(
        new ui::IVPlotControl({0, 0, 100, 100}, {{ui::kColorRed, ramp}}, 1, "", Quiet(), 0.f, 1.f));
    EXPECT_EQ(one->SampleX(0), 0.0) << "one point samples x = 0 only";
    auto* flat = Attach(new ui::IVPlotControl({0, 0, 100, 100}, {{ui::kColorRed, ramp}}, 8, "",
                                              Quiet(), 0.5f, 0.5f));
    EXPECT_TRUE(Drawn(flat, "DrawData").empty()) << "min = max draws no curve";
}

TEST_F(SVGAndPadTest, PlotLayerIsDrawnOnceUntilAPlotIsAdded) {
    auto* plot = Attach(new ui::IVPlotControl({0, 0, 100, 100},
                                              {{ui::kColorRed, [](double x) { return x; }}}, 8, "",
                                              Quiet(), 0.f, 1.f, true));
    auto layersAndCurves = [&] {
        const auto curves = Drawn(plot, "DrawData").size();
        return std::make_pair(canvas.CallsStartingWith("CreateOffscreenBitmap").size(), curves);
    };
    EXPECT_EQ(layersAndCurves(), std::make_pair(size_t{1}, size_t{1}));
    EXPECT_EQ(layersAndCurves(), std::make_pair(size_t{0}, size_t{0})) << "the layer is reused";
    plot->AddPlotFunc(ui::kColorBlue, [](double x) { return 1.0 - x; });
    EXPECT_EQ(layersAndCurves(), std::make_pair(size_t{1}, size_t{2}));
}

TEST_F(SVGAndPadTest, GroupFramesItsMembersOrStaysEmpty) {
    canvas.AddControl(new ui::IVXYPadControl({10, 20, 50, 60}, {-1, -1}), -1, "amp");
    canvas.AddControl(new ui::IVXYPadControl({70, 30, 90, 80}, {-1, -1}), -1, "amp");
    auto* framed = Attach(new ui::IVGroupControl("AMP", "amp", Quiet(), 5, 6, 7, 8));
    EXPECT_EQ(framed->GetRECT(), (IRECT{5, 14, 97, 88}));
    EXPECT_TRUE(framed->GetIgnoreMouse());
    auto* lonely = Attach(new ui::IVGroupControl("NONE", "nobody", Quiet()));
    EXPECT_TRUE(lonely->GetRECT().Empty());
}

TEST_F(SVGAndPadTest, SwatchLayoutHoverAndPicker) {
    std::vector<std::pair<int, IColor>> changes;
    auto* grid = Attach(new ui::IVColorSwatchControl(
        {0, 0, 300, 300}, "", [&](int cell, const IColor& c) { changes.emplace_back(cell, c); },
        Quiet(), ui::IVColorSwatchControl::kGrid, {0, 1, 2, 3, 12}));
    const IRECT w = grid->GetWidgetBounds();
    const float ch = w.H() / 3.f;
    for (int i = 0; i < 5; ++i)
        EXPECT_LT(grid->GetCellBounds(i).B, w.T + 2 * ch) << "first two rows: cell " << i;
    auto* row = Attach(new ui::IVColorSwatchControl(
        {0, 400, 500, 440}, "", nullptr, Quiet(), ui::IVColorSwatchControl::kRow, {0, 1, 2, 3, 4}));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(row->GetCellBounds(i).T, row->GetCellBounds(0).T);

    int actions = 0;
    grid->SetActionFunction([&](ui::IControl*) { ++actions; });
    const IRECT cell1 = grid->GetCellBounds(1);
    grid->OnMouseOver(cell1.MW(), cell1.MH(), {});
    EXPECT_EQ(grid->GetMouseOverCell(), 1);
    EXPECT_EQ(actions, 1) << "hovering runs the action";

    canvas.ClearCalls();
    grid->OnMouseDown(cell1.MW(), cell1.MH(), {});
    EXPECT_TRUE(changes.empty()) << "cancelled";
    canvas.colorPickerAnswers.push_back({255, 9, 8, 7});
    grid->OnMouseDown(cell1.MW(), cell1.MH(), {});
    ASSERT_TRUE(canvas.pendingColorAnswer);
    canvas.pendingColorAnswer();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].first, 1);
    EXPECT_EQ(grid->GetColor(ui::kFG), (IColor{255, 9, 8, 7}));
    EXPECT_EQ(canvas.CallsStartingWith("RunColorPicker").size(), 2u);

    const IRECT outside = grid->GetCellBounds(4);
    grid->OnMouseDown(outside.MW(), outside.MH(), {});
    EXPECT_EQ(canvas.CallsStartingWith("RunColorPicker").size(), 2u)
        << "a colour index outside the set is not edited";

    canvas.colorPickerAnswers.push_back({255, 1, 2, 3});
    grid->OnMouseDown(cell1.MW(), cell1.MH(), {});
    canvas.RemoveControl(grid);
    canvas.pendingColorAnswer(); // the swatch is gone: nothing to reach
    EXPECT_EQ(changes.size(), 1u);
}

} // namespace
} // namespace vx::test

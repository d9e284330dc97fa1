#include "controls/IVKnobControl.h"
#include "controls/IVSliderControls.h"
#include "tests/controls/ControlsTest.h"

#include <sstream>

namespace vx::test {
namespace {

using ui::IRECT;
using ui::IVStyle;

IVStyle Quiet() {
    IVStyle s;
    s.showLabel = false;
    s.showValue = false;
    return s;
}

class VectorKnobSliderTest : public ControlsTest {
protected:
    ui::IVKnobControl* PanelKnob(int param, const IVStyle& style = Quiet(), float track = 18.f,
                                 bool editable = false) {
        return Attach(new ui::IVKnobControl({380, 890, 580, 1090}, param, "", style, editable,
                                            -135.f, 135.f, -135.f, 4.0, track, false));
    }
    // The editor's preset-list scroll slider.
    ui::IVSliderControl* ScrollSlider(int param) {
        return Attach(new ui::IVSliderControl({260, 230, 300, 1170}, param, "IVSliderControl",
                                              Quiet(), true, 1.0, 12.f, 0.f, 0.f, 0.f,
                                              ui::EDirection::Vertical, true));
    }
    std::vector<std::string> Drawn(ui::IControl* c, const std::string& prefix) {
        canvas.ClearCalls();
        c->Draw(canvas);
        return canvas.CallsStartingWith(prefix);
    }
};

TEST_F(VectorKnobSliderTest, PanelKnobGeometryAndSweep) {
    auto* knob = PanelKnob(FakeDelegate::kGain);
    EXPECT_EQ(knob->GetWidgetBounds(), (IRECT{380, 890, 580, 1090}));
    EXPECT_NEAR(knob->ArcRadius(), 81.9f, 1e-4);
    EXPECT_EQ(knob->KnobDragArea(), (IRECT{380, 940, 580, 1040}));
    const auto arcs = Drawn(knob, "DrawArc");
    ASSERT_EQ(arcs.size(), 3u);
    EXPECT_EQ(arcs[0].rfind("DrawArc 255,0,255,0 480 990 81.9", 0), 0u) << arcs[0];

    knob->SetValue(0.0);
    DragBy(480, 990, 0, -200);
    EXPECT_NEAR(knob->GetValue(), 0.5, 1e-9) << "half of the 400-unit sweep";
    DragBy(480, 990, 0, -200);
    EXPECT_NEAR(knob->GetValue(), 1.0, 1e-9);
    EXPECT_EQ(canvas.CallsStartingWith("SetCursorHidden 1").size(), 2u) << "hidden while dragging";
}

TEST_F(VectorKnobSliderTest, KnobTrackSizeOnlySwitchesTheArcsOn) {
    struct Case {
        float track;
        size_t arcs;
        float after;
    };
    for (const Case& c : {Case{0.f, 1u, 0.f}, Case{6.f, 3u, 18.f}}) {
        auto* knob = PanelKnob(-1, Quiet(), c.track);
        const auto arcs = Drawn(knob, "DrawArc");
        EXPECT_EQ(arcs.size(), c.arcs) << "track " << c.track;
        if (arcs.size() == 3u) {
            EXPECT_EQ(arcs[2].substr(arcs[2].rfind(' ') + 1), "18");
        }
        EXPECT_EQ(knob->TrackSize(), c.after);
    }
}

TEST_F(VectorKnobSliderTest, KnobLabelValueClickAndRelease) {
    IVStyle shown;
    auto* knob = PanelKnob(FakeDelegate::kGain, shown);
    EXPECT_STREQ(knob->GetLabelStr(), Param(FakeDelegate::kGain).Name());
    const IRECT v = knob->GetValueBounds();
    ASSERT_FALSE(v.Empty());
    canvas.ClearCalls();
    knob->OnMouseDown(v.MW(), v.MH(), {});
    EXPECT_TRUE(canvas.CallsStartingWith("ShowNativeTextEntry").empty());
    EXPECT_TRUE(canvas.CallsStartingWith("SetCursorHidden").empty()) << "no drag started";

    auto* editable = PanelKnob(FakeDelegate::kGain, shown, 18.f, true);
    EXPECT_TRUE(editable->ContainsPoint(v.MW(), v.MH()));
    editable->OnMouseDown(v.MW(), v.MH(), {});
    EXPECT_EQ(canvas.CallsStartingWith("ShowNativeTextEntry").size(), 1u);
}

TEST_F(VectorKnobSliderTest, ScrollSliderMovesFromItsWidgetAndDrawsOnlyItsHandle) {
    const int p = AddParam([](IParam& param) { param.SetUpInt("Scroll", 0, 0, 109); });
    auto* slider = ScrollSlider(p);
    EXPECT_EQ(slider->GetTrackRECT(), (IRECT{280, 242, 280, 1158}));
    MouseDown(280, 700);
    MouseDrag(280, 600, 0, -100);
    MouseUp(280, 600);
    EXPECT_GT(slider->GetValue(), 0.0) << "the hit test takes the widget";

    struct Case {
        double value;
        float cy;
    };
    for (const Case& c : {Case{0.0, 1158.f}, Case{1.0, 242.f}}) {
        slider->SetValue(c.value);
        float cx = 0.f, cy = 0.f;
        slider->HandleCentre(cx, cy);
        EXPECT_EQ(cx, 280.f);
        EXPECT_EQ(cy, c.cy);
        EXPECT_TRUE(Drawn(slider, "FillRoundRect").empty()) << "no track";
        const std::string handle = "FillEllipse " + RecordingCanvas::Str(Quiet().colors[ui::kFG]) +
                                   " 268," + RecordingCanvas::Num(c.cy - 12) + ",292," +
                                   RecordingCanvas::Num(c.cy + 12);
        EXPECT_EQ(canvas.CallsStartingWith(handle).size(), 1u)
            << handle << " in " << ::testing::PrintToString(canvas.calls);
    }
}

TEST_F(VectorKnobSliderTest, ValueClickOnAnEditableSliderOpensTheEntry) {
    auto* slider =
        Attach(new ui::IVSliderControl({0, 0, 60, 300}, FakeDelegate::kGain, "", IVStyle(), true));
    slider->SetValue(0.25);
    const IRECT v = slider->GetValueBounds();
    ASSERT_FALSE(v.Empty());
    canvas.ClearCalls();
    MouseDown(v.MW(), v.MH());
    EXPECT_EQ(canvas.CallsStartingWith("ShowNativeTextEntry").size(), 1u);
    EXPECT_EQ(slider->GetValue(), 0.25);
}

TEST_F(VectorKnobSliderTest, ReleasingAfterADragRunsTheActionOnceMore) {
    int actions = 0;
    const auto count = [&](ui::IControl*) { ++actions; };
    ui::IControl* const controls[] = {
        Attach(new ui::IVKnobControl({0, 0, 100, 100}, count, "", Quiet())),
        Attach(new ui::IVSliderControl({200, 0, 240, 200}, count, "", Quiet()))};
    for (ui::IControl* c : controls) {
        const IRECT r = c->GetRECT();
        MouseDown(r.MW(), r.MH());
        MouseDrag(r.MW(), r.MH() - 10, 0, -10);
        const int beforeRelease = actions;
        MouseUp(r.MW(), r.MH() - 10);
        EXPECT_EQ(actions, beforeRelease + 1) << r.L;
        EXPECT_GT(c->GetValue(), 0.0) << r.L;
    }
}

TEST_F(VectorKnobSliderTest, RangeHandlesNeverCross) {
    auto* range = Attach(new ui::IVRangeSliderControl({0, 0, 100, 300}, {-1, -1}, "", Quiet(),
                                                      ui::EDirection::Vertical, 8.f, 2.f));
    range->SetValue(0.2, 0);
    range->SetValue(0.6, 1);
    const IRECT lower = range->HandleBounds(0);
    range->OnMouseOver(lower.MW(), lower.MH(), {});
    ASSERT_EQ(range->GetActiveHandle(), 0);
    range->OnMouseDown(lower.MW(), lower.MH(), {});
    range->OnMouseDrag(lower.MW(), 0.f, 0.f, -300.f, {});
    EXPECT_EQ(range->GetValue(0), 0.6) << "stops at the upper handle";
    range->OnMouseUp(lower.MW(), 0.f, {});
}

TEST_F(VectorKnobSliderTest, TrackControlBars) {
    auto* bars = Attach(new ui::IVTrackControlBase({0, 0, 200, 100}, "", Quiet(), {-1, -1, -1, -1},
                                                   0, ui::EDirection::Vertical));
    bars->SetTrackGap(2.f);
    bars->OnResize();
    ASSERT_EQ(bars->NTracks(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(bars->GetTrackBounds(i), (IRECT{50.f * i, 0, 50.f * i + 48.f, 98}));

    auto* none = Attach(
        new ui::IVTrackControlBase({0, 0, 200, 100}, "", Quiet(), {}, 0, ui::EDirection::Vertical));
    EXPECT_EQ(none->NTracks(), 0);
    EXPECT_EQ(Drawn(none, "FillRect").size(), 1u) << "only the background";
}

TEST_F(VectorKnobSliderTest, TrackFillRunsFromTheBaseValue) {
    IVStyle plain = Quiet();
    plain.drawFrame = false;
    auto* bar = Attach(
        new ui::IVTrackControlBase({0, 0, 100, 100}, "", plain, {-1}, 0, ui::EDirection::Vertical));
    bar->SetBaseValue(0.5);
    struct Case {
        double value;
        IRECT fill, peak;
    };
    for (const Case& c : {Case{0.2, {0, 50, 100, 80}, {0, 79, 100, 80}},
                          Case{0.9, {0, 10, 100, 50}, {0, 10, 100, 11}}}) {
        bar->SetValue(c.value);
        Drawn(bar, "FillRect");
        const std::string valueFill = "FillRect " + RecordingCanvas::Str(plain.colors[ui::kFG]) +
                                      " " + RecordingCanvas::Str(c.fill);
        const std::string peakFill = "FillRect " + RecordingCanvas::Str(plain.colors[ui::kFR]) +
                                     " " + RecordingCanvas::Str(c.peak);
        EXPECT_EQ(canvas.CallsStartingWith(valueFill).size(), 1u) << c.value;
        EXPECT_EQ(canvas.CallsStartingWith(peakFill).size(), 1u) << c.value;
        EXPECT_EQ(canvas
                      .CallsStartingWith("DrawLine " + RecordingCanvas::Str(plain.colors[ui::kSH]) +
                                         " 0 50 100 50")
                      .size(),
                  1u)
            << "the base line";
    }
}

TEST_F(VectorKnobSliderTest, TrackControlStepsFillFromTheFarEnd) {
    auto* steps = Attach(new ui::IVTrackControlBase({0, 0, 100, 40}, "", Quiet(), {-1}, 4,
                                                    ui::EDirection::Horizontal));
    const auto& cells = steps->GetStepBounds();
    ASSERT_EQ(cells.size(), 5u) << "a zero-value step too";
    EXPECT_EQ(cells.front(), (IRECT{80, 0, 100, 40}));
    EXPECT_EQ(cells.back(), (IRECT{0, 0, 20, 40}));
}

} // namespace
} // namespace vx::test

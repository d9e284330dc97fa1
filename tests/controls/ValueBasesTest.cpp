#include "controls/IButtonControlBase.h"
#include "controls/IKnobControlBase.h"
#include "controls/ISliderControlBase.h"
#include "controls/ISwitchControlBase.h"
#include "tests/controls/ControlsTest.h"

#include <cmath>

namespace vx::test {
namespace {

using ui::EDirection;
using ui::IRECT;

struct Switch : ui::ISwitchControlBase {
    using ISwitchControlBase::ISwitchControlBase;
    void Draw(ui::ICanvas&) override {}
};

struct Knob : ui::IKnobControlBase {
    using IKnobControlBase::IKnobControlBase;
    void Draw(ui::ICanvas&) override {}
};

struct Slider : ui::ISliderControlBase {
    using ISliderControlBase::ISliderControlBase;
    void Draw(ui::ICanvas&) override {}
    void FollowPointer() { hideCursorOnDrag = false; }
};

class ValueBasesTest : public ControlsTest {
protected:
    int actions = 0;
    ui::IActionFunction Count() {
        return [this](ui::IControl*) { ++actions; };
    }
    bool SentNaN() const {
        for (const std::string& entry : delegate.log)
            if (entry.find("nan") != std::string::npos)
                return true;
        return false;
    }
};

TEST_F(ValueBasesTest, TwoStateSwitchGoesToOneOnlyFromExactZero) {
    const int bypass = AddTwoValued();
    auto* sw = Attach(new Switch({0, 0, 40, 40}, bypass, Count(), 2));
    struct Case {
        double from, to;
    };
    for (const Case& c : {Case{0.0, 1.0}, Case{1.0, 0.0}, Case{0.5, 0.0}, Case{1e-9, 0.0}}) {
        sw->SetValue(c.from);
        MouseDown(20, 20);
        MouseUp(20, 20);
        EXPECT_EQ(sw->GetValue(), c.to) << "from " << c.from;
    }
    EXPECT_EQ(actions, 4);
    EXPECT_EQ(Param(bypass).CurrentValue(), 0.0);
}

TEST_F(ValueBasesTest, FiveStateSwitchWrapsOnlyPastOneUlpAboveOne) {
    auto* sw = Attach(new Switch({0, 0, 40, 40}, -1, Count(), 5));
    const double oneUlpAbove = std::nextafter(1.0, 2.0);
    const double twoUlpAbove = std::nextafter(oneUlpAbove, 2.0);
    ASSERT_EQ(oneUlpAbove - 0.25 + 0.25, oneUlpAbove);
    struct Case {
        double from, to;
    };
    const Case cases[] = {
        {0.0, 0.25}, {0.75, 1.0}, {1.0, 0.0}, {oneUlpAbove - 0.25, 1.0}, {twoUlpAbove - 0.25, 0.0},
    };
    for (const Case& c : cases) {
        sw->SetValue(c.from);
        sw->OnMouseDown(0, 0, {});
        EXPECT_EQ(sw->GetValue(), c.to) << "from " << c.from;
    }
}

TEST_F(ValueBasesTest, SwitchCountsItsStatesFromTheParameterOnAttach) {
    const int type = AddZeroToThree();
    auto* sw = Attach(new Switch({0, 0, 40, 40}, type, nullptr, 2));
    EXPECT_EQ(sw->NStates(), 4);
    std::vector<double> seen;
    for (int i = 0; i < 5; ++i) {
        MouseDown(10, 10);
        MouseUp(10, 10);
        seen.push_back(Param(type).CurrentValue());
    }
    EXPECT_EQ(seen, (std::vector<double>{1, 2, 3, 0, 1}));
    EXPECT_FALSE(sw->IsStateDisabled(4)) << "the flags keep the constructor's count";
    sw->DisableState(1, true);
    EXPECT_TRUE(sw->IsStateDisabled(1));
    EXPECT_FALSE(sw->IsStateDisabled(-1));
}

TEST_F(ValueBasesTest, KnobGearingOverItsDragArea) {
    struct Case {
        Mod mod;
        double expected;
    };
    for (const Case& c :
         {Case{Mod::None, 0.25}, Case{Mod::Shift, 0.025}, Case{Mod::Control, 0.025}}) {
        auto* knob = Attach(
            new Knob({0, 0, 100, 100}, FakeDelegate::kGain, Count(), EDirection::Vertical, 4.0));
        DragBy(50, 90, 0, -100, c.mod);
        EXPECT_NEAR(knob->GetValue(), c.expected, 1e-12);
        EXPECT_NEAR(Param(FakeDelegate::kGain).CurrentValue(), c.expected * 100.0, 1e-9);
        canvas.RemoveControl(knob);
    }
}

TEST_F(ValueBasesTest, KnobHidesTheCursorAndResumesAtOnceAfterOvershoot) {
    auto* knob = Attach(
        new Knob({0, 0, 100, 100}, FakeDelegate::kGain, Count(), EDirection::Horizontal, 1.0));
    MouseDown(50, 50);
    EXPECT_TRUE(canvas.IsCursorHidden());
    MouseDrag(200, 50, 150, 0);
    EXPECT_EQ(knob->GetValue(), 1.0);
    MouseDrag(190, 50, -10, 0);
    EXPECT_NEAR(knob->GetValue(), 0.9, 1e-12);
    MouseUp(190, 50);
    EXPECT_FALSE(canvas.IsCursorHidden());
    EXPECT_EQ(actions, 3) << "the press runs the action too";
}

TEST_F(ValueBasesTest, SteppedWheelMovesOneStepPerEvent) {
    auto* knob =
        Attach(new Knob({0, 0, 50, 50}, FakeDelegate::kCount, Count(), EDirection::Vertical, 4.0));
    knob->SetValue(0.5);
    struct Case {
        float delta;
        double real;
    };
    const Case cases[] = {{0.1f, 6}, {7.f, 7}, {0.f, 7}, {-0.1f, 6}, {-30.f, 5}};
    int expectedActions = 0;
    for (const Case& c : cases) {
        MouseWheel(25, 25, c.delta);
        EXPECT_NEAR(knob->GetValue() * 10.0, c.real, 1e-9) << "delta " << c.delta;
        EXPECT_EQ(actions, ++expectedActions) << "a delta of 0 still runs the action";
    }
}

TEST_F(ValueBasesTest, ContinuousWheelMovesInHundredthsOrThousandths) {
    auto* slider =
        Attach(new Slider({0, 0, 200, 20}, FakeDelegate::kGain, EDirection::Horizontal, 1.0, 8.f));
    slider->SetValue(0.5);
    MouseWheel(10, 10, 2.f);
    EXPECT_NEAR(slider->GetValue(), 0.52, 1e-9);
    MouseWheel(10, 10, 2.f, Mod::Shift);
    EXPECT_NEAR(slider->GetValue(), 0.522, 1e-9);
    MouseWheel(10, 10, 100.f);
    EXPECT_EQ(slider->GetValue(), 1.0) << "clamped";
}

TEST_F(ValueBasesTest, SliderJumpsOnlyForContinuousParameters) {
    struct Case {
        int param;
        double afterClick;
    };
    for (const Case& c : {Case{FakeDelegate::kGain, 0.75}, Case{FakeDelegate::kCount, 0.0}}) {
        auto* slider =
            Attach(new Slider({0, 0, 200, 20}, c.param, EDirection::Horizontal, 1.0, 8.f));
        MouseDown(150, 10);
        EXPECT_NEAR(slider->GetValue(), c.afterClick, 1e-12) << "param " << c.param;
        MouseUp(150, 10);
        canvas.RemoveControl(slider);
    }
}

TEST_F(ValueBasesTest, SliderFollowsThePointerOrMovesRelatively) {
    auto* absolute =
        Attach(new Slider({0, 0, 200, 20}, FakeDelegate::kGain, EDirection::Horizontal, 1.0, 8.f));
    absolute->FollowPointer();
    MouseDown(100, 10);
    MouseDrag(50, 10, -50, 0);
    EXPECT_NEAR(absolute->GetValue(), 0.25, 1e-12);
    MouseUp(50, 10);
    canvas.RemoveControl(absolute);

    auto* relative =
        Attach(new Slider({0, 0, 200, 20}, FakeDelegate::kGain, EDirection::Horizontal, 1.0, 8.f));
    MouseDown(100, 10);
    MouseDrag(50, 10, 20, 0); // the hidden pointer's travel counts, not where it is
    EXPECT_NEAR(relative->GetValue(), 0.6, 1e-12);
    MouseUp(50, 10);
}

TEST_F(ValueBasesTest, RightClickOpensTheEntryAndStillDrags) {
    auto* knob =
        Attach(new Knob({0, 0, 100, 100}, FakeDelegate::kGain, Count(), EDirection::Vertical, 1.0));
    auto* slider =
        Attach(new Slider({0, 200, 100, 300}, FakeDelegate::kGain, EDirection::Vertical, 1.0, 8.f));
    for (ui::IControl* control :
         {static_cast<ui::IControl*>(knob), static_cast<ui::IControl*>(slider)}) {
        control->SetTextEntryDisabled(false);
        canvas.ClearCalls();
        control->OnMouseDown(50, control->GetRECT().MH(), Mouse(Mod::Right));
        EXPECT_EQ(canvas.CallsStartingWith("ShowNativeTextEntry").size(), 1u);
        const double before = control->GetValue();
        control->OnMouseDrag(50, 0, 0, -10, Mouse(Mod::Right));
        EXPECT_NEAR(control->GetValue(), before + 0.1, 1e-9);
        canvas.ForgetTextEntry();
    }
}

TEST_F(ValueBasesTest, AreasWithoutExtentKeepTheValue) {
    auto* knob =
        Attach(new Knob({10, 10, 60, 10}, FakeDelegate::kGain, Count(), EDirection::Vertical, 4.0));
    knob->SetValue(0.4);
    knob->OnMouseDown(20, 10, {});
    knob->OnMouseDrag(20, 0, 0, -10, {});
    EXPECT_EQ(knob->GetValue(), 0.4);

    auto* slider =
        Attach(new Slider({10, 20, 10, 80}, FakeDelegate::kGain, EDirection::Horizontal, 1.0, 8.f));
    slider->SetValue(0.3);
    slider->OnMouseDown(10, 50, {});
    slider->OnMouseDrag(15, 50, 5, 0, {});
    EXPECT_EQ(slider->GetValue(), 0.3);
    slider->FollowPointer();
    slider->OnMouseDrag(15, 50, 5, 0, {});
    EXPECT_EQ(slider->GetValue(), 0.3);
    EXPECT_FALSE(SentNaN());
}

TEST_F(ValueBasesTest, ButtonPressesOnDoubleClickToo) {
    struct Button : ui::IButtonControlBase {
        using IButtonControlBase::IButtonControlBase;
        void Draw(ui::ICanvas&) override {}
    };
    auto* button = Attach(new Button({0, 0, 30, 30}, Count()));
    EXPECT_TRUE(button->GetMouseDblAsSingleClick());
    MouseDoubleClick(10, 10);
    EXPECT_EQ(button->GetValue(), 1.0);
    EXPECT_EQ(actions, 1);
    button->OnAnimationFinished();
    EXPECT_EQ(button->GetValue(), 0.0);
}

} // namespace
} // namespace vx::test

#include "tests/support/ToolkitTest.h"

#include "framework/IParam.h"
#include "toolkit/IPopupMenu.h"

#include <stdexcept>

namespace {

using namespace vx::ui;
using vx::test::FakeDelegate;
using vx::test::TestClock;
using vx::test::TestControl;
using vx::test::ToolkitTest;

class ControlBase : public ToolkitTest {};

TestControl* MakeWithSlots(std::vector<std::string>& log, int slots) {
    const IRECT r{0, 0, 10, 10};
    switch (slots) {
    case 0:
        return new TestControl(log, "c", r, std::initializer_list<int>{});
    case 1:
        return new TestControl(log, "c", r, FakeDelegate::kGain);
    default:
        return new TestControl(log, "c", r, {FakeDelegate::kGain, FakeDelegate::kCount});
    }
}

TEST_F(ControlBase, SetDirtyOverSlotCountsIndexesAndTrigger) {
    struct Case {
        int slots;
        int valIdx;
        bool trigger;
        std::vector<std::string> delegateLog; // values are all set to 1.5 first
        std::vector<double> values;
    };
    const Case cases[] = {
        {0, -1, true, {}, {}},
        {0, 0, true, {}, {}},
        {0, 99, false, {}, {}},
        {1, -1, true, {"set 0 1"}, {1.0}},
        {1, 0, true, {"set 0 1"}, {1.0}},
        {1, 1, true, {"set 0 1"}, {1.0}}, // one slot: any index means slot 0
        {1, 99, false, {}, {1.0}},
        {2, -1, true, {"set 0 1", "set 1 1"}, {1.0, 1.0}},
        {2, 0, true, {"set 0 1"}, {1.0, 1.5}},
        {2, 1, false, {}, {1.5, 1.0}},
        {2, 99, true, {}, {1.5, 1.5}}, // outside the slots: no slot
    };
    for (const Case& c : cases) {
        delegate.log.clear();
        int actions = 0;
        IControl* control = canvas.AddControl(MakeWithSlots(log, c.slots));
        control->SetActionFunction([&](IControl*) { ++actions; });
        for (int i = 0; i < control->NVals(); ++i)
            control->SetValue(1.5, i);
        control->SetClean();

        control->SetDirty(c.trigger, c.valIdx);

        SCOPED_TRACE(testing::Message() << c.slots << " slots, valIdx " << c.valIdx);
        EXPECT_TRUE(control->IsDirty());
        EXPECT_EQ(actions, c.trigger ? 1 : 0);
        EXPECT_EQ(delegate.log, c.delegateLog);
        for (int i = 0; i < control->NVals(); ++i)
            EXPECT_EQ(control->GetValue(i), c.values[static_cast<size_t>(i)]);
        canvas.RemoveControl(control);
    }
}

TEST_F(ControlBase, SlotAccessOutsideTheSlotsIsNoSlot) {
    IControl* control = canvas.AddControl(MakeWithSlots(log, 0));
    control->SetValue(0.5, 0);
    EXPECT_EQ(control->GetValue(0), 0.0);
    EXPECT_EQ(control->GetParamIdx(0), -1);
    EXPECT_EQ(control->GetParam(0), nullptr);
    EXPECT_EQ(control->ValueSlotAtPoint(1, 1), -1);
    EXPECT_THROW(control->BindParam(1, 0), std::out_of_range);
    IControl* two = canvas.AddControl(MakeWithSlots(log, 2));
    EXPECT_THROW(two->BindParam(1, 2), std::out_of_range);
    two->BindParam(FakeDelegate::kRoom, 1);
    EXPECT_EQ(two->GetParamIdx(1), FakeDelegate::kRoom);
}

TEST_F(ControlBase, SetValueFromPointerMapsClampsRoundsAndTriggers) {
    struct Case {
        float x, y;
        EDirection dir;
        double lo, hi;
        double expected;
    };
    const IRECT bounds{10, 20, 110, 220};
    const Case cases[] = {
        {60, 0, EDirection::Horizontal, 0, 1, 0.5},
        {-50, 0, EDirection::Horizontal, 0, 1, 0.0},      // clamped into the bounds
        {10.0123f, 0, EDirection::Horizontal, 0, 1, 0.0}, // 0.000123 rounds to 0
        {10.07f, 0, EDirection::Horizontal, 0, 1, 0.001},
        {0, 20, EDirection::Vertical, 0, 1, 1.0}, // top is 1
        {0, 170, EDirection::Vertical, 0, 1, 0.25},
        {60, 0, EDirection::Horizontal, 0.6, 0.9, 0.6},
        {105, 0, EDirection::Horizontal, 0.2, 0.9, 0.9},
    };
    for (const Case& c : cases) {
        delegate.log.clear();
        IControl* control =
            canvas.AddControl(new TestControl(log, "p", bounds, FakeDelegate::kGain));
        control->SetValueFromPointer(c.x, c.y, c.dir, bounds, 0, c.lo, c.hi);
        EXPECT_NEAR(control->GetValue(0), c.expected, 1e-9) << c.x << "," << c.y;
        ASSERT_EQ(delegate.log.size(), 1u);
        canvas.RemoveControl(control);
    }
}

TEST_F(ControlBase, SetValueFromPointerOnATrackWithoutLengthChangesNothing) {
    IControl* control =
        canvas.AddControl(new TestControl(log, "p", {0, 0, 10, 10}, FakeDelegate::kGain));
    control->SetValue(0.4);
    delegate.log.clear();
    control->SetValueFromPointer(5, 5, EDirection::Horizontal, {5, 0, 5, 10});
    control->SetValueFromPointer(5, 5, EDirection::Vertical, {0, 5, 10, 5});
    EXPECT_EQ(control->GetValue(0), 0.4);
    EXPECT_TRUE(delegate.log.empty());
}

TEST_F(ControlBase, ResetToDefaultUsesTheSteppedClampedNormalisedDefault) {
    struct Case {
        int paramIdx;
        double expected;
    };
    // Semis: default 1.3 steps to 1.5 in -12..12; Room: 1 of 0..4; Count: 3 of 0..10.
    const Case cases[] = {{FakeDelegate::kSemis, 13.5 / 24.0},
                          {FakeDelegate::kRoom, 0.25},
                          {FakeDelegate::kCount, 0.3}};
    for (const Case& c : cases) {
        IControl* control =
            canvas.AddControl(new TestControl(log, "r", {0, 0, 10, 10}, c.paramIdx));
        control->SetValue(0.9, 0);
        control->ResetValueToDefault(-1); // one slot: taken as 0
        EXPECT_NEAR(control->GetValue(0), c.expected, 1e-12) << c.paramIdx;
        EXPECT_NEAR(delegate.params[static_cast<size_t>(c.paramIdx)]->GetDefaultNormalised(),
                    c.expected, 1e-12);
        canvas.RemoveControl(control);
    }
}

TEST_F(ControlBase, MenuChoiceAppliesTheChosenIndexAsARealValue) {
    struct Case {
        int paramIdx;
        int chosen;
        bool entryDisabled;
        double expected; // starting value 0.9
    };
    const Case cases[] = {
        {FakeDelegate::kRoom, 3, false, 0.75},
        {FakeDelegate::kRoom, 9, false, 1.0}, // clamped to the range
        {FakeDelegate::kSemis, 2, false, 14.0 / 24.0},
        {FakeDelegate::kRoom, 3, true, 0.9}, // text entry disabled: ignored
    };
    for (const Case& c : cases) {
        IControl* control =
            canvas.AddControl(new TestControl(log, "m", {0, 0, 10, 10}, c.paramIdx));
        control->SetTextEntryDisabled(c.entryDisabled);
        control->SetValue(0.9, 0);
        IPopupMenu menu;
        menu.SetChosenItemIdx(c.chosen);
        control->OnMenuChoice(&menu, 0);
        EXPECT_NEAR(control->GetValue(0), c.expected, 1e-12) << c.paramIdx << " " << c.chosen;
        control->OnMenuChoice(nullptr, 0); // no menu: nothing
        control->OnMenuChoice(&menu, -1);  // no slot: nothing
        EXPECT_NEAR(control->GetValue(0), c.expected, 1e-12);
        canvas.RemoveControl(control);
    }
}

TEST_F(ControlBase, ContainsPointIsLeftTopInclusiveAndEmptyRectHitsNothing) {
    TestControl box(log, "b", {10, 20, 30, 40});
    EXPECT_TRUE(box.ContainsPoint(10, 20));
    EXPECT_TRUE(box.ContainsPoint(29.99f, 39.99f));
    EXPECT_FALSE(box.ContainsPoint(30, 25));
    EXPECT_FALSE(box.ContainsPoint(15, 40));
    EXPECT_FALSE(box.ContainsPoint(9.99f, 25));
    TestControl none(log, "n", {0, 0, 0, 0});
    EXPECT_FALSE(none.ContainsPoint(0, 0));
}

TEST_F(ControlBase, SetPositionKeepsSizesAndTargetOffset) {
    TestControl* c = Add("c", {10, 10, 30, 20});
    c->SetTargetRECT({12, 11, 28, 19});
    c->SetPosition(-5, 40);
    EXPECT_EQ(c->GetRECT(), (IRECT{0, 40, 20, 50}));
    EXPECT_EQ(c->GetTargetRECT(), (IRECT{2, 41, 18, 49}));
    c->SetSize(-1, 5);
    EXPECT_EQ(c->GetRECT(), (IRECT{0, 40, 0, 45}));
    EXPECT_EQ(c->GetTargetRECT(), c->GetRECT());
}

TEST_F(ControlBase, MouseOverDirtiesOnlyOnEntry) {
    TestControl* c = Add("c", {0, 0, 10, 10});
    c->SetClean();
    c->IControl::OnMouseOver(1, 1, {});
    EXPECT_TRUE(c->IsDirty());
    c->SetClean();
    c->IControl::OnMouseOver(2, 2, {});
    EXPECT_FALSE(c->IsDirty());
    c->IControl::OnMouseOut();
    EXPECT_TRUE(c->IsDirty());
    c->SetClean();
    c->IControl::OnMouseOut();
    EXPECT_FALSE(c->IsDirty());
}

TEST_F(ControlBase, ClickAnimationKeepsDirtyEveryFrameAndEndsOnce) {
    TestClock clock;
    TestControl* c = Add("c", {0, 0, 10, 10}, -1, "", -1);
    int ends = 0;
    c->SetAnimationEndActionFunction([&](IControl*) { ++ends; });
    c->SetActionFunction(IControl::defaultClickAction);
    c->SetDirty(true, -1);
    for (int frame = 0; frame < 4; ++frame) {
        clock.Advance(30); // 30, 60, 90, 120 ms
        c->SetClean();
        vx::ui::IRECTList rects;
        const bool dirty = canvas.IsDirty(rects);
        if (frame < 3) {
            EXPECT_TRUE(dirty) << frame;
            EXPECT_TRUE(c->GetAnimationFunction());
        } else {
            EXPECT_FALSE(c->GetAnimationFunction());
            EXPECT_TRUE(c->IsDirty()); // dirty once more as it ends
        }
    }
    clock.Advance(100);
    c->SetClean();
    vx::ui::IRECTList rects;
    EXPECT_FALSE(canvas.IsDirty(rects));
    EXPECT_EQ(ends, 1);
}

TEST_F(ControlBase, EditorSideValuesSkipCapturedControls) {
    TestControl* c = Add("c", {0, 0, 10, 10}, -1, "", FakeDelegate::kGain);
    c->SetValueFromEditorSide(0.4, 0);
    EXPECT_EQ(c->GetValue(0), 0.4);
    canvas.OnMouseDown(At(5, 5));
    c->SetValueFromEditorSide(0.7, 0);
    EXPECT_EQ(c->GetValue(0), 0.4);
    canvas.OnMouseUp(At(5, 5));
    c->SetValueFromEditorSide(0.7, 0);
    EXPECT_EQ(c->GetValue(0), 0.7);
}

TEST_F(ControlBase, ParamDisplayTextCarriesTheUnitUnlessADisplayTextShows) {
    VxString text;
    delegate.params[FakeDelegate::kGain]->Set(12.5);
    IControl::ParamDisplayTextWithUnit(delegate.GetParam(FakeDelegate::kGain), text);
    EXPECT_STREQ(text.Get(), "12.5 dB");
    IControl::ParamDisplayTextWithUnit(delegate.GetParam(FakeDelegate::kRoom), text);
    EXPECT_STREQ(text.Get(), "Hall");
}

} // namespace

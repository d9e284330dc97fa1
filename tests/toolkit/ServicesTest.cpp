#include "tests/support/ToolkitTest.h"

#include "framework/IParam.h"

namespace {

using namespace vx::ui;
using vx::test::FakeDelegate;
using vx::test::RunFrame;
using vx::test::TestClock;
using vx::test::TestControl;
using vx::test::ToolkitTest;

class Services : public ToolkitTest {
protected:
    std::vector<std::string> DelegateLog(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const std::string& e : delegate.log)
            if (e.rfind(prefix, 0) == 0)
                out.push_back(e);
        return out;
    }
};

TEST_F(Services, ResizeClampsTheScaleAndIgnoresNoChange) {
    struct Case {
        int w, h;
        float scale;
        bool changes;
        float drawScale;
        const char* request; // what the delegate is asked for
    };
    const Case cases[] = {
        {400, 300, 1.f, false, 1.f, nullptr},
        {400, 300, 0.3f, true, 0.5f, "resize 200 150 1"},
        {400, 300, 0.49f, false, 0.5f, nullptr}, // clamps to the current scale
        {400, 300, 9.f, true, 4.f, "resize 1600 1200 1"},
        {401, 300, 4.f, true, 4.f, "resize 1604 1200 1"},
        {5, 5, 4.f, true, 4.f, "resize 40 40 1"}, // the delegate's minimum of 10
    };
    Add("c", {0, 0, 10, 10});
    for (const Case& c : cases) {
        delegate.log.clear();
        canvas.ClearCalls();
        canvas.OnMouseDown(At(5, 5)); // a capture that a real resize releases
        canvas.Resize(c.w, c.h, c.scale, true);
        EXPECT_FLOAT_EQ(canvas.GetDrawScale(), c.drawScale) << c.scale;
        EXPECT_EQ(canvas.ControlIsCaptured(), !c.changes) << c.scale;
        EXPECT_EQ(DelegateLog("resize"),
                  c.request ? std::vector<std::string>{c.request} : std::vector<std::string>{})
            << c.scale;
        EXPECT_EQ(canvas.CallsStartingWith("RebuildBackBuffer").size(), c.changes ? 1u : 0u);
        canvas.ClearMouseCapture();
    }
}

TEST_F(Services, ResizeAndScreenScaleStepsInOrder) {
    Add("a", {0, 0, 10, 10});
    canvas.AddCornerResizer(20.f, 1, false);
    log.clear();
    canvas.ClearCalls();
    canvas.SetScreenScale(2.f);
    EXPECT_EQ(canvas.calls, (std::vector<std::string>{"ResizeNativeView 1", "RebuildBackBuffer"}));
    EXPECT_EQ(delegate.log.back(), "resize 400 300 1");
    EXPECT_EQ(log, (std::vector<std::string>{"a rescale"}));
    EXPECT_FLOAT_EQ(canvas.GetTotalScale(), 2.f);

    log.clear();
    canvas.ClearCalls();
    delegate.resizeAnswer = false;
    canvas.Resize(200, 100, 2.f, false);
    EXPECT_EQ(canvas.calls, (std::vector<std::string>{"ResizeNativeView 0", "RebuildBackBuffer"}));
    EXPECT_EQ(delegate.log.back(), "resize 400 200 0");
    EXPECT_EQ(log, (std::vector<std::string>{"a resize"}));
    // The resizer follows the corner at the new draw scale.
    EXPECT_EQ(canvas.GetCornerResizer()->GetRECT(), (IRECT{190, 90, 200, 100}));
    EXPECT_EQ(delegate.layoutRuns, 0);
}

TEST_F(Services, SizeModeCornerDragRunsTheLayoutAfterEachResize) {
    int built = 0;
    delegate.layout = [&](ICanvas*) { ++built; };
    canvas.AddCornerResizer(20.f, 1, true);
    canvas.OnMouseDown(At(390, 290));
    ASSERT_TRUE(canvas.IsResizingInProgress());
    canvas.OnMouseDrag(Drag(500, 350, 110, 60));
    canvas.OnMouseDrag(Drag(520, 360, 20, 10));
    EXPECT_EQ(built, 2);
    EXPECT_EQ(canvas.Width(), 520);
    EXPECT_EQ(canvas.Height(), 360);
    canvas.OnMouseUp(At(520, 360));
    EXPECT_FALSE(canvas.IsResizingInProgress());

    // A double click goes back to the first size at scale 1.
    canvas.Resize(520, 360, 2.f, true);
    canvas.OnMouseDoubleClick(515, 355, {}); // the resizer, 10 units at scale 2
    EXPECT_EQ(canvas.Width(), 400);
    EXPECT_EQ(canvas.Height(), 300);
    EXPECT_FLOAT_EQ(canvas.GetDrawScale(), 1.f);
}

TEST_F(Services, PromptsByParameterType) {
    TestControl* room = Add("room", {0, 0, 50, 20}, -1, "", FakeDelegate::kRoom);
    TestControl* gain = Add("gain", {0, 30, 50, 50}, -1, "", FakeDelegate::kGain);
    TestControl* count = Add("count", {0, 60, 50, 80}, -1, "", FakeDelegate::kCount);
    TestControl* none = Add("none", {0, 90, 50, 110});
    room->SetValueFromEditorSide(0.5); // "Arena"
    delegate.params[FakeDelegate::kRoom]->SetNormalised(0.5);

    canvas.OpenValueEntry(room, room->GetRECT(), 0);
    const IPopupMenu& menu = canvas.GetPromptMenu();
    ASSERT_EQ(menu.NItems(), 5);
    EXPECT_STREQ(menu.GetTitle(), "Room");
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(menu.GetItem(i)->flags, i == 2 ? IPopupMenu::kChecked : 0) << i;
    EXPECT_EQ(canvas.CallsStartingWith("ShowNativePopupMenu"),
              std::vector<std::string>{"ShowNativePopupMenu 5 0,0,50,20"});

    canvas.OpenValueEntry(gain, {1, 2, 3, 4}, 0);
    gain->SetShowParamLabel(true);
    canvas.OpenValueEntry(gain, {1, 2, 3, 4}, 0);
    canvas.OpenValueEntry(count, {1, 2, 3, 4}, 0);
    canvas.OpenValueEntry(none, {1, 2, 3, 4}, 0);
    EXPECT_EQ(canvas.CallsStartingWith("ShowNativeTextEntry"),
              (std::vector<std::string>{"ShowNativeTextEntry 0 1,2,3,4 7 25.0",
                                        "ShowNativeTextEntry 0 1,2,3,4 7 25.0 dB",
                                        "ShowNativeTextEntry 1 1,2,3,4 7 3"}));
    EXPECT_EQ(canvas.GetControlInTextEntry(), count);
}

TEST_F(Services, TypedValuesAreSteppedClampedAndNonNumbersIgnored) {
    TestControl* semis = Add("semis", {0, 0, 50, 20}, -1, "", FakeDelegate::kSemis);
    struct Case {
        const char* typed;
        const char* set; // delegate entry, or nullptr for no change
    };
    const Case cases[] = {
        {"1.3", "set 2 0.5625"},   // 1.5
        {"-1.25", "set 2 0.4375"}, // half a step rounds away from zero: -1.5
        {"100", "set 2 1"},        {"-100", "set 2 0"}, {"inf", nullptr},
        {"nan", nullptr},          {"-inf", nullptr},
    };
    for (const Case& c : cases) {
        delegate.log.clear();
        canvas.textEntryAnswers.push_back(c.typed);
        canvas.OpenValueEntry(semis, semis->GetRECT(), 0);
        ASSERT_TRUE(canvas.AnswerTextEntry());
        EXPECT_EQ(DelegateLog("set"),
                  c.set ? std::vector<std::string>{c.set} : std::vector<std::string>{})
            << c.typed;
        EXPECT_EQ(canvas.GetControlInTextEntry(), nullptr);
    }
    // Without a parameter the raw text goes back to the control.
    struct Named : TestControl {
        using TestControl::TestControl;
        void OnTextEntryFinished(const char* text, int valIdx) override {
            Note(std::string("typed ") + text + " " + std::to_string(valIdx));
        }
    };
    auto* named = static_cast<Named*>(canvas.AddControl(new Named(log, "named", {0, 0, 9, 9})));
    canvas.BeginTextEntry(named, IText(), {0, 0, 9, 9}, "old", -1);
    canvas.ApplyTextEntryValue("new name");
    EXPECT_EQ(Events("typed"), std::vector<std::string>{"named typed new name -1"});
}

TEST_F(Services, MenusAnsweredAtOnceOrLater) {
    TestControl* room = Add("room", {0, 0, 50, 20}, -1, "", FakeDelegate::kRoom);
    room->SetTextEntryDisabled(false);
    room->contextItems = {"Copy", "Paste"};

    canvas.nativeMenuChoice = 3;
    canvas.OpenValueEntry(room, room->GetRECT(), 0);
    EXPECT_EQ(delegate.log, (std::vector<std::string>{"set 3 0.75", "end 3"}));
    EXPECT_EQ(canvas.GetControlInPopupMenu(), nullptr);

    delegate.log.clear();
    canvas.nativeMenuAnswersLater = true;
    canvas.OpenValueEntry(room, room->GetRECT(), 0);
    EXPECT_TRUE(delegate.log.empty());
    EXPECT_EQ(canvas.GetControlInPopupMenu(), room);
    canvas.GetPromptMenu().SetChosenItemIdx(1);
    canvas.ApplyPopupMenuChoice(&canvas.GetPromptMenu());
    EXPECT_EQ(delegate.log, (std::vector<std::string>{"set 3 0.25", "end 3"}));

    delegate.log.clear();
    canvas.ApplyPopupMenuChoice(nullptr); // no menu open: nothing
    canvas.OpenValueEntry(room, room->GetRECT(), 0);
    canvas.ApplyPopupMenuChoice(nullptr); // dismissed: no value change
    EXPECT_EQ(delegate.log, std::vector<std::string>{"end 3"});

    canvas.nativeMenuAnswersLater = false;
    canvas.nativeMenuChoice = 1;
    canvas.OnMouseDown(At(10, 10, true));
    canvas.nativeMenuChoice = -1;
    canvas.OnMouseDown(At(10, 10, true));
    EXPECT_EQ(Events("context"), (std::vector<std::string>{"room context 1", "room context -1"}));
}

// A control whose context menu choice opens its value menu.
class OpensOnChoice : public TestControl {
public:
    using TestControl::TestControl;
    void OnContextMenuChoice(int item) override {
        TestControl::OnContextMenuChoice(item);
        if (then)
            then();
    }
    std::function<void()> then;
};

TEST_F(Services, AMenuOpenedFromAMenuChoiceKeepsItsOpener) {
    auto* room = new OpensOnChoice(log, "room", {0, 0, 50, 20}, FakeDelegate::kRoom);
    canvas.AddControl(room);
    room->SetTextEntryDisabled(false);
    room->contextItems = {"Choose"};
    room->then = [&] {
        canvas.nativeMenuAnswersLater = true;
        room->OpenValueEntry(0);
    };
    canvas.nativeMenuChoice = 0;
    canvas.OnMouseDown(At(10, 10, true));
    EXPECT_EQ(Events("context"), std::vector<std::string>{"room context 0"});
    EXPECT_EQ(canvas.GetControlInPopupMenu(), room);

    delegate.log.clear();
    canvas.GetPromptMenu().SetChosenItemIdx(2);
    canvas.ApplyPopupMenuChoice(&canvas.GetPromptMenu());
    EXPECT_EQ(delegate.log, (std::vector<std::string>{"set 3 0.5", "end 3"}));
}

class Bubble : public Services {
protected:
    void SetUp() override {
        canvas.AddBubbleControl();
        bubble = canvas.GetBubbleControl(0);
    }
    IBubbleControl* bubble = nullptr;
};

TEST_F(Bubble, PlacementTable) {
    struct Case {
        IRECT control;
        int direction;
        float x, y;
        IRECT bounds;
        int arrow;
    };
    // The text "50" measures 14 x 14; the minimum content makes it 50 x 30,
    // padding and shadow 80 x 50.
    const Case cases[] = {
        {{100, 100, 150, 120}, 1, 150, 110, {150, 85, 230, 135}, 3}, // beside
        {{300, 100, 350, 120}, 1, 350, 110, {220, 85, 300, 135}, 1}, // pushed left
        {{100, 100, 150, 120}, 0, 125, 100, {85, 50, 165, 100}, 2},  // above
        {{100, 10, 150, 30}, 0, 125, 10, {85, 30, 165, 80}, 0},      // flipped below
    };
    for (const Case& c : cases) {
        TestControl* caller = Add("caller", c.control);
        canvas.ShowValueBubble(caller, "50", c.direction, c.x, c.y, {0, 0, 50, 30});
        EXPECT_EQ(bubble->GetBubbleBounds(), c.bounds) << c.x << "," << c.y;
        EXPECT_EQ(bubble->GetArrowSide(), c.arrow) << c.x << "," << c.y;
        EXPECT_EQ(bubble->GetRECT(), c.bounds); // a new caller: exactly the bubble
        EXPECT_EQ(bubble->GetCaller(), caller);
        EXPECT_STREQ(bubble->GetContent(), "50");
        canvas.RemoveControl(caller);
        EXPECT_EQ(bubble->GetCaller(), nullptr);
    }
}

TEST_F(Bubble, FadesInHoldsWhileCapturedAndFadesOut) {
    TestClock clock;
    TestControl* knob = Add("knob", {100, 100, 150, 120});
    canvas.OnMouseDown(At(120, 110));
    canvas.ShowValueBubble(knob, "1.0", 1, 150, 110, {0, 0, 50, 30});
    EXPECT_FALSE(bubble->IsHidden());
    EXPECT_EQ(bubble->GetState(), IBubbleControl::kExpanding);
    struct Step {
        double ms;
        float weight;
        int state;
    };
    const Step held[] = {
        {100, 0.475f, IBubbleControl::kExpanding}, {150, 0.95f, IBubbleControl::kShowing},
        {900, 0.95f, IBubbleControl::kShowing},    {250, 0.95f, IBubbleControl::kShowing},
        {250, 0.95f, IBubbleControl::kShowing},    {250, 0.95f, IBubbleControl::kShowing},
    };
    for (const Step& s : held) {
        clock.Advance(s.ms);
        RunFrame(canvas);
        EXPECT_NEAR(bubble->GetBubbleBlend().weight, s.weight, 1e-4) << clock.Now();
        EXPECT_EQ(bubble->GetState(), s.state) << clock.Now();
    }
    canvas.OnMouseUp(At(120, 110));
    const Step release[] = {
        {250, 0.95f, IBubbleControl::kCollapsing},
        {100, 0.475f, IBubbleControl::kCollapsing},
        {150, 0.f, IBubbleControl::kCollapsed},
    };
    for (const Step& s : release) {
        clock.Advance(s.ms);
        RunFrame(canvas);
        EXPECT_NEAR(bubble->GetBubbleBlend().weight, s.weight, 1e-4) << clock.Now();
        EXPECT_EQ(bubble->GetState(), s.state) << clock.Now();
    }
    EXPECT_TRUE(bubble->IsHidden());
    EXPECT_EQ(bubble->GetCaller(), nullptr);
}

TEST_F(Bubble, DrawsShadowOutlineWithItsArrowAndText) {
    TestControl* knob = Add("knob", {100, 100, 150, 120});
    canvas.ShowValueBubble(knob, "50", 1, 150, 110, {0, 0, 50, 30});
    canvas.ClearCalls();
    bubble->Draw(canvas);
    const std::vector<std::string> path = canvas.CallsStartingWith("Path");
    const std::vector<std::string> expected = {
        "PathReset",
        "PathAddMove 160 100",
        "PathAddArc 165 100 5 270 360 0",
        "PathAddArc 215 100 5 0 90 0",
        "PathAddArc 215 120 5 90 180 0",
        "PathAddArc 165 120 5 180 270 0",
        "PathAddLine 160 115",
        "PathAddLine 150 110",
        "PathAddLine 160 105",
        "PathAddClose",
        "PathFillCurrent 255,255,255,255 0 1 b(0,0)",
        "PathStrokeCurrent 255,0,0,0 2 0 b(0,0)",
    };
    EXPECT_EQ(path, expected);
    EXPECT_EQ(canvas.CallsStartingWith("DrawTextString"),
              std::vector<std::string>{"DrawTextString 50 160,95,220,125 14 b(0,0)"});
    // No bubble control: nothing is shown and nothing fails.
    canvas.ShowValueBubble(nullptr, "x", 1, 0, 0, {});
}

TEST_F(Bubble, WithMultiTouchEachTouchKeepsItsBubble) {
    canvas.AddBubbleControl();
    canvas.SetMultiTouch(true);
    TestControl* a = Add("a", {0, 0, 50, 50});
    TestControl* b = Add("b", {100, 0, 150, 50});
    auto shownBy = [&](IControl* caller) -> IBubbleControl* {
        for (int i = 0; i < canvas.NBubbleControls(); ++i)
            if (canvas.GetBubbleControl(i)->GetCaller() == caller)
                return canvas.GetBubbleControl(i);
        return nullptr;
    };
    canvas.ShowValueBubble(a, "x", 1, 50, 25, {}); // not captured: no bubble
    EXPECT_EQ(shownBy(a), nullptr);
    canvas.OnMouseDown(At(10, 10, false, 7));
    canvas.OnMouseDown(At(110, 10, false, 8));
    canvas.ShowValueBubble(a, "1", 1, 50, 25, {});
    canvas.ShowValueBubble(b, "2", 1, 150, 25, {});
    IBubbleControl* forA = shownBy(a);
    IBubbleControl* forB = shownBy(b);
    ASSERT_TRUE(forA && forB);
    EXPECT_NE(forA, forB); // taken in turn
    canvas.ShowValueBubble(a, "3", 1, 50, 25, {});
    EXPECT_EQ(shownBy(a), forA); // the bubble bound to touch 7
    EXPECT_STREQ(forA->GetContent(), "3");

    b->SetWantsMultiTouch(true);
    canvas.OnMouseDown(At(120, 10, false, 9)); // b now held by two touches
    canvas.ShowValueBubble(b, "4", 1, 150, 25, {});
    EXPECT_STREQ(forB->GetContent(), "2");
}

TEST_F(Services, AppearanceChangesReachTheCallback) {
    std::vector<int> seen;
    canvas.OnAppearanceChanged(1); // none installed yet
    canvas.SetAppearanceCallback([&](int dark) { seen.push_back(dark); });
    canvas.OnAppearanceChanged(1);
    canvas.OnAppearanceChanged(0);
    EXPECT_EQ(seen, (std::vector<int>{1, 0}));
}

} // namespace

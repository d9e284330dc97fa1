#include "controls/IVNumberBoxControl.h"
#include "tests/controls/ControlsTest.h"

namespace vx::test {
namespace {

using ui::IRECT;
using ui::IVNumberBoxControl;

class NumberBoxTest : public ControlsTest {
protected:
    // The MIDI pages' box: 50 in 1..100, "%0.0f", the triangle, no buttons.
    IVNumberBoxControl* Box(int paramIdx, bool buttons = false, const char* label = "",
                            const IRECT& r = {0, 0, 100, 40}) {
        return Attach(new IVNumberBoxControl(r, paramIdx, nullptr, label, ui::kDefaultStyle, 50.0,
                                             1.0, 100.0, buttons, "%0.0f", true));
    }
    static const char* Text(const IVNumberBoxControl* box) {
        return box->GetTextControl()->GetString();
    }

    TestClock clock;
};

TEST_F(NumberBoxTest, TakesItsRangeFromTheParameterOnAttach) {
    const int cc = AddMidi();
    auto* box = Box(cc);
    EXPECT_EQ(box->GetRealValue(), 64.0);
    EXPECT_STREQ(Text(box), "64");
    DragBy(50, 20, 0, -200);
    EXPECT_EQ(box->GetRealValue(), 127.0) << "beyond 1..100, inside the parameter's range";
    EXPECT_EQ(Param(cc).CurrentValue(), 127.0);
}

TEST_F(NumberBoxTest, DragsAddUpEvenInFineStepsOnIntegerBoxes) {
    const int cc = AddMidi();
    auto* box = Box(cc);
    DragBy(50, 20, 0, -10);
    EXPECT_STREQ(Text(box), "74");
    EXPECT_EQ(Param(cc).CurrentValue(), 74.0);
    DragBy(50, 20, 0, -10, Mod::Shift);
    EXPECT_STREQ(Text(box), "75") << "ten units with shift: +1.0";
    for (int i = 1; i <= 10; ++i) {
        MouseDown(50, 20, Mod::Shift);
        MouseDrag(50, 19, 0, -1, Mod::Shift);
        MouseUp(50, 19, Mod::Shift);
        EXPECT_EQ(std::to_string(int(Param(cc).CurrentValue())), Text(box))
            << "text and sent value agree after step " << i;
    }
    EXPECT_EQ(Param(cc).CurrentValue(), 76.0) << "ten 1-unit shift drags: +1";
    DragBy(50, 20, 0, 500);
    EXPECT_EQ(box->GetRealValue(), 0.0);
    EXPECT_STREQ(Text(box), "0");
}

TEST_F(NumberBoxTest, WheelStepsAndSidewaysScrollsChangeNothing) {
    const int cc = AddMidi();
    auto* box = Box(cc);
    struct Case {
        float delta;
        Mod mod;
        double real;
    };
    const Case cases[] = {{1.f, Mod::None, 65.0},
                          {0.f, Mod::None, 65.0},
                          {-3.f, Mod::None, 64.0},
                          {0.f, Mod::Shift, 64.0},
                          {1.f, Mod::Control, 64.1}};
    for (const Case& c : cases) {
        delegate.log.clear();
        MouseWheel(50, 20, c.delta, c.mod);
        EXPECT_NEAR(box->GetRealValue(), c.real, 1e-6) << c.delta;
        EXPECT_EQ(delegate.log.empty(), c.delta == 0.f) << c.delta;
    }
    EXPECT_EQ(Param(cc).CurrentValue(), 64.0);
}

TEST_F(NumberBoxTest, TypedNumbersGoToTheParameter) {
    auto* box = Box(FakeDelegate::kGain);
    MouseDoubleClick(50, 20);
    ASSERT_EQ(canvas.CallsStartingWith("ShowNativeTextEntry").size(), 1u);
    canvas.textEntryAnswers.push_back("42.7");
    ASSERT_TRUE(canvas.AnswerTextEntry());
    EXPECT_STREQ(Text(box), "43") << "printf rounding";
    EXPECT_NEAR(Param(FakeDelegate::kGain).CurrentValue(), 42.7, 1e-9);
}

TEST_F(NumberBoxTest, TypedTextWithoutAParameterMustBeANumber) {
    auto* box = Box(-1);
    EXPECT_STREQ(Text(box), "50");
    struct Case {
        const char* typed;
        double real;
        const char* shown;
    };
    const Case cases[] = {{"12.6", 12.6, "13"},  {"abc", 12.6, "13"}, {"nan", 12.6, "13"},
                          {"inf", 12.6, "13"},   {"7x", 12.6, "13"},  {"", 12.6, "13"},
                          {" 500 ", 100, "100"}, {"-4", 1, "1"}};
    for (const Case& c : cases) {
        box->OnTextEntryFinished(c.typed, 0);
        EXPECT_EQ(box->GetRealValue(), c.real) << c.typed;
        EXPECT_STREQ(Text(box), c.shown) << c.typed;
    }
}

TEST_F(NumberBoxTest, FollowsTheParameterFromTheEditorSide) {
    const int cc = AddMidi();
    auto* box = Box(cc);
    box->SetValueFromEditorSide(Param(cc).ToNormalised(100.4));
    EXPECT_EQ(box->GetRealValue(), 100.0);
    EXPECT_STREQ(Text(box), "100");
}

TEST_F(NumberBoxTest, LayoutWithAndWithoutButtons) {
    auto* plain = Box(-1);
    EXPECT_EQ(plain->GetTextRECT(), IRECT(1, 1, 99, 39));
    EXPECT_EQ(plain->GetTargetRECT(), plain->GetTextRECT());
    EXPECT_EQ(plain->GetIncButton(), nullptr);
    canvas.RemoveControl(plain);

    auto* box = Box(-1, true);
    EXPECT_EQ(box->GetTextRECT(), IRECT(1, 1, 74.5f, 39));
    EXPECT_EQ(box->GetTextControl()->GetRECT(), box->GetTextRECT());
    EXPECT_EQ(box->GetIncButton()->GetRECT(), IRECT(76.5f, 1, 99, 19));
    EXPECT_EQ(box->GetDecButton()->GetRECT(), IRECT(76.5f, 21, 99, 39));
}

TEST_F(NumberBoxTest, DoubleClickOnTheLabelDoesNothing) {
    auto* box = Box(FakeDelegate::kGain, false, "Chan", {0, 0, 100, 60});
    const IRECT text = box->GetTextRECT();
    ASSERT_GT(text.T, 5.f) << "the label sits above the box";
    box->OnMouseDoubleClick(50, 5, {});
    MouseDoubleClick(50, 5);
    EXPECT_TRUE(canvas.CallsStartingWith("ShowNativeTextEntry").empty());
    box->SetDisabled(true);
    box->OnMouseDoubleClick(50, text.MH(), {});
    EXPECT_TRUE(canvas.CallsStartingWith("ShowNativeTextEntry").empty());
}

TEST_F(NumberBoxTest, HiddenWithItsBox) {
    auto* box = Box(-1, true);
    box->Hide(true);
    for (ui::IControl* c : {static_cast<ui::IControl*>(box->GetTextControl()),
                            static_cast<ui::IControl*>(box->GetIncButton()),
                            static_cast<ui::IControl*>(box->GetDecButton())})
        EXPECT_TRUE(c->IsHidden());
}

TEST_F(NumberBoxTest, ButtonsStepWhenTheirSplashEnds) {
    auto* box = Box(-1, true);
    const IRECT plus = box->GetIncButton()->GetWidgetBounds();
    const IRECT minus = box->GetDecButton()->GetWidgetBounds();
    MouseDown(plus.MW(), plus.MH(), Mod::Shift);
    MouseUp(plus.MW(), plus.MH());
    RunFrame(canvas);
    EXPECT_EQ(box->GetRealValue(), 50.0) << "not before the splash ends";
    clock.Advance(101);
    RunFrame(canvas);
    EXPECT_EQ(box->GetRealValue(), 51.0) << "the coarse step, whatever the modifiers";
    EXPECT_STREQ(Text(box), "51");
    MouseDown(minus.MW(), minus.MH());
    MouseUp(minus.MW(), minus.MH());
    clock.Advance(101);
    RunFrame(canvas);
    EXPECT_EQ(box->GetRealValue(), 50.0);
}

TEST_F(NumberBoxTest, ChildrenAndBoxOutliveEachOther) {
    auto* box = Box(-1, true);
    canvas.RemoveControl(box->GetTextControl());
    EXPECT_EQ(box->GetTextControl(), nullptr);
    MouseWheel(30, 20, 1.f);
    EXPECT_EQ(box->GetRealValue(), 51.0) << "the box works on without its text";
    ui::IVButtonControl* plus = box->GetIncButton();
    const ui::IRECT r = plus->GetWidgetBounds();
    canvas.RemoveControl(box);
    MouseDown(r.MW(), r.MH());
    MouseUp(r.MW(), r.MH());
    clock.Advance(101);
    RunFrame(canvas); // the button's step must not reach the freed box
    EXPECT_EQ(plus->GetValue(), 0.0);
}

TEST_F(NumberBoxTest, DrawsHighlightPressAndTriangle) {
    auto* box = Box(-1);
    canvas.ClearCalls();
    box->Draw(canvas);
    const auto triangles = canvas.CallsStartingWith("FillTriangle");
    ASSERT_EQ(triangles.size(), 1u);
    EXPECT_EQ(triangles[0].rfind(
                  "FillTriangle " + RecordingCanvas::Str(ui::kColorShadow) + " 3 3 37 20 3 37", 0),
              0u)
        << triangles[0];
    MouseDown(50, 20);
    canvas.ClearCalls();
    box->Draw(canvas);
    EXPECT_EQ(
        canvas.CallsStartingWith("FillRect " + RecordingCanvas::Str(ui::kColorMidGray)).size(), 1u);
    MouseUp(50, 20);
}

} // namespace
} // namespace vx::test

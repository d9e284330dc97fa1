#include "controls/ITextControl.h"
#include "controls/IVButtonControl.h"
#include "controls/IVLabelControl.h"
#include "tests/controls/ControlsTest.h"
#include "toolkit/IPanelControl.h"

#include <algorithm>

namespace vx::test {
namespace {

using ui::IRECT;
using ui::IVStyle;

class VectorLabelButtonTest : public ControlsTest {
protected:
    std::vector<std::string> DrawnBy(ui::IControl* control) {
        canvas.ClearCalls();
        control->Draw(canvas);
        return canvas.calls;
    }

    TestClock clock;
};

TEST_F(VectorLabelButtonTest, LabelDrawsBackgroundShadowTextAndFrame) {
    auto* label = Attach(new ui::IVLabelControl({0, 0, 100, 30}, "Level"));
    struct Case {
        const char* text;
        bool disabled;
        size_t texts;
    };
    const Case cases[] = {{"Level", false, 2}, {"Level", true, 1}, {"", false, 0}};
    for (const Case& c : cases) {
        label->SetString(c.text);
        label->SetDisabled(c.disabled);
        const auto calls = DrawnBy(label);
        ASSERT_GE(calls.size(), 2u);
        EXPECT_EQ(calls.front().rfind("FillRect " + RecordingCanvas::Str(ui::kColorTransparent), 0),
                  0u);
        EXPECT_EQ(
            canvas.CallsStartingWith("DrawRect " + RecordingCanvas::Str(ui::kColorDarkGray)).size(),
            1u);
        EXPECT_EQ(canvas.CallsStartingWith("DrawTextString").size(), c.texts)
            << c.text << (c.disabled ? " disabled" : "");
    }
    label->SetString("Level");
    label->SetDisabled(false);
    DrawnBy(label);
    EXPECT_EQ(
        canvas.CallsStartingWith("DrawTextString")[0].rfind("DrawTextString Level 3,3,103,33", 0),
        0u)
        << "the shadow, moved by the shadow offset";
}

TEST_F(VectorLabelButtonTest, ButtonIgnoresClicksOnItsLabel) {
    int actions = 0;
    IVStyle style;
    style.labelPosition = 0;
    auto* button = Attach(new ui::IVButtonControl(
        {0, 0, 100, 60},
        [&](ui::IControl* c) {
            ++actions;
            ui::IControl::splashClickAction(c);
        },
        "IMPORT", style, false, false));
    const IRECT label = button->GetLabelBounds();
    ASSERT_FALSE(label.Empty());
    MouseDown(label.MW(), label.MH());
    MouseUp(label.MW(), label.MH());
    EXPECT_EQ(actions, 0);
    const IRECT widget = button->GetWidgetBounds();
    MouseDown(widget.MW(), widget.MH());
    MouseUp(widget.MW(), widget.MH());
    EXPECT_EQ(actions, 1);
}

TEST_F(VectorLabelButtonTest, ClickReleasesAfterTheSplashAndRunsTheEndFunctionOnce) {
    auto* button = Attach(new ui::IVButtonControl({0, 0, 80, 40}));
    int ends = 0;
    button->SetAnimationEndActionFunction([&](ui::IControl*) { ++ends; });
    MouseDown(40, 20);
    MouseUp(40, 20);
    EXPECT_EQ(button->GetValue(), 1.0);
    clock.Advance(50);
    RunFrame(canvas);
    EXPECT_EQ(button->GetValue(), 1.0);
    EXPECT_EQ(ends, 0);
    clock.Advance(51);
    RunFrame(canvas);
    RunFrame(canvas);
    EXPECT_EQ(button->GetValue(), 0.0);
    EXPECT_EQ(ends, 1);
}

TEST_F(VectorLabelButtonTest, EmptyValueTextIsNotDrawn) {
    auto* button = Attach(new ui::IVButtonControl({0, 0, 80, 40}, ui::IControl::splashClickAction,
                                                  "", ui::kDefaultStyle, true, true));
    DrawnBy(button);
    EXPECT_TRUE(canvas.CallsStartingWith("DrawTextString").empty());
    button->SetValueStr("7");
    DrawnBy(button);
    EXPECT_EQ(canvas.CallsStartingWith("DrawTextString").size(), 1u);
}

TEST_F(VectorLabelButtonTest, TranslucentPanelDrawsOverAndLetsClicksThrough) {
    Attach(new ui::IEditableTextControl({20, 20, 80, 80}, "under"));
    const ui::IColor tint{128, 0, 0, 40};
    Attach(new ui::IPanelControl({0, 0, 200, 200}, tint));
    Attach(new ui::IPanelControl({300, 0, 400, 100}, tint, true));
    canvas.ClearCalls();
    RunFrame(canvas);
    const auto& calls = canvas.calls;
    const auto text = std::find_if(calls.begin(), calls.end(), [](const std::string& c) {
        return c.rfind("DrawTextString under", 0) == 0;
    });
    const auto fill = std::find(calls.begin(), calls.end(),
                                "PathFillCurrent " + RecordingCanvas::Str(tint) + " 0 0 b(0,1)");
    ASSERT_NE(text, calls.end());
    ASSERT_NE(fill, calls.end());
    EXPECT_LT(text, fill) << "the panel fills over the control drawn before it";
    const auto frames = canvas.CallsStartingWith("DrawRect");
    ASSERT_EQ(frames.size(), 1u) << "only the framed panel";
    EXPECT_EQ(frames[0],
              "DrawRect " + RecordingCanvas::Str(ui::kColorLightGray) + " 300,0,400,100 b(0,1) 1");
    MouseDown(50, 50);
    EXPECT_EQ(canvas.CallsStartingWith("ShowNativeTextEntry").size(), 1u)
        << "the click fell through";
}

} // namespace
} // namespace vx::test

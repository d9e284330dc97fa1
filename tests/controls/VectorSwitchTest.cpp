#include "controls/IVButtonControl.h"
#include "controls/IVMenuButtonControl.h"
#include "controls/IVSwitchControls.h"
#include "controls/IVTabSwitchControl.h"
#include "tests/controls/ControlsTest.h"
#include "toolkit/IPopupMenu.h"

namespace vx::test {
namespace {

using ui::IRECT;
using ui::IVStyle;

IVStyle Quiet() {
    IVStyle s;
    s.showLabel = false;
    s.drawShadows = false;
    s.drawFrame = false;
    return s;
}

class VectorSwitchTest : public ControlsTest {
protected:
    std::vector<std::string> Texts(ui::IControl* c) {
        canvas.ClearCalls();
        c->Draw(canvas);
        return canvas.CallsStartingWith("DrawTextString");
    }
    static IRECT Half(const IRECT& w, int k) {
        return {w.L + k * w.W() / 2.f, w.T, w.L + (k + 1) * w.W() / 2.f, w.B};
    }

    TestClock clock;
};

TEST_F(VectorSwitchTest, SlideSwitchSlotsFollowTheStateAndOutsideChangesJump) {
    const int p = AddTwoValued();
    auto* slide = Attach(new ui::IVSlideSwitchControl({0, 0, 200, 40}, p, "", Quiet(), true));
    const IRECT w = slide->GetWidgetBounds();
    EXPECT_EQ(slide->GetHandleRect(), Half(w, 0));
    EXPECT_EQ(slide->GetEndRect(), Half(w, 1));
    EXPECT_EQ(slide->GetValueBounds(), Half(w, 0)) << "the value rides on the handle";

    slide->SetValueFromEditorSide(1.0);
    EXPECT_FALSE(slide->GetAnimationFunction()) << "an outside change starts no slide";
    EXPECT_EQ(slide->GetHandleRect(), Half(w, 1));
    EXPECT_EQ(slide->GetEndRect(), Half(w, 0));
}

TEST_F(VectorSwitchTest, ClickSlidesForAHundredMillisecondsWithoutValueText) {
    const int p = AddTwoValued();
    auto* slide = Attach(new ui::IVSlideSwitchControl({0, 0, 200, 40}, p, "", Quiet(), true));
    const IRECT w = slide->GetWidgetBounds();
    MouseDown(w.MW(), w.MH());
    MouseUp(w.MW(), w.MH());
    EXPECT_EQ(slide->GetValue(), 1.0);
    ASSERT_TRUE(slide->GetAnimationFunction());
    EXPECT_EQ(slide->GetStartRect(), Half(w, 0));
    EXPECT_EQ(slide->GetEndRect(), Half(w, 1));

    clock.Advance(50);
    canvas.ClearCalls();
    ASSERT_TRUE(RunFrame(canvas));
    EXPECT_TRUE(canvas.CallsStartingWith("DrawTextString").empty()) << "no value while sliding";
    EXPECT_NEAR(slide->GetHandleRect().L, w.L + w.W() / 4.f, 0.5);

    clock.Advance(60);
    RunFrame(canvas);
    EXPECT_FALSE(slide->GetAnimationFunction());
    EXPECT_EQ(slide->GetHandleRect(), Half(w, 1));
    const auto texts = Texts(slide);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind("DrawTextString On " + RecordingCanvas::Str(Half(w, 1)), 0), 0u);
}

TEST_F(VectorSwitchTest, FourStateSlideWrapsFromTheLastSlotAndRunsItsActionAfterwards) {
    int ends = 0;
    auto* slide = Attach(new ui::IVSlideSwitchControl(
        {0, 0, 400, 40}, [&](ui::IControl*) { ++ends; }, "", Quiet(), false,
        ui::EDirection::Horizontal, 4, 1));
    EXPECT_EQ(slide->GetValue(), 1.0) << "initial state 1 is the last state";
    const IRECT w = slide->GetWidgetBounds();
    const float q = w.W() / 4.f;
    EXPECT_EQ(slide->GetHandleRect(), (IRECT{w.L + 3 * q, w.T, w.L + 4 * q, w.B}));
    MouseDown(w.MW(), w.MH());
    EXPECT_EQ(slide->GetValue(), 0.0);
    EXPECT_EQ(slide->GetStartRect(), (IRECT{w.L + 3 * q, w.T, w.L + 4 * q, w.B}));
    EXPECT_EQ(slide->GetEndRect(), (IRECT{w.L, w.T, w.L + q, w.B}));
    EXPECT_EQ(ends, 0);
    clock.Advance(101);
    RunFrame(canvas);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(slide->GetHandleRect(), (IRECT{w.L, w.T, w.L + q, w.B}));
}

TEST_F(VectorSwitchTest, SlideSwitchWithoutStatesHasOneSlot) {
    auto* slide = Attach(new ui::IVSlideSwitchControl({0, 0, 100, 40}, nullptr, "", Quiet(), false,
                                                      ui::EDirection::Vertical, 0, 0));
    EXPECT_EQ(slide->GetHandleRect(), slide->GetWidgetBounds());
    EXPECT_EQ(slide->GetEndRect(), slide->GetWidgetBounds());
}

TEST_F(VectorSwitchTest, ToggleShowsItsOwnTexts) {
    struct Case {
        const char* off;
        const char* on;
        bool state;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"OFF", nullptr, true, {}},
        {"OFF", nullptr, false, {"OFF"}},
        {"no", "yes", true, {"yes"}},
    };
    for (const Case& c : cases) {
        auto* toggle = Attach(
            new ui::IVToggleControl({0, 0, 80, 40}, nullptr, "", Quiet(), c.off, c.on, c.state));
        std::vector<std::string> words;
        for (const std::string& call : Texts(toggle))
            words.push_back(call.substr(call.find(' ') + 1, call.find(' ', 15) - 15));
        EXPECT_EQ(words, c.texts) << c.off << (c.state ? " on" : " off");
    }
}

TEST_F(VectorSwitchTest, SwitchValueTextFollowsItsParameterOnly) {
    const int p = AddFourEnum();
    auto* linked = Attach(new ui::IVSwitchControl({0, 0, 80, 40}, p, "", Quiet(), true));
    auto* free = Attach(new ui::IVSwitchControl({0, 50, 80, 90}, nullptr, "", Quiet(), 3, true));
    EXPECT_STREQ(linked->GetLabelStr(), "Mode") << "the label comes from the parameter";
    free->SetValueStr("mine");
    Param(p).Set(2);
    linked->SetValueFromEditorSide(2.0 / 3.0);
    free->SetDirty(false);
    EXPECT_STREQ(linked->GetValueStr(), "C");
    EXPECT_STREQ(free->GetValueStr(), "mine");
    MouseDown(40, 20);
    EXPECT_STREQ(linked->GetValueStr(), "D") << "a click steps and the text follows";
    MouseDown(40, 20);
    EXPECT_STREQ(linked->GetValueStr(), "A") << "the last state wraps to the first";
}

// Records what the tab switch asks its button drawer for.
class SpyTabs : public ui::IVTabSwitchControl {
public:
    using IVTabSwitchControl::IVTabSwitchControl;
    struct Button {
        bool pressed, over;
        ESegment position;
        bool disabled;
        bool operator==(const Button&) const = default;
    };
    std::vector<Button> drawn;
    void DrawButton(ui::ICanvas& g, const IRECT& r, bool pressed, bool over, ESegment position,
                    bool disabled) override {
        drawn.push_back({pressed, over, position, disabled});
        IVTabSwitchControl::DrawButton(g, r, pressed, over, position, disabled);
    }
    std::vector<Button> Draw(ui::ICanvas& g, int) {
        drawn.clear();
        IVTabSwitchControl::Draw(g);
        return drawn;
    }
};

TEST_F(VectorSwitchTest, TabSwitchDrawsChosenDisabledAndHoveredOptions) {
    using B = SpyTabs::Button;
    int actions = 0;
    auto* tabs = Attach(new SpyTabs(
        {0, 0, 300, 40}, [&](ui::IControl*) { ++actions; }, {"one", "two", "three"}, "", Quiet()));
    tabs->SetValue(0.5);
    EXPECT_EQ(tabs->Draw(canvas, 0), (std::vector<B>{{false, false, SpyTabs::kFirst, false},
                                                     {true, false, SpyTabs::kMiddle, false},
                                                     {false, false, SpyTabs::kLast, false}}));
    tabs->DisableState(2, true);
    tabs->OnMouseOver(50, 20, {});
    EXPECT_EQ(tabs->Draw(canvas, 0), (std::vector<B>{{false, true, SpyTabs::kFirst, false},
                                                     {true, false, SpyTabs::kMiddle, false},
                                                     {false, false, SpyTabs::kLast, true}}));
    tabs->OnMouseOut();
    for (const B& b : tabs->Draw(canvas, 0))
        EXPECT_FALSE(b.over) << "no highlight once the mouse has left";

    MouseDown(250, 20);
    EXPECT_EQ(tabs->GetValue(), 1.0);
    EXPECT_EQ(actions, 1);
    EXPECT_STREQ(tabs->GetSelectedLabelStr(), "three");
}

TEST_F(VectorSwitchTest, TabSwitchEdgeCases) {
    const int p = AddFourEnum();
    auto* fromParam = Attach(new ui::IVTabSwitchControl({0, 0, 400, 40}, p, {}));
    ASSERT_EQ(fromParam->NTabLabels(), 4);
    EXPECT_STREQ(fromParam->GetSelectedLabelStr(), "A");

    auto* single = Attach(new ui::IVTabSwitchControl({0, 50, 100, 90}, nullptr, {"only"}));
    MouseDown(50, 70);
    EXPECT_EQ(single->GetValue(), 0.0) << "one option: value 0, not 0/0";

    auto* short_ = Attach(new ui::IVTabSwitchControl({0, 100, 400, 140}, p, {"a", "b"}));
    short_->SetValue(1.0);
    EXPECT_STREQ(short_->GetSelectedLabelStr(), "") << "past the texts given";
}

TEST_F(VectorSwitchTest, RadioButtonsCanAnswerOnTheirButtonsOnly) {
    auto* radio =
        Attach(new ui::IVRadioButtonControl({0, 0, 200, 90}, nullptr, {"a", "b", "c"}, "", Quiet(),
                                            ui::EVShape::Ellipse, ui::EDirection::Vertical, 10.f));
    const IRECT row = radio->GetButtonRect(1);
    EXPECT_EQ(radio->GetButtonForPoint(150, row.MH()), 1);
    radio->SetOnlyButtonsRespondToMouse(true);
    EXPECT_EQ(radio->GetButtonForPoint(150, row.MH()), -1) << "the text no longer answers";
    EXPECT_EQ(radio->GetButtonForPoint(row.L + 29, row.MH()), 1) << "the button area does";
}

TEST_F(VectorSwitchTest, MenuButtonChildShowsTheParameterAndTakesChoices) {
    const int p = AddFourEnum();
    Param(p).Set(1);
    auto* menu = static_cast<ui::IVMenuButtonControl*>(
        canvas.AddControl(new ui::IVMenuButtonControl({0, 0, 120, 40}, p, "MODE"), -1, "fx"));
    ui::IVButtonControl* child = menu->GetMenuButton();
    ASSERT_TRUE(child);
    EXPECT_STREQ(child->GetValueStr(), "B");
    EXPECT_STREQ(child->GetLabelStr(), "MODE");
    EXPECT_STREQ(child->GetGroup(), "fx");

    menu->OnMenuChoice(nullptr, 0);
    EXPECT_STREQ(child->GetValueStr(), "B") << "no choice";
    ui::IPopupMenu choices;
    for (const char* t : {"A", "B", "C", "D"})
        choices.AddItem(t);
    choices.SetChosenItemIdx(7);
    menu->OnMenuChoice(&choices, 0);
    EXPECT_STREQ(child->GetValueStr(), "B") << "a choice outside the menu";
    EXPECT_EQ(Param(p).CurrentValue(), 1.0);
    choices.SetChosenItemIdx(2);
    menu->OnMenuChoice(&choices, 0);
    EXPECT_STREQ(child->GetValueStr(), "C");
    EXPECT_EQ(Param(p).CurrentValue(), 2.0);

    canvas.ForEachControlInGroup("fx", [](ui::IControl* c) { c->Hide(true); });
    EXPECT_TRUE(child->IsHidden());
}

TEST_F(VectorSwitchTest, MenuButtonOpensTheMenuAfterTheSplashAndShowsTheChoice) {
    const int p = AddFourEnum();
    auto* menu = Attach(new ui::IVMenuButtonControl({0, 0, 120, 40}, p, ""));
    const IRECT w = menu->GetMenuButton()->GetWidgetBounds();
    canvas.nativeMenuChoice = 3;
    MouseDown(w.MW(), w.MH());
    MouseUp(w.MW(), w.MH());
    EXPECT_TRUE(canvas.CallsStartingWith("ShowNativePopupMenu").empty()) << "not before the splash";
    clock.Advance(101);
    RunFrame(canvas);
    const auto opened = canvas.CallsStartingWith("ShowNativePopupMenu");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "ShowNativePopupMenu 4 " + RecordingCanvas::Str(w));
    EXPECT_STREQ(menu->GetMenuButton()->GetValueStr(), "D");
    EXPECT_EQ(Param(p).CurrentValue(), 3.0);
}

TEST_F(VectorSwitchTest, MenuButtonAndChildOutliveEachOther) {
    const int p = AddFourEnum();
    auto* menu = Attach(new ui::IVMenuButtonControl({0, 0, 120, 40}, p, ""));
    canvas.RemoveControl(menu->GetMenuButton());
    EXPECT_FALSE(menu->GetMenuButton());
    menu->SetValueFromEditorSide(1.0); // no child to refresh
    menu->SetStyle(Quiet());

    auto* second = Attach(new ui::IVMenuButtonControl({0, 0, 120, 40}, p, ""));
    const IRECT w = second->GetMenuButton()->GetWidgetBounds();
    MouseDown(w.MW(), w.MH());
    MouseUp(w.MW(), w.MH());
    canvas.RemoveControl(second); // during the child's splash
    canvas.ClearCalls();
    clock.Advance(101);
    RunFrame(canvas);
    EXPECT_TRUE(canvas.CallsStartingWith("ShowNativePopupMenu").empty());
}

// Keeps the colour of every text drawn.
class ColourCanvas : public RecordingCanvas {
public:
    using RecordingCanvas::RecordingCanvas;
    std::vector<std::pair<std::string, std::string>> texts;
    void DrawTextString(const ui::IText& text, const char* str, const IRECT& bounds,
                        const ui::IBlendSetting* blend) override {
        texts.emplace_back(str, Str(text.FGColor));
        RecordingCanvas::DrawTextString(text, str, bounds, blend);
    }
};

TEST(RadioButtonText, ChosenOptionInThePressedColourOthersInTheExtraColour) {
    FakeDelegate fake;
    ColourCanvas g(fake);
    IVStyle style = Quiet();
    auto* radio = static_cast<ui::IVRadioButtonControl*>(g.AddControl(
        new ui::IVRadioButtonControl({0, 0, 200, 90}, nullptr, {"a", "b", "c"}, "", style)));
    radio->SetValue(0.5);
    radio->Draw(g);
    const std::string pressed = RecordingCanvas::Str(style.colors[ui::kPR]);
    const std::string other = RecordingCanvas::Str(style.colors[ui::kX1]);
    EXPECT_EQ(g.texts, (std::vector<std::pair<std::string, std::string>>{
                           {"a", other}, {"b", pressed}, {"c", other}}));
}

TEST_F(VectorSwitchTest, MenuButtonWithoutChildOrParameterStaysQuiet) {
    ui::IVMenuButtonControl detached({0, 0, 100, 40}, -1, "X");
    detached.SetStyle(Quiet()); // no child yet: only its own style changes
    EXPECT_FALSE(detached.GetStyle().showLabel);
    auto* unlinked = Attach(new ui::IVMenuButtonControl({0, 0, 100, 40}, -1, "X"));
    ASSERT_TRUE(unlinked->GetMenuButton());
    EXPECT_STREQ(unlinked->GetMenuButton()->GetValueStr(), "");
    ui::IPopupMenu choices;
    choices.AddItem("A");
    choices.SetChosenItemIdx(0);
    unlinked->OnMenuChoice(&choices, 0);
    EXPECT_STREQ(unlinked->GetMenuButton()->GetValueStr(), "");
}

} // namespace
} // namespace vx::test

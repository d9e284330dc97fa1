#include "platform/ak/Box.h"
#include "platform/ak/Button.h"
#include "platform/ak/ComboBox.h"
#include "platform/ak/PopUpButton.h"
#include "platform/ak/Slider.h"
#include "platform/ak/TextField.h"
#include "platform/ak/TextView.h"
#include "platform/ak/Window.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

using ak::Rect;

struct ControlsTest : ::testing::Test {
    void SetUp() override {
        ASSERT_NE(ak::test::App(), nullptr);
        window = ak::MakeRef<ak::Window>(Rect{{40, 40}, {480, 360}}, ak::StyleMask::Titled);
        window->MakeKeyAndOrderFront();
    }
    void TearDown() override {
        window->Close();
        ak::test::WaitUntilServed();
    }
    template <class T>
    T& Add(ak::Ref<T> control) {
        window->ContentView()->AddSubview(control.Get());
        control->SetAction([this](ak::Control& c) { fired.push_back(c.Tag()); });
        held.emplace_back(control.Get());
        return *control;
    }
    void ClickCentre(ak::View& view) {
        const Rect frame = view.Frame();
        const ak::Point centre = view.Superview()->ConvertPointToView(
            {frame.MinX() + frame.size.width / 2, frame.MinY() + frame.size.height / 2}, nullptr);
        ak::test::Enter(*window, centre);
        ak::test::Move(*window, centre);
        ak::test::Click(*window, centre);
        EXPECT_TRUE(ak::test::WaitUntilServed());
    }
    ak::Ref<ak::Window> window;
    std::vector<ak::Ref<ak::Control>> held;
    std::vector<int64_t> fired;
};

TEST_F(ControlsTest, ProgrammaticChangesFireNothingAndAClickFiresOnce) {
    struct Case {
        const char* name;
        std::function<ak::Control&(ControlsTest&)> make;
        std::function<void(ak::Control&)> change;
    };
    const Case cases[] = {
        {"push",
         [](ControlsTest& t) -> ak::Control& {
             return t.Add(ak::MakeRef<ak::Button>(Rect{{10, 10}, {90, 22}}, ak::ButtonKind::Push));
         },
         [](ak::Control& c) {
             static_cast<ak::Button&>(c).SetTitle("Apply");
             c.SetEnabled(false);
             c.SetEnabled(true);
         }},
        {"check",
         [](ControlsTest& t) -> ak::Control& {
             return t.Add(ak::MakeRef<ak::Button>(Rect{{10, 40}, {90, 18}}, ak::ButtonKind::Check));
         },
         [](ak::Control& c) {
             auto& b = static_cast<ak::Button&>(c);
             b.SetAllowsMixedState(true);
             for (int state : {1, -1, 0, 1, 0})
                 b.SetState(state);
         }},
        {"slider",
         [](ControlsTest& t) -> ak::Control& {
             return t.Add(ak::MakeRef<ak::Slider>(Rect{{10, 70}, {200, 21}}));
         },
         [](ak::Control& c) {
             auto& s = static_cast<ak::Slider&>(c);
             s.SetRange(0, 10);
             s.SetValue(7);
             s.SetRange(0, 5);
         }},
        {"text field",
         [](ControlsTest& t) -> ak::Control& {
             return t.Add(ak::MakeRef<ak::TextField>(Rect{{10, 100}, {150, 22}},
                                                     ak::TextFieldKind::Editable));
         },
         [](ak::Control& c) {
             auto& f = static_cast<ak::TextField&>(c);
             f.SetText("12");
             f.SetSelection(0, 1);
             f.SetText("");
         }},
        {"popup",
         [](ControlsTest& t) -> ak::Control& {
             auto& p = t.Add(ak::MakeRef<ak::PopUpButton>(Rect{{10, 130}, {120, 22}}));
             p.AddItem("Low", 10);
             p.AddItem("High", 20);
             return p;
         },
         [](ak::Control& c) {
             auto& p = static_cast<ak::PopUpButton&>(c);
             p.SelectIndex(1);
             p.SelectIndex(-1);
             p.SelectIndex(0);
         }},
    };
    int64_t tag = 1;
    for (const auto& test : cases) {
        ak::Control& control = test.make(*this);
        control.SetTag(tag++);
    }
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    for (size_t i = 0; i < std::size(cases); ++i)
        cases[i].change(*held[i]);
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    EXPECT_TRUE(fired.empty()) << "programmatic changes fired " << fired.size();

    // The user's turn: each control exactly once.
    for (size_t i = 0; i < 3; ++i) {
        fired.clear();
        ClickCentre(*held[i]);
        EXPECT_EQ(fired, std::vector<int64_t>{int64_t(i + 1)}) << cases[i].name;
    }
    fired.clear();
    auto& field = static_cast<ak::TextField&>(*held[3]);
    ak::test::FocusNativeWidget(field);
    field.SetAcceptedCharacters(U"0123456789");
    ak::test::Key(*window, 0, '7', true);
    ak::test::Key(*window, 0, 'x', true);
    ASSERT_TRUE(ak::test::WaitUntilServed());
    EXPECT_EQ(field.Text(), "7");
    EXPECT_EQ(fired, std::vector<int64_t>{4}) << "a refused character changes nothing";
}

TEST_F(ControlsTest, CheckCyclesThroughMixedAndRadiosOfAGroupStayExclusive) {
    auto& check = Add(ak::MakeRef<ak::Button>(Rect{{10, 10}, {90, 18}}, ak::ButtonKind::Check));
    check.SetAllowsMixedState(true);
    check.SetState(1);
    std::vector<ak::Button*> radios;
    for (int i = 0; i < 4; ++i) {
        auto& radio = Add(
            ak::MakeRef<ak::Button>(Rect{{10, 40 + 24.0 * i}, {90, 18}}, ak::ButtonKind::Radio));
        radio.SetRadioGroup(i < 3 ? 1 : 2);
        radio.SetTag(10 + i);
        radios.push_back(&radio);
    }
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    for (int expected : {0, -1, 1, 0}) {
        ClickCentre(check);
        EXPECT_EQ(check.State(), expected);
    }
    // All off is a state a group may be in.
    for (auto* radio : radios)
        EXPECT_EQ(radio->State(), 0);
    radios[3]->SetState(1);
    fired.clear();
    ClickCentre(*radios[2]);
    ClickCentre(*radios[0]);
    ClickCentre(*radios[0]);
    EXPECT_EQ(fired, (std::vector<int64_t>{12, 10, 10}));
    EXPECT_EQ(radios[0]->State(), 1);
    EXPECT_EQ(radios[1]->State(), 0);
    EXPECT_EQ(radios[2]->State(), 0);
    EXPECT_EQ(radios[3]->State(), 1) << "another group";
    radios[0]->SetState(0);
    for (auto* radio : radios)
        EXPECT_EQ(radio->State(), radio == radios[3] ? 1 : 0);
}

TEST_F(ControlsTest, PopUpChoicesFireEveryTimeAndEmptyIndexShowsNoTitle) {
    auto& popup = Add(ak::MakeRef<ak::PopUpButton>(Rect{{10, 10}, {120, 22}}));
    for (const char* title : {"A & B", "C_D", "E"})
        popup.AddItem(title, 100);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    EXPECT_EQ(popup.SelectedIndex(), -1);
    for (int choice : {1, 1, 2}) {
        ClickCentre(popup);
        ASSERT_TRUE(ak::test::PumpUntil(ak::test::IsMenuOpen));
        ASSERT_TRUE(ak::test::ChooseInOpenMenu(choice));
        ASSERT_TRUE(ak::test::WaitUntilNoMenu());
        ASSERT_TRUE(ak::test::WaitUntilServed());
        EXPECT_EQ(popup.SelectedIndex(), choice);
    }
    EXPECT_EQ(fired.size(), 3u) << "the same choice again fires too";
    EXPECT_EQ(popup.TitleAt(0), "A & B");
    EXPECT_EQ(popup.TitleAt(1), "C_D");
    ClickCentre(popup);
    ASSERT_TRUE(ak::test::PumpUntil(ak::test::IsMenuOpen));
    ak::test::CancelOpenMenu();
    ASSERT_TRUE(ak::test::WaitUntilNoMenu());
    ASSERT_TRUE(ak::test::WaitUntilServed());
    EXPECT_EQ(fired.size(), 3u) << "closing without a choice";
}

TEST_F(ControlsTest, ADialogClosedFromItsOwnButtonAndProgressFromBadRanges) {
    // The button ends its dialog: window, views and button go inside the action.
    auto dialog = ak::MakeRef<ak::Window>(Rect{{80, 80}, {200, 100}}, ak::StyleMask::Titled);
    auto ok = ak::MakeRef<ak::Button>(Rect{{100, 60}, {80, 24}}, ak::ButtonKind::Push);
    ok->SetTitle("OK");
    dialog->ContentView()->AddSubview(ok.Get());
    dialog->SetDefaultButton(ok.Get());
    int pressed = 0;
    ak::Window* raw = dialog.Get();
    ok->SetAction([&pressed, raw](ak::Control& button) {
        ++pressed;
        button.RemoveFromSuperview();
        raw->Close();
    });
    ok.Reset();
    dialog->MakeKeyAndOrderFront();
    ASSERT_TRUE(ak::test::WaitUntilShown(*dialog));
    ak::test::Key(*dialog, 36, 0xff0d, true); // Return presses the default button
    ak::test::Key(*dialog, 36, 0xff0d, false);
    EXPECT_TRUE(ak::test::PumpUntil([&] { return dialog->IsClosed(); }));
    EXPECT_EQ(pressed, 1);
    EXPECT_TRUE(dialog->IsClosed());
    dialog.Reset();
    ASSERT_TRUE(ak::test::WaitUntilServed());

    auto progress = ak::MakeRef<ak::ProgressIndicator>(Rect{{10, 10}, {200, 12}});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double min, max, value, fraction;
    } cases[] = {{0, 100, 25, 0.25}, {0, 100, 150, 1}, {10, 10, 10, 0},
                 {20, 10, 15, 0},    {0, 100, nan, 0}, {0, nan, 5, 0}};
    for (const auto& c : cases) {
        progress->SetRange(c.min, c.max);
        progress->SetValue(c.value);
        EXPECT_EQ(progress->Fraction(), c.fraction) << c.min << ".." << c.max << " " << c.value;
    }
}

} // namespace

namespace {

TEST_F(ControlsTest, ComboBoxHearsTheUserAndTabsHearEveryChangeButInsertions) {
    auto& combo = Add(ak::MakeRef<ak::ComboBox>(Rect{{10, 10}, {160, 24}}));
    int selections = 0;
    std::vector<std::string> typed;
    combo.onSelectionChanged = [&](ak::ComboBox&) { ++selections; };
    combo.onTextChanged = [&](ak::ComboBox& c) { typed.push_back(c.Text()); };
    for (const char* title : {"Low", "Mid", "High"})
        combo.AddItem(title);
    combo.SelectIndex(2);
    combo.SetText("Custom");
    EXPECT_EQ(combo.SelectedIndex(), -1) << "text of its own deselects";
    auto& tabs = Add(ak::MakeRef<ak::TabView>(Rect{{10, 50}, {300, 120}}));
    std::vector<int> switched;
    tabs.onSelectionChanged = [&](ak::TabView&, int index) { switched.push_back(index); };
    for (const char* label : {"Amp", "EQ", "Comp"})
        tabs.InsertTab(tabs.Count(), label);
    tabs.InsertTab(0, "First");
    tabs.RemoveTab(0);
    EXPECT_TRUE(switched.empty()) << "insertions and removals are silent";
    tabs.SelectIndex(2);
    EXPECT_EQ(switched, std::vector<int>{2});
    EXPECT_EQ(tabs.LabelAt(1), "EQ");

    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    EXPECT_EQ(selections, 0);
    EXPECT_TRUE(typed.empty());
    combo.SetText("");
    ak::test::FocusNativeWidget(combo);
    ak::test::Key(*window, ak::test::KeycodeOf('5'), '5', true);
    ASSERT_TRUE(ak::test::WaitUntilServed());
    EXPECT_EQ(typed, std::vector<std::string>{"5"});
    EXPECT_TRUE(fired.empty()) << "typing is no choice";
}

} // namespace

namespace {

TEST_F(ControlsTest, TextViewSelectsInCharactersAndReplacesTheSelection) {
    auto& text = Add(ak::MakeRef<ak::TextView>(Rect{{10, 10}, {200, 60}}));
    text.SetWraps(true);
    text.SetText("Gain → 3 dB\nbad \xFF");
    EXPECT_EQ(text.Text(), "Gain → 3 dB\nbad \xEF\xBF\xBD");
    text.SetSelection(5, 1); // the arrow: one character, three bytes
    EXPECT_EQ(text.Selection(), (std::pair<int, int>{5, 1}));
    text.ReplaceSelection("=");
    EXPECT_EQ(text.Text().substr(0, 11), "Gain = 3 dB");
    text.SetSelection(100, 5);
    EXPECT_EQ(text.Selection().second, 0) << "clamped to the end";
    text.ScrollToEnd();
    text.ScrollToStart();
    EXPECT_TRUE(fired.empty());

    // Fonts reach the widget: twice the size, about twice the width.
    auto& label =
        Add(ak::MakeRef<ak::TextField>(Rect{{10, 80}, {10, 10}}, ak::TextFieldKind::Label));
    label.SetText("Preset name");
    double widths[2];
    for (int i = 0; i < 2; ++i) {
        label.SetFont(ak::Font::Named("DejaVu Sans", 10.0 * (i + 1)));
        ASSERT_TRUE(ak::test::WaitUntilSettled(*window)); // GTK restyles in its next frame
        label.SizeToFit();
        widths[i] = label.Frame().size.width;
    }
    EXPECT_NEAR(widths[1] / widths[0], 2, 0.3);
}

} // namespace

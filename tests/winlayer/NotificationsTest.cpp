#include "platform/ak/Box.h"
#include "platform/ak/Button.h"
#include "platform/ak/ComboBox.h"
#include "platform/ak/Menu.h"
#include "platform/ak/PopUpButton.h"
#include "platform/ak/Slider.h"
#include "platform/ak/TextField.h"
#include "platform/ak/TextView.h"
#include "platform/ak/test/AkTest.h"
#include "tests/winlayer/support/WindowProbe.h"
#include "winlayer/InputRecords.h"
#include "winlayer/draw/GdiText.h"
#include "winlayer/draw/Menus.h"
#include "winlayer/window/ControlReports.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace winlayer::test {
namespace {

using Log = std::vector<std::string>;

// Dialog controls as the layer's own classes answer the notifications' questions.
class FlaggedButton : public ak::Button, public WispButtonFlags {
public:
    FlaggedButton(ak::Rect frame, int flags)
        : ak::Button(frame, ak::ButtonKind::Check), flags_(flags) {}
    int wispRadioFlags() const override { return flags_; }

private:
    int flags_;
};

class RememberingCombo : public ak::ComboBox, public WispReportedSelection {
public:
    using ak::ComboBox::ComboBox;
    int wispLastReportedIndex() const override { return last_; }
    void wispSetLastReportedIndex(int index) override { last_ = index; }

private:
    int last_ = -1;
};

class ToldLabel : public ak::TextField, public WispColorFromPass {
public:
    explicit ToldLabel(ak::Rect frame) : ak::TextField(frame, ak::TextFieldKind::Label) {}
    void wispSetColorFromPass() override { ++told; }
    int told = 0;
};

std::string Command(int code, int id) {
    return "top 273 " + std::to_string(CommandParam(code, id));
}

class NotificationsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        probe.answers[WM_INITDIALOG] = 0;
        top = CreateModelessWindow(&resource, nullptr, &WindowProbe::DialogProc, 0, 0);
        probe.names[top] = "top";
        ShowWindow(top, SW_SHOW);
        window = FindWindow(top);
        ASSERT_TRUE(ak::test::WaitUntilShown(*window));
        probe.quiet.push_back(WM_SETCURSOR);
        probe.quiet.push_back(WM_NCHITTEST);
        probe.quiet.push_back(WM_MOUSEMOVE);
        probe.quiet.push_back(WM_CTLCOLORDLG);
        probe.quiet.push_back(WM_ERASEBKGND);
        probe.quiet.push_back(WM_PAINT);
        probe.quiet.push_back(0x85); // WM_NCPAINT
        ASSERT_TRUE(ak::test::WaitUntilServed());
        probe.Take();
    }
    template <class T>
    T& Add(ak::Ref<T> control, int id = 0) {
        if constexpr (std::is_base_of_v<ak::Control, T>)
            control->SetTag(id);
        FindView(top)->AddSubview(control.Get());
        return *control;
    }
    void ClickCentre(ak::View& view, uint32_t timeMs = 0) {
        const ak::Rect frame = view.Frame();
        const ak::Point centre{frame.MinX() + frame.size.width / 2,
                               frame.MinY() + frame.size.height / 2};
        ak::test::Enter(*window, centre);
        ak::test::Move(*window, centre);
        ak::test::Click(*window, centre, {1, 0, timeMs});
        EXPECT_TRUE(ak::test::WaitUntilServed());
    }
    Log Commands() {
        Log kept;
        for (const std::string& line : probe.Take())
            if (line.rfind("top 273 ", 0) == 0 || line.rfind("top 276 ", 0) == 0 ||
                line.rfind("top 279 ", 0) == 0)
                kept.push_back(line);
        return kept;
    }
    DialogResourceRecord resource{1, "Controls", 28, nullptr, 400, 400, nullptr};
    HWND top = nullptr;
    ak::Window* window = nullptr;
};

TEST_F(NotificationsTest, ARadioClickSwitchesOffItsGroupOnlyAndReportsAClick) {
    Add(ak::MakeRef<ak::TextField>(ak::Rect{{0, 0}, {40, 20}}, ak::TextFieldKind::Label));
    const int flags[] = {kRadioButton | kFirstOfGroup, kRadioButton, kRadioButton,
                         kRadioButton | kFirstOfGroup, kRadioButton};
    std::vector<FlaggedButton*> radios;
    for (int i = 0; i < 5; ++i) {
        auto& radio = Add(
            ak::MakeRef<FlaggedButton>(ak::Rect{{0, 30.0 + 25 * i}, {80, 20}}, flags[i]), 100 + i);
        radio.SetState(i == 2 ? 0 : 1); // the click turns the clicked one on
        radios.push_back(&radio);
    }
    radios[2]->PerformClick();
    std::vector<int> states;
    for (auto* radio : radios)
        states.push_back(radio->State());
    EXPECT_EQ(states, (std::vector<int>{0, 0, 1, 1, 1})) << "up to the group's first, not beyond";
    EXPECT_EQ(Commands(), (Log{Command(0, 102)}));

    radios[3]->SetState(0);
    radios[3]->PerformClick(); // first of its group: only forwards
    EXPECT_EQ(radios[2]->State(), 1);
    EXPECT_EQ(radios[4]->State(), 0);
    EXPECT_EQ(Commands(), (Log{Command(0, 103)}));
}

TEST_F(NotificationsTest, ButtonsSliderAndPopUpsReportThroughTheProcedure) {
    auto& push =
        Add(ak::MakeRef<ak::Button>(ak::Rect{{10, 10}, {100, 30}}, ak::ButtonKind::Push), 5);
    push.SetTitle("Push");
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    ClickCentre(push, 40000000);
    ClickCentre(push, 40000100);
    EXPECT_EQ(Commands(), (Log{Command(0, 5), Command(1, 5)})) << "a double click's second";

    auto& slider = Add(ak::MakeRef<ak::Slider>(ak::Rect{{10, 60}, {150, 24}}), 6);
    slider.SetValue(0.5);
    EXPECT_TRUE(Commands().empty()) << "a program's change is silent";

    auto& popup = Add(ak::MakeRef<ak::PopUpButton>(ak::Rect{{10, 100}, {120, 26}}), 9);
    for (const char* title : {"A", "B", "C"})
        popup.AddItem(title);
    popup.SelectIndex(1);
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    EXPECT_TRUE(Commands().empty());
    for (int choice : {1, 1}) {
        ClickCentre(popup);
        ASSERT_TRUE(ak::test::PumpUntil(ak::test::IsMenuOpen));
        ASSERT_TRUE(ak::test::ChooseInOpenMenu(choice));
        ASSERT_TRUE(ak::test::WaitUntilNoMenu());
        ASSERT_TRUE(ak::test::WaitUntilServed());
    }
    EXPECT_EQ(Commands(), (Log{Command(1, 9), Command(1, 9)})) << "the same choice again too";
}

TEST_F(NotificationsTest, CombosReportOpeningClosingAndANewSelectionOnce) {
    auto& combo = Add(ak::MakeRef<RememberingCombo>(ak::Rect{{10, 10}, {150, 30}}), 11);
    for (const char* title : {"x", "y", "z"})
        combo.AddItem(title);
    combo.onPopUp(combo);
    combo.SelectIndex(1);
    combo.onSelectionChanged(combo);
    combo.onSelectionChanged(combo); // the same index again
    combo.onClose(combo);
    combo.SelectIndex(2);
    combo.onSelectionChanged(combo);
    combo.onTextChanged(combo);
    combo.onEditingEnded(combo);
    EXPECT_EQ(Commands(), (Log{Command(7, 11), Command(1, 11), Command(8, 11), Command(1, 11),
                               Command(5, 11), Command(0x200, 11)}));

    auto& field = Add(
        ak::MakeRef<ak::TextField>(ak::Rect{{10, 60}, {150, 24}}, ak::TextFieldKind::Editable), 12);
    field.onTextChanged(field);
    field.onEditingEnded(field);
    EXPECT_EQ(Commands(), (Log{Command(0x300, 12), Command(0x200, 12)}));

    auto& text = Add(ak::MakeRef<ak::TextView>(ak::Rect{{10, 100}, {150, 60}}), 13);
    text.SetText("set by the program");
    EXPECT_TRUE(Commands().empty());
    text.ReplaceSelection("inserted by the program");
    EXPECT_TRUE(Commands().empty());
    text.onTextChanged(text);
    text.onEditingEnded(text);
    EXPECT_EQ(Commands(), (Log{Command(0x300, 13), Command(0x200, 13)}));
}

TEST_F(NotificationsTest, MenuChoicesKeepTheirWholeTagAndSubmenusAnnounceThemselves) {
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AddMenuItem(menu, -1, "Item", 0x12345);
    AddMenuItem(sub, -1, "Inner", 3);
    WISP_InsertMenu(menu, -1, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Sub");
    ASSERT_TRUE(SetMenu(top, menu));
    probe.Take();
    ak::MenuItem* item = AkMenu(menu)->ItemWithTag(0x12345);
    ASSERT_NE(item, nullptr);
    item->onActivate(*item);
    ASSERT_TRUE(AkMenu(sub)->onWillShow);
    AkMenu(sub)->onWillShow(*AkMenu(sub));
    EXPECT_EQ(Commands(), (Log{"top 273 " + std::to_string(0x12345),
                               "top 279 " + std::to_string(reinterpret_cast<WPARAM>(sub))}));
    SetMenu(top, nullptr);
    DestroyMenu(menu);
}

TEST_F(NotificationsTest, OneColourQuestionPerKindColoursEveryStaticControl) {
    std::vector<ToldLabel*> labels;
    for (int i = 0; i < 13; ++i)
        labels.push_back(&Add(ak::MakeRef<ToldLabel>(ak::Rect{{0, 20.0 * i}, {60, 18}})));
    std::vector<ak::Box*> boxes;
    for (int i = 0; i < 2; ++i)
        boxes.push_back(
            &Add(ak::MakeRef<ak::Box>(ak::Rect{{100, 60.0 * i}, {80, 50}}, ak::BoxKind::Titled)));
    auto& editable = Add(ak::MakeRef<ToldLabel>(ak::Rect{{200, 0}, {60, 18}}));
    (void)editable;
    int questions = 0;
    probe.hook = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        if (message == WM_CTLCOLORSTATIC) {
            ++questions;
            SetTextColor(reinterpret_cast<HDC>(wParam), 0x00FF00);
            return 1;
        }
        return 0;
    };
    WISP_ApplyCtlColors(top, &WindowProbe::DialogProc, FALSE);
    EXPECT_EQ(questions, 1);
    for (ToldLabel* label : labels)
        EXPECT_EQ(label->told, 1);
    for (ak::Box* box : boxes)
        EXPECT_EQ(box->ForegroundColor(), (ak::Color{0, 1, 0, 1}));

    // No colour from the procedure: none, unless forced, then the system's.
    probe.hook = nullptr;
    auto& lone = Add(ak::MakeRef<ak::Box>(ak::Rect{{300, 0}, {80, 50}}, ak::BoxKind::Titled));
    WISP_ApplyCtlColors(top, &WindowProbe::DialogProc, FALSE);
    EXPECT_FALSE(lone.ForegroundColor().has_value());
    WISP_ApplyCtlColors(top, &WindowProbe::DialogProc, TRUE);
    EXPECT_TRUE(lone.ForegroundColor().has_value());
}

} // namespace
} // namespace winlayer::test

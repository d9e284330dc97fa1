// The native text field, popup menu and colour panel of the platform canvas,
// answered through their own widgets.
#include "platform/ak/ColorPanel.h"
#include "platform/ak/Pasteboard.h"
#include "render/view/ICanvasMenu.h"
#include "tests/render/view/CanvasWindow.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using vx::test::CanvasWindow;
using vx::test::FakeDelegate;
using vx::ui::IPopupMenu;

TEST_F(CanvasWindow, AFloatFieldTakesOnlyNumberCharactersUpToItsLengthAndCommitsInOrder) {
    paramIdx = FakeDelegate::kGain;
    vx::ui::ICanvasView* view = nullptr;
    bool openAtApply = false;
    action = [&](vx::ui::IControl*) { openAtApply = view->TextEntryField() != nullptr; };
    view = Open();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    control->SetTextEntryLength(5);
    Canvas()->OpenValueEntry(control, control->GetRECT(), 0);
    ak::Ref<ak::TextField> field(view->TextEntryField());
    ASSERT_TRUE(field);
    EXPECT_EQ(field->Frame(), (ak::Rect{{20, 20}, {40, 40}}));
    EXPECT_EQ(field->Text(), "25.0");

    field->SetText("");
    ak::test::TypeIntoNativeWidget(*field, "1");
    ak::test::TypeIntoNativeWidget(*field, "2");
    ak::test::TypeIntoNativeWidget(*field, "a"); // refused
    ak::test::TypeIntoNativeWidget(*field, ".5");
    ak::Pasteboard::SetText("3x");
    field->Paste(); // the letter refused, the digit kept
    ak::test::PumpUntil([&] { return field->Text().size() > 4; });
    EXPECT_EQ(field->Text(), "12.53");
    ak::test::TypeIntoNativeWidget(*field, "9"); // past the maximum length
    EXPECT_EQ(field->Text(), "12.53");

    delegate.log.clear();
    Canvas()->MarkAllControlsClean();
    ak::test::PressReturnInNativeWidget(*field);
    EXPECT_TRUE(openAtApply);
    EXPECT_EQ(view->TextEntryField(), nullptr);
    EXPECT_EQ(field->Superview(), nullptr);
    EXPECT_EQ(Canvas()->GetControlInTextEntry(), nullptr);
    EXPECT_NEAR(delegate.GetParam(FakeDelegate::kGain)->CurrentValue(), 12.5, 0.051);
    vx::ui::IRECTList dirty;
    EXPECT_TRUE(Canvas()->IsDirty(dirty)); // everything redraws after the commit
}

TEST_F(CanvasWindow, AWheelClosesAnOpenFieldBeforeItArrivesAndOnlyOneFieldOpens) {
    paramIdx = FakeDelegate::kCount;
    vx::ui::ICanvasView* view = Open();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    Canvas()->OpenValueEntry(control, control->GetRECT(), 0);
    ak::Ref<ak::TextField> first(view->TextEntryField());
    ASSERT_TRUE(first);
    Canvas()->ShowNativeTextEntry(-1, {}, {0, 0, 10, 10}, 0, "other");
    EXPECT_EQ(view->TextEntryField(), first.Get());

    ak::test::TypeIntoNativeWidget(*first, "7");
    delegate.log.clear();
    log.clear();
    ak::test::Enter(*window, {30, 30});
    ak::test::Scroll(*window, {70, 30}, 0);
    ak::test::PumpUntil([&] { return view->TextEntryField() == nullptr; });
    EXPECT_EQ(view->TextEntryField(), nullptr);
    EXPECT_EQ(Canvas()->GetControlInTextEntry(), nullptr);
    EXPECT_TRUE(delegate.log.empty()); // closed, not committed

    // A font never loaded gives way to the system font; no parameter, no filter.
    vx::ui::IText text;
    text.SetFont("NoSuchFont-Regular");
    text.size = 12;
    Canvas()->ShowNativeTextEntry(-1, text, {0, 0, 50, 20}, 3, "abc");
    ak::Ref<ak::TextField> plain(view->TextEntryField());
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->GetFont(), ak::Font::System(12));
    ak::test::TypeIntoNativeWidget(*plain, "xyz");
    EXPECT_EQ(plain->Text(), "abcxyz");
    Canvas()->EndTextEditing();
    EXPECT_EQ(view->TextEntryField(), nullptr);
}

// The native menu of a model: numbering, marks, separators and submenus.
TEST(CanvasMenu, NumbersMarksAndFindsTheMenuHoldingAChoice) {
    ASSERT_NE(ak::test::App(), nullptr);
    IPopupMenu model;
    model.SetPrefix(2);
    model.AddItem("Room");
    model.AddSeparator();
    model.AddItem("Hall", IPopupMenu::kChecked | IPopupMenu::kDisabled);
    model.AddItem("Plate", IPopupMenu::kTitle);
    auto sub = std::make_unique<IPopupMenu>();
    sub->AddItem("A & B");
    sub->AddItem("C_D");
    model.AddItem("More", -1, std::move(sub));
    vx::ui::ICanvasMenu native(model);
    ak::Menu& menu = *native.Menu();
    ASSERT_EQ(menu.Count(), 5);
    EXPECT_EQ(menu.ItemAt(0)->Title(), "01: Room");
    EXPECT_TRUE(menu.ItemAt(1)->IsSeparator());
    EXPECT_EQ(menu.ItemAt(2)->Title(), "03: Hall");
    EXPECT_TRUE(menu.ItemAt(2)->IsChecked());
    EXPECT_FALSE(menu.ItemAt(2)->IsEnabled());
    EXPECT_EQ(menu.ItemAt(3)->Indent(), 1);
    EXPECT_EQ(menu.ItemAt(0)->Indent(), 0);
    ak::Menu* submenu = menu.ItemAt(4)->Submenu();
    ASSERT_NE(submenu, nullptr);
    EXPECT_EQ(submenu->ItemAt(0)->Title(), "A & B"); // the submenu has no prefix

    EXPECT_EQ(native.ChoiceOf(submenu->ItemAt(1)), model.GetItem(4)->submenu.get());
    EXPECT_EQ(model.GetItem(4)->submenu->GetChosenItemIdx(), 1);
    EXPECT_EQ(native.ChoiceOf(menu.ItemAt(3)), &model);
    EXPECT_EQ(model.GetChosenItemIdx(), 3);
    EXPECT_EQ(native.ChoiceOf(menu.ItemAt(4)), nullptr); // a submenu's opener
    EXPECT_EQ(native.ChoiceOf(nullptr), nullptr);
}

struct NativeMenu : CanvasWindow {
    void SetUp() override {
        CanvasWindow::SetUp();
        // Set first: the submenu takes a copy.
        menu.SetCompletion([this](IPopupMenu* chosen) {
            completed.push_back(chosen == &menu ? "top " : "sub ");
            completed.back() += std::to_string(chosen->GetChosenItemIdx());
        });
        menu.AddItem("Room");
        auto sub = std::make_unique<IPopupMenu>();
        sub->AddItem("Spring");
        sub->AddItem("Plate");
        menu.AddItem("More", -1, std::move(sub));
    }
    // Opens the menu from the test control; answer runs inside the menu's loop.
    void OpenAndAnswer(std::function<void()> answer) {
        Canvas()->OpenPopupMenu(control, menu, control->GetRECT(), -1, true);
        bool answered = false;
        ak::Application::RunOnMainLater([answer, &answered] {
            ASSERT_TRUE(ak::test::PumpUntil([] { return ak::test::IsMenuOpen(); }));
            answer();
            answered = true;
        });
        // The menu's own loop runs inside this wait; it is over once the
        // answer is given and no menu is open.
        EXPECT_TRUE(ak::test::PumpUntil([&] { return answered && !ak::test::IsMenuOpen(); }));
        EXPECT_TRUE(ak::test::WaitUntilServed());
    }
    IPopupMenu menu;
    std::vector<std::string> completed;
};

TEST_F(NativeMenu, ASubmenuChoiceReachesTheSubmenuAndNoChoiceReachesNothing) {
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    OpenAndAnswer([] { ak::test::ChooseInOpenSubmenu(1, 1); });
    EXPECT_EQ(completed, (std::vector<std::string>{"sub 1"}));
    EXPECT_EQ(Canvas()->GetControlInPopupMenu(), nullptr);

    completed.clear();
    OpenAndAnswer([] { ak::test::ChooseInOpenMenu(0); });
    EXPECT_EQ(completed, (std::vector<std::string>{"top 0"}));

    completed.clear();
    log.clear();
    OpenAndAnswer([] { ak::test::CancelOpenMenu(); });
    EXPECT_TRUE(completed.empty());
    EXPECT_EQ(Canvas()->GetControlInPopupMenu(), nullptr);
    EXPECT_FALSE(ak::test::IsMenuOpen());
}

TEST_F(NativeMenu, AQueuedMenuOfAClosedEditorNeverOpens) {
    ASSERT_NE(Open(), nullptr);
    Canvas()->OpenPopupMenu(control, menu, control->GetRECT(), -1, true);
    delegate.CloseEditor(); // the canvas, its controls and their menus go
    // The menu's opening was queued before this task: once it has run, the
    // menu would be open.
    bool later = false;
    ak::Application::RunOnMainLater([&later] { later = true; });
    ASSERT_TRUE(ak::test::PumpUntil([&] { return later; }));
    ASSERT_TRUE(ak::test::WaitUntilServed());
    EXPECT_FALSE(ak::test::IsMenuOpen());
    EXPECT_TRUE(completed.empty());
}

TEST_F(CanvasWindow, TheColourPanelReportsEveryChangeAsBytes) {
    vx::ui::ICanvasMac withoutView(delegate, 10, 10, 60, 1.f);
    vx::ui::IColor color(255, 10, 20, 30);
    EXPECT_FALSE(withoutView.RunColorPicker(color, "", nullptr));

    ASSERT_NE(Open(), nullptr);
    std::vector<vx::ui::IColor> picked;
    ASSERT_TRUE(
        Canvas()->RunColorPicker(color, "", [&](const vx::ui::IColor& c) { picked.push_back(c); }));
    ASSERT_TRUE(ak::ColorPanel::IsShown());
    ASSERT_TRUE(ak::test::ColorPanelPick({40 / 255.0, 1, 0, 128 / 255.0}));
    ASSERT_TRUE(ak::test::ColorPanelPick({0, 0.999, 1, 1}));
    ak::test::PumpUntil([&] { return picked.size() >= 2; });
    ASSERT_EQ(picked.size(), 2u);
    EXPECT_EQ(picked[0], vx::ui::IColor(128, 40, 255, 0));
    EXPECT_EQ(picked[1], vx::ui::IColor(255, 0, 254, 255));
    delegate.CloseEditor();
    ak::test::PumpUntil([] { return !ak::ColorPanel::IsShown(); });
    EXPECT_FALSE(ak::ColorPanel::IsShown());
}

} // namespace

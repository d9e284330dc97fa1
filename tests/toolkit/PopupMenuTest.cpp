#include "tests/support/ToolkitTest.h"

namespace {

using namespace vx::ui;
using vx::test::FakeDelegate;
using vx::test::RunFrame;
using vx::test::TestClock;
using vx::test::TestControl;
using vx::test::ToolkitTest;

using Panel = IPopupMenuControl::MenuPanel;

class PopupMenu : public ToolkitTest {
protected:
    void SetUp() override {
        canvas.Resize(1920, 1200, 1.f, false);
        canvas.AddPopupMenuControl(IText(), IRECT());
        popup = canvas.GetPopupMenuControl();
        ASSERT_NE(popup, nullptr);
        opener = Add("opener", {0, 0, 10, 10});
        log.clear();
    }
    // A menu whose completion notes the chosen index.
    void Watch(IPopupMenu& menu) {
        menu.SetCompletion([this](IPopupMenu* m) { completions.push_back(m->GetChosenItemIdx()); });
    }
    void Open(IPopupMenu& menu, const IRECT& anchor = {900, 500, 960, 530},
              TestControl* by = nullptr) {
        canvas.OpenPopupMenu(by ? by : opener, menu, anchor, -1, true);
    }
    // Time passes and one frame runs.
    void Frame(double ms) {
        clock.Advance(ms);
        RunFrame(canvas);
    }
    // Runs the closing states out.
    void CloseFully() {
        for (int i = 0; i < 10 && popup->GetState() != IPopupMenuControl::kCollapsed; ++i)
            Frame(101);
    }
    static std::pair<float, float> Centre(const Panel* panel, int cell) {
        const IRECT& r = panel->cells[static_cast<size_t>(cell)];
        return {r.MW(), r.MH()};
    }
    void ClickCell(int panel, int cell) {
        const auto [x, y] = Centre(popup->GetPanel(panel), cell);
        canvas.OnMouseDown(At(x, y));
        canvas.OnMouseUp(At(x, y));
    }
    void Hover(int panel, int cell) {
        const auto [x, y] = Centre(popup->GetPanel(panel), cell);
        canvas.OnMouseOver(x, y, {});
    }

    TestClock clock;
    IPopupMenuControl* popup = nullptr;
    TestControl* opener = nullptr;
    std::vector<int> completions;
};

std::unique_ptr<IPopupMenu> MenuOf(std::initializer_list<const char*> items) {
    auto menu = std::make_unique<IPopupMenu>();
    for (const char* item : items)
        menu->AddItem(item);
    return menu;
}

TEST_F(PopupMenu, ClicksThatChooseNothingReportMinusOne) {
    IPopupMenu menu;
    Watch(menu);
    menu.AddItem("Title", IPopupMenu::kTitle);
    menu.AddSeparator();
    menu.AddItem("Off", IPopupMenu::kDisabled);
    menu.AddSubmenu("Sub", MenuOf({"x"}));
    menu.AddItem("Good");
    struct Case {
        const char* what;
        int cell; // -1: far outside the panel
        int chosen;
    };
    for (const Case& c :
         {Case{"outside", -1, -1}, Case{"title", 0, -1}, Case{"separator", 1, -1},
          Case{"disabled", 2, -1}, Case{"submenu owner", 3, -1}, Case{"enabled item", 4, 4}}) {
        SCOPED_TRACE(c.what);
        completions.clear();
        log.clear();
        Open(menu);
        Frame(101);
        ASSERT_EQ(popup->GetState(), IPopupMenuControl::kExpanded);
        if (c.cell < 0) {
            canvas.OnMouseDown(At(5, 5));
            canvas.OnMouseUp(At(5, 5));
        } else {
            ClickCell(0, c.cell);
        }
        EXPECT_EQ(completions, std::vector<int>{c.chosen});
        EXPECT_EQ(Events("context"),
                  std::vector<std::string>{"opener context " + std::to_string(c.chosen)});
        EXPECT_FALSE(popup->IsExpanded());
        EXPECT_TRUE(popup->IsHidden());
        CloseFully();
    }
}

TEST_F(PopupMenu, NothingOfTheMenuIsDrawnAfterAClick) {
    IPopupMenu menu;
    menu.AddItem("One");
    menu.AddSeparator();
    menu.AddItem("Two");
    Open(menu);
    canvas.ClearCalls();
    Frame(101);
    ASSERT_FALSE(canvas.CallsStartingWith("DrawTextString").empty());

    ClickCell(0, 0);
    for (int state : {IPopupMenuControl::kChosen, IPopupMenuControl::kClosing,
                      IPopupMenuControl::kCleaningUp}) {
        EXPECT_EQ(popup->GetState(), state);
        canvas.ClearCalls();
        Frame(101);
        EXPECT_TRUE(canvas.CallsStartingWith("Fill").empty());
        EXPECT_TRUE(canvas.CallsStartingWith("DrawTextString").empty());
    }
    EXPECT_EQ(popup->GetState(), IPopupMenuControl::kCollapsed);
}

TEST_F(PopupMenu, RootPanelPlacementAroundAnchorsInEachQuadrant) {
    struct Anchor {
        const char* where;
        IRECT r;
    };
    const Anchor anchors[] = {
        {"top left", {300, 200, 360, 230}},
        {"top right", {1500, 200, 1560, 230}},
        {"bottom left", {300, 1120, 360, 1150}},
        {"bottom right", {1500, 1120, 1560, 1150}},
    };
    struct Case {
        bool preferBelow;
        bool submenus;
        int directions[4]; // per anchor, in the order above
    };
    const Case cases[] = {
        {true, false, {2, 2, 1, 3}},  // below when it fits, else beside facing the centre
        {false, false, {1, 3, 1, 3}}, // beside, facing the centre
        {true, true, {2, 2, 0, 0}},   // with submenus: below or above, where there is more room
        {false, true, {2, 2, 0, 0}},
    };
    const IRECT area = IRECT(0, 0, 1920, 1200).GetPadded(-10.f);
    for (const Case& c : cases) {
        IPopupMenu menu;
        for (const char* item : {"Room", "Hall", "Arena", "Spring", "Plate"})
            menu.AddItem(item);
        if (c.submenus)
            menu.AddSubmenu("More", MenuOf({"a", "b"}));
        popup->SetPreferBelow(c.preferBelow);
        popup->SetShowCallout(true);
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(std::string(anchors[i].where) + (c.preferBelow ? " preferBelow" : "") +
                         (c.submenus ? " submenus" : ""));
            const IRECT& a = anchors[i].r;
            Open(menu, a);
            const IRECT r = popup->GetPanel(0)->rect;
            const int dir = popup->GetCalloutDirection();
            EXPECT_EQ(dir, c.directions[i]);
            EXPECT_TRUE(r.L >= area.L && r.R <= area.R && r.T >= area.T && r.B <= area.B);
            // The panel is on that side, the callout between it and the anchor.
            const IRECT& callout = popup->GetCalloutRect();
            switch (dir) {
            case 0:
                EXPECT_EQ(callout.B, a.T);
                EXPECT_LE(r.B, callout.T);
                break;
            case 1:
                EXPECT_EQ(callout.L, a.R);
                EXPECT_GE(r.L, callout.R);
                break;
            case 2:
                EXPECT_EQ(callout.T, a.B);
                EXPECT_GE(r.T, callout.B);
                break;
            default:
                EXPECT_EQ(callout.R, a.L);
                EXPECT_LE(r.R, callout.L);
                break;
            }
            if (c.submenus) {
                EXPECT_EQ(popup->GetSubmenusOpenRight(), a.MW() <= 960.f);
            }
            canvas.OnMouseDown(At(5, 5));
            CloseFully();
        }
    }
}

TEST_F(PopupMenu, ATallMenuScrollsByOnePerHoverWithinBounds) {
    IPopupMenu menu;
    Watch(menu);
    for (int i = 0; i < 100; ++i)
        menu.AddItem(std::to_string(i).c_str());
    Open(menu);
    const Panel* panel = popup->GetPanel(0);
    ASSERT_TRUE(panel->scrolls);
    const int visible = panel->NCells();
    ASSERT_LT(visible, 100);
    EXPECT_LE(panel->rect.B, 1200.f);

    Hover(0, visible - 1);
    Hover(0, visible - 1);
    EXPECT_EQ(panel->scrollOffset, 2);
    Hover(0, 0);
    Hover(0, 0);
    Hover(0, 0);
    EXPECT_EQ(panel->scrollOffset, 0);
    for (int i = 0; i < 200; ++i)
        Hover(0, visible - 1);
    EXPECT_EQ(panel->scrollOffset, 100 - visible);
    Hover(0, 0);
    ClickCell(0, 5); // the item shown there, not the cell's position
    EXPECT_EQ(completions, std::vector<int>{100 - visible - 1 + 5});
}

TEST_F(PopupMenu, ASubmenuChainOpensAndCloses) {
    IPopupMenu menu;
    menu.AddItem("A");
    auto more = MenuOf({"B"});
    more->AddSubmenu("Deeper", MenuOf({"C"}));
    IPopupMenu* moreMenu = menu.AddSubmenu("More", std::move(more)).submenu.get();
    IPopupMenu* deeperMenu = moreMenu->GetItem(1)->submenu.get();
    menu.AddItem("D");
    std::vector<int> deeperChoices;
    deeperMenu->SetCompletion(
        [&](IPopupMenu* m) { deeperChoices.push_back(m->GetChosenItemIdx()); });
    Open(menu);
    Frame(101);

    auto drawn = [&] {
        std::vector<int> out;
        for (int i = 0; i < popup->NPanels(); ++i)
            if (popup->GetPanel(i)->shouldDraw)
                out.push_back(i);
        return out;
    };
    Hover(0, 1);
    ASSERT_EQ(popup->NPanels(), 2);
    EXPECT_EQ(popup->GetPanel(1)->menu, moreMenu);
    EXPECT_EQ(popup->GetPanel(0)->rememberedCell, 1);
    EXPECT_GE(popup->GetPanel(1)->rect.L, popup->GetPanel(0)->cells[1].R); // opens right
    Hover(1, 1);
    ASSERT_EQ(popup->NPanels(), 3);
    EXPECT_EQ(drawn(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(popup->GetActivePanel(), popup->GetPanel(1));

    Hover(0, 0); // back to a plain item of the root
    EXPECT_EQ(drawn(), std::vector<int>{0});
    EXPECT_EQ(popup->GetPanel(0)->rememberedCell, -1);
    Hover(0, 1); // the submenu's panel is reused
    EXPECT_EQ(popup->NPanels(), 3);
    EXPECT_EQ(drawn(), (std::vector<int>{0, 1}));

    Hover(1, 1);
    Hover(2, 0);
    ClickCell(2, 0);
    EXPECT_EQ(deeperChoices, std::vector<int>{0});
    EXPECT_EQ(Events("context"), std::vector<std::string>{"opener context 0"});
}

TEST_F(PopupMenu, FadesAndClosingStatesFollowTheClock) {
    IPopupMenu menu;
    menu.AddItem("One");
    menu.AddSeparator();
    menu.AddSubmenu("More", MenuOf({"a", "b"}));
    canvas.ClearCalls();
    Open(menu);
    EXPECT_EQ(canvas.CallsStartingWith("UpdateTooltips").size(), 1u);
    const Panel* root = popup->GetPanel(0);
    auto separatorDrawn = [&] {
        return !canvas.CallsStartingWith("FillRect 255,200,200,200").empty();
    };

    EXPECT_EQ(popup->GetState(), IPopupMenuControl::kExpanding);
    canvas.ClearCalls();
    Frame(50);
    EXPECT_NEAR(root->blend.weight, 0.5f * 0.95f, 1e-4f);
    EXPECT_FALSE(separatorDrawn());
    canvas.ClearCalls();
    Frame(51);
    EXPECT_EQ(popup->GetState(), IPopupMenuControl::kExpanded);
    EXPECT_FLOAT_EQ(root->blend.weight, 0.95f);
    EXPECT_TRUE(separatorDrawn());

    Hover(0, 2);
    const Panel* sub = popup->GetPanel(1);
    EXPECT_EQ(popup->GetState(), IPopupMenuControl::kSubmenuAppearing);
    for (const auto& [ms, weight] : {std::pair{100.0, 0.f}, {79.0, 0.f}, {2.0, 0.95f}}) {
        Frame(ms);
        EXPECT_FLOAT_EQ(sub->blend.weight, weight);
    }
    Frame(20);
    EXPECT_EQ(popup->GetState(), IPopupMenuControl::kExpanded);

    ClickCell(0, 0);
    canvas.ClearCalls();
    for (int next : {IPopupMenuControl::kClosing, IPopupMenuControl::kCleaningUp,
                     IPopupMenuControl::kCollapsed}) {
        Frame(99);
        EXPECT_NE(popup->GetState(), next);
        Frame(2);
        EXPECT_EQ(popup->GetState(), next);
    }
    EXPECT_EQ(canvas.CallsStartingWith("UpdateTooltips").size(), 1u); // refreshed after closing
    EXPECT_EQ(popup->NPanels(), 0);
}

TEST_F(PopupMenu, RefusedAndEmptyMenusAnswerAtOnce) {
    IPopupMenu empty;
    Watch(empty);
    Open(empty);
    EXPECT_EQ(completions, std::vector<int>{-1});
    EXPECT_EQ(Events("context"), std::vector<std::string>{"opener context -1"});
    EXPECT_EQ(popup->GetState(), IPopupMenuControl::kCollapsed);
    EXPECT_EQ(canvas.GetControlInPopupMenu(), nullptr);

    auto first = MenuOf({"a"});
    Open(*first);
    ClickCell(0, 0); // closing from here on
    TestControl* second = Add("second", {20, 20, 30, 30});
    IPopupMenu refused;
    refused.AddItem("b");
    completions.clear();
    Watch(refused);
    log.clear();
    Open(refused, {900, 500, 960, 530}, second);
    EXPECT_EQ(completions, std::vector<int>{-1});
    EXPECT_EQ(Events("context"), std::vector<std::string>{"second context -1"});
    EXPECT_EQ(canvas.GetControlInPopupMenu(), nullptr);
    EXPECT_EQ(popup->GetState(), IPopupMenuControl::kChosen);
}

TEST_F(PopupMenu, AMenuRefusedWhileAnotherIsShownLeavesThatOnesOpener) {
    auto shown = MenuOf({"a", "b"});
    Open(*shown);
    TestControl* second = Add("second", {20, 20, 30, 30});
    IPopupMenu refused;
    refused.AddItem("c");
    Open(refused, {900, 500, 960, 530}, second);
    EXPECT_EQ(Events("context"), std::vector<std::string>{"second context -1"});
    EXPECT_EQ(canvas.GetControlInPopupMenu(), opener);
    log.clear();
    ClickCell(0, 1);
    EXPECT_EQ(Events("context"), std::vector<std::string>{"opener context 1"});
}

TEST_F(PopupMenu, AClickWhileTheMenuFadesInMakesTheResult) {
    Add("beneath", {0, 0, 1920, 1200});
    IPopupMenu menu;
    Watch(menu);
    menu.AddItem("a");
    menu.AddSubmenu("More", MenuOf({"x", "y"}));
    Open(menu);
    ASSERT_EQ(popup->GetState(), IPopupMenuControl::kExpanding);
    Hover(0, 1);
    ASSERT_EQ(popup->GetState(), IPopupMenuControl::kSubmenuAppearing);
    log.clear();
    ClickCell(0, 0);
    EXPECT_EQ(completions, std::vector<int>{0});
    EXPECT_TRUE(Events("down").empty());
}

TEST_F(PopupMenu, ValueAndContextMenusReachTheControlThatOpenedThem) {
    TestControl* room = Add("room", {100, 100, 200, 130}, -1, "", FakeDelegate::kRoom);
    room->SetTextEntryDisabled(false);
    room->OpenValueEntry(0);
    const Panel* panel = popup->GetPanel(0);
    ASSERT_EQ(panel->NCells(), 5);
    EXPECT_TRUE(panel->menu->GetItem(1)->flags & IPopupMenu::kChecked); // "Hall", the default
    ClickCell(0, 2);
    EXPECT_DOUBLE_EQ(delegate.GetParam(FakeDelegate::kRoom)->CurrentValue(), 2.0);
    EXPECT_EQ(room->GetValue(), 0.5);
    CloseFully();

    TestControl* knob = Add("knob", {300, 100, 350, 150}, -1, "", FakeDelegate::kGain);
    knob->contextItems = {"One", "Two"};
    log.clear();
    canvas.OnMouseDown(At(320, 120, true));
    ASSERT_TRUE(popup->IsExpanded());
    ClickCell(0, 1);
    EXPECT_EQ(Events("context"), std::vector<std::string>{"knob context 1"});
}

} // namespace

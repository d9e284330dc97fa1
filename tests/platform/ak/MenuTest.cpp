#include "platform/ak/Menu.h"
#include "platform/ak/Event.h"
#include "platform/ak/TimeoutSource.h"
#include "platform/ak/View.h"
#include "platform/ak/Window.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ak::Rect;

constexpr unsigned kComma = 0x2c;
constexpr unsigned kLetterF = 0x66;
constexpr unsigned kLetterQ = 0x71;

struct MenuTest : ::testing::Test {
    void SetUp() override {
        ASSERT_NE(ak::test::App(), nullptr);
        window = ak::MakeRef<ak::Window>(Rect{{60, 60}, {400, 300}}, ak::StyleMask::Titled);
        file = ak::MakeRef<ak::Menu>("&File");
        AddCommand(*file, "&Preferences...", 40006, ",");
        file->AddItem(ak::MenuItem::Separator().Get());
        AddCommand(*file, "&Quit", 40007, "q");
        auto fileItem = ak::MakeRef<ak::MenuItem>("&File");
        fileItem->SetSubmenu(file.Get());
        bar = ak::MakeRef<ak::Menu>();
        bar->AddItem(fileItem.Get());
    }
    void TearDown() override {
        window->Close();
        ak::test::WaitUntilServed();
    }
    void AddCommand(ak::Menu& menu, const std::string& title, int64_t tag, const std::string& key) {
        auto item = ak::MakeRef<ak::MenuItem>(title, tag);
        item->SetKeyEquivalent(key, ak::ModifierFlag::Command);
        item->onActivate = [this](ak::MenuItem& chosen) { chosenTags.push_back(chosen.Tag()); };
        menu.AddItem(item.Get());
    }
    void Type(unsigned keysym, unsigned modifiers) {
        const unsigned keycode = ak::test::KeycodeOf(keysym);
        ak::test::Key(*window, keycode, keysym, true, modifiers);
        ak::test::Key(*window, keycode, keysym, false, modifiers);
        EXPECT_TRUE(ak::test::WaitUntilServed());
    }
    ak::Ref<ak::Window> window;
    ak::Ref<ak::Menu> file;
    ak::Ref<ak::Menu> bar;
    std::vector<int64_t> chosenTags;
};

TEST_F(MenuTest, KeyEquivalentsAndMnemonicsOfTheWindowsOwnMenuBar) {
    window->SetMenuBar(bar.Get());
    const Rect content = window->ContentRect();
    EXPECT_GT(content.MinY(), 0) << "the bar takes the top";
    EXPECT_EQ(content.MaxY(), window->Frame().size.height);
    window->MakeKeyAndOrderFront();
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    EXPECT_EQ(window->ContentView()->Frame(), content);

    Type(kComma, ak::test::Mod::Ctrl);
    EXPECT_EQ(chosenTags, std::vector<int64_t>{40006});
    file->ItemWithTag(40007)->SetEnabled(false);
    Type(kLetterQ, ak::test::Mod::Ctrl);
    EXPECT_EQ(chosenTags, std::vector<int64_t>{40006}) << "a disabled item";
    file->ItemWithTag(40007)->SetEnabled(true);
    file->ItemWithTag(40007)->SetChecked(true);
    Type(kLetterQ, ak::test::Mod::Ctrl);
    EXPECT_EQ(chosenTags, (std::vector<int64_t>{40006, 40007}));
    EXPECT_TRUE(file->ItemWithTag(40007)->IsChecked()) << "choosing leaves the check alone";

    int shown = 0;
    file->onWillShow = [&](ak::Menu&) { ++shown; };
    Type(kLetterF, ak::test::Mod::Alt);
    EXPECT_TRUE(ak::test::PumpUntil(ak::test::IsMenuOpen)) << "Alt+F opens File";
    EXPECT_EQ(shown, 1);
    ak::test::CancelOpenMenu();

    // Without the bar the keys do nothing; a second window's bar is its own.
    window->SetMenuBar(nullptr);
    Type(kComma, ak::test::Mod::Ctrl);
    EXPECT_EQ(chosenTags.size(), 2u);
    EXPECT_EQ(window->ContentRect().MinY(), 0);
}

TEST_F(MenuTest, PopUpAnswersTheChosenItemOrNoneWhileTimersTick) {
    auto view = ak::MakeRef<ak::View>(Rect{{20, 20}, {200, 150}});
    window->ContentView()->AddSubview(view.Get());
    window->MakeKeyAndOrderFront();
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    auto popup = ak::MakeRef<ak::Menu>();
    for (const char* title : {"One", "Two", "Three"})
        popup->AddItem(ak::MakeRef<ak::MenuItem>(title, popup->Count() + 1).Get());

    for (int choice : {1, -1}) {
        int ticks = 0;
        // The timer answers the menu, so the answer proves it ticked inside.
        ak::TimeoutSource timer(10, [&] {
            if (++ticks < 5 || !ak::test::IsMenuOpen())
                return;
            if (choice >= 0)
                ak::test::ChooseInOpenMenu(choice);
            else
                ak::test::CancelOpenMenu();
        });
        // The last menu's grab is let go asynchronously; a menu opened at
        // once would see that as its own grab broken.
        ASSERT_TRUE(ak::test::WaitUntilNoMenu());
        ak::Ref<ak::MenuItem> chosen = popup->PopUp(view.Get(), {30, 40});
        EXPECT_GE(ticks, 5);
        if (choice >= 0) {
            ASSERT_TRUE(chosen);
            EXPECT_EQ(chosen->Title(), "Two");
        } else {
            EXPECT_FALSE(chosen);
        }
    }
}

TEST_F(MenuTest, APopUpOpensWithTheNamedItemUnderThePoint) {
    auto view = ak::MakeRef<ak::View>(Rect{{20, 300}, {200, 150}});
    window->ContentView()->AddSubview(view.Get());
    window->MakeKeyAndOrderFront();
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    auto popup = ak::MakeRef<ak::Menu>();
    for (const char* title : {"One", "-", "Two", "Three"}) {
        auto item = std::string(title) == "-" ? ak::MenuItem::Separator()
                                              : ak::MakeRef<ak::MenuItem>(title, 0);
        popup->AddItem(item.Get());
    }
    const ak::Point point{30, 40};
    const ak::Point onScreen =
        window->ConvertPointToScreen(view->ConvertPointToView(point, nullptr));
    Rect placed;
    ak::TimeoutSource timer(10, [&] {
        if (!ak::test::IsMenuOpen())
            return;
        placed = ak::test::OpenMenuItemOnScreen(3);
        if (!placed.IsEmpty())
            ak::test::CancelOpenMenu();
    });
    ASSERT_TRUE(ak::test::WaitUntilNoMenu());
    popup->PopUp(view.Get(), point, popup->ItemAt(3));
    EXPECT_LE(placed.MinY(), onScreen.y);
    EXPECT_GT(placed.MaxY(), onScreen.y) << placed.MinY() << " " << placed.MaxY();
}

// Whether nothing is drawn left of an item's title, where a check box would
// be: the item alone on a clear surface leaves it clear. The title's ink may
// spill a pixel over its frame.
bool GutterIsClear(const ak::test::MenuSnapshot& shot, size_t index) {
    cairo_surface_t* pixels = shot.items[index].get();
    const unsigned char* data = cairo_image_surface_get_data(pixels);
    const int stride = cairo_image_surface_get_stride(pixels);
    for (int y = 0; y < cairo_image_surface_get_height(pixels); ++y)
        for (int x = 0; x < int(shot.titles[index].MinX()) - 2; ++x)
            if (reinterpret_cast<const uint32_t*>(data + y * stride)[x] != 0)
                return false;
    return true;
}

TEST_F(MenuTest, OnlyACheckedItemShowsAMarkAndTheBarTitlesNone) {
    for (const char* title : {"&Device", "&Help"})
        bar->AddItem(ak::MakeRef<ak::MenuItem>(title).Get());
    window->SetMenuBar(bar.Get());
    auto view = ak::MakeRef<ak::View>(Rect{{20, 20}, {200, 150}});
    window->ContentView()->AddSubview(view.Get());
    window->MakeKeyAndOrderFront();
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));

    const ak::test::MenuSnapshot titles = ak::test::SnapshotMenuBar(*window);
    ASSERT_EQ(titles.items.size(), 3u);
    for (size_t i = 0; i < titles.items.size(); ++i) {
        EXPECT_LT(titles.titles[i].MinX(), 6) << "no room kept for a box, title " << i;
        EXPECT_TRUE(GutterIsClear(titles, i)) << "title " << i;
    }

    auto popup = ak::MakeRef<ak::Menu>();
    for (const char* title : {"One", "Two", "Three"})
        popup->AddItem(ak::MakeRef<ak::MenuItem>(title).Get());
    popup->ItemAt(1)->SetChecked(true);
    ak::test::MenuSnapshot shot;
    ak::TimeoutSource timer(10, [&] {
        if (!ak::test::IsMenuOpen())
            return;
        shot = ak::test::SnapshotOpenMenu();
        if (!shot.items.empty())
            ak::test::CancelOpenMenu();
    });
    ASSERT_TRUE(ak::test::WaitUntilNoMenu());
    popup->PopUp(view.Get(), {30, 40});
    ASSERT_EQ(shot.items.size(), 3u);
    EXPECT_EQ(shot.titles[0].MinX(), shot.titles[1].MinX()) << "titles aligned";
    EXPECT_EQ(shot.titles[2].MinX(), shot.titles[1].MinX()) << "titles aligned";
    EXPECT_TRUE(GutterIsClear(shot, 0)) << "unchecked: no box";
    EXPECT_FALSE(GutterIsClear(shot, 1)) << "checked: its mark";
    EXPECT_TRUE(GutterIsClear(shot, 2)) << "unchecked: no box";
}

TEST_F(MenuTest, ACopyIsDeepAndItemsMoveBetweenMenus) {
    file->ItemWithTag(40006)->SetData(77);
    auto copy = bar->Copy();
    ak::MenuItem* copied = copy->ItemWithTag(40006);
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, file->ItemWithTag(40006));
    EXPECT_EQ(copied->Title(), "&Preferences...");
    EXPECT_EQ(copied->KeyEquivalent(), ",");
    EXPECT_EQ(copied->Data(), 77);
    copied->SetTitle("Changed");
    EXPECT_EQ(file->ItemWithTag(40006)->Title(), "&Preferences...");
    EXPECT_TRUE(copy->ItemAt(0)->Submenu()->ItemAt(1)->IsSeparator());

    auto other = ak::MakeRef<ak::Menu>();
    other->InsertItem(copied, 5);
    EXPECT_EQ(other->Count(), 1);
    EXPECT_EQ(copy->ItemWithTag(40006), nullptr) << "moved, not shared";
    EXPECT_EQ(copy->ItemAt(0)->Submenu()->Count(), 2);
}

} // namespace

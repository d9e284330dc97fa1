#include "winlayer/draw/GdiRecords.h"
#include "winlayer/draw/MenuModel.h"
#include "winlayer/draw/Menus.h"

#include "platform/ak/test/AkTest.h"
#include "tests/winlayer/support/AppMenuList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace winlayer;
using winlayer::test::kAppMenuList;
using winlayer::test::kAppMenuListSize;

std::string Text(HMENU menu, UINT item, BOOL byPosition) {
    char buffer[64] = {};
    MENUITEMINFO info{};
    info.fMask = MIIM_TYPE;
    info.dwTypeData = buffer;
    info.cch = sizeof buffer;
    if (!GetMenuItemInfo(menu, item, byPosition, &info))
        return "<none>";
    return buffer;
}

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ak::test::App()); }
};

TEST_F(MenuTest, TheApplicationMenuList) {
    HMENU bar = CreatePopupMenu();
    EXPECT_EQ(WISP_GenerateMenuFromList(bar, kAppMenuList, kAppMenuListSize), 15);
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(Text(bar, 0, TRUE), "File");
    EXPECT_EQ(Text(bar, 2, TRUE), "Help");
    EXPECT_EQ(GetMenuItemID(bar, 0), UINT(-1));
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_TRUE(file);
    EXPECT_EQ(AkMenu(file)->Title(), "File");
    EXPECT_EQ(GetMenuItemCount(file), 2);
    EXPECT_EQ(GetMenuItemID(file, 0), 40006u);
    EXPECT_EQ(Text(file, 0, TRUE), "Preferences...");
    ak::MenuItem* prefs = AkMenu(file)->ItemAt(0);
    EXPECT_EQ(prefs->KeyEquivalent(), ",");
    EXPECT_EQ(prefs->KeyModifiers(), MenuModifier::Command);
    EXPECT_EQ(prefs->Title(), "&Preferences...");
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 1)), 4);
    // Ids in submenus are found without a position.
    EXPECT_EQ(Text(bar, 40027, FALSE), "Show FPS");
    EXPECT_TRUE(CheckMenuItem(bar, 40027, MF_CHECKED));
    EXPECT_TRUE(AkMenu(GetSubMenu(bar, 1))->ItemAt(3)->IsChecked());
    EXPECT_EQ(GetMenuItemID(bar, -1), 0u);
    EXPECT_EQ(GetMenuItemID(bar, 3), 0u);
    EXPECT_EQ(GetSubMenu(bar, 3), nullptr);
    EXPECT_TRUE(DeleteMenu(bar, 40028, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 1)), 3);
    EXPECT_FALSE(DeleteMenu(bar, 40028, MF_BYCOMMAND));
    EXPECT_TRUE(DeleteMenu(bar, 1, MF_BYPOSITION));
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    DestroyMenu(bar);
}

TEST_F(MenuTest, ListCountsAndSeparators) {
    HMENU menu = CreatePopupMenu();
    const MenuListEntry list[] = {{"/.BO^O:&Sub", 0, 0}, {"One", 1, 0},   {"Two", 2, 1},
                                  {"EN%%%^:", 0, 0},     {nullptr, 9, 0}, {"Three", 3, 0}};
    EXPECT_EQ(WISP_GenerateMenuFromList(menu, list, 4), 5);
    HMENU sub = GetSubMenu(menu, 0);
    ASSERT_EQ(GetMenuItemCount(sub), 2);
    EXPECT_FALSE(AkMenu(sub)->ItemAt(1)->IsEnabled());
    EXPECT_EQ(WISP_GenerateMenuFromList(menu, list + 4, 2), 3);
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_TRUE(AkMenu(menu)->ItemAt(1)->IsSeparator());
    EXPECT_EQ(GetMenuItemID(menu, 1), 0u);
    MENUITEMINFO info{};
    info.fMask = MIIM_TYPE;
    ASSERT_TRUE(GetMenuItemInfo(menu, 1, TRUE, &info));
    EXPECT_EQ(info.fType, MFT_SEPARATOR);
    // A submenu list without its end entry runs to the count.
    HMENU open = CreatePopupMenu();
    EXPECT_EQ(WISP_GenerateMenuFromList(open, list, 3), 4);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(open, 0)), 2);
    DestroyMenu(open);
    DestroyMenu(menu);
}

TEST_F(MenuTest, InsertingItems) {
    HMENU menu = CreatePopupMenu();
    WISP_Menu_AddMenuItem(menu, "A", 10, 0);
    WISP_Menu_AddMenuItem(menu, "B\tCtrl+B", 11, 1);
    WISP_Menu_AddMenuItem(menu, nullptr, 0, 0);
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    // By id in this menu: before that item; an id found nowhere appends.
    EXPECT_TRUE(WISP_InsertMenu(menu, 11, MF_BYCOMMAND, 12, "Before B"));
    EXPECT_EQ(GetMenuItemID(menu, 1), 12u);
    EXPECT_TRUE(WISP_InsertMenu(menu, 999, MF_BYCOMMAND, 13, nullptr));
    EXPECT_EQ(Text(menu, 4, TRUE), "(null)");
    EXPECT_TRUE(WISP_InsertMenu(menu, 0, MF_BYPOSITION | MF_BITMAP, 14, nullptr));
    EXPECT_EQ(Text(menu, 0, TRUE), "(no image)");
    const uint32_t pixel = 0xFF0000FF;
    HBITMAP bitmap = CreateBitmap(1, 1, 1, 32, &pixel);
    EXPECT_TRUE(WISP_InsertMenu(menu, 0, MF_BYPOSITION | MF_BITMAP, 15,
                                reinterpret_cast<const char*>(bitmap)));
    EXPECT_EQ(Text(menu, 0, TRUE), "");
    EXPECT_EQ(AkMenu(menu)->ItemAt(0)->GetImage(), GetNSImageFromHICON(bitmap));
    // A submenu whose id lives only inside it is found by id, but insertion
    // by that id looks in the given menu only and appends.
    HMENU sub = CreatePopupMenu();
    WISP_Menu_AddMenuItem(sub, "Deep", 77, 0);
    EXPECT_TRUE(WISP_InsertMenu(menu, -1, MF_BYPOSITION | MF_POPUP, UINT_PTR(sub), "&Sub"));
    EXPECT_EQ(AkMenu(sub)->Title(), "Sub");
    EXPECT_EQ(AkMenu(sub)->RetainCount(), 1); // the item's reference only
    const int before = GetMenuItemCount(menu);
    EXPECT_TRUE(WISP_InsertMenu(menu, 77, MF_BYCOMMAND, 78, "Appended"));
    EXPECT_EQ(GetMenuItemID(menu, before), 78u);
    EXPECT_EQ(Text(menu, 77, FALSE), "Deep");
    EXPECT_TRUE(EnableMenuItem(menu, 77, MF_DISABLED));
    EXPECT_TRUE(AkMenu(sub)->ItemAt(0)->IsEnabled());
    EXPECT_TRUE(EnableMenuItem(menu, 77, MF_GRAYED));
    EXPECT_FALSE(AkMenu(sub)->ItemAt(0)->IsEnabled());
    MENUITEMINFO state{};
    state.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfo(menu, 77, FALSE, &state));
    EXPECT_EQ(state.fState, MFS_GRAYED);
    EXPECT_EQ(state.wID, 77u);
    EXPECT_EQ(state.hSubMenu, nullptr);
    EXPECT_EQ(state.dwItemData, 0u);
    EXPECT_FALSE(EnableMenuItem(menu, 4242, 0));
    EXPECT_FALSE(CheckMenuItem(nullptr, 10, 0));
    EXPECT_EQ(AddMenuItem(nullptr, 0, "x", 1), -1);
    EXPECT_EQ(AddMenuItem(menu, 0, "&Literal\tCtrl+L", 5), 0);
    EXPECT_EQ(Text(menu, 0, TRUE), "&Literal\tCtrl+L");
    EXPECT_EQ(AkMenu(menu)->ItemAt(0)->KeyEquivalent(), "");
    DeleteObject(bitmap);
    DestroyMenu(menu);
}

TEST_F(MenuTest, ItemInfoAndText) {
    HMENU menu = CreatePopupMenu();
    WISP_Menu_AddMenuItem(menu, "&Edit\tCtrl+E", 1, 0);
    MENUITEMINFO info{};
    info.fMask = MIIM_DATA | MIIM_STATE | MIIM_TYPE;
    info.fState = MFS_CHECKED;
    info.dwItemData = 0xABCDEF;
    info.dwTypeData = const_cast<char*>("New &Name\tAlt+F4");
    ASSERT_TRUE(SetMenuItemInfo(menu, 1, FALSE, &info));
    ak::MenuItem* item = AkMenu(menu)->ItemAt(0);
    EXPECT_EQ(item->KeyEquivalent(), "F4");
    EXPECT_EQ(item->KeyModifiers(), MenuModifier::Option);
    EXPECT_TRUE(item->IsChecked());
    MENUITEMINFO read{};
    char small[5];
    read.fMask = MIIM_DATA | MIIM_STATE | MIIM_TYPE;
    read.dwTypeData = small;
    read.cch = sizeof small;
    ASSERT_TRUE(GetMenuItemInfo(menu, 0, TRUE, &read));
    EXPECT_EQ(read.dwItemData, 0xABCDEFu);
    EXPECT_EQ(read.fState, MFS_CHECKED);
    EXPECT_STREQ(small, "New ");
    // No accelerator in the new text clears the key, unless told not to.
    EXPECT_TRUE(SetMenuItemText(menu, 1, MF_BYCOMMAND, "Plain"));
    EXPECT_EQ(item->KeyEquivalent(), "");
    SetMenuItemModifier(menu, 1, MF_BYCOMMAND, 'K', 0x1 | 0x8 | 0x4);
    EXPECT_EQ(item->KeyEquivalent(), "k");
    EXPECT_EQ(item->KeyModifiers(), MenuModifier::Command | MenuModifier::Shift);
    EXPECT_TRUE(SetMenuItemText(menu, 1, int(MF_BYCOMMAND | MIIM_NOACCELERATOR), "Still"));
    EXPECT_EQ(item->KeyEquivalent(), "k");
    EXPECT_FALSE(SetMenuItemText(menu, 9, MF_BYCOMMAND, "x"));
    EXPECT_FALSE(GetMenuItemInfo(nullptr, 0, TRUE, &read));
    DestroyMenu(menu);
}

class Recorder : public MenuDestination {
public:
    std::vector<int> commands;
    void OnMenuCommand(int id) override { commands.push_back(id); }
};

TEST_F(MenuTest, ChoicesReachTheDestinationAndCopiesKeepItsRouting) {
    HMENU menu = CreatePopupMenu();
    WISP_GenerateMenuFromList(menu, kAppMenuList, kAppMenuListSize);
    auto recorder = std::make_shared<Recorder>();
    RouteMenu(menu, recorder);
    HMENU copy = WISP_DuplicateMenu(menu);
    ASSERT_TRUE(copy);
    EXPECT_NE(copy, menu);
    // Independent: changing the copy leaves the original.
    EXPECT_TRUE(DeleteMenu(copy, 0, MF_BYPOSITION));
    EXPECT_EQ(GetMenuItemCount(menu), 3);
    const FoundItem live = FindItem(copy, 40025, false);
    ASSERT_TRUE(live);
    ASSERT_TRUE(live.item->onActivate);
    live.item->onActivate(*live.item);
    EXPECT_EQ(recorder->commands, std::vector<int>{40025});
    // An item added later takes the routing of those already there.
    HMENU help = GetSubMenu(menu, 2);
    WISP_Menu_AddMenuItem(help, "Later", 40100, 0);
    AkMenu(help)->ItemAt(2)->onActivate(*AkMenu(help)->ItemAt(2));
    EXPECT_EQ(recorder->commands.back(), 40100);
    RouteMenu(menu, nullptr);
    EXPECT_FALSE(AkMenu(help)->ItemAt(2)->onActivate);
    DestroyMenu(copy);
    DestroyMenu(menu);
}

TEST_F(MenuTest, RoutingCopiesFromTheEndsOfLongMenus) {
    Recorder recorder;
    for (const bool early : {true, false}) {
        HMENU menu = CreatePopupMenu();
        for (int i = 0; i < 20; ++i)
            WISP_Menu_AddMenuItem(menu, "Item", 100 + i, 0);
        // Only a middle item is routed: in a menu of 15 or more it is not looked at.
        ak::MenuItem* routed = AkMenu(menu)->ItemAt(early ? 3 : 10);
        routed->onActivate = [&](ak::MenuItem& item) { recorder.OnMenuCommand(int(item.Tag())); };
        WISP_Menu_AddMenuItem(menu, "New", 200, 0);
        EXPECT_EQ(bool(AkMenu(menu)->ItemAt(20)->onActivate), early);
        DestroyMenu(menu);
    }
}

TEST_F(MenuTest, LoadMenuRunsTheCreator) {
    static int calls = 0;
    MenuResourceRecord second{7,
                              [](HMENU m) {
                                  ++calls;
                                  WISP_GenerateMenuFromList(m, kAppMenuList, kAppMenuListSize);
                                  return m;
                              },
                              nullptr};
    MenuResourceRecord first{3, nullptr, &second};
    HMENU loaded = WISP_LoadMenu(&first, 7);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(GetMenuItemCount(loaded), 3);
    EXPECT_EQ(WISP_LoadMenu(&first, 8), nullptr);
    EXPECT_EQ(WISP_LoadMenu(nullptr, 7), nullptr);
    DestroyMenu(loaded);
}

} // namespace

#include "winlayer/MenuText.h"

#include <gtest/gtest.h>

namespace {

using namespace winlayer;
namespace M = MenuModifier;

TEST(MenuTextTest, LabelsDropMnemonicMarkers) {
    const std::pair<const char*, const char*> cases[] = {
        {"&File", "File"}, {"Save &As...", "Save As..."},
        {"R&&D", "R&D"},   {"End&", "End"},
        {"&&&x", "&x"},    {"", ""},
    };
    for (const auto& [text, label] : cases) {
        const MenuText parsed = ParseMenuText(text);
        EXPECT_EQ(parsed.label, label) << text;
        EXPECT_EQ(parsed.title, text) << text;
        EXPECT_FALSE(parsed.hasAccelerator) << text;
    }
    const MenuText long_ = ParseMenuText(std::string(2000, 'x') + "\tCtrl+Q");
    EXPECT_EQ(long_.title.size(), 1023u);
    EXPECT_EQ(long_.key, (MenuKey{'q', M::Command}));
}

TEST(MenuTextTest, Accelerators) {
    struct Case {
        const char* text;
        MenuKey key;
    };
    const Case cases[] = {
        {"&Preferences...\tCtrl+,", {',', M::Command}},
        {"&Live Edit Mode\tCtrl+E", {'e', M::Command}},
        {"x\tCtrl+Shift+E", {'E', M::Command}},
        {"x\tctrl+alt+shift+win+F5", {0xF708, M::Command | M::Option | M::Shift | M::Control}},
        {"x\tF24", {0xF71B, 0}},
        {"x\tF25", {}},
        {"x\tF0", {}},
        {"x\t7", {'7', 0}},
        {"x\tShift+Up", {0xF700, M::Shift}},
        {"x\tDown", {0xF701, 0}},
        {"x\tLeft", {0xF702, 0}},
        {"x\tRight", {0xF703, 0}},
        {"x\tIns", {0xF727, 0}},
        {"x\tInsert, Ctrl+I", {'i', M::Command}},
        {"x\tShift+Ins,   Alt+J", {'j', M::Option}},
        {"x\tIns,", {0xF727, 0}},
        {"x\tDelete", {0xF728, 0}},
        {"x\tBackspace", {8, 0}},
        {"x\tHome", {0xF729, 0}},
        {"x\tEnd", {0xF72B, 0}},
        {"x\tPgDn", {0xF72D, 0}},
        {"x\tPageUp", {0xF72C, 0}},
        {"x\tCtrl+-", {'-', M::Command}},
        {"x\tCtrl++", {'+', M::Command}},
        {"x\tEnter", {13, 0}},
        {"x\tReturn", {13, 0}},
        {"x\tTab", {9, 0}},
        {"x\tEscape", {27, 0}},
        {"x\tCtrl+Q (quit)", {'q', M::Command}},
        {"x\tq", {}},
        {"x\t?", {}},
        // Mouse gestures and lone modifier words bind no key.
        {"x\tClick", {}},
        {"x\t(Click)", {}},
        {"x\tShift+Doubleclick", {}},
        {"x\t(Doubleclick)", {}},
        {"x\tCtrl", {}},
        {"x\tAlt", {}},
        {"x\tShift", {}},
        {"x\tWin", {}},
    };
    for (const Case& c : cases) {
        const MenuText parsed = ParseMenuText(c.text);
        EXPECT_EQ(parsed.key, c.key) << c.text;
        EXPECT_EQ(parsed.hasAccelerator, c.key.key != 0) << c.text;
        if (c.text[0] == 'x') {
            EXPECT_EQ(parsed.label, "x") << c.text;
        }
    }
    EXPECT_FALSE(ParseMenuText("Quit\tCtrl+Q", false).hasAccelerator);
    EXPECT_EQ(ParseMenuText("Quit\tCtrl+Q", false).label, "Quit");
}

TEST(MenuTextTest, Win32AcceleratorsBecomeKeyEquivalents) {
    struct Case {
        int key;
        int flags;
        MenuKey expected;
    };
    const Case cases[] = {
        {'E', 0x1 | 0x8, {'e', M::Command}},
        {'E', 0x1 | 0x8 | 0x4, {'E', M::Command}},
        {'5', 0x1 | 0x4, {'5', M::Shift}},
        {' ', 0x1, {' ', 0}},
        {',', 0x0 | 0x10, {',', M::Option}},
        {112, 0x1, {0xF704, 0}},
        {135, 0x1 | 0x20, {0xF71B, M::Control}},
        {8, 0x1, {8, 0}},
        {13, 0x1, {13, 0}},
        {33, 0x1, {0xF72C, 0}},
        {34, 0x1, {0xF72D, 0}},
        {35, 0x1, {0xF72B, 0}},
        {36, 0x1, {0xF729, 0}},
        {37, 0x1, {0xF702, 0}},
        {38, 0x1, {0xF700, 0}},
        {39, 0x1, {0xF703, 0}},
        {40, 0x1, {0xF701, 0}},
        {45, 0x1, {0xF727, 0}},
        {46, 0x1, {127, 0}},
        {109, 0x1, {'-', 0}},
        {0x5D, 0x1, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyFromAccelerator(c.key, c.flags), c.expected) << c.key << "/" << c.flags;
}

TEST(MenuTextTest, AkBindsNamesAndShiftedLetters) {
    EXPECT_EQ(AkBindingOf({'E', M::Command}), (AkKeyBinding{"e", M::Command | M::Shift}));
    EXPECT_EQ(AkBindingOf({'e', M::Command}), (AkKeyBinding{"e", M::Command}));
    EXPECT_EQ(AkBindingOf({0xF70B, 0}), (AkKeyBinding{"F8", 0}));
    EXPECT_EQ(AkBindingOf({0xF72D, M::Option}), (AkKeyBinding{"Page_Down", M::Option}));
    EXPECT_EQ(AkBindingOf({127, 0}), (AkKeyBinding{"Delete", 0}));
    EXPECT_EQ(AkBindingOf({',', M::Command}), (AkKeyBinding{",", M::Command}));
    EXPECT_EQ(AkBindingOf({}), AkKeyBinding{});
}

} // namespace

#include "render/view/InputTranslation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using vx::ui::TranslateKey;

constexpr uint32_t kShift = 0x20000, kControl = 0x40000, kOption = 0x80000, kCommand = 0x100000;

TEST(InputTranslation, TheKeyTableMapsFortyFiveCodes) {
    int mapped = 0;
    for (unsigned code = 0; code < 256; ++code)
        mapped += vx::ui::VirtualKeyOfKeyCode(code) != 0;
    EXPECT_EQ(mapped, 45);
    const std::pair<unsigned, int> samples[] = {{51, 8},    {76, 0x800D}, {36, 0},  {117, 46},
                                                {122, 112}, {126, 38},    {71, 144}};
    for (const auto& [code, vk] : samples)
        EXPECT_EQ(vx::ui::VirtualKeyOfKeyCode(code), vk) << code;
}

TEST(InputTranslation, KeysBecomeRecords) {
    struct Case {
        unsigned keyCode;
        std::string chars;
        uint32_t flags;
        int vk;
        std::string utf8;
        bool s, c, a;
    };
    const Case cases[] = {
        {76, "\x03", 0, 0x800D, "\x03", false, false, false},               // keypad Enter
        {200, "\xEF\x9C\x84", 0, 112, "\xEF\x9C\x84", false, false, false}, // F1 off the table
        {0, "a", 0, 'A', "a", false, false, false},
        {0, "A", kShift, 'A', "A", true, false, false},
        {43, ",", kShift, 0, ",", false, false, false},        // a plain character drops shift
        {33, "", kOption, 33 + 1024, "", false, false, true},  // dead key
        {48, "\x19", kCommand, 9, "\x19", false, true, false}, // back-tab with Command
        {48, "\x19", 0, 0, "\x19", false, false, false},
        {49, " ", kControl, 32, " ", false, false, false}, // Control is not passed on
        {0, "ab", 0, 'A', "", false, false, false},        // several characters
        {0, "\xF0\x9F\x8E\xB8", 0, 0, "\xF0\x9F\x8E\xB8", false, false, false}, // one code point
        {0, "\xC3\xA9", 0, 0, "\xC3\xA9", false, false, false},
        {18, "1", kShift | kOption, '1', "1", true, false, true},
    };
    for (const Case& k : cases) {
        const vx::IKeyPress key = TranslateKey(k.keyCode, k.chars, k.flags);
        EXPECT_EQ(key.VK, k.vk) << k.keyCode << " " << k.chars;
        EXPECT_EQ(std::string(key.utf8), k.utf8) << k.keyCode;
        EXPECT_EQ(key.S, k.s) << k.keyCode << " " << k.chars;
        EXPECT_EQ(key.C, k.c) << k.keyCode;
        EXPECT_EQ(key.A, k.a) << k.keyCode;
    }
}

TEST(InputTranslation, CommandClickIsAlsoARightClickAndCountsAlternate) {
    const vx::ui::IMouseMod plain = vx::ui::LeftMouseMod(0);
    EXPECT_TRUE(plain.L);
    EXPECT_FALSE(plain.R);
    const vx::ui::IMouseMod command = vx::ui::LeftMouseMod(kCommand | kShift | kControl);
    EXPECT_TRUE(command.L && command.R && command.S && command.C);
    EXPECT_FALSE(command.A);
    const vx::ui::IMouseMod right = vx::ui::RightMouseMod(kOption);
    EXPECT_TRUE(!right.L && right.R && right.A);
    const bool doubles[] = {false, false, true, false, true};
    for (int count = 0; count < 5; ++count)
        EXPECT_EQ(vx::ui::ClickCountIsDouble(count), doubles[count]) << count;
}

} // namespace

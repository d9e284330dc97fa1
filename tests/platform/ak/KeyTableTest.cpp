#include "platform/ak/KeyTable.h"
#include "platform/ak/Keys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

struct KeyCase {
    const char* key;
    uint32_t xKeycode;
    uint16_t macKeyCode;
};

// The US ANSI keyboard as macOS numbers it, looked up by X keycode.
const KeyCase kUsAnsi[] = {
    {"a", 38, 0},
    {"s", 39, 1},
    {"d", 40, 2},
    {"f", 41, 3},
    {"h", 43, 4},
    {"g", 42, 5},
    {"z", 52, 6},
    {"x", 53, 7},
    {"c", 54, 8},
    {"v", 55, 9},
    {"b", 56, 11},
    {"q", 24, 12},
    {"w", 25, 13},
    {"e", 26, 14},
    {"r", 27, 15},
    {"y", 29, 16},
    {"t", 28, 17},
    {"1", 10, 18},
    {"2", 11, 19},
    {"3", 12, 20},
    {"4", 13, 21},
    {"6", 15, 22},
    {"5", 14, 23},
    {"=", 21, 24},
    {"9", 18, 25},
    {"7", 16, 26},
    {"-", 20, 27},
    {"8", 17, 28},
    {"0", 19, 29},
    {"]", 35, 30},
    {"o", 32, 31},
    {"u", 30, 32},
    {"[", 34, 33},
    {"i", 31, 34},
    {"p", 33, 35},
    {"Return", 36, 36},
    {"l", 46, 37},
    {"j", 44, 38},
    {"'", 48, 39},
    {"k", 45, 40},
    {";", 47, 41},
    {"\\", 51, 42},
    {",", 59, 43},
    {"/", 61, 44},
    {"n", 57, 45},
    {"m", 58, 46},
    {".", 60, 47},
    {"Tab", 23, 48},
    {"space", 65, 49},
    {"`", 49, 50},
    {"BackSpace", 22, 51},
    {"Escape", 9, 53},
    {"Ctrl_R", 105, 54},
    {"Ctrl_L", 37, 55},
    {"Shift_L", 50, 56},
    {"Caps", 66, 57},
    {"Alt_L", 64, 58},
    {"Super_L", 133, 59},
    {"Shift_R", 62, 60},
    {"Alt_R", 108, 61},
    {"Super_R", 134, 62},
    {"KP_Decimal", 91, 65},
    {"KP_Multiply", 63, 67},
    {"KP_Add", 86, 69},
    {"Num_Lock", 77, 71},
    {"KP_Divide", 106, 75},
    {"KP_Enter", 104, 76},
    {"KP_Subtract", 82, 78},
    {"KP_Equal", 125, 81},
    {"KP_0", 90, 82},
    {"KP_1", 87, 83},
    {"KP_2", 88, 84},
    {"KP_3", 89, 85},
    {"KP_4", 83, 86},
    {"KP_5", 84, 87},
    {"KP_6", 85, 88},
    {"KP_7", 79, 89},
    {"KP_8", 80, 91},
    {"KP_9", 81, 92},
    {"F5", 71, 96},
    {"F6", 72, 97},
    {"F7", 73, 98},
    {"F3", 69, 99},
    {"F8", 74, 100},
    {"F9", 75, 101},
    {"F11", 95, 103},
    {"F13", 191, 105},
    {"F16", 194, 106},
    {"F14", 192, 107},
    {"F10", 76, 109},
    {"F12", 96, 111},
    {"F15", 193, 113},
    {"Insert", 118, 114},
    {"Home", 110, 115},
    {"Prior", 112, 116},
    {"Delete", 119, 117},
    {"F4", 70, 118},
    {"End", 115, 119},
    {"F2", 68, 120},
    {"Next", 117, 121},
    {"F1", 67, 122},
    {"Left", 113, 123},
    {"Right", 114, 124},
    {"Down", 116, 125},
    {"Up", 111, 126},
};

TEST(KeyTable, EveryUsAnsiKeyHasItsMacKeyCode) {
    for (const auto& key : kUsAnsi)
        EXPECT_EQ(ak::MacKeyCodeFromX(key.xKeycode), key.macKeyCode) << key.key;
}

TEST(KeyTable, EveryEntryIsUniqueAndFindsItsWayBack) {
    std::set<uint16_t> seen;
    for (const auto& entry : ak::MacKeyCodeTable()) {
        EXPECT_TRUE(seen.insert(entry.xKeycode).second) << "X keycode " << entry.xKeycode;
        EXPECT_LT(entry.macKeyCode, 128) << "X keycode " << entry.xKeycode;
        const uint32_t back = ak::XKeycodeFromMac(entry.macKeyCode);
        EXPECT_EQ(ak::MacKeyCodeFromX(back), entry.macKeyCode) << "X keycode " << entry.xKeycode;
    }
}

TEST(KeyTable, KeysWithoutAMacCodeGet256PlusTheirKeycode) {
    for (uint32_t x : {8u, 93u, 120u, 200u, 255u})
        EXPECT_EQ(ak::MacKeyCodeFromX(x), 256 + x) << x;
    EXPECT_EQ(ak::XKeycodeFromMac(127), 0u);
}

struct TextCase {
    const char* key;
    uint32_t keysym;
    const char* text;
};

TEST(KeyText, FunctionAndControlKeysTypeThePlatformsCharacters) {
    const TextCase cases[] = {
        {"Return", 0xff0d, "\r"},
        {"KP_Enter", 0xff8d, "\x03"},
        {"Tab", 0xff09, "\t"},
        {"ISO_Left_Tab", 0xfe20, "\x19"},
        {"BackSpace", 0xff08, "\x7f"},
        {"Escape", 0xff1b, "\x1b"},
        {"Up", 0xff52, "\xef\x9c\x80"},        // U+F700
        {"KP_Left", 0xff96, "\xef\x9c\x82"},   // U+F702
        {"F1", 0xffbe, "\xef\x9c\x84"},        // U+F704
        {"F35", 0xffe0, "\xef\x9c\xa6"},       // U+F726
        {"Delete", 0xffff, "\xef\x9c\xa8"},    // U+F728
        {"Page_Down", 0xff56, "\xef\x9c\xad"}, // U+F72D
        {"Help", 0xff6a, "\xef\x9d\x86"},      // U+F746
        {"a", 0x61, "a"},
        {"A", 0x41, "A"},
        {"comma", 0x2c, ","},
        {"eacute", 0xe9, "\xc3\xa9"},
        {"Shift_L", 0xffe1, ""},
        {"Control_L", 0xffe3, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ak::KeyText(c.keysym), std::string(c.text)) << c.key;
}

} // namespace

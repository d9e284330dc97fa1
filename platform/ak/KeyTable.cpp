#include "platform/ak/KeyTable.h"

#include <algorithm>
#include <array>

namespace ak {

namespace {

constexpr std::array<KeyCodePair, 117> kTable = {{
    {9, 53},    // Escape
    {10, 18},   // 1
    {11, 19},   // 2
    {12, 20},   // 3
    {13, 21},   // 4
    {14, 23},   // 5
    {15, 22},   // 6
    {16, 26},   // 7
    {17, 28},   // 8
    {18, 25},   // 9
    {19, 29},   // 0
    {20, 27},   // minus
    {21, 24},   // equal
    {22, 51},   // BackSpace
    {23, 48},   // Tab
    {24, 12},   // q
    {25, 13},   // w
    {26, 14},   // e
    {27, 15},   // r
    {28, 17},   // t
    {29, 16},   // y
    {30, 32},   // u
    {31, 34},   // i
    {32, 31},   // o
    {33, 35},   // p
    {34, 33},   // bracketleft
    {35, 30},   // bracketright
    {36, 36},   // Return
    {37, 55},   // Control_L: Command
    {38, 0},    // a
    {39, 1},    // s
    {40, 2},    // d
    {41, 3},    // f
    {42, 5},    // g
    {43, 4},    // h
    {44, 38},   // j
    {45, 40},   // k
    {46, 37},   // l
    {47, 41},   // semicolon
    {48, 39},   // apostrophe
    {49, 50},   // grave
    {50, 56},   // Shift_L
    {51, 42},   // backslash
    {52, 6},    // z
    {53, 7},    // x
    {54, 8},    // c
    {55, 9},    // v
    {56, 11},   // b
    {57, 45},   // n
    {58, 46},   // m
    {59, 43},   // comma
    {60, 47},   // period
    {61, 44},   // slash
    {62, 60},   // Shift_R
    {63, 67},   // KP_Multiply
    {64, 58},   // Alt_L: Option
    {65, 49},   // space
    {66, 57},   // Caps_Lock
    {67, 122},  // F1
    {68, 120},  // F2
    {69, 99},   // F3
    {70, 118},  // F4
    {71, 96},   // F5
    {72, 97},   // F6
    {73, 98},   // F7
    {74, 100},  // F8
    {75, 101},  // F9
    {76, 109},  // F10
    {77, 71},   // Num_Lock: keypad Clear
    {78, 107},  // Scroll_Lock: F14
    {79, 89},   // KP_7
    {80, 91},   // KP_8
    {81, 92},   // KP_9
    {82, 78},   // KP_Subtract
    {83, 86},   // KP_4
    {84, 87},   // KP_5
    {85, 88},   // KP_6
    {86, 69},   // KP_Add
    {87, 83},   // KP_1
    {88, 84},   // KP_2
    {89, 85},   // KP_3
    {90, 82},   // KP_0
    {91, 65},   // KP_Decimal
    {94, 10},   // less (ISO section key)
    {95, 103},  // F11
    {96, 111},  // F12
    {104, 76},  // KP_Enter
    {105, 54},  // Control_R: right Command
    {106, 75},  // KP_Divide
    {107, 105}, // Print: F13
    {108, 61},  // Alt_R: right Option
    {110, 115}, // Home
    {111, 126}, // Up
    {112, 116}, // Prior
    {113, 123}, // Left
    {114, 124}, // Right
    {115, 119}, // End
    {116, 125}, // Down
    {117, 121}, // Next
    {118, 114}, // Insert: Help
    {119, 117}, // Delete: forward delete
    {121, 74},  // mute
    {122, 73},  // volume down
    {123, 72},  // volume up
    {125, 81},  // KP_Equal
    {127, 113}, // Pause: F15
    {133, 59},  // Super_L: Control
    {134, 62},  // Super_R: right Control
    {135, 110}, // Menu
    {191, 105}, // F13
    {192, 107}, // F14
    {193, 113}, // F15
    {194, 106}, // F16
    {195, 64},  // F17
    {196, 79},  // F18
    {197, 80},  // F19
    {198, 90},  // F20
}};

static_assert(std::ranges::is_sorted(kTable, {}, &KeyCodePair::xKeycode));

} // namespace

std::span<const KeyCodePair> MacKeyCodeTable() {
    return kTable;
}

uint16_t MacKeyCodeFromX(uint32_t xKeycode) {
    const auto it = std::ranges::lower_bound(kTable, xKeycode, {}, &KeyCodePair::xKeycode);
    if (it != kTable.end() && it->xKeycode == xKeycode)
        return it->macKeyCode;
    return static_cast<uint16_t>(256 + std::min<uint32_t>(xKeycode, 0xFEFF));
}

uint32_t XKeycodeFromMac(uint16_t macKeyCode) {
    const auto it = std::ranges::find(kTable, macKeyCode, &KeyCodePair::macKeyCode);
    return it != kTable.end() ? it->xKeycode : 0;
}

} // namespace ak

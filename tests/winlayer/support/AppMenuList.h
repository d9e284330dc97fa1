#pragma once

#include "winlayer/WindowApi.h"

#include <iterator>

// The application's menu as its resource list (menu 40004): File, Debug and
// Help, each closed by an end entry.
namespace winlayer::test {

inline constexpr MenuListEntry kAppMenuList[] = {
    {"/.BO^O:&File", 0, 0},
    {"&Preferences...\tCtrl+,", 40006, 0},
    {"&Quit", 40007, 0},
    {"EN%%%^:", 0, 0},
    {"/.BO^O:&Debug", 0, 0},
    {"&Live Edit Mode\tCtrl+E", 40025, 0},
    {"&Show Control Bounds\tCtrl+B", 40028, 0},
    {"&Show Drawn Area\tCtrl+D", 40026, 0},
    {"&Show FPS\tCtrl+F", 40027, 0},
    {"EN%%%^:", 0, 0},
    {"/.BO^O:&Help", 0, 0},
    {"&About", 40005, 0},
    {"&Read Manual", 40008, 0},
    {"EN%%%^:", 0, 0},
};
inline constexpr int kAppMenuListSize = static_cast<int>(std::size(kAppMenuList));

} // namespace winlayer::test

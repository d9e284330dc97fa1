#pragma once

#include "platform/ak/Color.h"

#include <functional>

namespace ak {

// The desktop theme as the views see it. Dark means the theme's window
// background has a luminance below 0.5, so a forced dark variant
// ("GTK_THEME=Adwaita:dark") counts as well as the user's preference.
class Appearance {
public:
    static bool IsDark();
    static Color WindowBackground();
    static Color TextBackground();
    // Called after a theme or style change has been taken in.
    static void SetChangeCallback(std::function<void()> callback);
};

} // namespace ak

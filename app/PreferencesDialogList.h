#pragma once

#include "winlayer/WindowApi.h"

#include <array>

// The preferences dialog's controls in list order, in dialog units; the
// dialog places them at 1.5 points per unit. Combo boxes have style 3, a
// drop-down list.
namespace shell {

inline constexpr int kPreferencesControlCount = 32;

inline constexpr std::array<DialogControlListEntry, kPreferencesControlCount> kPreferencesControls{{
    {"__WISP_BUTTON", 1, "OK", 1, 110, 285, 50, 14, 0},
    {"__WISP_BUTTON", 0, "Apply", 40024, 54, 285, 50, 14, 0},
    {"__WISP_BUTTON", 0, "Cancel", 2, 166, 285, 50, 14, 0},
    {"__WISP_COMBO", 0, nullptr, 40009, 20, 35, 100, 100, 3},
    {"__WISP_LABEL", -1, "Driver Type", 0, 22, 25, 38, 8, 0},
    {"__WISP_COMBO", 0, nullptr, 40010, 20, 65, 100, 200, 3},
    {"__WISP_LABEL", -1, "Input Device", 0, 20, 55, 42, 8, 0},
    {"__WISP_COMBO", 0, nullptr, 40011, 20, 95, 100, 200, 3},
    {"__WISP_LABEL", -1, "Output Device", 0, 20, 85, 47, 8, 0},
    {"__WISP_COMBO", 0, nullptr, 40012, 135, 35, 65, 100, 3},
    {"__WISP_LABEL", -1, "Buffer Size", 0, 137, 25, 46, 8, 0},
    {"__WISP_COMBO", 0, nullptr, 40013, 135, 95, 65, 200, 3},
    {"__WISP_LABEL", -1, "Sampling Rate", 0, 135, 85, 47, 8, 0},
    {"__WISP_GROUP", 0, "Audio Device Settings", 0, 5, 10, 210, 170, 0},
    {"__WISP_BUTTON", 0, "Config...", 40022, 135, 155, 65, 14, 0},
    {"__WISP_COMBO", 0, nullptr, 40014, 20, 125, 40, 200, 3},
    {"__WISP_LABEL", -1, "Input 1 (L)", 0, 20, 115, 33, 8, 0},
    {"__WISP_COMBO", 0, nullptr, 40015, 65, 126, 40, 200, 3},
    {"__WISP_LABEL", -1, "Input 2 (R)", 0, 65, 115, 34, 8, 0},
    {"__WISP_COMBO", 0, nullptr, 40017, 20, 155, 40, 200, 3},
    {"__WISP_LABEL", -1, "Output 1 (L)", 0, 20, 145, 38, 8, 0},
    {"__WISP_COMBO", 0, nullptr, 40016, 65, 155, 40, 200, 3},
    {"__WISP_LABEL", -1, "Output 2 (R)", 0, 65, 145, 40, 8, 0},
    {"__WISP_GROUP", 0, "MIDI Device Settings", 0, 5, 190, 210, 85, 0},
    {"__WISP_COMBO", 0, nullptr, 40019, 15, 250, 100, 200, 3},
    {"__WISP_LABEL", -1, "Output Device", 0, 15, 240, 47, 8, 0},
    {"__WISP_COMBO", 0, nullptr, 40018, 15, 220, 100, 200, 3},
    {"__WISP_LABEL", -1, "Input Device", 0, 15, 210, 42, 8, 0},
    {"__WISP_LABEL", -1, "Input Channel", 0, 125, 210, 45, 8, 0},
    {"__WISP_COMBO", 0, nullptr, 40020, 125, 220, 50, 200, 3},
    {"__WISP_LABEL", -1, "Output Channel", 0, 125, 240, 50, 8, 0},
    {"__WISP_COMBO", 0, nullptr, 40021, 125, 250, 50, 200, 3},
}};

} // namespace shell

#pragma once

#include "winlayer/WindowApi.h"

#include <array>

// The application's preferences dialog as its control list, with the frame
// in points each control takes at scale 1.5 on a top-down parent (worked by
// hand: left, top, width, height).
namespace winlayer::test {

struct PlacedEntry {
    DialogControlListEntry entry;
    int frame[4];
};

inline constexpr std::array<PlacedEntry, 32> kPreferencesDialog{{
    {{"__WISP_BUTTON", 1, "OK", 1, 110, 285, 50, 14, 0}, {165, 428, 75, 21}},
    {{"__WISP_BUTTON", 0, "Apply", 40024, 54, 285, 50, 14, 0}, {81, 428, 75, 21}},
    {{"__WISP_BUTTON", 0, "Cancel", 2, 166, 285, 50, 14, 0}, {249, 428, 75, 21}},
    {{"__WISP_COMBO", 0, nullptr, 40009, 20, 35, 100, 100, 3}, {30, 53, 150, 18}},
    {{"__WISP_LABEL", -1, "Driver Type", 0, 22, 25, 38, 8, 0}, {33, 38, 57, 12}},
    {{"__WISP_COMBO", 0, nullptr, 40010, 20, 65, 100, 200, 3}, {30, 98, 150, 18}},
    {{"__WISP_LABEL", -1, "Input Device", 0, 20, 55, 42, 8, 0}, {30, 83, 63, 12}},
    {{"__WISP_COMBO", 0, nullptr, 40011, 20, 95, 100, 200, 3}, {30, 143, 150, 18}},
    {{"__WISP_LABEL", -1, "Output Device", 0, 20, 85, 47, 8, 0}, {30, 128, 71, 12}},
    {{"__WISP_COMBO", 0, nullptr, 40012, 135, 35, 65, 100, 3}, {203, 53, 98, 18}},
    {{"__WISP_LABEL", -1, "Buffer Size", 0, 137, 25, 46, 8, 0}, {206, 38, 69, 12}},
    {{"__WISP_COMBO", 0, nullptr, 40013, 135, 95, 65, 200, 3}, {203, 143, 98, 18}},
    {{"__WISP_LABEL", -1, "Sampling Rate", 0, 135, 85, 47, 8, 0}, {203, 128, 71, 12}},
    {{"__WISP_GROUP", 0, "Audio Device Settings", 0, 5, 10, 210, 170, 0}, {8, 14, 315, 260}},
    {{"__WISP_BUTTON", 0, "Config...", 40022, 135, 155, 65, 14, 0}, {203, 233, 98, 21}},
    {{"__WISP_COMBO", 0, nullptr, 40014, 20, 125, 40, 200, 3}, {30, 188, 60, 18}},
    {{"__WISP_LABEL", -1, "Input 1 (L)", 0, 20, 115, 33, 8, 0}, {30, 173, 50, 12}},
    {{"__WISP_COMBO", 0, nullptr, 40015, 65, 126, 40, 200, 3}, {98, 189, 60, 18}},
    {{"__WISP_LABEL", -1, "Input 2 (R)", 0, 65, 115, 34, 8, 0}, {98, 173, 51, 12}},
    {{"__WISP_COMBO", 0, nullptr, 40017, 20, 155, 40, 200, 3}, {30, 233, 60, 18}},
    {{"__WISP_LABEL", -1, "Output 1 (L)", 0, 20, 145, 38, 8, 0}, {30, 218, 57, 12}},
    {{"__WISP_COMBO", 0, nullptr, 40016, 65, 155, 40, 200, 3}, {98, 233, 60, 18}},
    {{"__WISP_LABEL", -1, "Output 2 (R)", 0, 65, 145, 40, 8, 0}, {98, 218, 60, 12}},
    {{"__WISP_GROUP", 0, "MIDI Device Settings", 0, 5, 190, 210, 85, 0}, {8, 284, 315, 132}},
    {{"__WISP_COMBO", 0, nullptr, 40019, 15, 250, 100, 200, 3}, {23, 375, 150, 18}},
    {{"__WISP_LABEL", -1, "Output Device", 0, 15, 240, 47, 8, 0}, {23, 360, 71, 12}},
    {{"__WISP_COMBO", 0, nullptr, 40018, 15, 220, 100, 200, 3}, {23, 330, 150, 18}},
    {{"__WISP_LABEL", -1, "Input Device", 0, 15, 210, 42, 8, 0}, {23, 315, 63, 12}},
    {{"__WISP_LABEL", -1, "Input Channel", 0, 125, 210, 45, 8, 0}, {188, 315, 68, 12}},
    {{"__WISP_COMBO", 0, nullptr, 40020, 125, 220, 50, 200, 3}, {188, 330, 75, 18}},
    {{"__WISP_LABEL", -1, "Output Channel", 0, 125, 240, 50, 8, 0}, {188, 360, 75, 12}},
    {{"__WISP_COMBO", 0, nullptr, 40021, 125, 250, 50, 200, 3}, {188, 375, 75, 18}},
}};

} // namespace winlayer::test

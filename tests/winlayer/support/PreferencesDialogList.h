#pragma once

#include "app/PreferencesDialogList.h"

#include <array>
#include <cstddef>

// The application's preferences dialog as the shell's control list, with the
// frame in points each control takes at scale 1.5 on a top-down parent
// (worked by hand: left, top, width, height).
namespace winlayer::test {

struct PlacedEntry {
    DialogControlListEntry entry;
    int frame[4];
};

inline constexpr int kPreferencesFrames[32][4] = {
    {165, 428, 75, 21}, {81, 428, 75, 21},  {249, 428, 75, 21}, {30, 53, 150, 18},
    {33, 38, 57, 12},   {30, 98, 150, 18},  {30, 83, 63, 12},   {30, 143, 150, 18},
    {30, 128, 71, 12},  {203, 53, 98, 18},  {206, 38, 69, 12},  {203, 143, 98, 18},
    {203, 128, 71, 12}, {8, 14, 315, 260},  {203, 233, 98, 21}, {30, 188, 60, 18},
    {30, 173, 50, 12},  {98, 189, 60, 18},  {98, 173, 51, 12},  {30, 233, 60, 18},
    {30, 218, 57, 12},  {98, 233, 60, 18},  {98, 218, 60, 12},  {8, 284, 315, 132},
    {23, 375, 150, 18}, {23, 360, 71, 12},  {23, 330, 150, 18}, {23, 315, 63, 12},
    {188, 315, 68, 12}, {188, 330, 75, 18}, {188, 360, 75, 12}, {188, 375, 75, 18},
};

inline constexpr std::array<PlacedEntry, 32> PlacePreferences() {
    std::array<PlacedEntry, 32> placed{};
    for (std::size_t i = 0; i < placed.size(); ++i) {
        placed[i].entry = shell::kPreferencesControls[i];
        for (int k = 0; k < 4; ++k)
            placed[i].frame[k] = kPreferencesFrames[i][k];
    }
    return placed;
}

inline constexpr std::array<PlacedEntry, 32> kPreferencesDialog = PlacePreferences();

} // namespace winlayer::test

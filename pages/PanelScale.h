#pragma once

#include <string>
#include <string_view>

namespace omnar::pages {

// The panel opens at this draw scale when none is stored or the stored one is unusable.
inline constexpr float kDefaultPanelScale = 0.5f;
// 640 x 400 to 5760 x 3600 for the 1920 x 1200 panel.
inline constexpr float kMinPanelScale = 1.f / 3.f;
inline constexpr float kMaxPanelScale = 3.f;

// The draw scale a stored text stands for: a plain decimal number (no locale)
// within the limits, else the default. The closing writes six decimals, so
// the smallest scale comes back as "0.333333" and still counts.
float ParsePanelScale(std::string_view text);

// The scale stored in the settings file at path: section "gui" (any case),
// key "scale"; the default when the file, section or key is missing.
float ReadPanelScale(const std::string& settingsPath);

} // namespace omnar::pages

#include "pages/PanelScale.h"

#include "winlayer/PrivateProfile.h"

#include <charconv>
#include <cmath>

namespace omnar::pages {

namespace {
// Six decimals round the smallest scale down by less than this.
constexpr float kWrittenRounding = 1e-6f;
} // namespace

float ParsePanelScale(std::string_view text) {
    float scale = 0.f;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, scale);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(scale))
        return kDefaultPanelScale;
    if (scale < kMinPanelScale - kWrittenRounding || scale > kMaxPanelScale)
        return kDefaultPanelScale;
    return std::fmax(scale, kMinPanelScale);
}

float ReadPanelScale(const std::string& settingsPath) {
    char text[128] = {};
    GetPrivateProfileString("gui", "scale", "0.5", text, sizeof text, settingsPath.c_str());
    return ParsePanelScale(text);
}

} // namespace omnar::pages

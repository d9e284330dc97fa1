#pragma once

// A stretch of the panel as it stands on the screen, read back pixel by pixel
// to tell when a part of it changes: the status row's text, an overlay page.
// The panel fills the window's bottom; its scale is the window's width over
// 1920.

#include <optional>
#include <vector>

namespace e2e {

// A rectangle in panel units (left, top, right, bottom).
struct PanelArea {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The panel's status row, where "Connecting to the device..." stands.
inline constexpr PanelArea kStatusRow{660, 5, 1060, 73};
// The whole panel.
inline constexpr PanelArea kWholePanel{0, 0, 1920, 1200};

class PanelPixels {
public:
    // The rectangle of the window's panel now, or nothing when it cannot be read.
    static std::optional<PanelPixels> Grab(unsigned long window, PanelArea rect);
    // The fraction of pixels, 0 to 1, that differ from the other grab's; 1
    // when the two have different sizes.
    double DifferenceFrom(const PanelPixels& other) const;

private:
    int mWidth = 0, mHeight = 0;
    std::vector<unsigned long> mPixels;
};

} // namespace e2e

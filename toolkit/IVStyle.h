#pragma once

#include "toolkit/ICanvasConstants.h"

#include <initializer_list>

namespace vx::ui {

// Colour roles of a vector control.
enum EVColor : int {
    kBG = 0,
    kFG = 1,
    kPR = 2, // pressed
    kFR = 3, // frame
    kHL = 4, // highlight: mouse over, splash
    kSH = 5, // shadow
    kX1 = 6,
    kX2 = 7,
    kX3 = 8,
    kNumVColors = 9
};

inline constexpr IColor kDefaultVColors[kNumVColors] = {
    kColorTransparent, kColorMidGray, kColorLightGray, kColorDarkGray, kColorTranslucent,
    kColorShadow,      kColorBlack,   kColorGreen,     kColorBlue};

// Nine colours by role. Entries not given take the default of their index.
struct IVColorSet {
    IColor colors[kNumVColors];

    constexpr IVColorSet() : IVColorSet({}) {}
    constexpr IVColorSet(std::initializer_list<IColor> list) {
        int i = 0;
        for (const IColor& c : list) {
            if (i == kNumVColors)
                break;
            colors[i++] = c;
        }
        for (; i < kNumVColors; ++i)
            colors[i] = kDefaultVColors[i];
    }

    constexpr const IColor& operator[](int role) const { return colors[role]; }
    constexpr IColor& operator[](int role) { return colors[role]; }
    constexpr bool operator==(const IVColorSet&) const = default;
};

inline constexpr IVColorSet kDefaultColorSet{kColorTransparent, kColorMidGray,     kColorLightGray,
                                             kColorDarkGray,    kColorTranslucent, kColorShadow,
                                             kColorBlack,       kColorGreen,       kColorBlue};

// Style of one vector control.
struct IVStyle {
    bool hideCursor = true;
    bool showLabel = true;
    bool showValue = true;
    bool drawFrame = true;
    bool drawShadows = true;
    bool emboss = false;
    float roundness = 0.f;
    float frameThickness = 1.f;
    float shadowOffset = 3.f;
    float widgetFrac = 1.f;
    float angle = 0.f;
    IVColorSet colors = kDefaultColorSet;
    IText labelText = kDefaultLabelText;
    IText valueText = kDefaultValueText;
    int labelPosition = 0; // 0 top, 1 right, 2 bottom, 3 left
};

inline constexpr IVStyle kDefaultStyle{};

} // namespace vx::ui

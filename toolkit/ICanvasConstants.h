#pragma once

#include "toolkit/ISharedTypes.h"

// The toolkit's default colours, blends and text styles, one copy for the program.
namespace vx::ui {

inline constexpr IColor kColorTransparent{0, 0, 0, 0};
inline constexpr IColor kColorTranslucent{10, 0, 0, 0};
inline constexpr IColor kColorBlack{255, 0, 0, 0};
inline constexpr IColor kColorBlackDropShadow{128, 0, 0, 0};
inline constexpr IColor kColorGray{255, 127, 127, 127};
inline constexpr IColor kColorLightGray{255, 240, 240, 240};
inline constexpr IColor kColorMidGray{255, 200, 200, 200};
inline constexpr IColor kColorDarkGray{255, 70, 70, 70};
inline constexpr IColor kColorWhite{255, 255, 255, 255};
inline constexpr IColor kColorRed{255, 255, 0, 0};
inline constexpr IColor kColorGreen{255, 0, 255, 0};
inline constexpr IColor kColorBlue{255, 0, 0, 255};
inline constexpr IColor kColorYellow{255, 255, 255, 0};
inline constexpr IColor kColorOrange{255, 255, 127, 0};
inline constexpr IColor kColorIndigo{255, 75, 0, 130};
inline constexpr IColor kColorViolet{255, 148, 0, 211};
inline constexpr IColor kColorShadow{60, 0, 0, 0};

inline constexpr IColor kEightColorTable[8] = {
    kColorTransparent, kColorMidGray, kColorLightGray, kColorDarkGray,
    kColorTranslucent, kColorBlack,   kColorGreen,     kColorBlue};
inline constexpr IColor kFurtherColors[4] = {
    {255, 36, 157, 16}, {255, 153, 191, 28}, {255, 215, 222, 37}, {255, 247, 153, 33}};

inline constexpr IBlendSetting kBlend75{0, 0.75f};
inline constexpr IBlendSetting kBlend50{0, 0.5f};
inline constexpr IBlendSetting kBlend25{0, 0.25f};
inline constexpr IBlendSetting kBlend10{0, 0.1f};
inline constexpr IBlendSetting kBlend05{0, 0.05f};
inline constexpr IBlendSetting kBlend01{0, 0.01f};
inline constexpr IBlendSetting kBlendType5{5, 1.f};
inline constexpr IBlendSetting kBlendType4{4, 1.f};

inline constexpr IText kDefaultText{};
inline constexpr IText kDefaultLabelText{19.f, kColorBlack, 1, 0};
inline constexpr IText kDefaultValueText{14.f, kColorBlack, 1, 2};

} // namespace vx::ui

#pragma once

#include <cstdint>
#include <cstring>

namespace vx::ui {

// Colour as four integers 0..255.
struct IColor {
    int A = 255;
    int R = 0;
    int G = 0;
    int B = 0;

    constexpr IColor() = default;
    constexpr IColor(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}
    constexpr bool operator==(const IColor&) const = default;

    // Adds the truncated contrast x 255 to R, G and B, clamped; alpha unchanged.
    constexpr IColor WithContrast(float c) const {
        const int d = static_cast<int>(c * 255.f);
        auto clamp = [](int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); };
        return {A, clamp(R + d), clamp(G + d), clamp(B + d)};
    }
};

struct IBlendSetting {
    int type = 0;
    float weight = 1.f;

    constexpr bool operator==(const IBlendSetting&) const = default;
};

// Text style. The angle is in degrees; alignments: 0 left/top, 1 centre/middle,
// 2 right/bottom.
struct IText {
    char font[64] = "Roboto-Regular";
    float size = 14.f;
    IColor FGColor{255, 0, 0, 0};
    IColor TextEntryBGColor{255, 255, 255, 255};
    IColor TextEntryFGColor{255, 0, 0, 0};
    float angle = 0.f;
    int align = 1;
    int vAlign = 1;

    constexpr IText() = default;
    constexpr IText(float sz, const IColor& fg, int horizontal, int vertical)
        : size(sz), FGColor(fg), align(horizontal), vAlign(vertical) {}

    // Names longer than the field are cut.
    void SetFont(const char* name) {
        std::strncpy(font, name ? name : "", sizeof(font) - 1);
        font[sizeof(font) - 1] = '\0';
    }

    bool operator==(const IText& o) const {
        return std::strcmp(font, o.font) == 0 && size == o.size && FGColor == o.FGColor &&
               TextEntryBGColor == o.TextEntryBGColor && TextEntryFGColor == o.TextEntryFGColor &&
               angle == o.angle && align == o.align && vAlign == o.vAlign;
    }
};

enum class EDirection : int { Vertical = 0, Horizontal = 1 };

enum class EVShape : int {
    Rectangle = 0,
    Ellipse = 1,
    Triangle = 2,
    EndsRounded = 3,
    AllRounded = 4
};

enum class EMsgBoxResult : int { None = 0, OK = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

enum class EMsgBoxButtons : int {
    OK = 0,
    OKCancel = 1,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5
};

enum class EFileAction : int { Open = 0, Save = 1 };

} // namespace vx::ui

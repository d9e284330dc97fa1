// Text, bitmap-frame and line helpers that controls call while drawing.
#include "toolkit/ICanvas.h"
#include "toolkit/TextFit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vx::ui {

namespace {

constexpr float kPi = 3.14159265358979f;

} // namespace

float ICanvas::MeasureText(const IText& text, const char* str, IRECT& bounds) const {
    if (!str || !*str)
        return 0.f;
    return MeasureTextBounds(text, str, bounds);
}

// A string wider than its box shrinks, then is cut with an ellipsis, rather
// than being clipped mid-letter at the control's edge.
void ICanvas::DrawText(const IText& text, const char* str, const IRECT& bounds,
                       const IBlendSetting* blend) {
    if (!str || !*str)
        return;
    const FittedText fitted = FitText(*this, text, str, bounds.W());
    DrawTextString(fitted.style, fitted.str.c_str(), bounds, blend);
}

void ICanvas::DrawTextAt(const IText& text, const char* str, float x, float y,
                         const IBlendSetting* blend) {
    DrawText(text, str, IRECT(x, y, x, y), blend);
}

void ICanvas::DrawBitmapFrame(const IBitmapHandle& bitmap, const IRECT& dest, int frame,
                              const IBlendSetting* blend) {
    frame = std::clamp(frame, 1, std::max(bitmap.nFrames, 1));
    int srcX = 0, srcY = 0;
    if (frame >= 2) {
        if (bitmap.framesHorizontal)
            srcX = (frame - 1) * bitmap.W / bitmap.nFrames;
        else
            srcY = (frame - 1) * bitmap.H / bitmap.nFrames;
    }
    DrawBitmapRegion(bitmap, dest, srcX, srcY, blend);
}

void ICanvas::DrawBitmapText(const IBitmapHandle& font, const IRECT& bounds, const IText& text,
                             const IBlendSetting* blend, const char* str, bool vCentre, bool wrap,
                             int charWidth, int charHeight, int charOffset) {
    if (!str || !*str || charWidth <= 0)
        return;
    const int length = static_cast<int>(std::strlen(str));
    const float textWidth = float(length * (charWidth + charOffset));
    const int perRow = static_cast<int>(bounds.W() / float(charWidth));
    const int rows = wrap && bounds.W() > 0.f ? static_cast<int>(textWidth / bounds.W()) + 1 : 1;

    float left = bounds.L;
    if (text.align == 2)
        left = bounds.R - textWidth;
    else if (text.align == 1)
        left = bounds.MW() - textWidth * 0.5f;
    float top = vCentre ? bounds.T + (bounds.H() - float(charHeight)) * 0.5f : bounds.T;

    int index = 0;
    for (int row = 0; row < rows && index < length; ++row, top += float(charHeight)) {
        float x = left;
        for (int col = 0; col < perRow && index < length; ++col, ++index) {
            const int c = std::max(static_cast<unsigned char>(str[index]) + 0, 32);
            const int cell = std::min(c - 31, font.nFrames);
            const IRECT dest{x, top, x + float(charWidth), top + float(charHeight)};
            DrawBitmapFrame(font, dest, cell, blend);
            x += float(charWidth + charOffset);
        }
    }
}

void ICanvas::DrawHorizontalLine(const IColor& color, const IRECT& r, float value,
                                 const IBlendSetting* blend, float thickness) {
    value = std::clamp(value, 0.f, 1.f);
    const float y = r.B - value * r.H();
    DrawLine(color, r.L, y, r.R, y, blend, thickness);
}

void ICanvas::DrawVerticalLine(const IColor& color, const IRECT& r, float value,
                               const IBlendSetting* blend, float thickness) {
    value = std::clamp(value, 0.f, 1.f);
    const float x = r.L + std::trunc(r.W() * value);
    DrawLine(color, x, r.T, x, r.B, blend, thickness);
}

void ICanvas::DrawVerticalLineAt(const IColor& color, float x, float y1, float y2,
                                 const IBlendSetting* blend, float thickness) {
    DrawLine(color, x, y1, x, y2, blend, thickness);
}

void ICanvas::DrawHorizontalLineAt(const IColor& color, float y, float x1, float x2,
                                   const IBlendSetting* blend, float thickness) {
    DrawLine(color, x1, y, x2, y, blend, thickness);
}

void ICanvas::DrawLineAcross(const IColor& color, const IRECT& r, EDirection dir, float value,
                             const IBlendSetting* blend, float thickness) {
    if (dir == EDirection::Vertical) {
        const float y = r.B - value * r.H();
        DrawLine(color, r.L, y, r.R, y, blend, thickness);
    } else {
        const float x = r.L + std::trunc(value * r.W());
        DrawLine(color, x, r.T, x, r.B, blend, thickness);
    }
}

void ICanvas::DrawRadialLine(const IColor& color, float cx, float cy, float angle, float r1,
                             float r2, const IBlendSetting* blend, float thickness) {
    const float a = (angle - 90.f) / 180.f * kPi;
    DrawLine(color, cx + r1 * std::cos(a), cy + r1 * std::sin(a), cx + r2 * std::cos(a),
             cy + r2 * std::sin(a), blend, thickness);
}

void ICanvas::PathRadialLine(float cx, float cy, float angle, float r1, float r2) {
    const float a = (angle - 90.f) / 180.f * kPi;
    PathAddMove(cx + r1 * std::cos(a), cy + r1 * std::sin(a));
    PathAddLine(cx + r2 * std::cos(a), cy + r2 * std::sin(a));
}

} // namespace vx::ui

namespace vx::ui {

void ICanvas::TextRotationOffset(const IText& text, const IRECT& bounds, IRECT& m, float& dx,
                                 float& dy) const {
    if (text.angle == 0.f)
        return;
    const float a = text.angle / 180.f * kPi;
    const float c = std::cos(a), s = std::sin(a);
    auto rotated = [&](float x, float y) { return std::pair{x * c - y * s, x * s + y * c}; };
    auto box = [&](float x1, float y1, float x2, float y2) {
        const auto [ax, ay] = rotated(x1, y1);
        const auto [bx, by] = rotated(x2, y2);
        return IRECT{std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by)};
    };
    m = box(m.L, m.T, m.L, m.B).Union(box(m.R, m.T, m.R, m.B));
    switch (text.align) {
    case 0:
        dx = bounds.L - m.L;
        break;
    case 1:
        dx = bounds.MW() - m.MW();
        break;
    case 2:
        dx = bounds.R - m.R;
        break;
    default:
        break;
    }
    switch (text.vAlign) {
    case 0:
        dy = bounds.T - m.T;
        break;
    case 1:
        dy = bounds.MH() - m.MH();
        break;
    case 2:
        dy = bounds.B - m.B;
        break;
    default:
        break;
    }
}

void ICanvas::MeasureRotatedText(const IText& text, const IRECT& bounds, IRECT& measured) const {
    float dx = 0.f, dy = 0.f;
    TextRotationOffset(text, bounds, measured, dx, dy);
    measured = measured.GetTranslated(dx, dy);
}

} // namespace vx::ui

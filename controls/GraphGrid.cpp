#include "controls/GraphGrid.h"

#include "toolkit/ICanvas.h"

#include <cstdio>

namespace vx::ui {

namespace {

constexpr float kDash = 2.f;
constexpr float kLabelWidth = 40.f;
constexpr float kLabelHeight = 20.f;

} // namespace

IText GridLabelText(const IText& base, float size) {
    IText label = base;
    label.size = size;
    label.FGColor = kGraphGridGrey;
    return label;
}

void DrawDecibelLine(ICanvas& g, const IText& label, float dB, float left, float right, float y) {
    const float thickness = dB == 0.f ? 2.f : 1.f;
    g.DrawDashedLine(kGraphGridGrey, left, y, right - kLabelWidth, y, nullptr, thickness, kDash);
    char caption[32];
    std::snprintf(caption, sizeof caption, "%4.0f dB", double(dB));
    g.DrawText(label, caption,
               {right - kLabelWidth, y - kLabelHeight / 2, right, y + kLabelHeight / 2}, nullptr);
}

void DrawFrequencyLine(ICanvas& g, const IText& label, const char* caption, float x, float top,
                       float bottom) {
    g.DrawDashedLine(kGraphGridGrey, x, top + kLabelHeight, x, bottom - 1.f, nullptr, 1.f, kDash);
    if (caption)
        g.DrawText(label, caption,
                   {x - kLabelWidth / 2, top, x + kLabelWidth / 2, top + kLabelHeight}, nullptr);
}

} // namespace vx::ui

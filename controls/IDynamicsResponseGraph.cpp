#include "controls/IDynamicsResponseGraph.h"

#include "controls/GraphGrid.h"
#include "toolkit/ICanvas.h"

#include <cmath>
#include <cstdio>

namespace vx::ui {

namespace {

constexpr int kNumLines = 6;
constexpr float kGridDb[kNumLines] = {-80, -60, -40, -30, -20, -12};
constexpr float kGridPos[kNumLines] = {0.8f, 0.6f, 0.4f, 0.3f, 0.2f, 0.12f};
constexpr float kLabelSize = 20.f;
constexpr float kCurveThickness = 3.f;

// Normalised level of a threshold: 0 at -100 dB, 1 at 0 dB.
double LevelOf(double dB) {
    return 1.0 - std::fabs(dB / 100.0);
}

} // namespace

IDynamicsResponseGraph::IDynamicsResponseGraph(const IRECT& bounds, const IColor& color)
    : IControl(bounds), width(static_cast<int>(bounds.W())), height(static_cast<int>(bounds.H())),
      curveColor(color) {}

void IDynamicsResponseGraph::SetLowerBreakPoint(double dB) {
    lowerBreak = LevelOf(dB);
    if (lowerBreak > upperBreak)
        upperBreak = lowerBreak;
    SetDirty(true);
}

void IDynamicsResponseGraph::SetUpperBreakPoint(double dB) {
    upperBreak = LevelOf(dB);
    if (lowerBreak > upperBreak)
        lowerBreak = upperBreak;
    SetDirty(true);
}

void IDynamicsResponseGraph::SetLowerSlope(double slope) {
    lowerSlope = slope;
    SetDirty(true);
}

void IDynamicsResponseGraph::SetUpperRatio(double ratio) {
    upperRatio = ratio;
    SetDirty(true);
}

void IDynamicsResponseGraph::DrawGrid(ICanvas& g) {
    const IText label = GridLabelText(text, kLabelSize);
    const float l = drawRect.L, t = drawRect.T;
    for (int k = 0; k < kNumLines; ++k) {
        DrawDecibelLine(g, label, kGridDb[k], l, l + width, t + height * kGridPos[k]);
        char caption[32];
        std::snprintf(caption, sizeof caption, "%4.0f dB", double(kGridDb[k]));
        DrawFrequencyLine(g, label, caption, l + width - kGridPos[k] * width, t, t + height);
    }
}

void IDynamicsResponseGraph::Draw(ICanvas& g) {
    DrawGrid(g);
    const IRECT& r = drawRect;
    const double xl = r.L + width * lowerBreak, yl = r.B - height * lowerBreak;
    const double xu = r.L + width * upperBreak, yu = r.B - height * upperBreak;
    double endX = r.R, endY = yu - (yu - r.T) / upperRatio;
    if (upperRatio < 1.0) {
        endX = xu + (r.R - xu) * upperRatio;
        endY = r.T;
    }
    const double startX = xl - (xl - r.L) * lowerSlope;
    auto line = [&](double x1, double y1, double x2, double y2) {
        g.DrawLine(curveColor, float(x1), float(y1), float(x2), float(y2), nullptr,
                   kCurveThickness);
    };
    line(startX, r.B, xl, yl);
    line(xl, yl, xu, yu);
    line(xu, yu, endX, endY);
    for (const auto& [x, y] : {std::pair{xl, yl}, std::pair{xu, yu}}) {
        g.DrawCircle(curveColor, float(x), float(y), 20.f, nullptr, 6.f);
        g.DrawCircle(curveColor, float(x), float(y), 4.f, nullptr, 4.f);
    }
}

} // namespace vx::ui

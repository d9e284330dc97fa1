#include "controls/IFreqResponseGraph.h"

#include "controls/GraphGrid.h"
#include "toolkit/ICanvas.h"

#include <cmath>
#include <cstdio>

namespace vx::ui {

namespace {

constexpr float kLabelSize = 18.f;
constexpr float kCurveThickness = 3.f;
// The readout box is 90 wide and sits 10 below and beside the pointer; it
// flips to the left within 100 units of the right edge.
constexpr int kReadoutFlipMargin = 100;

struct FreqLabel {
    int line;
    const char* text;
};
constexpr FreqLabel kFreqLabels[] = {{2, "50Hz"}, {3, "100Hz"}, {7, "500Hz"},
                                     {8, "1kHz"}, {12, "5kHz"}, {13, "10kHz"}};

} // namespace

void IFreqResponseGraph::Draw(ICanvas& g) {
    if (!Usable())
        return;
    DrawFrequencyGrid(g);
    DrawDbGrid(g);
    if (width <= 0 || height <= 0)
        return;
    DrawCurve(g);
    if (mouseOver)
        DrawReadout(g);
}

void IFreqResponseGraph::DrawFrequencyGrid(ICanvas& g) {
    const IText label = GridLabelText(graphText, kLabelSize);
    for (int k = 0; k < kNumFreqLines; ++k) {
        const char* caption = nullptr;
        for (const FreqLabel& l : kFreqLabels)
            if (l.line == k)
                caption = l.text;
        DrawFrequencyLine(g, label, caption, drawRect.L + width * freqGridPos[size_t(k)],
                          float(top), float(top + height));
    }
}

void IFreqResponseGraph::DrawDbGrid(ICanvas& g) {
    const IText label = GridLabelText(graphText, kLabelSize);
    for (int k = 0; k < kNumDbLines; ++k)
        DrawDecibelLine(g, label, kDbLines[size_t(k)], drawRect.L, drawRect.L + width,
                        drawRect.T + height * dbGridPos[size_t(k)]);
}

void IFreqResponseGraph::DrawCurve(ICanvas& g) {
    for (int i = 0; i + 1 < width; ++i) {
        const double y = columnY[size_t(i)];
        if (!(y > 0.0 && y < height))
            continue;
        g.DrawLine(curveColor, float(left + i), float(top + y), float(left + i + 1),
                   float(top + columnY[size_t(i + 1)]), nullptr, kCurveThickness);
    }
}

void IFreqResponseGraph::DrawReadout(ICanvas& g) {
    const int dx = mouseX - left, dy = mouseY - top;
    const double frequency = std::pow(10.0, double(dx) / width * logSpan + logMin);
    const double gain = dbOffset - dbRange / height * dy;
    const float mx = float(mouseX), my = float(mouseY);
    const IRECT box = dx < width - kReadoutFlipMargin ? IRECT{mx + 10, my + 10, mx + 100, my + 38}
                                                      : IRECT{mx - 90, my + 10, mx, my + 38};
    g.FillRect(curveColor, box, nullptr);
    char text[64];
    if (frequency >= 1000.0)
        std::snprintf(text, sizeof text, "Freq: %2.3f kHz", frequency / 1000.0);
    else
        std::snprintf(text, sizeof text, "Freq: %4.0f Hz", frequency);
    g.DrawText(graphText, text, {box.L, my + 10, box.R, my + 28}, nullptr);
    std::snprintf(text, sizeof text, "Gain: %4.1f dB", gain);
    g.DrawText(graphText, text, {box.L, my + 10, box.R, my + 48}, nullptr);
}

} // namespace vx::ui

#include "controls/IVPadPlotControls.h"

#include "toolkit/ICanvas.h"

#include <algorithm>

namespace vx::ui {

IVPlotControl::IVPlotControl(const IRECT& bounds, std::initializer_list<Plot> list, int numPoints,
                             const char* label, const IVStyle& s, float lo, float hi, bool layered)
    : IControl(bounds), IVectorBase(s), min(lo), max(hi), useLayer(layered),
      points(static_cast<size_t>(std::max(numPoints, 0)), 0.f) {
    AttachIControl(this);
    SetLabelStr(label);
    for (const Plot& plot : list)
        AddPlotFunc(plot.color, plot.func);
}

void IVPlotControl::AddPlotFunc(const IColor& color, std::function<double(double)> func) {
    plots.push_back({color, std::move(func)});
    if (layer)
        layer->invalidated = true;
    SetDirty(false, -1);
}

double IVPlotControl::SampleX(int j) const {
    const int n = static_cast<int>(points.size());
    // One point has no spacing: it samples x = 0.
    return n > 1 ? static_cast<double>(j) / (n - 1) : 0.0;
}

void IVPlotControl::Draw(ICanvas& g) {
    DrawBackground(g, drawRect);
    DrawLabel(g);
    if (!useLayer) {
        DrawControlBody(g);
        return;
    }
    if (!g.IsLayerCurrent(layer.get())) {
        g.BeginOffscreenLayer(this, drawRect, false);
        DrawControlBody(g);
        layer = g.FinishOffscreenLayer();
    }
    if (layer)
        g.DrawOffscreenLayer(*layer, &blend);
}

void IVPlotControl::DrawControlBody(ICanvas& g) {
    const IRECT& w = widgetBounds;
    const float gx = w.W() / static_cast<float>(horizontalDivisions);
    const float gy = w.H() / static_cast<float>(verticalDivisions + 2);
    const IRECT plotArea{w.L, w.T + gy, w.R, w.B - gy};
    g.DrawGrid(GetColor(kSH), w, gx, gy, &blend, 1.f);
    // Equal bounds leave no scale to draw a curve on.
    if (max != min && !points.empty()) {
        for (const Plot& plot : plots) {
            if (!plot.func)
                continue;
            for (size_t j = 0; j < points.size(); ++j)
                points[j] = static_cast<float>((plot.func(SampleX(static_cast<int>(j))) - min) /
                                               (max - min));
            g.DrawData(plot.color, plotArea, points.data(), static_cast<int>(points.size()),
                       nullptr, &blend, trackSize);
        }
    }
    if (style.drawFrame)
        g.DrawRect(GetColor(kFR), w, &blend, style.frameThickness);
}

void IVPlotControl::OnResize() {
    targetRect = LayoutRects(drawRect, false);
    mouseIsOver = false;
    SetDirty(false, -1);
}

} // namespace vx::ui

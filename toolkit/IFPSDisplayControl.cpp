#include "toolkit/ICanvas.h"
#include "toolkit/ISpecialControls.h"

#include <algorithm>
#include <cstdio>

namespace vx::ui {

namespace {

IText FpsText(float size, const IColor& fg, int align, int vAlign) {
    IText t(size, fg, align, vAlign);
    t.TextEntryBGColor = kColorWhite;
    t.TextEntryFGColor = kColorBlack;
    return t;
}

} // namespace

IFPSDisplayControl::IFPSDisplayControl(const IRECT& bounds, int kind, const char* labelText)
    : IControl(bounds, -1, nullptr), IVectorBase(kDefaultStyle, false, false), kind(kind),
      label(labelText ? labelText : "") {
    AttachIControl(this);
    style.colors[0] = kColorWhite;
    SetLabelStr(labelText ? labelText : "");
    const IColor& frame = style.colors[3];
    nameText = FpsText(14.f, frame, 0, 0);
    mainText = FpsText(18.f, frame, 2, 0);
    secondText = FpsText(15.f, frame, 2, 2);
    text = FpsText(14.f, frame, 0, 2);
}

void IFPSDisplayControl::OnMouseDown(float, float, const IMouseMod&) {
    kind = kind >= kPercentage ? kFPS : kind + 1;
    SetDirty(false, -1);
}

void IFPSDisplayControl::Draw(ICanvas& g) {
    const IRECT& d = drawRect;
    const IRECT inner = d.GetPadded(-2.f);
    float sum = 0.f;
    for (float t : ring)
        sum += t;
    const float avg = sum / float(kRingSize);

    g.FillRect(style.colors[0], d, nullptr);
    g.DrawRect(kColorBlack, d, nullptr, 1.f);

    g.PathReset();
    g.PathAddMove(inner.L, inner.B);
    for (int i = 0; i < kRingSize; ++i) {
        const float v = ring[(i + ringIndex) % kRingSize];
        float f = 0.f;
        if (kind == kFPS)
            f = std::min(1.f / (v + 1e-5f), 80.f) / 80.f;
        else if (kind == kMilliseconds)
            f = std::min(1000.f * v, 20.f) / 20.f;
        else
            f = std::min(v, 100.f) / 100.f;
        g.PathAddLine(inner.L + float(i) / 99.f * inner.W(), inner.B - f * inner.H());
    }
    g.PathAddLine(d.R, d.B);
    g.PathFillCurrent(IFillPattern(style.colors[1]), {IFillStyle::Winding, false}, nullptr);

    const char* backend = g.DrawingBackendName();
    if (backend && *backend)
        g.DrawTextString(nameText, backend, inner, nullptr);
    if (label.GetLength() > 0)
        g.DrawTextString(text, label.Get(), inner, nullptr);

    char reading[64];
    if (kind == kFPS) {
        std::snprintf(reading, sizeof reading, "%.2f FPS", 1.0 / avg);
        g.DrawTextString(mainText, reading, inner, nullptr);
        std::snprintf(reading, sizeof reading, "%.2f ms", 1000.0 * avg);
        g.DrawTextString(secondText, reading, inner, nullptr);
    } else if (kind == kMilliseconds) {
        std::snprintf(reading, sizeof reading, "%.2f ms", 1000.0 * avg);
        g.DrawTextString(mainText, reading, inner, nullptr);
    } else {
        std::snprintf(reading, sizeof reading, "%.1f %%", double(avg));
        g.DrawTextString(mainText, reading, inner, nullptr);
    }
}

} // namespace vx::ui

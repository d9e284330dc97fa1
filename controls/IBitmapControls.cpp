#include "controls/IBitmapControls.h"

#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vx::ui {

IRECT FrameCentredIn(const IRECT& bounds, const IBitmapHandle& bitmap) {
    const float w = static_cast<float>(bitmap.FrameWidth());
    const float h = static_cast<float>(bitmap.FrameHeight());
    const float l = bounds.MW() - w / 2.f, t = bounds.MH() - h / 2.f;
    return {l, t, l + w, t + h};
}

IRECT FrameAt(float x, float y, const IBitmapHandle& bitmap) {
    return {x, y, x + static_cast<float>(bitmap.FrameWidth()),
            y + static_cast<float>(bitmap.FrameHeight())};
}

IBitmapHandle RefetchBitmap(const IControl& control, const IBitmapHandle& bitmap) {
    ICanvas* g = control.GetUI();
    if (!g || bitmap.name.GetLength() == 0)
        return bitmap;
    IBitmapHandle reloaded = g->LoadBitmap(bitmap);
    return reloaded.IsValid() ? reloaded : bitmap;
}

IBKnobControl::IBKnobControl(const IRECT& bounds, const IBitmapHandle& bmp, int paramIdx,
                             EDirection dir, double gear)
    : IKnobControlBase(FrameCentredIn(bounds, bmp), paramIdx, nullptr, dir, gear),
      IBitmapBase(*this, bmp) {}

void IBKnobRotaterControl::Draw(ICanvas& g) {
    if (!bitmap.IsValid())
        return;
    g.DrawRotatedBitmap(bitmap, drawRect.MW(), drawRect.MH(), Angle(), &blend);
}

IBButtonControl::IBButtonControl(float x, float y, const IBitmapHandle& bmp, IActionFunction action)
    : IButtonControlBase(FrameAt(x, y, bmp), std::move(action)), IBitmapBase(*this, bmp) {}

IBButtonControl::IBButtonControl(const IRECT& bounds, const IBitmapHandle& bmp,
                                 IActionFunction action)
    : IButtonControlBase(FrameCentredIn(bounds, bmp), std::move(action)), IBitmapBase(*this, bmp) {}

IBSwitchControl::IBSwitchControl(float x, float y, const IBitmapHandle& bmp, int paramIdx)
    : ISwitchControlBase(FrameAt(x, y, bmp), paramIdx, nullptr, 2), IBitmapBase(*this, bmp) {}

IBSwitchControl::IBSwitchControl(const IRECT& bounds, const IBitmapHandle& bmp, int paramIdx)
    : ISwitchControlBase(FrameCentredIn(bounds, bmp), paramIdx, nullptr, 2),
      IBitmapBase(*this, bmp) {}

void IBSwitchControl::OnMouseDown(float, float, const IMouseMod&) {
    // The strip, not the state count, sets the step.
    const double step = bitmap.nFrames >= 2 ? 1.0 / (bitmap.nFrames - 1) : 1.0;
    double next = GetValue(0) + step;
    if (next > 1.001)
        next = 0.0;
    SetValue(next);
    SetDirty(true, -1);
}

namespace {

float HandleSizeOf(const IBitmapHandle& handle, EDirection dir) {
    return static_cast<float>(dir == EDirection::Vertical ? handle.H : handle.W);
}

IRECT SliderBounds(float x, float y, float length, const IBitmapHandle& handle, EDirection dir) {
    if (dir == EDirection::Vertical)
        return {x, y, x + static_cast<float>(handle.W), y + length};
    return {x, y, x + length, y + static_cast<float>(handle.H)};
}

} // namespace

IBSliderControl::IBSliderControl(const IRECT& bounds, const IBitmapHandle& handle,
                                 const IBitmapHandle& track, int paramIdx, EDirection dir,
                                 double gear)
    : ISliderControlBase(bounds, paramIdx, dir, gear, HandleSizeOf(handle, dir)),
      IBitmapBase(*this, handle), trackBitmap(track) {}

IBSliderControl::IBSliderControl(float x, float y, float trackLength, const IBitmapHandle& handle,
                                 const IBitmapHandle& track, int paramIdx, EDirection dir,
                                 double gear)
    : IBSliderControl(SliderBounds(x, y, trackLength, handle, dir), handle, track, paramIdx, dir,
                      gear) {}

void IBSliderControl::OnResize() {
    const IRECT& r = drawRect;
    if (trackBitmap.IsValid()) {
        trackRect = FrameCentredIn(r, trackBitmap);
    } else if (direction == EDirection::Vertical) {
        const float w = static_cast<float>(bitmap.W);
        trackRect = {r.MW() - w / 2.f, r.T, r.MW() + w / 2.f, r.B};
    } else {
        const float h = static_cast<float>(bitmap.H);
        trackRect = {r.L, r.MH() - h / 2.f, r.R, r.MH() + h / 2.f};
    }
    SetDirty(false, -1);
}

IRECT IBSliderControl::GetHandleBounds(double value) const {
    if (value < 0.0)
        value = GetValue(0);
    const float v = static_cast<float>(value);
    const IRECT& t = trackRect;
    const float fw = static_cast<float>(FrameW()), fh = static_cast<float>(FrameH());
    IRECT h{t.L, t.T, t.L + fw, t.T + fh};
    if (direction == EDirection::Horizontal)
        return h.GetTranslated((t.W() - static_cast<float>(bitmap.W)) * v, 0.f);
    return h.GetTranslated(0.f, (t.H() - static_cast<float>(bitmap.H)) * (1.f - v));
}

void IBSliderControl::Draw(ICanvas& g) {
    if (trackBitmap.IsValid())
        g.DrawBitmapFrame(trackBitmap, FrameCentredIn(drawRect, trackBitmap), 1, &blend);
    if (bitmap.IsValid())
        g.DrawBitmapFrame(bitmap, GetHandleBounds(), 1, &blend);
}

IBTextControl::IBTextControl(const IRECT& bounds, const IBitmapHandle& font, const IText& t,
                             const char* str, int cw, int ch, int spacing, bool multi, bool vCentre,
                             int blendType)
    : ITextControl(bounds, str, t, IColor(0, 0, 0, 0), false), IBitmapBase(*this, font),
      charWidth(cw), charHeight(ch), charSpacing(spacing), multiLine(multi),
      verticalCentre(vCentre) {
    blend = {blendType, 1.f};
}

void IBTextControl::Draw(ICanvas& g) {
    if (!bitmap.IsValid())
        return;
    const char* str = GetString();
    g.DrawBitmapText(bitmap, drawRect, text, &blend, str ? str : "", verticalCentre, multiLine,
                     charWidth, charHeight, charSpacing);
}

IBMeterControl::IBMeterControl(float x, float y, const IBitmapHandle& bmp, float a, float b,
                               int mode)
    : IBitmapControl(x, y, bmp), rangeA(a), rangeB(b), scalingMode(mode) {}

double IBMeterControl::LevelToValue(float level) const {
    double v = level;
    if (scalingMode == 1)
        v = (20.0 * std::log10(std::fabs(level)) + std::fabs(rangeB)) / std::fabs(rangeA - rangeB);
    return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0);
}

void IBMeterControl::OnDelegateMessage(int msgTag, int dataSize, const void* data) {
    if (msgTag != 0 || disabled)
        return;
    const auto* bytes = static_cast<const unsigned char*>(data);
    // A short or missing record counts as channel 0 at level 0.
    if (!bytes || dataSize < kHeaderBytes + kPairBytes) {
        SetValue(LevelToValue(0.f), 0);
        SetDirty(false, -1);
        return;
    }
    int header[3];
    std::memcpy(header, bytes, sizeof header);
    const int channels = header[1], first = header[2];
    // Only the pairs the record holds are read, and only slots the meter has written.
    const int pairs = (dataSize - kHeaderBytes) / kPairBytes;
    const long long end =
        std::min<long long>(static_cast<long long>(first) + channels, std::min(pairs, NVals()));
    for (int i = std::max(first, 0); i < end; ++i) {
        float pair[2];
        std::memcpy(pair, bytes + kHeaderBytes + i * kPairBytes, sizeof pair);
        SetValue(LevelToValue(pair[1]), i);
    }
    SetDirty(false, -1);
}

} // namespace vx::ui

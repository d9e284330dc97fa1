#include "toolkit/IBitmapControl.h"

#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cmath>

namespace vx::ui {

namespace {

// An empty handle has no frames to divide by.
int Frames(const IBitmapHandle& b) {
    return std::max(b.nFrames, 1);
}

} // namespace

int IBitmapBase::FrameW() const {
    return bitmap.FrameWidth();
}

int IBitmapBase::FrameH() const {
    return bitmap.FrameHeight();
}

void IBitmapBase::DrawBitmap(ICanvas& g) {
    if (!bitmap.bitmap)
        return;
    const int n = Frames(bitmap);
    int frame = 1;
    if (n >= 2) {
        const int c = static_cast<int>(double(n - 1) * owner->GetValue(0) + 0.5);
        frame = c < 1 ? 1 : std::min(c + 1, n);
    }
    g.DrawBitmapFrame(bitmap, FrameRect(), frame, &owner->GetBlend());
}

IRECT IBitmapBase::FrameRect() const {
    const IRECT& d = owner->GetRECT();
    const float w = float(FrameW()), h = float(FrameH());
    return {d.MW() - w / 2.f, d.MH() - h / 2.f, d.MW() + w / 2.f, d.MH() + h / 2.f};
}

IBitmapControl::IBitmapControl(float x, float y, const IBitmapHandle& bmp, int paramIdx,
                               int blendType)
    : IControl(IRECT(), paramIdx, nullptr), IBitmapBase(*this, bmp) {
    drawRect = targetRect = {x, y, x + float(FrameW()), y + float(FrameH())};
    blend = {blendType, 1.f};
}

IRECT IBitmapControl::OpaqueBounds() const {
    // Only source-over at full weight leaves the image's own pixels.
    if (!bitmap.bitmap || !bitmap.bitmap->opaque || !(GetBlend() == IBlendSetting{}))
        return {};
    return FrameRect();
}

void IBitmapControl::OnRescale() {
    if (!graphics || bitmap.name.GetLength() == 0)
        return;
    IBitmapHandle reloaded =
        graphics->LoadScaledBitmap(bitmap.name.Get(), bitmap.nFrames, bitmap.framesHorizontal,
                                   static_cast<int>(std::ceil(graphics->GetScreenScale())));
    // A strip that cannot be found again (one made from bytes) keeps its old scale.
    if (reloaded.IsValid())
        bitmap = std::move(reloaded);
}

} // namespace vx::ui

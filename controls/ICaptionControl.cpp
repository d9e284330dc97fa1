#include "controls/ITextControl.h"

#include "framework/IParam.h"
#include "toolkit/ICanvas.h"

namespace vx::ui {

namespace {

// The triangle's size as fractions of the text size; it sits in a strip one text size wide.
constexpr float kTriangleWidth = 0.5f;
constexpr float kTriangleHeight = 0.33f;

} // namespace

ICaptionControl::ICaptionControl(const IRECT& bounds, int paramIdx, const IText& style,
                                 const IColor& background, bool showParamLabel)
    : ITextControl(bounds, "", style, background, false), appendUnitLabel(showParamLabel) {
    BindParam(paramIdx, 0);
    SetDirty(false);
    textEntryDisabled = false;
    dblAsSingleClick = true;
    ignoreMouse = false;
}

void ICaptionControl::OnMouseDown(float, float, const IMouseMod& mod) {
    if ((mod.L || mod.R) && GetParamIdx(0) >= 0 && !textEntryDisabled && graphics)
        graphics->OpenValueEntry(this, drawRect, 0);
}

void ICaptionControl::OnResize() {
    const IParam* param = GetParam(0);
    if (!param || param->Type() != IParam::kTypeEnum)
        return;
    const float s = text.size;
    const float stripL = text.align == 2 ? drawRect.L : drawRect.R - s;
    const float cx = stripL + s / 2.f;
    const float w = s * kTriangleWidth, h = s * kTriangleHeight;
    triangleRect = {cx - w / 2.f, drawRect.MH() - h / 2.f, cx + w / 2.f, drawRect.MH() + h / 2.f};
}

void ICaptionControl::Draw(ICanvas& g) {
    if (const IParam* param = GetParam(0)) {
        param->FormatDisplay(param->CurrentValue(), false, str, true);
        if (appendUnitLabel) {
            str.AppendBounded(" ");
            str.AppendBounded(param->UnitLabel());
        }
    }
    // The value keeps clear of the triangle's strip.
    IRECT textRect = drawRect;
    if (triangleRect.L < triangleRect.R) {
        if (text.align == 2)
            textRect.L += text.size;
        else
            textRect.R -= text.size;
    }
    DrawTextOnBackground(g, textRect);
    if (triangleRect.L < triangleRect.R) {
        const IRECT& t = triangleRect;
        if (mouseIsOver)
            g.FillTriangle(triangleMouseOverColor, t.L, t.T, t.R, t.T, t.MW(), t.B, &blend);
        else
            g.FillTriangle(triangleColor, t.L, t.T, t.R, t.T, t.MW(), t.B, &kBlend50);
    }
}

} // namespace vx::ui

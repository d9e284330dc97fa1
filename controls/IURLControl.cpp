#include "controls/ITextControl.h"

#include "toolkit/ICanvas.h"

namespace vx::ui {

IURLControl::IURLControl(const IRECT& bounds, const char* str, const char* url, const IText& style,
                         const IColor& background, const IColor& overColor,
                         const IColor& visitedColor)
    : ITextControl(bounds, str, style, background, false), baseColor(style.FGColor),
      mouseOverColor(overColor), clickedColor(visitedColor) {
    linkUrl.SetBounded(url);
    ignoreMouse = false;
}

void IURLControl::OnMouseDown(float, float, const IMouseMod&) {
    if (graphics) {
        const bool opened = graphics->OpenInBrowser(linkUrl.Get());
        graphics->ClearMouseCapture();
        if (!opened && openFailed)
            openFailed();
    }
    visited = true;
}

void IURLControl::OnMouseOver(float, float, const IMouseMod&) {
    if (graphics)
        graphics->SetCursorShape(kPointingHandCursor);
    if (!mouseIsOver) {
        mouseIsOver = true;
        SetDirty(false);
    }
}

void IURLControl::OnMouseOut() {
    if (graphics)
        graphics->SetCursorShape(kArrowCursor);
    if (mouseIsOver) {
        mouseIsOver = false;
        SetDirty(false);
    }
}

void IURLControl::SetText(const IText& style) {
    text = style;
    baseColor = style.FGColor;
}

void IURLControl::Draw(ICanvas& g) {
    g.FillRect(bgColor, drawRect, &blend);
    text.FGColor = mouseIsOver ? mouseOverColor : (visited ? clickedColor : baseColor);
    if (str.GetLength() == 0)
        return;
    IRECT m;
    g.MeasureText(text, str.Get(), m);
    const float w = m.W(), h = m.H();
    float x1 = drawRect.L, x2 = drawRect.L + w;
    if (text.align == 1) {
        x1 = drawRect.MW() + m.L;
        x2 = drawRect.MW() + m.R;
    } else if (text.align == 2) {
        x1 = drawRect.R - w;
        x2 = drawRect.R;
    }
    float y = drawRect.T + h;
    if (text.vAlign == 1)
        y = drawRect.MH() + m.B;
    else if (text.vAlign == 2)
        y = drawRect.B;
    g.DrawLine(text.FGColor, x1, y, x2, y, &blend, 1.f);
    g.DrawText(text, str.Get(), drawRect, &blend);
}

} // namespace vx::ui

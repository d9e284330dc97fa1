#include "controls/ITextControl.h"

#include "toolkit/ICanvas.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace vx::ui {

ITextControl::ITextControl(const IRECT& bounds, const char* initial, const IText& style,
                           const IColor& background, bool fitToText)
    : IControl(bounds), bgColor(background), setBoundsFromStr(fitToText) {
    str.SetBounded(initial);
    text = style;
    ignoreMouse = true;
}

void ITextControl::OnInit() {
    if (setBoundsFromStr)
        FitBoundsToString();
}

void ITextControl::SetString(const char* newText) {
    if (graphics)
        graphics->AssertMainThread();
    if (!newText)
        newText = "";
    if (std::strcmp(str.Get(), newText) == 0)
        return;
    str.SetBounded(newText);
    if (setBoundsFromStr)
        FitBoundsToString();
    SetDirty(false);
}

void ITextControl::SetStringFormatted(int maxLength, const char* format, ...) {
    if (graphics)
        graphics->AssertMainThread();
    if (maxLength <= 0 || !format) {
        str.SetBounded("");
    } else {
        std::vector<char> buffer(static_cast<size_t>(maxLength) + 1, '\0');
        va_list args;
        va_start(args, format);
        const int written = std::vsnprintf(buffer.data(), buffer.size(), format, args);
        va_end(args);
        str.SetBounded(written < 0 ? "" : buffer.data());
    }
    SetDirty(false);
}

// Keeps the centre; needs the context to measure, so before attachment it waits for OnInit.
void ITextControl::FitBoundsToString() {
    if (!GetUI())
        return;
    IRECT measured;
    GetUI()->MeasureText(text, str.Get(), measured);
    const float halfW = (measured.R - measured.L) / 2.f;
    const float halfH = (measured.B - measured.T) / 2.f;
    const float cx = (drawRect.L + drawRect.R) / 2.f;
    const float cy = (drawRect.T + drawRect.B) / 2.f;
    drawRect = IRECT(cx - halfW, cy - halfH, cx + halfW, cy + halfH);
    targetRect = drawRect;
    mouseIsOver = false;
    OnResize();
}

void ITextControl::Draw(ICanvas& g) {
    DrawTextOnBackground(g);
}

void ITextControl::DrawTextOnBackground(ICanvas& g) {
    DrawTextOnBackground(g, drawRect);
}

void ITextControl::DrawTextOnBackground(ICanvas& g, const IRECT& textRect) {
    g.FillRect(bgColor, drawRect, &blend);
    if (str.GetLength() > 0 && g.GetControlInTextEntry() != this)
        g.DrawText(text, str.Get(), textRect, &blend);
}

IEditableTextControl::IEditableTextControl(const IRECT& bounds, const char* initial,
                                           const IText& style, const IColor& background)
    : ITextControl(bounds, initial, style, background, false) {
    ignoreMouse = false;
}

void IEditableTextControl::OnMouseDown(float, float, const IMouseMod&) {
    if (GetUI())
        GetUI()->BeginTextEntry(this, text, drawRect, str.Get(), 0);
}

void IEditableTextControl::OnTextEntryFinished(const char* entered, int) {
    SetString(entered);
    SetDirty(true);
}

} // namespace vx::ui

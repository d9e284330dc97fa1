#include "controls/ITextControl.h"

#include "toolkit/ICanvas.h"

namespace vx::ui {

namespace {

constexpr int kMaxFigureLength = 32;
constexpr float kInset = 10.f;
constexpr IText kFigureStyle{14.f, kColorBlack, 1, 1};

constexpr IText kTitleStyle{20.f, kColorBlack, 1, 1};

} // namespace

PlaceHolder::PlaceHolder(const IRECT& bounds, const char* initial)
    : ITextControl(bounds, initial, kTitleStyle, kColorWhite, false), positionStyle(kFigureStyle),
      widthStyle(kFigureStyle), heightStyle(kFigureStyle) {
    heightStyle.angle = 270.f;
    // A plain label ignores the mouse; the placeholder's title is edited by double click.
    ignoreMouse = false;
}

void PlaceHolder::OnMouseDoubleClick(float, float, const IMouseMod&) {
    if (graphics)
        graphics->BeginTextEntry(this, text, drawRect, str.Get(), 0);
}

void PlaceHolder::OnTextEntryFinished(const char* entered, int) {
    SetString(entered);
}

void PlaceHolder::OnResize() {
    positionText.SetFormatted(kMaxFigureLength, "%0.1f, %0.1f", double(drawRect.L),
                              double(drawRect.T));
    widthText.SetFormatted(kMaxFigureLength, "%0.1f", double(drawRect.W()));
    heightText.SetFormatted(kMaxFigureLength, "%0.1f", double(drawRect.H()));
}

IRECT PlaceHolder::DrawBoxedText(ICanvas& g, const IText& style, const char* s, float x, float y,
                                 float blendWeight) {
    IRECT m;
    g.MeasureText(style, s, m);
    const IRECT box{x, y, x + m.W(), y + m.H()};
    const IBlendSetting boxBlend{0, blendWeight};
    g.FillRect(bgColor, box, &boxBlend);
    g.DrawText(style, s, box, &blend);
    return box;
}

void PlaceHolder::Draw(ICanvas& g) {
    const IRECT& r = drawRect;
    g.FillRect(bgColor, r, &blend);
    g.DrawLine(kColorRed, r.L, r.T, r.R, r.B, &kBlend50, 2.f);
    g.DrawLine(kColorRed, r.L, r.B, r.R, r.T, &kBlend50, 2.f);
    DrawBoxedText(g, heightStyle, heightText.Get(), r.L + kInset, r.MH(), 0.5f);
    DrawBoxedText(g, widthStyle, widthText.Get(), r.MW(), r.T + kInset, 0.75f);
    DrawBoxedText(g, positionStyle, positionText.Get(), r.L + kInset, r.T + kInset, 0.5f);
    if (str.GetLength() == 0)
        return;
    IRECT m;
    g.MeasureText(text, str.Get(), m);
    centreLabelRect = {r.MW() - m.W() / 2.f, r.MH() - m.H() / 2.f, r.MW() + m.W() / 2.f,
                       r.MH() + m.H() / 2.f};
    g.FillRect(bgColor, centreLabelRect, &kBlend75);
    g.DrawText(text, str.Get(), centreLabelRect, &blend);
}

} // namespace vx::ui

#include "pages/PageStyles.h"

namespace omnar::pages {

namespace {

using vx::ui::IColor;
using vx::ui::IText;
using vx::ui::IVStyle;

// Text-entry colours stay the toolkit's (white behind black).
IText Text(const char* font, float size, const IColor& color, int align, int vAlign) {
    IText text(size, color, align, vAlign);
    text.SetFont(font);
    return text;
}

IText Resized(IText text, float size) {
    text.size = size;
    return text;
}

constexpr IColor kLightGrey{255, 204, 204, 204};

IVStyle BaseStyle() {
    IVStyle style;
    style.hideCursor = true;
    style.showLabel = true;
    style.showValue = true;
    style.drawFrame = true;
    style.drawShadows = true;
    style.emboss = false;
    style.colors = {{0, 0, 0, 0},         {255, 94, 94, 94}, {255, 169, 169, 169},
                    {255, 255, 255, 255}, {10, 0, 0, 0},     {60, 0, 0, 0},
                    {255, 51, 255, 255},  {255, 70, 70, 70}, {255, 0, 0, 255}};
    style.labelText = style.valueText = Text("Roboto-Regular", 20, {255, 255, 255, 255}, 1, 1);
    style.labelPosition = 0;
    return style;
}

IVStyle KnobStyle() {
    IVStyle style = BaseStyle();
    style.showLabel = false;
    style.showValue = false;
    style.colors = {{0, 0, 0, 0},        {255, 51, 255, 255}, {255, 169, 169, 169},
                    {255, 0, 0, 0},      {10, 0, 0, 0},       {255, 70, 70, 70},
                    {255, 51, 255, 255}, {255, 70, 70, 70},   {255, 0, 0, 255}};
    style.labelText = style.valueText = Text("Roboto-Regular", 30, {255, 201, 201, 201}, 1, 1);
    return style;
}

IVStyle PageButtonStyle(const IVStyle& base) {
    IVStyle style = base;
    style.drawFrame = style.drawShadows = style.emboss = true;
    style.roundness = 1.f;
    style.frameThickness = 2.f;
    style.shadowOffset = 2.f;
    style.colors[1] = {255, 116, 116, 116};
    style.colors[2] = {255, 144, 144, 144};
    style.colors[3] = {255, 0, 0, 0};
    style.labelText = RobotoText(18, {255, 0, 0, 0}, 1, 1);
    return style;
}

// Flat boxes: no emboss, no shadow offset, barely rounded, white label.
IVStyle FlatBoxStyle(const IVStyle& base) {
    IVStyle style = base;
    style.emboss = false;
    style.roundness = 0.05f;
    style.shadowOffset = 0.f;
    style.labelText = RobotoText(34, {255, 255, 255, 255}, 1, 1);
    return style;
}

IVStyle NoticeStyle(const IVStyle& base) {
    IVStyle style = FlatBoxStyle(base);
    style.colors[0] = {0, 0, 0, 0};
    style.colors[1] = style.colors[2] = {220, 20, 20, 20};
    style.colors[3] = {255, 70, 70, 70};
    return style;
}

// Transparent in every role it draws, so with no label nothing shows.
IVStyle ClosingStyle(const IVStyle& base) {
    IVStyle style = FlatBoxStyle(base);
    for (int role = 0; role <= 4; ++role)
        style.colors[role] = {0, 0, 0, 0};
    return style;
}

} // namespace

IText RobotoText(float size, const IColor& color, int align, int vAlign) {
    return Text("Roboto-Regular", size, color, align, vAlign);
}

IVStyle WithLabelSize(IVStyle style, float size) {
    style.labelText.size = size;
    return style;
}

PageStyles PageStyles::Make() {
    PageStyles s;
    s.displayShadow = Text("Font7Seg", 88, {255, 51, 51, 51}, 2, 0);
    s.display = Text("Font7Seg", 88, {255, 255, 255, 255}, 2, 0);
    s.pageTitle = Text("Fontknow", 44, kLightGrey, 0, 0);
    s.controlLabel = Text("Fontknow", 26, {255, 102, 102, 102}, 1, 0);
    s.caption = Text("Fontknow", 20, kLightGrey, 1, 0);
    s.largeValue = Text("Fontknow", 60, kLightGrey, 1, 0);
    s.value = Text("Fontknow", 28, kLightGrey, 1, 0);
    s.list = Text("Roboto-Regular", 27, {150, 100, 255, 255}, 0, 1);
    s.brightList = Text("Roboto-Regular", 24, {255, 100, 255, 255}, 0, 1);
    s.readout = Resized(s.value, 40);
    s.unit = Resized(s.controlLabel, 34);
    s.base = BaseStyle();
    s.knob = KnobStyle();
    s.pageButton = PageButtonStyle(s.base);
    s.notice = NoticeStyle(s.base);
    s.closing = ClosingStyle(s.base);
    return s;
}

} // namespace omnar::pages

// Makers of the background controls and of the special controls that the
// context keeps outside its list.
#include "toolkit/IBitmapControl.h"
#include "toolkit/ICanvas.h"
#include "toolkit/IPanelControl.h"
#include "toolkit/ISVGControl.h"

namespace vx::ui {

void ICanvas::InsertBackground(IControl* control, bool runHooks) {
    control->delegate = &delegate;
    control->graphics = this;
    NoteControlDirty();
    if (runHooks) {
        control->OnInit();
        control->OnResize();
        control->OnRescale();
    }
    if (!controls.Insert(0, control)) {
        delete control;
        return;
    }
    if (mouseOverIdx >= 0)
        ++mouseOverIdx;
}

void ICanvas::AddBackgroundBitmap(const char* name) {
    const IBitmapHandle bitmap = LoadScaledBitmap(name, 1, false, 0);
    InsertBackground(new IBitmapControl(0.f, 0.f, bitmap, -1, 0), true);
}

void ICanvas::AddBackgroundSVG(const char* name) {
    const ISVGHandle svg = LoadSVG(name, "px", 72.f);
    InsertBackground(new ISVGControl(GetBounds(), svg, true), false);
}

void ICanvas::AddBackgroundPanel(const IColor& color) {
    AddBackgroundPanel(IFillPattern(color));
}

void ICanvas::AddBackgroundPanel(const IFillPattern& fill) {
    InsertBackground(new IPanelControl(GetBounds(), fill), true);
}

void ICanvas::AddCornerResizer(float size, int mode, bool layout, const IColor& normal,
                               const IColor& over, const IColor& drag) {
    if (cornerResizer)
        return;
    const float s = size / drawScale;
    auto* resizer = new ICornerResizerControl(
        {float(width) - s, float(height) - s, float(width), float(height)}, size, normal, over,
        drag);
    AttachCornerResizer(resizer, mode, layout);
}

void ICanvas::AddBubbleControl(const IText& text) {
    AttachBubbleControl(new IBubbleControl(text, kColorWhite, kColorBlack, 5.f));
}

void ICanvas::ApplyStyleToVectorControls(const IVStyle& style) {
    ForEveryListedControl([&style](IControl* control) {
        if (auto* vector = dynamic_cast<IVectorBase*>(control))
            vector->SetStyle(style);
    });
}

} // namespace vx::ui

#pragma once

#include "framework/VxString.h"
#include "toolkit/IRECT.h"
#include "toolkit/IVStyle.h"

namespace vx::ui {

class ICanvas;
class IControl;

// Mix-in of the vector controls: a copy of the style, label and value texts,
// the widget, label and value rectangles and the click splash, with the
// drawers of the pressable shapes.
class IVectorBase {
public:
    IVectorBase(const IVStyle& style, bool labelInWidget = false, bool valueInWidget = false);
    virtual ~IVectorBase() = default;

    virtual void OnAppearanceChanged() {}
    virtual void SetStyle(const IVStyle& style);
    virtual void DrawBackground(ICanvas& g, const IRECT& r);
    virtual void DrawControlBody(ICanvas&) {}
    virtual void DrawLabel(ICanvas& g);
    virtual void DrawValue(ICanvas& g, bool mouseOver);
    virtual IRECT DrawPushableShape(ICanvas& g, EVShape shape, const IRECT& r, bool pressed,
                                    bool mouseOver, bool disabled);

    // Lays out the widget, label and value areas; returns the clickable area.
    IRECT LayoutRects(const IRECT& parent, bool hasHandle = false);
    IRECT HandleArea(const IRECT& r) const;
    IRECT DrawPushableRectangle(ICanvas& g, const IRECT& r, bool pressed, bool mouseOver,
                                bool disabled, bool roundTopLeft = true, bool roundTopRight = true,
                                bool roundBottomLeft = true, bool roundBottomRight = true);
    void DrawPushableEllipse(ICanvas& g, const IRECT& r, bool pressed, bool mouseOver,
                             bool disabled);
    IRECT DrawPushableTriangle(ICanvas& g, const IRECT& r, bool pressed, bool mouseOver,
                               bool disabled, float angle);
    void DrawSplash(ICanvas& g, const IRECT& clip = IRECT());

    void AttachIControl(IControl* control) { owner = control; }
    IControl* GetOwner() const { return owner; }
    const IVStyle& GetStyle() const { return style; }
    const IColor& GetColor(int role) const { return style.colors[role]; }
    void SetLabelStr(const char* s) { labelStr.SetBounded(s); }
    void SetValueStr(const char* s) { valueStr.SetBounded(s); }
    const char* GetLabelStr() const { return labelStr.Get(); }
    const char* GetValueStr() const { return valueStr.Get(); }
    void SetShape(EVShape s) { shape = s; }
    EVShape GetShape() const { return shape; }
    const IRECT& GetWidgetBounds() const { return widgetBounds; }
    const IRECT& GetLabelBounds() const { return labelBounds; }
    const IRECT& GetValueBounds() const { return valueBounds; }
    void SetSplashPoint(float x, float y) {
        splashX = x;
        splashY = y;
    }
    void SetSplashRadius(float r) { splashRadius = r; }
    float GetSplashRadius() const { return splashRadius; }
    float GetMaxSplashRadius() const { return maxSplashRadius; }

protected:
    IControl* owner = nullptr;
    IVStyle style = kDefaultStyle;
    bool labelInWidget;
    bool valueInWidget;
    float splashRadius = 0.f;
    float splashX = 0.f;
    float splashY = 0.f;
    float maxSplashRadius = 50.f;
    float trackSize = 2.f;
    float valueDisplayFrac = 0.66f;
    IRECT widgetBounds;
    IRECT labelBounds;
    IRECT valueBounds;
    VxString labelStr;
    VxString valueStr;
    EVShape shape = EVShape::Rectangle;

private:
    const IBlendSetting* OwnerBlend() const;
    bool OwnerAnimating() const;
    IRECT MeasureIn(const char* str, const IText& text) const;
    IRECT LayoutLabel(const IRECT& parent);
};

} // namespace vx::ui

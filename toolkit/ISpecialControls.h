#pragma once

#include "toolkit/IControl.h"
#include "toolkit/IDrawingRecords.h"
#include "toolkit/IPopupMenuControl.h"
#include "toolkit/ITextEntryControl.h"
#include "toolkit/IVectorBase.h"

// The controls ICanvas keeps outside its list.
namespace vx::ui {

// The drag handle in the window corner: a triangle that resizes the window
// (or scales the panel) while dragged and restores the first size on a double click.
class ICornerResizerControl : public IControl {
public:
    explicit ICornerResizerControl(const IRECT& bounds, float size = 20.f,
                                   const IColor& normal = kColorTranslucent,
                                   const IColor& over = kColorBlack,
                                   const IColor& drag = kColorBlack);

    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseDoubleClick(float x, float y, const IMouseMod& mod) override;
    void OnMouseOver(float x, float y, const IMouseMod& mod) override;
    void OnMouseOut() override;
    void OnRescale() override;
    void Draw(ICanvas& g) override;

    float GetSize() const { return size; }
    // The panel rectangle a double click returns to; the attaching context sets it.
    void SetInitialPanelBounds(const IRECT& r) { initialBounds = r; }
    const IRECT& GetInitialPanelBounds() const { return initialBounds; }

private:
    float size;
    bool over = false;
    int savedCursor = 0;
    IRECT initialBounds;
    IColor normalColor;
    IColor overColor;
    IColor dragColor;
};

// The value bubble shown beside a control while it is dragged: it fades in,
// stays while its caller is held and fades out.
class IBubbleControl : public IControl {
public:
    enum State : int { kCollapsed = 0, kExpanding = 1, kShowing = 2, kCollapsing = 3 };

    explicit IBubbleControl(const IText& text = kDefaultText, const IColor& fill = kColorWhite,
                            const IColor& frame = kColorBlack, float roundness = 5.f);

    void Draw(ICanvas& g) override;
    virtual void DrawContent(ICanvas& g, const IRECT& r);
    virtual void DrawBubble(ICanvas& g, const IRECT& r);
    virtual void MeasureContent(const char* text, IRECT& out);

    int GetState() const { return state; }
    int GetArrowSide() const { return arrowSide; }
    const IRECT& GetBubbleBounds() const { return bubbleBounds; }
    void SetMaxBounds(const IRECT& r) { maxBounds = r; }
    IControl* GetCaller() const { return caller; }
    const char* GetContent() const { return content.Get(); }
    const IBlendSetting& GetBubbleBlend() const { return bubbleBlend; }

private:
    friend class ICanvas; // places the bubble (ICanvas::ShowValueBubble)
    static void FadeStep(IControl* control);

    int64_t touchId = 0;
    int direction = 1;
    IRECT maxBounds;
    IRECT bubbleBounds;
    IControl* caller = nullptr;
    int arrowSide = 3;
    VxString content;
    IBlendSetting bubbleBlend{0, 0.f};
    float roundness;
    float shadowSize = 10.f;
    float arrowSize = 10.f;
    float maxOpacity = 0.95f;
    float frameThickness = 2.f;
    float hPadding = 5.f;
    IColor fillColor;
    IColor frameColor;
    int state = kCollapsed;
};

// The frame-time display; the drawing cycle feeds its ring. A click cycles
// frames per second, milliseconds and percent.
class IFPSDisplayControl : public IControl, public IVectorBase {
public:
    static constexpr int kRingSize = 100;
    enum Kind : int { kFPS = 0, kMilliseconds = 1, kPercentage = 2 };

    explicit IFPSDisplayControl(const IRECT& bounds, int kind = kFPS, const char* label = "");

    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void Draw(ICanvas& g) override;
    bool IsDirty() override { return true; }

    void AddFrameTime(float seconds) {
        ringIndex = (ringIndex + 1) % kRingSize;
        ring[ringIndex] = seconds;
    }
    float FrameTime(int index) const { return ring[index]; }
    int NewestIndex() const { return ringIndex; }
    int GetKind() const { return kind; }

private:
    int kind;
    VxString label;
    float ring[kRingSize] = {};
    int ringIndex = 0;
    IText nameText;
    IText mainText;
    IText secondText;
};

} // namespace vx::ui

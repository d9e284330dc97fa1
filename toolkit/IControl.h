#pragma once

#include "framework/VxString.h"
#include "toolkit/ICanvasConstants.h"
#include "toolkit/IMouse.h"
#include "toolkit/IRECT.h"
#include "toolkit/ISharedTypes.h"

#include <functional>
#include <initializer_list>
#include <unordered_map>
#include <vector>

namespace vx {
class IEditorDelegate;
class IParam;
struct IKeyPress;
struct IMidiMsg;
} // namespace vx

namespace vx::ui {

class ICanvas;
class IControl;
class IPopupMenu;

using IActionFunction = std::function<void(IControl*)>;
using IAnimationFunction = std::function<void(IControl*)>;
using IGestureFunc = std::function<void(IControl*, const IGestureInfo&)>;

// Base of every control: two rectangles, a group, a text style, state flags,
// the parameters it is linked to with one normalised value each, and the
// action and animation functions. Main thread only.
class IControl {
public:
    struct ValueSlot {
        int paramIdx = -1;
        double value = 0.0;
    };

    IControl(const IRECT& bounds, int paramIdx = -1, IActionFunction action = nullptr);
    IControl(const IRECT& bounds, std::initializer_list<int> params, IActionFunction action);
    IControl(const IRECT& bounds, IActionFunction action);
    virtual ~IControl();
    IControl(const IControl&) = delete;
    IControl& operator=(const IControl&) = delete;

    virtual void OnMouseDown(float x, float y, const IMouseMod& mod);
    virtual void OnMouseUp(float, float, const IMouseMod&) {}
    virtual void OnMouseDrag(float, float, float, float, const IMouseMod&) {}
    virtual void OnMouseDoubleClick(float x, float y, const IMouseMod& mod);
    virtual void OnMouseWheel(float, float, const IMouseMod&, float) {}
    virtual bool OnKeyDown(float, float, const IKeyPress&) { return false; }
    virtual bool OnKeyUp(float, float, const IKeyPress&) { return false; }
    virtual void OnMouseOver(float x, float y, const IMouseMod& mod);
    virtual void OnMouseOut();
    virtual void OnTouchCancelled(float, float, const IMouseMod&) {}
    virtual void OnDrop(const char*) {}
    virtual void OnDropMultiple(const std::vector<const char*>& paths);
    virtual void OnRescale() {}
    virtual void OnResize() {}
    virtual void OnInit() {}
    virtual void OnAddedToGraphics() {}
    virtual void OnDelegateMessage(int, int, const void*) {}
    virtual void OnMidi(const IMidiMsg&) {}
    virtual bool OnGesture(const IGestureInfo& info);
    virtual void BuildContextMenu(IPopupMenu&) {}
    virtual void OnMenuChoice(IPopupMenu* menu, int valIdx);
    virtual void OnPopupMenuEvent() {}
    virtual void OnTextEntryFinished(const char*, int) {}
    virtual void OnContextMenuChoice(int) {}
    virtual void Draw(ICanvas& g) = 0;
    virtual void DrawHighlightDot(ICanvas& g);
    virtual void BindParam(int paramIdx, int valIdx = 0);
    virtual int ValueSlotAtPoint(float x, float y) const;
    virtual void SetValueFromEditorSide(double value, int valIdx = 0);
    virtual void SetValueFromTypedEntry(double value, int valIdx = 0);
    virtual void ResetValueToDefault(int valIdx = -1);
    virtual void SetValue(double value, int valIdx = 0);
    virtual void SetText(const IText& t) { text = t; }
    virtual void SetPosition(float x, float y);
    virtual void SetSize(float w, float h);
    virtual void Hide(bool hide);
    virtual void SetDisabled(bool disable);
    virtual void SetIgnoreMouse(bool ignore) { ignoreMouse = ignore; }
    virtual bool ContainsPoint(float x, float y) const;
    virtual void SetDirty(bool triggerAction = true, int valIdx = -1);
    virtual void SetClean() { dirty = false; }
    virtual bool IsDirty() { return animationFunc ? true : dirty; }
    virtual void ReservedHook() {}
    virtual bool HasGestures() const { return !gestureFuncs.empty() && !animationFunc; }
    virtual void SetValueFromPointer(float x, float y, EDirection dir, const IRECT& bounds,
                                     int valIdx = 0, double lo = 0.0, double hi = 1.0);
    virtual void OnAnimationFinished();
    // Where every draw of this control leaves fully opaque pixels whatever lay
    // under them (panel units; empty for none). The frame skips what such a
    // later control hides, so a subclass drawing less must answer less.
    virtual IRECT OpaqueBounds() const { return {}; }

    // Parameters and values; an index outside the slots means no slot.
    const IParam* GetParam(int valIdx = 0) const;
    int GetParamIdx(int valIdx = 0) const;
    double GetValue(int valIdx = 0) const;
    int GetValueIdxForParamIdx(int paramIdx) const;
    int NVals() const { return static_cast<int>(valueSlots.size()); }
    bool IsValidSlot(int valIdx) const { return valIdx >= 0 && valIdx < NVals(); }

    void OpenValueEntry(int valIdx = 0);
    void OpenValueEntryInRect(const IRECT& bounds, int valIdx = 0);

    void StartAnimation(int durationMs);
    double AnimationFraction() const;
    void Animate();

    void SetActionFunction(IActionFunction f) { std::swap(actionFunc, f); }
    void SetAnimation(IAnimationFunction f);
    void SetAnimation(IAnimationFunction f, int durationMs);
    void SetAnimationEndActionFunction(IActionFunction f) { std::swap(animationEndFunc, f); }
    const IAnimationFunction& GetAnimationFunction() const { return animationFunc; }
    const IActionFunction& GetActionFunction() const { return actionFunc; }

    void AddGestureHandler(int kind, IGestureFunc func);
    int GetLastGesture() const { return lastGesture; }
    void SetHighlight(bool on, int colourKind);
    static void ParamDisplayTextWithUnit(const IParam* param, VxString& out,
                                         bool withDisplayText = true);

    // Rectangles, flags and links.
    const IRECT& GetRECT() const { return drawRect; }
    const IRECT& GetTargetRECT() const { return targetRect; }
    void SetRECT(const IRECT& r) { drawRect = r; }
    void SetTargetRECT(const IRECT& r) { targetRect = r; }
    const char* GetGroup() const { return group.Get(); }
    const IText& GetText() const { return text; }
    const IBlendSetting& GetBlend() const { return blend; }
    bool IsHidden() const { return hidden; }
    bool IsDisabled() const { return disabled; }
    bool GetIgnoreMouse() const { return ignoreMouse; }
    bool GetMouseIsOver() const { return mouseIsOver; }
    bool GetMouseDblAsSingleClick() const { return dblAsSingleClick; }
    void SetMouseDblAsSingleClick(bool on) { dblAsSingleClick = on; }
    void SetMouseOverWhenDisabled(bool on) { mouseOverWhenDisabled = on; }
    void SetMouseEventsWhenDisabled(bool on) { mouseEventsWhenDisabled = on; }
    bool GetMouseOverWhenDisabled() const { return mouseOverWhenDisabled; }
    bool GetMouseEventsWhenDisabled() const { return mouseEventsWhenDisabled; }
    bool GetWantsMultiTouch() const { return wantsMultiTouch; }
    void SetWantsMultiTouch(bool on) { wantsMultiTouch = on; }
    bool GetWantsMidi() const { return wantsMidi; }
    void SetWantsMidi(bool on) { wantsMidi = on; }
    bool GetTextEntryDisabled() const { return textEntryDisabled; }
    void SetTextEntryDisabled(bool on) { textEntryDisabled = on; }
    bool GetShowParamLabel() const { return showParamLabel; }
    void SetShowParamLabel(bool on) { showParamLabel = on; }
    int GetTextEntryLength() const { return textEntryLength; }
    void SetTextEntryLength(int n) { textEntryLength = n; }
    const char* GetTooltip() const { return tooltip.Get(); }
    void SetTooltip(const char* t) { tooltip.SetBounded(t); }
    IControl* GetParent() const { return parent; }
    void SetParent(IControl* p) { parent = p; }
    IEditorDelegate* GetDelegate() const { return delegate; }
    ICanvas* GetUI() const { return graphics; }
    bool GetHighlight() const { return highlight; }
    const IColor& GetHighlightColor() const { return highlightColor; }

    // Free action and animation functions.
    static void defaultClickAction(IControl* caller);
    static void defaultAnimation(IControl* caller);
    static void splashClickAction(IControl* caller);
    static void splashAnimation(IControl* caller);
    static void showBubbleHorizontalAction(IControl* caller);
    static void showBubbleVerticalAction(IControl* caller);

protected:
    friend class ICanvas;

    IRECT drawRect;
    IRECT targetRect;
    VxString group;
    IText text;
    IBlendSetting blend;
    int textEntryLength = 7;
    bool dirty = true;
    bool hidden = false;
    bool disabled = false;
    bool textEntryDisabled = true;
    bool dblAsSingleClick = false;
    bool mouseOverWhenDisabled = false;
    bool mouseEventsWhenDisabled = false;
    bool ignoreMouse = false;
    bool wantsMidi = false;
    bool wantsMultiTouch = false;
    bool showParamLabel = false;
    bool mouseIsOver = false;
    VxString tooltip;
    IColor highlightColor = kColorRed;
    bool highlight = false;
    IControl* parent = nullptr;
    IEditorDelegate* delegate = nullptr;
    ICanvas* graphics = nullptr;
    IActionFunction actionFunc;
    IActionFunction animationEndFunc;
    IAnimationFunction animationFunc;
    double animationStart = 0.0;
    double animationDuration = 0.0;
    std::vector<ValueSlot> valueSlots;
    std::unordered_map<int, IGestureFunc> gestureFuncs;
    int lastGesture = 0;

private:
    // Index of the one slot a single-slot control always uses, else valIdx.
    int EffectiveSlot(int valIdx) const { return NVals() == 1 ? 0 : valIdx; }
    void NotifyChange(int slot);
};

} // namespace vx::ui

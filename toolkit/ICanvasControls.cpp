// Control list, tags, groups, special-control slots and removal.
#include "toolkit/ICanvas.h"

#include "framework/IParam.h"
#include "toolkit/IContainerBase.h"

#include <cassert>
#include <cstring>

namespace vx::ui {

void ICanvas::AssertMainThread() const {
    assert(std::this_thread::get_id() == mainThread && "graphics context used off its thread");
}

IControl* ICanvas::AddControl(IControl* control, int tag, const char* group) {
    AssertMainThread();
    if (!control)
        return nullptr;
    if (tag >= 0 && !tagMap.try_emplace(tag, control).second) {
        delete control;
        return nullptr;
    }
    control->delegate = &delegate;
    control->graphics = this;
    NoteControlDirty(); // a new control starts dirty
    control->OnInit();
    control->OnResize();
    control->OnRescale();
    control->group.SetBounded(group ? group : "");
    if (!controls.Add(control)) {
        // Out of memory: a control left out of the list would be lost.
        if (tag >= 0)
            tagMap.erase(tag);
        delete control;
        return nullptr;
    }
    control->OnAddedToGraphics();
    return control;
}

void ICanvas::AttachSpecial(IControl* control) {
    control->delegate = &delegate;
    control->graphics = this;
    NoteControlDirty();
    control->OnInit();
    control->OnResize();
    control->OnRescale();
}

void ICanvas::AttachCornerResizer(ICornerResizerControl* control, int mode, bool layoutOnResize) {
    if (cornerResizer) {
        delete control;
        return;
    }
    cornerResizer = control;
    control->delegate = &delegate;
    control->graphics = this;
    NoteControlDirty();
    resizerMode = mode;
    this->layoutOnResize = layoutOnResize;
    const float s = control->GetSize() / drawScale;
    control->drawRect =
        control->targetRect = {float(width) - s, float(height) - s, float(width), float(height)};
    control->mouseIsOver = false;
    if (control->GetInitialPanelBounds().Empty())
        control->SetInitialPanelBounds(GetBounds());
}

void ICanvas::AttachBubbleControl(IBubbleControl* control) {
    AttachSpecial(control);
    if (!bubbleControls.Add(control))
        delete control;
}

void ICanvas::AttachPopupMenuControl(IPopupMenuControl* control) {
    if (popupMenuControl) {
        delete control;
        return;
    }
    AttachSpecial(control);
    popupMenuControl = control;
}

void ICanvas::RemovePopupMenuControl() {
    if (popupMenuControl) // a capture or an open menu must not outlive it
        DetachFromLinks(popupMenuControl);
    delete popupMenuControl;
    popupMenuControl = nullptr;
}

void ICanvas::AttachTextEntryControl(ITextEntryControl* control) {
    if (textEntryControl) {
        delete control;
        return;
    }
    AttachSpecial(control);
    textEntryControl = control;
}

void ICanvas::RemoveTextEntryControl() {
    if (textEntryControl) // its edit menu may be the open one
        DetachFromLinks(textEntryControl);
    delete textEntryControl;
    textEntryControl = nullptr;
}

void ICanvas::AttachFrameRateDisplay(IFPSDisplayControl* control) {
    if (fpsDisplay) {
        delete control;
        return;
    }
    AttachSpecial(control);
    fpsDisplay = control;
    MarkAllControlsDirty();
}

void ICanvas::ToggleFrameRateDisplay(bool enable) {
    if (enable) {
        if (!fpsDisplay) {
            if (fpsRect.Empty())
                fpsRect = {10.f, 10.f, 210.f, 60.f};
            AttachSpecial(fpsDisplay = new IFPSDisplayControl(fpsRect, 0, "Frame Time"));
        }
    } else {
        if (fpsDisplay) // a click on it may still hold the pointer
            DetachFromLinks(fpsDisplay);
        delete fpsDisplay;
        fpsDisplay = nullptr;
        mouseOverControl = nullptr;
        mouseOverIdx = -1;
    }
    MarkAllControlsDirty();
}

IControl* ICanvas::FindControlByTag(int tag) const {
    AssertMainThread();
    const auto it = tagMap.find(tag);
    return it == tagMap.end() ? nullptr : it->second;
}

IControl* ICanvas::FindControlByParam(int paramIdx) const {
    for (int i = 0; i < controls.GetSize(); ++i)
        if (controls.Get(i)->GetValueIdxForParamIdx(paramIdx) >= 0)
            return controls.Get(i);
    return nullptr;
}

void ICanvas::ForEveryListedControl(const ControlFunc& func) {
    for (int i = 0; i < controls.GetSize(); ++i)
        func(controls.Get(i));
}

void ICanvas::ForEveryControl(const ControlFunc& func) {
    ForEveryListedControl(func);
    for (IControl* special :
         {static_cast<IControl*>(fpsDisplay), static_cast<IControl*>(cornerResizer),
          static_cast<IControl*>(textEntryControl), static_cast<IControl*>(popupMenuControl)})
        if (special)
            func(special);
    for (int i = 0; i < bubbleControls.GetSize(); ++i)
        func(bubbleControls.Get(i));
}

void ICanvas::ForEachControlOfParam(int paramIdx, const ControlFunc& func) {
    for (int i = 0; i < controls.GetSize(); ++i)
        if (controls.Get(i)->GetValueIdxForParamIdx(paramIdx) >= 0)
            func(controls.Get(i));
}

void ICanvas::ForEachControlOfParam(const std::vector<int>& params, const ControlFunc& func) {
    for (int i = 0; i < controls.GetSize(); ++i)
        for (int paramIdx : params)
            if (controls.Get(i)->GetValueIdxForParamIdx(paramIdx) >= 0)
                func(controls.Get(i));
}

void ICanvas::ForEachControlInGroup(const char* group, const ControlFunc& func) {
    AssertMainThread();
    if (!group || !*group)
        return;
    for (int i = 0; i < controls.GetSize(); ++i) {
        IControl* control = controls.Get(i);
        if (std::strcmp(control->group.Get(), group) == 0)
            func(control);
    }
}

void ICanvas::MarkAllControlsDirty() {
    ForAllControls(&IControl::SetDirty, false, -1);
}

void ICanvas::MarkAllControlsClean() {
    ForAllControls(&IControl::SetClean);
}

void ICanvas::HideControl(int paramIdx, bool hide) {
    ForMatchingControls(&IControl::Hide, paramIdx, hide);
}

void ICanvas::DisableControl(int paramIdx, bool disable) {
    ForMatchingControls(&IControl::SetDisabled, paramIdx, disable);
}

void ICanvas::HighlightParamControls(int paramIdx, bool on, int colourChoice) {
    ForMatchingControls(&IControl::SetHighlight, paramIdx, on, colourChoice);
}

void ICanvas::SetTooltipsEnabled(bool enable) {
    tooltipsEnabled = enable;
    if (enable)
        mouseOverEnabled = true;
}

void ICanvas::AssignParamNameToolTips() {
    ForEveryListedControl([](IControl* control) {
        if (const IParam* param = control->GetParam(0))
            control->SetTooltip(param->Name());
    });
}

void ICanvas::UpdatePeers(IControl* sender, int valIdx) {
    const int paramIdx = sender->GetParamIdx(valIdx);
    if (paramIdx < 0)
        return;
    const double value = sender->GetValue(valIdx);
    for (int i = 0; i < controls.GetSize(); ++i) {
        IControl* peer = controls.Get(i);
        const int slot = peer->GetValueIdxForParamIdx(paramIdx);
        if (peer != sender && slot >= 0)
            peer->SetValueFromEditorSide(value, slot);
    }
}

void ICanvas::SetControlPosition(IControl* control, float x, float y) {
    control->SetPosition(x, y);
    if (!control->IsHidden())
        MarkAllControlsDirty();
}

void ICanvas::SetControlSize(IControl* control, float w, float h) {
    control->SetSize(w, h);
    if (!control->IsHidden())
        MarkAllControlsDirty();
}

void ICanvas::SetControlBounds(IControl* control, const IRECT& r) {
    control->drawRect = control->targetRect = r;
    control->mouseIsOver = false;
    control->OnResize();
    if (!control->IsHidden())
        MarkAllControlsDirty();
}

// Drops every reference the context holds to a control about to go.
void ICanvas::DetachFromLinks(IControl* control) {
    for (const auto& [touch, captured] : capturedMap) {
        if (captured == control) {
            ClearMouseCapture();
            break;
        }
    }
    if (mouseOverControl == control) {
        mouseOverControl = nullptr;
        mouseOverIdx = -1;
    }
    if (inTextEntry == control)
        inTextEntry = nullptr;
    if (inPopupMenu == control)
        inPopupMenu = nullptr;
    for (int i = 0; i < bubbleControls.GetSize(); ++i)
        if (bubbleControls.Get(i)->caller == control)
            bubbleControls.Get(i)->caller = nullptr;
    for (auto it = tagMap.begin(); it != tagMap.end();) {
        it = it->second == control ? tagMap.erase(it) : std::next(it);
    }
}

// Takes a control out of the list and of its family, then deletes it.
void ICanvas::ForgetControl(IControl* control) {
    const int index = controls.Find(control);
    if (index < 0)
        return;
    controls.Delete(index);
    if (auto* container = dynamic_cast<IContainerBase*>(control->parent))
        container->ForgetChild(control);
    // Children of a removed container must not point at freed memory.
    for (int i = 0; i < controls.GetSize(); ++i)
        if (controls.Get(i)->parent == control)
            controls.Get(i)->parent = nullptr;
    control->parent = nullptr;
    if (mouseOverIdx > index)
        --mouseOverIdx;
    delete control;
}

void ICanvas::RemoveControl(IControl* control) {
    AssertMainThread();
    if (control) {
        DetachFromLinks(control);
        ForgetControl(control);
    }
    MarkAllControlsDirty();
}

void ICanvas::RemoveControlAt(int index) {
    if (IControl* control = controls.Get(index)) {
        RemoveControl(control);
        return;
    }
    MarkAllControlsDirty();
}

void ICanvas::RemoveControlsFrom(int index) {
    for (int i = controls.GetSize() - 1; i >= index && i >= 0; --i) {
        IControl* control = controls.Get(i);
        DetachFromLinks(control);
        ForgetControl(control);
    }
    MarkAllControlsDirty();
}

// Detaching erases the tag with the control's other links.
void ICanvas::RemoveControlWithTag(int tag) {
    RemoveControl(FindControlByTag(tag));
}

void ICanvas::RemoveAllControls() {
    ClearMouseCapture();
    mouseOverControl = nullptr;
    mouseOverIdx = -1;
    inTextEntry = nullptr;
    inPopupMenu = nullptr;
    RemovePopupMenuControl();
    RemoveTextEntryControl();
    delete cornerResizer;
    cornerResizer = nullptr;
    delete fpsDisplay;
    fpsDisplay = nullptr;
    bubbleControls.Empty(true);
    tagMap.clear();
    // Children first would be the reverse of attach order; parents are nulled as each goes.
    while (controls.GetSize() > 0)
        ForgetControl(controls.Get(controls.GetSize() - 1));
}

} // namespace vx::ui

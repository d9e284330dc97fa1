// Hit testing, pointer capture, mouse-over, context menus, keys and corner resizing.
#include "toolkit/ICanvas.h"

#include <algorithm>

namespace vx::ui {

namespace {

bool Hittable(const IControl* c, bool mouseOver, float x, float y) {
    if (c->IsHidden() || c->GetIgnoreMouse())
        return false;
    if (c->IsDisabled() &&
        !(mouseOver ? c->GetMouseOverWhenDisabled() : c->GetMouseEventsWhenDisabled()))
        return false;
    return c->ContainsPoint(x, y);
}

} // namespace

int ICanvas::HitTestControlList(bool mouseOver, float x, float y) const {
    if (mouseOver && (!mouseOverEnabled || controls.GetSize() <= 1))
        return -1;
    const int last = mouseOver ? 1 : 0; // the background never takes mouse-over
    for (int i = controls.GetSize() - 1; i >= last; --i)
        if (Hittable(controls.Get(i), mouseOver, x, y))
            return i;
    return -1;
}

IControl* ICanvas::ControlUnderPointer(bool capture, bool mouseOver, int64_t touchId, float x,
                                       float y) {
    if (const auto it = capturedMap.find(touchId); it != capturedMap.end())
        return it->second;

    IControl* control = nullptr;
    int index = -1;
    if (popupMenuControl && popupMenuControl->IsExpanded())
        control = popupMenuControl;
    else if (textEntryControl && textEntryControl->IsEditing())
        control = textEntryControl;
    else if (cornerResizer && cornerResizer->GetRECT().ContainsPoint(x, y))
        control = cornerResizer;
    else if (fpsDisplay && fpsDisplay->GetRECT().ContainsPoint(x, y))
        control = fpsDisplay;
    else if ((index = HitTestControlList(mouseOver, x, y)) >= 0)
        control = controls.Get(index);

    if (capture && control) {
        if (multiTouch && ControlIsCaptured(control) && !control->GetWantsMultiTouch())
            return nullptr;
        capturedMap.try_emplace(touchId, control);
    }
    if (mouseOver)
        mouseOverIdx = index;
    return control;
}

bool ICanvas::ControlIsCaptured(const IControl* control) const {
    return std::any_of(capturedMap.begin(), capturedMap.end(),
                       [control](const auto& entry) { return entry.second == control; });
}

void ICanvas::BeginParamChanges(const IControl* control) {
    for (int paramIdx : BoundParams(control))
        delegate.BeginParamChangeFromUI(paramIdx);
}

std::vector<int> ICanvas::BoundParams(const IControl* control) {
    std::vector<int> params;
    for (int i = 0; i < control->NVals(); ++i)
        if (control->GetParamIdx(i) >= 0)
            params.push_back(control->GetParamIdx(i));
    return params;
}

void ICanvas::OnMouseDown(const IMouseInfoList& list) {
    AssertMainThread();
    if (list.size() == 1) {
        mouseDownX = list[0].x;
        mouseDownY = list[0].y;
    }
    for (const IMouseInfo& info : list) {
        IControl* control = ControlUnderPointer(true, false, info.ms.touchID, info.x, info.y);
        if (!control)
            continue;
        const int valIdx = control->ValueSlotAtPoint(info.x, info.y);
        if (info.ms.R && control->GetParamIdx(std::max(valIdx, 0)) >= 0) {
            ClearMouseCapture();
            OpenContextMenu(control, info.x, info.y);
            return;
        }
        BeginParamChanges(control);
        control->OnMouseDown(info.x, info.y, info.ms);
    }
}

void ICanvas::OnMouseUp(const IMouseInfoList& list) {
    AssertMainThread();
    for (const IMouseInfo& info : list) {
        const auto it = capturedMap.find(info.ms.touchID);
        if (it == capturedMap.end())
            continue;
        IControl* control = it->second;
        const std::vector<int> params = BoundParams(control);
        control->OnMouseUp(info.x, info.y, info.ms);
        for (int paramIdx : params)
            delegate.EndParamChangeFromUI(paramIdx);
        capturedMap.erase(info.ms.touchID);
    }
    if (resizingInProgress)
        EndCornerResize();
    if (list.size() == 1 && list[0].ms.touchID == 0)
        UpdateMouseOver(list[0].x, list[0].y, list[0].ms);
}

void ICanvas::OnMouseDrag(const IMouseInfoList& list) {
    AssertMainThread();
    if (resizingInProgress && list.size() == 1) {
        ResizeFromCornerDrag(list[0].x, list[0].y);
        return;
    }
    for (const IMouseInfo& info : list) {
        const auto it = capturedMap.find(info.ms.touchID);
        if (it == capturedMap.end())
            continue;
        IControl* control = it->second;
        // While a value is typed only the in-panel entry may be dragged in.
        if (inTextEntry && control != textEntryControl)
            continue;
        if (info.dX == 0.f && info.dY == 0.f)
            continue;
        control->OnMouseDrag(info.x, info.y, info.dX, info.dY, info.ms);
    }
}

void ICanvas::OnTouchCancelled(const IMouseInfoList& list) {
    for (const IMouseInfo& info : list) {
        const auto it = capturedMap.find(info.ms.touchID);
        if (it == capturedMap.end())
            continue;
        it->second->OnTouchCancelled(info.x, info.y, info.ms);
        capturedMap.erase(info.ms.touchID);
    }
}

bool ICanvas::OnMouseDoubleClick(float x, float y, const IMouseMod& mod) {
    IControl* control = ControlUnderPointer(true, false, 0, x, y);
    if (!control)
        return false;
    if (control->GetMouseDblAsSingleClick()) {
        OnMouseDown({IMouseInfo{x, y, 0.f, 0.f, mod}});
    } else {
        control->OnMouseDoubleClick(x, y, mod);
        ClearMouseCapture();
    }
    return true;
}

void ICanvas::UpdateMouseOver(float x, float y, const IMouseMod& mod) {
    IControl* control = ControlUnderPointer(false, true, 0, x, y);
    if (control != mouseOverControl) {
        if (mouseOverControl)
            mouseOverControl->OnMouseOut();
        mouseOverControl = control;
    }
    if (control)
        control->OnMouseOver(x, y, mod);
}

bool ICanvas::OnMouseOver(float x, float y, const IMouseMod& mod) {
    AssertMainThread();
    UpdateMouseOver(x, y, mod);
    return mouseOverControl != nullptr;
}

void ICanvas::OnMouseOut() {
    cursorShape = SetCursorShape(0);
    ForAllControls(&IControl::OnMouseOut);
    mouseOverControl = nullptr;
    mouseOverIdx = -1;
}

bool ICanvas::OnMouseWheel(float x, float y, const IMouseMod& mod, float delta) {
    IControl* control = ControlUnderPointer(false, false, 0, x, y);
    if (control)
        control->OnMouseWheel(x, y, mod, delta);
    return control != nullptr;
}

bool ICanvas::OnKeyDown(float x, float y, const IKeyPress& key) {
    IControl* control = ControlUnderPointer(false, false, 0, x, y);
    if (control && control != controls.Get(0) && control->OnKeyDown(x, y, key))
        return true;
    return keyHandler ? keyHandler(key, false) : false;
}

bool ICanvas::OnKeyUp(float x, float y, const IKeyPress& key) {
    IControl* control = ControlUnderPointer(false, false, 0, x, y);
    if (control && control != controls.Get(0) && control->OnKeyUp(x, y, key))
        return true;
    return keyHandler ? keyHandler(key, true) : false;
}

void ICanvas::OnDrop(const char* path, float x, float y) {
    if (IControl* control = ControlUnderPointer(false, false, 0, x, y))
        control->OnDrop(path);
}

void ICanvas::OnDropMultiple(const std::vector<const char*>& paths, float x, float y) {
    if (IControl* control = ControlUnderPointer(false, false, 0, x, y))
        control->OnDropMultiple(paths);
}

void ICanvas::ClearMouseCapture() {
    capturedMap.clear();
    if (cursorHidden)
        SetCursorHidden(false, true);
}

void ICanvas::OpenContextMenu(IControl* control, float x, float y) {
    promptMenu.Clear();
    if (!control)
        return;
    control->BuildContextMenu(promptMenu);
    if (promptMenu.NItems() > 0)
        OpenPopupMenu(control, promptMenu, {x, y, x, y}, -1, true);
}

void ICanvas::OpenContextMenuAt(int index, float x, float y) {
    OpenContextMenu(controls.Get(index), x, y);
}

void ICanvas::RecordParamUnderPoint(float x, float y) {
    const IControl* control = ControlUnderPointer(false, false, 0, x, y);
    recordedParamIdx = control ? control->GetParamIdx(0) : -1;
}

int ICanvas::TakeRecordedParam() {
    const int paramIdx = recordedParamIdx;
    recordedParamIdx = -1;
    return paramIdx;
}

void ICanvas::GetMouseDownPoint(float& x, float& y) const {
    x = mouseDownX;
    y = mouseDownY;
}

void ICanvas::ResizeFromCornerDrag(float x, float y) {
    if (resizerMode != 0) {
        Resize(static_cast<int>(x), static_cast<int>(y), drawScale, true);
        return;
    }
    // Without a button-down point there is nothing to scale against.
    if (mouseDownX <= 0.f || mouseDownY <= 0.f)
        return;
    const float scale = std::min(x * drawScale / mouseDownX, y * drawScale / mouseDownY);
    Resize(width, height, scale, true);
}

void ICanvas::EndCornerResize() {
    resizingInProgress = false;
    if (resizerMode != 0) {
        if (cornerResizer)
            cornerResizer->SetDirty(false, -1);
        return;
    }
    ForAllControls(&IControl::OnRescale);
    MarkAllControlsDirty();
}

} // namespace vx::ui

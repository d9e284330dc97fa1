// Gesture regions: window rectangles whose function runs when a recognised
// gesture lands there and no control under the point takes it.
#include "toolkit/ICanvas.h"

namespace vx::ui {

void ICanvas::AttachGestureRegion(const IRECT& bounds, int kind, GestureFunc func) {
    gestureRegions.Add(bounds);
    AddToIntList(kind);
    gestureRegionFuncs.try_emplace(gestureRegions.Size() - 1, std::move(func));
}

void ICanvas::ClearGestureRegions() {
    gestureRegions.Clear();
    gestureRegionFuncs.clear();
}

bool ICanvas::GestureRegionAtPoint(float x, float y) {
    const IControl* control = ControlUnderPointer(false, false, 0, x, y);
    if (control && control->HasGestures())
        return true;
    for (int i = 0; i < gestureRegions.Size(); ++i)
        if (gestureRegions.Get(i).ContainsPoint(x, y))
            return true;
    return false;
}

void ICanvas::OnGestureRecognized(const IGestureInfo& gesture) {
    IControl* control = ControlUnderPointer(false, false, 0, gesture.x, gesture.y);
    if (control && control->HasGestures()) {
        control->OnGesture(gesture);
        return;
    }
    for (int i = 0; i < gestureRegions.Size(); ++i) {
        if (!gestureRegions.Get(i).ContainsPoint(gesture.x, gesture.y))
            continue;
        const auto it = gestureRegionFuncs.find(i);
        if (it != gestureRegionFuncs.end() && it->second) {
            const GestureFunc func = it->second; // the function may clear the regions
            func(nullptr, gesture);
        }
        return;
    }
}

} // namespace vx::ui

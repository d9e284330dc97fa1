#include "winlayer/Runtime.h"
#include "winlayer/WinBasics.h"
#include "winlayer/drops/DropBlock.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <cmath>

namespace {

using DragEnterHook = void (*)(HDROP, POINT);
using DragOverHook = void (*)(POINT);
using DragLeaveHook = void (*)();

POINT Rounded(ak::Point point) {
    return POINT{static_cast<int>(std::floor(point.x + 0.5)),
                 static_cast<int>(std::floor(point.y + 0.5))};
}

void CallDragLeave() {
    if (const auto hook =
            reinterpret_cast<DragLeaveHook>(winlayer::CurrentDragDropHooks().onDragLeave))
        hook();
}

} // namespace

bool Wisp_vOmnarControl_hwnd::DraggingEntered(const ak::FileDrag& drag) {
    if (!supportsDrop_)
        return false;
    const auto hook = reinterpret_cast<DragEnterHook>(winlayer::CurrentDragDropHooks().onDragEnter);
    if (hook && !drag.paths.empty()) {
        if (HDROP block = winlayer::MakeDropBlock(drag.paths, Rounded(drag.location))) {
            POINT onScreen = Rounded(drag.location);
            ClientToScreen(Handle(), &onScreen);
            hook(block, onScreen);
            GlobalFree(block);
        }
    }
    return true;
}

bool Wisp_vOmnarControl_hwnd::DraggingUpdated(const ak::FileDrag& drag) {
    if (!supportsDrop_)
        return false;
    if (const auto hook =
            reinterpret_cast<DragOverHook>(winlayer::CurrentDragDropHooks().onDragOver)) {
        POINT onScreen = Rounded(drag.location);
        ClientToScreen(Handle(), &onScreen);
        hook(onScreen);
    }
    return true;
}

void Wisp_vOmnarControl_hwnd::DraggingExited() {
    if (supportsDrop_)
        CallDragLeave();
}

bool Wisp_vOmnarControl_hwnd::PerformDrop(const ak::FileDrag& drag) {
    if (!supportsDrop_)
        return false;
    CallDragLeave();
    if (drag.paths.empty())
        return false;
    HDROP block = winlayer::MakeDropBlock(drag.paths, Rounded(drag.location));
    if (!block)
        return false; // no memory: no drop and no message
    ak::Ref<ak::View> hold(this);
    onWispMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    GlobalFree(block);
    return true;
}

#pragma once

#include "platform/ak/Control.h"
#include "winlayer/ControlPlacement.h"
#include "winlayer/WindowApi.h"

// The creators' shared state and steps.

namespace winlayer {

ControlBuildParms& BuildParms();
// The view receiving new controls while it lives, else null.
ak::View* BuildParent();

inline ak::Rect ToRect(ControlFrame frame) {
    return {{double(frame.x), double(frame.y)}, {double(frame.width), double(frame.height)}};
}

// System font of 8 points below scale 1, 10 below 1.81, else the control's own.
void ApplyScaleFont(ak::Control& control);
// Hidden by style bit 31, added to the parent; its handle.
HWND AddToParent(ak::View& parent, ak::View& control, int style);
void MeasureShift(const ak::View& control);
// Integer resource ids show as "ICONTEMP"; others without their markers.
std::string CaptionText(const char* caption);

} // namespace winlayer

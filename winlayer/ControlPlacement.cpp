#include "winlayer/ControlPlacement.h"

#include <cmath>

namespace winlayer {

namespace {

// Controls this close to the last one's planned right edge sit beside it.
constexpr double kShiftReach = 32;

int Round(double value) {
    return static_cast<int>(value + 0.5);
}

} // namespace

ControlBuildParms FreshBuildParms(double scaleX, double scaleY, double offsetX, double offsetY,
                                  bool autoShift, unsigned char sizeToFit) {
    ControlBuildParms parms;
    parms.scaleX = scaleX;
    parms.scaleY = scaleY;
    parms.offsetX = offsetX;
    parms.offsetY = offsetY;
    parms.autoShift = autoShift;
    parms.sizeToFit = sizeToFit;
    return parms;
}

ControlFrame ScaleControlRect(ControlBuildParms& parms, int x, int y, int w, int h,
                              ShiftRequest shift, HeightUnit heightUnit) {
    if (w < 0 && h < 0)
        return {-x, -y, -w, -h};
    const double sx = parms.scaleX;
    const double sy = parms.scaleY;
    int left = Round((x + parms.offsetX) * sx);
    const int width = Round(w * sx);
    const int height = heightUnit == HeightUnit::Points ? Round(h) : Round(h * std::fabs(sy));
    // Measured from the top in a flipped parent; a parent with y up gets the
    // same area counted from its top edge.
    const int flippedTop = Round(std::fabs(sy) * (y + parms.offsetY));
    const int top =
        sy < 0 ? flippedTop : static_cast<int>(parms.parentHeight) - flippedTop - height;
    if (shift == ShiftRequest::Shift && parms.autoShift) {
        const int planned = left;
        if (std::fabs(left - parms.lastRight) < kShiftReach && parms.lastRowCentre >= flippedTop &&
            parms.lastRowCentre < flippedTop + height)
            left += static_cast<int>(parms.pendingShift);
        parms.lastRight = planned + width;
        parms.lastRowCentre = flippedTop + height / 2.0;
        parms.pendingShift = 0;
    }
    return {left, top, width, height};
}

void MeasureForAutoShift(ControlBuildParms& parms, double frameRight) {
    if (parms.autoShift)
        parms.pendingShift = frameRight - parms.lastRight;
}

} // namespace winlayer

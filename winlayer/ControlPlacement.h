#pragma once

// Where the dialog-control creators put a control: dialog units to points,
// and the auto-shift that lets a control grown to fit its text push the next
// one on its row. Pure; the creators hold the one record.

namespace winlayer {

struct ControlBuildParms {
    double scaleX = 1;
    // Negative for a flipped (top-down) parent.
    double scaleY = 1;
    double offsetX = 0;
    double offsetY = 0;
    float parentHeight = 100;
    bool autoShift = false;
    unsigned char sizeToFit = 0;
    double lastRight = 0;
    double lastRowCentre = -100;
    double pendingShift = 0;
    int radioGroup = 0;
};

struct ControlFrame {
    int x;
    int y;
    int width;
    int height;
    bool operator==(const ControlFrame&) const = default;
};

enum class ShiftRequest { None, Shift };
enum class HeightUnit { DialogUnits, Points };

// The record after setting the current parameters: the shift state reset.
ControlBuildParms FreshBuildParms(double scaleX, double scaleY, double offsetX, double offsetY,
                                  bool autoShift, unsigned char sizeToFit);

// The frame in the parent's top-down points. Both w and h negative: (-x, -y,
// -w, -h) as points, no shift.
ControlFrame ScaleControlRect(ControlBuildParms& parms, int x, int y, int w, int h,
                              ShiftRequest shift, HeightUnit heightUnit = HeightUnit::DialogUnits);

// After a shifting control was added and sized: how far it reaches past its
// planned right edge moves the next control on its row.
void MeasureForAutoShift(ControlBuildParms& parms, double frameRight);

} // namespace winlayer

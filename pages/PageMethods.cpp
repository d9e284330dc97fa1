#include "device/OmnarControl.h"

// The page methods the device core calls. Each acts on the panel only, so
// while no panel is built they have nothing to do.

void OmnarControl::SelectAmpMode(int) {}
void OmnarControl::SelectReverbMode(int) {}
void OmnarControl::ShowFilterMid() {}
void OmnarControl::ShowFilterPunch() {}
void OmnarControl::UpdateMidFilterReadout() {}
void OmnarControl::UpdatePunchFilterReadout() {}
void OmnarControl::ShowDrive() {}
void OmnarControl::ShowIR() {}
void OmnarControl::ApplyAmpModeDefaults(int) {}
void OmnarControl::ApplyReverbModeDefaults(int) {}

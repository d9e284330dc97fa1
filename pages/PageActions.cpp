// The actions of the panel's buttons, radios and click areas. The controls
// call these already; what they do comes in a later step, so until then a
// click only shows its splash.

#include "device/OmnarControl.h"

void OmnarControl::OnReverbRadio(int) {}
void OmnarControl::OnAmpRadio(int) {}
void OmnarControl::OnImportPresetButton() {}
void OmnarControl::OnExportPresetButton() {}
void OmnarControl::OnFootswitch(int) {}
void OmnarControl::OnIRImportButton(int) {}
void OmnarControl::OnPresetNameEdited() {}
void OmnarControl::OnReconnectButton() {}
void OmnarControl::OnUpdateFirmwareButton() {}
void OmnarControl::OnCloseFirmwarePage() {}
void OmnarControl::OnCloseCustomIRList() {}
void OmnarControl::OnCloseGlobalSettings() {}
void OmnarControl::OnOpenMidiProgramMap() {}
void OmnarControl::OnOpenMidiCCMap() {}
void OmnarControl::OnFactoryResetButton(int) {}
void OmnarControl::OnMidiCCBack() {}
void OmnarControl::OnMidiProgramBack() {}
void OmnarControl::OnCloseAbout() {}

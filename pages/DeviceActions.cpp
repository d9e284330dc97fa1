// The device status row, the preset name, the firmware page and the closing
// buttons of the overlays. None builds a device message itself.

#include "controls/ITextControl.h"
#include "device/OmnarControl.h"
#include "pages/GroupOps.h"
#include "pages/PageNames.h"
#include "toolkit/ICanvas.h"

using namespace omnar::pages;

namespace {

// The front-panel knob banks and the footswitch strip, in the order they go dark.
constexpr const char* kKnobGroups[] = {
    group::kFrontPanel,  group::kBankA,        group::kBankB,       group::kBankAPreMid,
    group::kBankBPreMid, group::kBankAPostMid, group::kBankBPostMid};
const vx::ui::IColor kIRRowNormal(255, 120, 120, 120);

} // namespace

void OmnarControl::OnReconnectButton() {
    mConnected = false;
    mPollEnabled = true;
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    SetControlText(tag::kStatusDevice, "");
    SetControlText(tag::kStatusVersion, SearchingText());
    SetControlText(tag::kStatusSerial, "");
    for (const char* name : kKnobGroups)
        DisableGroup(*canvas, name, true);
    HideGroup(*canvas, group::kProgress, true);
}

void OmnarControl::OnPresetNameEdited() {
    SendCurrentPreset();
}

// A running or prepared transfer has the pedal in its loader: leave it be.
void OmnarControl::OnUpdateFirmwareButton() {
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas || mFirmwarePrepared || mFirmwareSending)
        return;
    VxString fileName;
    VxString folder;
    canvas->RunFileDialog(fileName, folder, vx::ui::EFileAction::Open, "bin");
    if (fileName.GetLength() > 0)
        PrepareFirmwareTransfer(VxString(fileName.Get()));
}

void OmnarControl::OnCloseFirmwarePage() {
    if (mFirmwarePrepared || mFirmwareSending)
        return;
    mConnected = false;
    mPollEnabled = true;
    if (vx::ui::ICanvas* canvas = GetGraphics()) {
        HideGroup(*canvas, group::kFirmwareBackground, true);
        HideGroup(*canvas, group::kFirmwareUpdate, true);
        DisableGroup(*canvas, group::kMain, false);
    }
}

void OmnarControl::OnCloseCustomIRList() {
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    HideGroup(*canvas, group::kCustomIR, true);
    for (vx::ui::ITextControl* row : mIRListRows)
        if (row)
            row->SetTextColor(kIRRowNormal);
    mUserIRFocusA = false;
    mUserIRFocusB = false;
}

void OmnarControl::OnCloseAbout() {
    if (vx::ui::ICanvas* canvas = GetGraphics())
        HideGroup(*canvas, group::kAbout, true);
}

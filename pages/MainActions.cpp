// The main page's file buttons, the IR page's two import buttons and the five
// virtual footswitches.

#include "controls/ITextControl.h"
#include "device/OmnarControl.h"
#include "pages/GroupOps.h"
#include "pages/PageNames.h"
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cstdio>

using namespace omnar::pages;

namespace {

constexpr const char* kPresetExtension = "z3p";
constexpr int kPatchOffsetParam = 91;
constexpr int kStoreDeviceParam = 18;
constexpr int kKnobBankDeviceParam = 19;
constexpr int kRepeatDelay = -20;
constexpr int kPresetCount = 128;
constexpr int kCustomIRBankParam = 86;
constexpr int kCustomIRBanks = 8; // "Factory Bank" is the ninth value
constexpr int kIRsPerBank = 32;
const vx::ui::IColor kPresetNumberColour(255, 0, 255, 255);

// The folder of the last preset file and the preset's name: a "/" in the name
// would put the file elsewhere.
std::string ExportProposal(const std::string& lastPath, std::string name) {
    std::replace(name.begin(), name.end(), '/', '-');
    if (lastPath.empty())
        return name;
    const std::size_t slash = lastPath.rfind('/');
    const std::string folder =
        slash == std::string::npos || slash == 0 ? std::string() : lastPath.substr(0, slash);
    return folder + "/" + name;
}

} // namespace

void OmnarControl::OnImportPresetButton() {
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    VxString file(mLastPresetPath.c_str());
    VxString folder;
    canvas->RunFileDialog(file, folder, vx::ui::EFileAction::Open, kPresetExtension);
    if (file.GetLength() == 0)
        return;
    mLastPresetPath = file.Get();
    ImportPreset(VxString(file.Get()));
}

void OmnarControl::OnExportPresetButton() {
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    VxString file(ExportProposal(mLastPresetPath, ControlText(tag::kPresetName)).c_str());
    VxString folder;
    canvas->RunFileDialog(file, folder, vx::ui::EFileAction::Save, kPresetExtension);
    if (file.GetLength() == 0)
        return;
    mLastPresetPath = file.Get();
    VxString path(file.Get());
    ExportPreset(path);
}

// The file is chosen and read before anything changes: a cancel or a bad file
// leaves the preset's IR and the pedal as they were.
void OmnarControl::OnIRImportButton(int slot) {
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    VxString fileName(mLastWavPath.c_str());
    VxString folder;
    canvas->RunFileDialog(fileName, folder, vx::ui::EFileAction::Open, "wav");
    if (fileName.GetLength() == 0)
        return;
    mLastWavPath = fileName.Get();
    if (!ReadWavFile(fileName)) {
        canvas->RunMessageBox("Unknown file format.", "ERROR!", vx::ui::EMsgBoxButtons::OK);
        return;
    }
    const bool slot7 = slot == 7;
    mIRImportBusy = true;
    mUserIRFocusA = slot7;
    mUserIRFocusB = !slot7;
    const int n = mPresetNumber + (slot7 ? 0 : 128);
    (slot7 ? mUserIRNumberA : mUserIRNumberB) = n;
    mIRUploadSlot = n;
    const int msbParam = slot7 ? 53 : 55;
    mIRAssignStep = msbParam;
    SetParamAndQueue(msbParam, double((n >> 7) & 0x7F) / 127.0);
    StoreWavIR(n);
    mIRImportBusy = false;
}

// The list opens on the bank of the IR the slot plays, that IR highlighted;
// the bank's change asks the pedal for the names. A row clicked then assigns
// its IR to this slot, until the list is closed.
void OmnarControl::OnIRListButton(int slot) {
    if (!GetGraphics())
        return;
    const bool slot7 = slot == 7;
    mUserIRFocusA = slot7;
    mUserIRFocusB = !slot7;
    const int n =
        std::clamp(slot7 ? mUserIRNumberA : mUserIRNumberB, 0, kCustomIRBanks * kIRsPerBank - 1);
    MoveIRListHighlight(n);
    ShowGroup(group::kCustomIR, true);
    SetParamAndQueue(kCustomIRBankParam, double(n / kIRsPerBank) / kCustomIRBanks);
}

void OmnarControl::StepFromFootswitch(int tag, int delta) {
    (tag == tag::kFootswitchUp ? mPresetUpHeld : mPresetDownHeld) = true;
    mRepeatTicks = kRepeatDelay;
    mPresetNumber = (mPresetNumber + delta + kPresetCount) % kPresetCount;
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    char text[16];
    std::snprintf(text, sizeof text, "%02d", mPresetNumber + ParamInt(kPatchOffsetParam));
    SetControlText(tag::kPresetDisplay, text);
    if (auto* number =
            dynamic_cast<vx::ui::ITextControl*>(canvas->FindControlByTag(tag::kPresetDisplay)))
        number->SetTextColor(kPresetNumberColour);
    HideTag(*canvas, tag::kPresetDisplay, false);
    mPresetEdited = false;
}

// Footswitches call on press and on release without changing their value:
// the value they show tells which of the two this is.
void OmnarControl::OnFootswitch(int tag) {
    vx::ui::ICanvas* canvas = GetGraphics();
    vx::ui::IControl* button = canvas ? canvas->FindControlByTag(tag) : nullptr;
    if (!button)
        return;
    const bool press = button->GetValue() == 0.0;
    button->SetValue(press ? 1.0 : 0.0);
    switch (tag) {
    case tag::kFootswitchUp:
    case tag::kFootswitchDown:
        if (press) {
            StepFromFootswitch(tag, tag == tag::kFootswitchUp ? 1 : -1);
            return;
        }
        (tag == tag::kFootswitchUp ? mPresetUpHeld : mPresetDownHeld) = false;
        if (mConnected && !mStorePending && !mRecallPending)
            SendPresetSelect(mPresetNumber);
        return;
    case tag::kSaveButton:
        mStoreArmed = press;
        if (press)
            return;
        if (!mStorePending) {
            mStorePending = true;
            return;
        }
        HideTag(*canvas, tag::kPresetDisplay, false);
        if (mConnected) {
            SendParamMessage(kStoreDeviceParam, mPresetNumber);
            mBlinkStopTicks = 0;
            mBlinkStopArmed = true;
        } else {
            mStorePending = false;
        }
        return;
    case tag::kFootswitchSelect:
        mRecallArmed = press;
        if (press)
            return;
        if (!mRecallPending) {
            mRecallPending = true;
            return;
        }
        HideTag(*canvas, tag::kPresetDisplay, false);
        if (mConnected) {
            SendPresetSelect(mPresetNumber);
            mBlinkStopTicks = 0;
        }
        mRecallPending = false;
        return;
    case tag::kFootswitchBank:
        if (!press)
            return;
        mKnobBankB = !mKnobBankB;
        SendParamMessage(kKnobBankDeviceParam, mKnobBankB ? 1 : 0);
        HideTag(*canvas, tag::kFilterLed, !mKnobBankB);
        HideTag(*canvas, tag::kRedBackground, !mKnobBankB);
        ShowPreMidControls();
        return;
    default:
        return;
    }
}

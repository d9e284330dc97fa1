// The global settings page and the two MIDI map pages opened from it.

#include "device/MessageBuilders.h"
#include "device/OmnarControl.h"
#include "pages/GroupOps.h"
#include "pages/PageNames.h"
#include "toolkit/ICanvas.h"

using namespace omnar::pages;

namespace {

constexpr int kPatchOffsetParam = 91;
constexpr int kCCMapType = 1;
constexpr int kProgramMapType = 2;
constexpr int kResetPresets = 1;

} // namespace

void OmnarControl::OnCloseGlobalSettings() {
    mPollEnabled = true;
    ShowGroup(group::kGlobalSettings, false);
    ListPresetFolder();
}

void OmnarControl::OnOpenMidiProgramMap() {
    ShowGroup(group::kMidiProgram, true);
    ShowGroup(ParamInt(kPatchOffsetParam) != 0 ? group::kMidiProgramOffset1
                                               : group::kMidiProgramOffset0,
              true);
    ShowGroup(group::kGlobalSettings, false);
    SendSettingsRequest(kProgramMapType);
}

void OmnarControl::OnOpenMidiCCMap() {
    ShowGroup(group::kMidiCC, true);
    ShowGroup(group::kGlobalSettings, false);
    SendSettingsRequest(kCCMapType);
}

// 0 everything, 1 the presets, 2 the settings: the local library goes first
// for the first two.
void OmnarControl::OnFactoryResetButton(int type) {
    if (!AskOkCancel("Are you sure?"))
        return;
    if (type <= kResetPresets) {
        ClearLocalLibrary();
        RefreshPresetList();
    }
    // The pedal's edit buffer is reset too: the report after its 'W' fetches it.
    mPresetFetchWanted = true;
    Send(omnar::BuildFactoryReset(type));
}

void OmnarControl::OnMidiCCBack() {
    ShowGroup(group::kMidiCC, false);
    ShowGroup(group::kGlobalSettings, true);
    SendSettingsDump(kCCMapType);
}

void OmnarControl::OnMidiProgramBack() {
    ShowGroup(group::kMidiProgram, false);
    ShowGroup(group::kMidiProgramOffset0, false);
    ShowGroup(group::kMidiProgramOffset1, false);
    ShowGroup(group::kGlobalSettings, true);
    SendSettingsDump(kProgramMapType);
}

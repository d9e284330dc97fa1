#include "controls/ITextControl.h"
#include "device/OmnarControl.h"
#include "toolkit/ICanvas.h"

#include <cstdio>

namespace {

constexpr const char* kDeviceGroups[] = {"bcontrols",     "bcontrolsa",    "bcontrolsb",
                                         "prebcontrolsa", "prebcontrolsb", "postbcontrolsa",
                                         "postbcontrolsb"};

} // namespace

void OmnarControl::Await(Awaited reply) {
    mAwaited = reply;
    mAwaitTicks = 0;
}

void OmnarControl::LoseDevice() {
    const bool backup = mBackupActive;
    const bool syncing = mSlotSyncActive;
    mConnected = false;
    mPollEnabled = true;
    Await(Awaited::None);
    mDumpWaitArmed = false;
    mSlotSyncActive = false;
    mSlotSyncSlot = -1;
    if (syncing)
        mApplyingValues = false;
    mRestoreActive = mRestoreReady = false;
    mStreamActive = mStreamSending = false;
    mIRUploadSending = false;
    mStagedIRImage.clear(); // the pedal never said it took it
    mIRReceiveOpen = false;
    mBulkBeginPending = false;
    // An import's chain ends with its device; a later 'a' must not go on with it.
    mImportIRAPending = mImportIRBPending = false;
    // A firmware image still waiting for the loader is dropped with the wait.
    if (!mFirmwareSending)
        mFirmwarePrepared = false;
    if (backup)
        AbortBackup();
    if (!GetGraphics())
        return;
    ShowConnectionStatus();
    EnableDeviceGroups(false);
    ShowGroup("progresscontrols", false);
}

// Nothing collected so far is written.
void OmnarControl::AbortBackup() {
    mBackupActive = mBackupReady = false;
    mBackupIRNumber = -1;
    mDumpWaitArmed = false;
    if (mAwaited == Awaited::IRDump)
        Await(Awaited::None);
    ShowGroup("progresscontrols", false);
    ShowMessage("Communication error!");
}

// The device reboots either way; the poll finds it again.
void OmnarControl::FinishFirmware(bool accepted) {
    Await(Awaited::None);
    mFirmwarePrepared = false;
    mFirmwareSending = false;
    mConnected = false;
    mPollEnabled = true;
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    canvas->RunMessageBox(accepted ? "Firmware update finished." : "Error in update!", "",
                          vx::ui::EMsgBoxButtons::OK, [this](vx::ui::EMsgBoxResult) {
                              ShowGroup("firmwarecontrols", false);
                              ShowGroup("fwbgcontrols", false);
                              ShowGroup("fwupdatecontrols", false);
                              EnableGroup("maincontrols", true);
                              // The restarted pedal may have answered while
                              // the box was up: its panel stays usable.
                              EnableDeviceGroups(mConnected);
                          });
}

void OmnarControl::ShowConnectionStatus() {
    mStatusText.clear();
    // A reconnect lets the version gate speak again.
    mGateMessageShown = false;
    ShowSearching();
}

void OmnarControl::ShowSearching() {
    if (!mLayoutBuilt || !GetGraphics())
        return;
    SetControlText(151, mStatusText.c_str());
    SetControlText(152, SearchingText());
    SetControlText(153, "");
}

// With no MIDI port chosen there is nothing to search: say how to connect.
const char* OmnarControl::SearchingText() const {
    return HasMidiPortsChosen() ? "Connecting to the device..."
                                : "Choose the pedal's MIDI ports in File > Preferences...";
}

void OmnarControl::SetProgress(int knobTag, int textTag, double fraction, bool rounded) {
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    if (vx::ui::IControl* knob = canvas->FindControlByTag(knobTag))
        knob->SetValue(fraction);
    char text[16];
    if (rounded)
        std::snprintf(text, sizeof text, "%.0f %%", fraction * 100.0);
    else
        std::snprintf(text, sizeof text, "%d %%", int(fraction * 100.0));
    SetControlText(textTag, text);
}

void OmnarControl::ShowGroup(const char* group, bool show) {
    if (vx::ui::ICanvas* canvas = GetGraphics())
        canvas->ForEachControlInGroup(group,
                                      [show](vx::ui::IControl* control) { control->Hide(!show); });
}

void OmnarControl::EnableGroup(const char* group, bool enable) {
    if (vx::ui::ICanvas* canvas = GetGraphics())
        canvas->ForEachControlInGroup(
            group, [enable](vx::ui::IControl* control) { control->SetDisabled(!enable); });
}

void OmnarControl::EnableDeviceGroups(bool enable) {
    for (const char* group : kDeviceGroups)
        EnableGroup(group, enable);
}

void OmnarControl::ShowMessage(const char* text) {
    if (vx::ui::ICanvas* canvas = GetGraphics())
        canvas->RunMessageBox(text, "", vx::ui::EMsgBoxButtons::OK);
}

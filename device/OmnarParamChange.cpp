#include "device/OmnarControl.h"
#include "device/ParamSend.h"
#include "toolkit/ICanvas.h"

#include <cstdio>

namespace {

constexpr int kPresetNumberTag = 1;

// Preset values that leave the preset-number display alone.
bool KeepsPresetDisplay(int index) {
    return index == 14 || index == 40 || index == 41 || index == 57 || index == 60;
}

} // namespace

// Device side first, then the indicator, the panel's reaction and the edit
// tracking, in that order.
void OmnarControl::OnParamChange(int32_t index) {
    const vx::IParam* param = GetParam(index);
    if (!param)
        return;
    const int value = static_cast<int>(param->CurrentValue());
    vx::ui::ICanvas* canvas = GetGraphics();
    if (index < omnar::kPresetValueCount) {
        if (canvas && !KeepsPresetDisplay(index)) {
            char text[16];
            std::snprintf(text, sizeof text, "%02d", value);
            SetControlText(kPresetNumberTag, text);
        }
        const omnar::ParamSendStep step = omnar::DeviceSideOfParamChange(
            {mConnected, mApplyingValues, mSuppressParamSend, mDeviceValues, mDeviceParamIds},
            index, value);
        if (step.storeValue)
            mDeviceValues[std::size_t(index)] = value;
        if (step.raiseChorusLevel) {
            // Runs this handler for the level first, which sends it.
            SetParamFromNormalised(omnar::kChorusLevelParam, omnar::kChorusLevelRaised);
            QueueParamValueForUI(omnar::kChorusLevelParam, omnar::kChorusLevelRaised, true);
            mSuppressParamSend = true;
        }
        // A change held back by the block still has to reach the pedal.
        if (step.storeValue && !mApplyingValues && !step.message)
            mHeldParamSends[std::size_t(index)] = true;
        if (step.message) {
            mHeldParamSends[std::size_t(index)] = false;
            Send(*step.message);
        }
        if (step.armPresetNumberRestore) {
            mPresetNumberRestorePending = true;
            mPresetNumberRestoreTicks = 0;
        }
    }
    if (canvas)
        UpdatePresetEditedIndicator();
    ReactToParamChange(index, value);
    if (mUserEditing && index <= 37) {
        mLastChangeIndex = index;
        mLastChangeValue = value;
        mPresetEdited = true;
    }
}

void OmnarControl::SendHeldParams() {
    for (int index = 0; index < omnar::kPresetValueCount; ++index) {
        if (!mHeldParamSends[std::size_t(index)])
            continue;
        mHeldParamSends[std::size_t(index)] = false;
        if (mConnected)
            SendParamMessage(mDeviceParamIds[std::size_t(index)],
                             mDeviceValues[std::size_t(index)]);
    }
}

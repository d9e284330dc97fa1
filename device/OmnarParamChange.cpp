#include "device/OmnarControl.h"

#include "device/ParamSend.h"

// The device side of a parameter change; the panel's reactions join it with the pages.
void OmnarControl::OnParamChange(int32_t index) {
    const vx::IParam* param = GetParam(index);
    if (!param)
        return;
    const int value = static_cast<int>(param->CurrentValue());
    const omnar::ParamSendStep step = omnar::DeviceSideOfParamChange(
        {mConnected, mApplyingValues, mSuppressParamSend, mDeviceValues, mDeviceParamIds}, index,
        value);
    if (step.storeValue)
        mDeviceValues[std::size_t(index)] = value;
    if (step.raiseChorusLevel) {
        // Runs this handler for the level first, which sends it.
        SetParamFromNormalised(omnar::kChorusLevelParam, omnar::kChorusLevelRaised);
        QueueParamValueForUI(omnar::kChorusLevelParam, omnar::kChorusLevelRaised, true);
        mSuppressParamSend = true;
    }
    if (step.message)
        Send(*step.message);
    if (step.armPresetNumberRestore) {
        mPresetNumberRestorePending = true;
        mPresetNumberRestoreTicks = 0;
    }
}

#pragma once

#include "device/DeviceMessage.h"

#include <cstdint>
#include <optional>
#include <span>

namespace omnar {

// What the device side of OnParamChange reads of the editor's state.
struct ParamSendState {
    bool connected = false;                       // mConnected
    bool applyingValues = false;                  // mApplyingValues
    bool suppressParamSend = false;               // mSuppressParamSend
    std::span<const std::int32_t> deviceValues;   // mDeviceValues
    std::span<const std::int32_t> deviceParamIds; // mDeviceParamIds
};

// What it decides, for the member to carry out in this order.
struct ParamSendStep {
    // Write the value into mDeviceValues[index].
    bool storeValue = false;
    // Chorus depth raised while the chorus level is 0: set parameter 66 to
    // 64/127 through SetParamFromNormalised (whose own OnParamChange sends
    // it), queue the same value for the editor side, then set
    // mSuppressParamSend. The depth itself is held back by that block.
    bool raiseChorusLevel = false;
    // The ParamChange to hand to SendSysEx.
    std::optional<DeviceMessage> message;
    // Set mPresetNumberRestorePending and zero mPresetNumberRestoreTicks.
    bool armPresetNumberRestore = false;
};

inline constexpr int kChorusLevelParam = 66;
inline constexpr int kChorusDepthParam = 68;
// 64/127: the chorus level the depth rule restores.
inline constexpr double kChorusLevelRaised = 64.0 / 127.0;

// Device side of a change of parameter index to the integer value: only
// preset values (0..73) reach the device, only while it is connected, and
// only when the value changed, except the user IR digits 53..56, which go
// again unchanged so the device steps through its IR assignment.
ParamSendStep DeviceSideOfParamChange(const ParamSendState& state, int index, int value);

} // namespace omnar

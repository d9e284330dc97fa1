#include "device/ParamSend.h"

#include "device/MessageBuilders.h"
#include "device/ParamValues.h"

namespace omnar {
namespace {

bool IsUserIRDigit(int index) {
    return index >= 53 && index <= 56;
}

} // namespace

ParamSendStep DeviceSideOfParamChange(const ParamSendState& state, int index, int value) {
    ParamSendStep step;
    if (index < 0 || index >= kPresetValueCount)
        return step;
    step.armPresetNumberRestore = true;
    if (!state.connected || std::size_t(index) >= state.deviceValues.size() ||
        std::size_t(index) >= state.deviceParamIds.size())
        return step;

    const bool changed = state.deviceValues[std::size_t(index)] != value;
    bool send = false;
    if (changed) {
        step.storeValue = true;
        if (!state.applyingValues) {
            step.raiseChorusLevel = index == kChorusDepthParam &&
                                    std::size_t(kChorusLevelParam) < state.deviceValues.size() &&
                                    state.deviceValues[kChorusLevelParam] == 0;
            send = !state.suppressParamSend && !step.raiseChorusLevel;
        }
    } else {
        send = IsUserIRDigit(index) && !state.applyingValues;
    }
    if (send)
        step.message = BuildParamMessage(state.deviceParamIds[std::size_t(index)], value);
    return step;
}

} // namespace omnar

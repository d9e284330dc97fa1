#include "framework/IAPIBase.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vx {

IAPIBase::IAPIBase(const PluginConfig& config, int32_t apiCode)
    : IModuleBase(config.paramCount, config.presetCount) {
    mParamDisplayText.SetBounded("");
    mPluginName.SetBounded(config.pluginName);
    mProductName.SetBounded(config.productName);
    mMakerName.SetBounded(config.makerName);
    mUniqueId = config.uniqueId;
    mMakerId = config.makerId;
    mVersion = config.version;
    mHasUI = config.hasUI;
    mHostResize = config.hostResize;
    SetEditorSize(config.width, config.height);
    SetSizeConstraints(config.minWidth, config.maxWidth, config.minHeight, config.maxHeight);
    mStateChunks = config.stateChunks;
    mBundleId.SetBounded(config.bundleId);
    mAppGroupId.SetBounded(config.appGroupId);
    mAPICode = apiCode;
}

IAPIBase::~IAPIBase() {
    if (mUITimer)
        mUITimer->Stop();
}

void IAPIBase::NotifyHostOfAllParams() {
    for (int i = 0; i < NParams(); ++i) {
        const IParam* param = GetParam(i);
        NotifyHostParamChanged(i, param->ToNormalised(param->CurrentValue()));
    }
}

void IAPIBase::SetParamValueFromUI(int index, double normalisedValue) {
    SetParamFromNormalised(index, normalisedValue);
    if (IParam* param = GetParam(index))
        param->SetNormalised(normalisedValue);
    HandleParamChangeOnUI(index, kSourceEditor);
}

bool IAPIBase::RequestEditorResize(int width, int height, bool needsWindowResize) {
    return needsWindowResize ? ResizeHostWindow(width, height) : true;
}

void IAPIBase::EnqueueSysExFromUI(const ISysEx& sysex) {
    if (sysex.size < 0 || sysex.size > SysExRecord::kMaxBytes)
        return;
    SysExRecord record;
    record.offset = sysex.offset;
    record.size = sysex.size;
    if (sysex.data)
        std::memcpy(record.data, sysex.data, static_cast<size_t>(sysex.size));
    mSysExFromEditor.Push(record);
}

bool IAPIBase::CompareParamValues(const double* values, int32_t start) const {
    for (int i = 0; i < NParams(); ++i) {
        const float current = static_cast<float>(GetParam(i)->CurrentValue());
        const float given = static_cast<float>(values[start + i]);
        if (!(double{std::fabs(current - given)} < 1e-5))
            return false;
    }
    return true;
}

void IAPIBase::ListImportantParams(int32_t count, std::vector<int>& out) const {
    if (count <= 0 || count >= NParams())
        return;
    for (int i = 0; i < count; ++i)
        out.push_back(i);
}

void IAPIBase::QueueParamValueForUI(int32_t index, double value, bool normalised) {
    if (normalised) {
        if (const IParam* param = GetParam(index))
            value = param->FromNormalised(value);
    }
    std::lock_guard lock(mParamQueueMutex);
    mParamChangesToEditor.Push({index, value});
}

bool IAPIBase::GetOptionalText(char* out) const {
    if (out)
        *out = '\0';
    return false;
}

void IAPIBase::GetHostTimeInfo(int32_t* a, int32_t* b, int32_t* c) const {
    for (int32_t* out : {a, b, c})
        if (out)
            *out = 0;
}

void IAPIBase::SetParamFromNormalised(int32_t index, double normalisedValue) {
    IParam* param = GetParam(index);
    if (!param)
        return;
    param->SetNormalised(normalisedValue);
    NotifyHostParamChanged(index, normalisedValue);
    OnParamChangeWithSource(index, kSourceEditor, -1);
}

void IAPIBase::StartUITimer() {
    mUITimer.reset();
    mUITimer = Timer::Make([this](Timer& timer) { OnUITimer(timer); }, kUITimerMs);
}

void IAPIBase::OnUITimer(Timer&) {
    DrainCallbackQueues();
    if (mHasUI) {
        ParamChange change;
        while (mParamChangesToEditor.Pop(change))
            SendParameterValueToUI(change.index, change.value, false);
        IMidiMsg msg;
        while (mMidiToEditor.Pop(msg))
            DeliverMidiMsgToUI(msg);
        SysExRecord record;
        while (mSysExToEditor.Pop(record)) {
            const ISysEx view{record.offset, std::clamp(record.size, 0, SysExRecord::kMaxBytes),
                              record.data};
            DeliverSysExToUI(view);
        }
    }
    OnIdle();
}

} // namespace vx

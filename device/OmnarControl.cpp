#include "device/OmnarControl.h"
#include "platform/sys/Open.h"

#include "controls/ITextControl.h"
#include "device/DeviceMessage.h"
#include "device/FactoryIRNames.h"
#include "device/ModeDefaults.h"
#include "device/OmnarConfig.h"
#include "device/ParamTable.h"
#include "framework/Timer.h"
#include "toolkit/ICanvas.h"

#include <mutex>

namespace {

// One transfer timer for the process, made by the first editor object.
std::unique_ptr<vx::Timer>& TransferTimer() {
    static std::unique_ptr<vx::Timer> timer;
    return timer;
}

} // namespace

OmnarControl::OmnarControl(const vx::InstanceInfo& info)
    : vx::IStandaloneApp(info, omnar::OmnarPluginConfig()) {
    mDeviceParamIds = omnar::DeviceParamIdTable;
    mOpenDocument = [](const std::string& path) { return sys::OpenPath(path); };
    mAmpModeDefaults = omnar::AmpModeDefaults;
    mReverbModeDefaults = omnar::ReverbModeDefaults;
    for (std::size_t i = 0; i < mFactoryIRNames.size(); ++i)
        mFactoryIRNames[i] = omnar::FactoryIRNameTable[i];

    if (!TransferTimer())
        TransferTimer() =
            vx::Timer::Make([this](vx::Timer& timer) { OnZMK3Timer(timer); }, kTransferTimerMs);

    // mApplyingValues starts true: nothing reaches the device while the defaults are set.
    omnar::SetUpParameters(ParamPointers());

    // No platform context exists yet: the object runs without a panel.
    SetMakeGraphicsFunc([] { return std::unique_ptr<vx::ui::ICanvas>(); });
    SetLayoutFunc([this](vx::ui::ICanvas* canvas) { LayoutPages(canvas); });
}

OmnarControl::~OmnarControl() {
    if (TransferTimer()) {
        TransferTimer()->Stop();
        TransferTimer().reset();
    }
}

std::unique_ptr<OmnarControl> CreatePlugInstance(const vx::InstanceInfo& info) {
    static std::mutex creation;
    std::lock_guard lock(creation);
    return std::make_unique<OmnarControl>(info);
}

std::array<vx::IParam*, omnar::kParamCount> OmnarControl::ParamPointers() const {
    std::array<vx::IParam*, omnar::kParamCount> params{};
    for (int i = 0; i < omnar::kParamCount; ++i)
        params[std::size_t(i)] = GetParam(i);
    return params;
}

std::string OmnarControl::ControlText(int tag) const {
    const vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return {};
    const auto* control = dynamic_cast<vx::ui::ITextControl*>(canvas->FindControlByTag(tag));
    return control ? control->GetString() : std::string();
}

void OmnarControl::Send(const omnar::DeviceMessage& message) {
    SendSysEx(message.View());
}

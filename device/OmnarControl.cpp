#include "device/OmnarControl.h"
#include "platform/sys/Open.h"

#include "controls/ITextControl.h"
#include "device/DeviceMessage.h"
#include "device/FactoryIRNames.h"
#include "device/ModeDefaults.h"
#include "device/OmnarConfig.h"
#include "device/ParamTable.h"
#include "device/ReplyRules.h"
#include "framework/Timer.h"
#include "render/view/ICanvasMac.h"
#include "toolkit/ICanvas.h"

#include <mutex>

namespace {

// The panel: 1920 x 1200 units at 60 frames a second, drawn at half scale.
constexpr int kPanelWidth = 1920;
constexpr int kPanelHeight = 1200;
constexpr int kPanelFps = 60;
constexpr float kPanelDrawScale = 0.5f;
constexpr uint8_t kParamChangeCommand = 0x50;

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

    SetMakeGraphicsFunc([this] {
        auto canvas = std::make_unique<vx::ui::ICanvasMac>(*this, kPanelWidth, kPanelHeight,
                                                           kPanelFps, kPanelDrawScale);
        canvas->SetBundleId(BundleId());
        canvas->SetAppGroupId(AppGroupId());
        canvas->SetSharedResourcesSubPath("OmnarControl");
        return std::unique_ptr<vx::ui::ICanvas>(std::move(canvas));
    });
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
    const vx::ISysEx view = message.View();
    // Kept so that a refusal can say what it refused.
    if (view.size == omnar::kParamValueSize && view.data[5] == kParamChangeCommand)
        mLastParamSent = {view.data[7], view.data[8]};
    SendSysEx(view);
}

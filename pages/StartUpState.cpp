// Where the layout leaves the panel: the impulse-response page as the one
// effect page shown, the front panel disabled until a device answers, the
// local library in the rows and the panel at its saved size.

#include "device/OmnarControl.h"
#include "pages/GroupOps.h"
#include "pages/PageNames.h"
#include "pages/PanelScale.h"
#include "platform/sys/Folders.h"
#include "toolkit/ICanvas.h"

using namespace omnar::pages;

namespace {

constexpr const char* kHiddenBeforeIR[] = {group::kAnalogSim, group::kGate, group::kDynamics,
                                           group::kExpander, group::kCompressor};
constexpr const char* kHiddenAfterIR[] = {
    group::kAmbience,    group::kAmbienceTime, group::kDrive,     group::kBuzzFilter,
    group::kPunchFilter, group::kCrunchFilter, group::kLowFilter, group::kMidFilter,
    group::kHighFilter,  group::kPreamp,       group::kLevel,     group::kAutoFilter,
    group::kChorus};
// Until a device answers.
constexpr const char* kDisabledAtStart[] = {group::kFrontPanel, group::kBankA, group::kBankAPostMid,
                                            group::kBankB};

constexpr int kPanelWidth = 1920;
constexpr int kPanelHeight = 1200;

} // namespace

void OmnarControl::ApplyStartUpState(vx::ui::ICanvas& canvas) {
    for (const char* name : kHiddenBeforeIR)
        HideGroup(canvas, name, true);
    HideGroup(canvas, group::kIR, false);
    for (const char* name : kHiddenAfterIR)
        HideGroup(canvas, name, true);
    for (const char* name : kDisabledAtStart)
        DisableGroup(canvas, name, true);
}

void OmnarControl::LoadLibraryIntoPanel() {
    RemoveAbandonedLibraryFiles();
    InstallFactoryIRs();
    ListPresetFolder();
    RefreshPresetList();
}

void OmnarControl::LayoutPages(vx::ui::ICanvas* canvas) {
    if (!canvas || canvas->NControls() > 0)
        return;
    canvas->AssertMainThread();
    BuildPanel(*canvas);
    ApplyStartUpState(*canvas);
    mLayoutBuilt = true;
    LoadLibraryIntoPanel();
    canvas->Resize(kPanelWidth, kPanelHeight, ReadPanelScale(sys::SettingsFilePath()), true);
}

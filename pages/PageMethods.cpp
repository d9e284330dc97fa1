// Page switching: the effect pages share one area, each a set of groups laid
// on top of each other. A page method hides them all, records its page, sets
// the dynamics curve and the display hint, and shows its own groups.

#include "controls/IDynamicsResponseGraph.h"
#include "device/OmnarControl.h"
#include "pages/GroupOps.h"
#include "pages/PageNames.h"
#include "toolkit/ICanvas.h"

using namespace omnar::pages;

namespace {

// In the order HideControls and ShowControls walk them.
constexpr const char* kEffectGroups[] = {
    group::kAnalogSim,    group::kGate,       group::kDynamics,    group::kExpander,
    group::kCompressor,   group::kIR,         group::kIRDisplay,   group::kAmbience,
    group::kAmbienceTime, group::kBuzzFilter, group::kPunchFilter, group::kCrunchFilter,
    group::kLowFilter,    group::kMidFilter,  group::kHighFilter,  group::kDrive,
    group::kPreamp,       group::kLevel,      group::kAutoFilter,  group::kChorus};

// Of these only "maincontrols" and "drivecontrols" hold controls.
constexpr const char* kDisableAllGroups[] = {"globalcontrols", "switch1controls", "switch2controls",
                                             "pedal1controls", "pedal2controls",  group::kMain,
                                             "filtercontrols", group::kDrive};

enum Page : int {
    kGatePage = 1,
    kDynamicsPage,
    kAmbiencePage,
    kIRPage,
    kAnalogSimPage,
    kFilterPage,
    kFilterBuzzPage,
    kFilterPunchPage,
    kFilterCrunchPage,
    kFilterLowPage,
    kFilterMidPage,
    kFilterHighPage,
    kDrivePage,
    kPreampPage,
    kLevelPage,
    kAutoFilterPage,
    kChorusPage
};

constexpr bool kCurveShown = true;
constexpr bool kCurveHidden = false;
constexpr int kCompressorRatioParam = 25;

// The compressor ratio 1:1 .. 20:1 of the parameter's 0..127, in single precision.
float CompressorRatio(int value) {
    return float(value) / 127.f * 19.f + 1.f;
}

} // namespace

// Every method touches the panel only; without one there is nothing to do.
void OmnarControl::HideControls() {
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    canvas->AssertMainThread();
    if (mDynamicsGraph)
        mDynamicsGraph->Hide(true);
    for (const char* name : kEffectGroups)
        HideGroup(*canvas, name, true);
}

void OmnarControl::ShowControls() {
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    canvas->AssertMainThread();
    if (mDynamicsGraph)
        mDynamicsGraph->Hide(false);
    for (const char* name : kEffectGroups)
        HideGroup(*canvas, name, false);
}

void OmnarControl::DisableAllControls(bool disable) {
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    canvas->AssertMainThread();
    for (const char* name : kDisableAllGroups)
        DisableGroup(*canvas, name, disable);
}

void OmnarControl::ShowPage(int page, bool curve, std::initializer_list<const char*> groups) {
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    HideControls();
    mCurrentPage = page;
    if (mDynamicsGraph)
        mDynamicsGraph->Hide(!curve);
    // The hint invites a click on the display; the IR page is where it leads.
    HideTag(*canvas, tag::kIRHint, page == kIRPage);
    for (const char* name : groups)
        HideGroup(*canvas, name, false);
}

void OmnarControl::ShowGate() {
    ShowPage(kGatePage, kCurveShown, {group::kGate});
}

void OmnarControl::ShowDynamics() {
    ShowPage(kDynamicsPage, kCurveShown, {group::kDynamics, group::kCompressor});
    if (GetGraphics() && mDynamicsGraph)
        mDynamicsGraph->SetUpperRatio(CompressorRatio(ParamInt(kCompressorRatioParam)));
}

void OmnarControl::ShowAmbience() {
    ShowPage(kAmbiencePage, kCurveHidden, {group::kIRDisplay, group::kAmbience});
}

void OmnarControl::ShowIR() {
    ShowPage(kIRPage, kCurveHidden, {group::kIR, group::kIRDisplay});
}

void OmnarControl::ShowAnalogSim() {
    ShowPage(kAnalogSimPage, kCurveHidden, {group::kAnalogSim, group::kIRDisplay});
}

// No control carries "filtercontrols": only the display shows.
void OmnarControl::ShowFilter() {
    ShowPage(kFilterPage, kCurveHidden, {group::kIRDisplay, "filtercontrols"});
}

void OmnarControl::ShowFilterBuzz() {
    ShowPage(kFilterBuzzPage, kCurveHidden, {group::kBuzzFilter, group::kIRDisplay});
}

void OmnarControl::ShowFilterPunch() {
    ShowPage(kFilterPunchPage, kCurveHidden, {group::kPunchFilter, group::kIRDisplay});
}

void OmnarControl::ShowFilterCrunch() {
    ShowPage(kFilterCrunchPage, kCurveHidden, {group::kCrunchFilter, group::kIRDisplay});
}

void OmnarControl::ShowFilterLow() {
    ShowPage(kFilterLowPage, kCurveHidden, {group::kLowFilter, group::kIRDisplay});
}

void OmnarControl::ShowFilterMid() {
    ShowPage(kFilterMidPage, kCurveHidden, {group::kMidFilter, group::kIRDisplay});
}

void OmnarControl::ShowFilterHigh() {
    ShowPage(kFilterHighPage, kCurveHidden, {group::kHighFilter, group::kIRDisplay});
}

void OmnarControl::ShowDrive() {
    ShowPage(kDrivePage, kCurveHidden, {group::kIRDisplay, group::kDrive});
}

void OmnarControl::ShowPreamp() {
    ShowPage(kPreampPage, kCurveHidden, {group::kIRDisplay, group::kPreamp});
}

void OmnarControl::ShowLevel() {
    ShowPage(kLevelPage, kCurveShown, {group::kLevel});
}

void OmnarControl::ShowAutoFilter() {
    ShowPage(kAutoFilterPage, kCurveHidden, {group::kIRDisplay, group::kAutoFilter});
}

void OmnarControl::ShowChorus() {
    ShowPage(kChorusPage, kCurveHidden, {group::kIRDisplay, group::kChorus});
}

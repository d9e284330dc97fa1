// The main panel's controls that belong to no effect page: preset IMPORT and
// EXPORT, the footswitch strip with its save button and LED, and the pieces
// laid among the IR page's controls (dynamics curve, hint, the click area
// over the display, the preset name and the standalone notice).

#include "controls/IBitmapControls.h"
#include "controls/IDynamicsResponseGraph.h"
#include "controls/IInvisibleSelectControl.h"
#include "controls/ITextControl.h"
#include "device/OmnarControl.h"
#include "pages/GroupOps.h"
#include "pages/PageBuilder.h"
#include "pages/PageNames.h"
#include "pages/PresetNameControl.h"

using namespace omnar::pages;

namespace {

struct Footswitch {
    float x, y;
    int tag;
};
constexpr Footswitch kFootswitches[] = {{1460, 510, tag::kFootswitchUp},
                                        {1100, 510, tag::kFootswitchSelect},
                                        {733, 510, tag::kFootswitchDown},
                                        {1459, 322, tag::kFootswitchBank}};

constexpr vx::ui::IColor kCyan{255, 100, 255, 255};
constexpr vx::ui::IColor kTransparent{0, 0, 0, 0};

// The curve starts flat: expander and compressor both at ratio 1.
constexpr double kCurveLowerBreakDb = -60.0;
constexpr double kCurveUpperBreakDb = -51.0;

constexpr int kOpenIRPageParam = 83;

} // namespace

void OmnarControl::LayoutMainControls(PageBuilder& builder) {
    const PageStyles& s = builder.styles;
    builder.Button({15, 170, 130, 215}, "IMPORT", s.pageButton, tag::kNone, group::kMain,
                   [this] { OnImportPresetButton(); });
    builder.Button({135, 170, 250, 215}, "EXPORT", s.pageButton, tag::kNone, group::kMain,
                   [this] { OnExportPresetButton(); });
    const vx::ui::IBitmapHandle fswitch = builder.Bitmap("fswitch.png", 2);
    for (const Footswitch& f : kFootswitches)
        builder.Attach(
            new vx::ui::IBButtonControl(
                f.x, f.y, fswitch, [this, tag = f.tag](vx::ui::IControl*) { OnFootswitch(tag); }),
            f.tag, group::kFrontPanel);
    // Lit with the red background while knob bank B is active.
    builder.Image(1170, 256, "led.png", tag::kFilterLed, group::kFilterLed);
    HideTag(builder.canvas, tag::kFilterLed, true);
    builder.Attach(
        new vx::ui::IBButtonControl(869, 314, builder.Bitmap("save.png", 2),
                                    [this](vx::ui::IControl*) { OnFootswitch(tag::kSaveButton); }),
        tag::kSaveButton, group::kFrontPanel);
}

void OmnarControl::LayoutDisplayArea(PageBuilder& builder) {
    mDynamicsGraph =
        builder.Attach(new vx::ui::IDynamicsResponseGraph({1200, 700, 1865, 1130}, kCyan),
                       tag::kNone, group::kMain);
    if (mDynamicsGraph) {
        mDynamicsGraph->SetLowerBreakPoint(kCurveLowerBreakDb);
        mDynamicsGraph->SetLowerSlope(1.0);
        mDynamicsGraph->SetUpperBreakPoint(kCurveUpperBreakDb);
        mDynamicsGraph->SetUpperRatio(1.0);
        mDynamicsGraph->Hide(true);
    }
    vx::ui::IText hint = builder.styles.brightList;
    hint.vAlign = 0;
    builder.Text({1350, 658, 1817, 678}, "CLICK HERE TO EDIT IMPULSE RESPONSE", hint, tag::kIRHint,
                 group::kMain);
    HideTag(builder.canvas, tag::kIRHint, true);
    // No group: no page switch may hide it.
    builder.Attach(
        new vx::ui::IInvisibleSelectControl3(kOpenIRPageParam, 0, {1180, 650, 1880, 1160}),
        tag::kNone, group::kNone);
}

void OmnarControl::LayoutPresetName(PageBuilder& builder) {
    auto* name = builder.Attach(new PresetNameControl({20, 120, 260, 144},
                                                      "Quorbel Omnar Default Preset Name",
                                                      builder.styles.brightList, kTransparent),
                                tag::kPresetName, group::kMain);
    if (name)
        name->SetActionFunction([this](vx::ui::IControl*) { OnPresetNameEdited(); });
}

void OmnarControl::LayoutNotice(PageBuilder& builder) {
    builder.Button({208, 306, 818, 750}, "Editing is not possible in Standalone Mode.",
                   builder.styles.notice, tag::kStandaloneNotice, group::kMain);
    HideTag(builder.canvas, tag::kStandaloneNotice, true);
}

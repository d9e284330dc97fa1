// The impulse-response page: the list of nine choices with its slider and
// click area, the spectrum display, and for slots 7 and 8 the MODE switch,
// value knob, readout and IMPORT button. The main panel's display overlays
// and the preset name are built among its controls, so they lie above the
// display and the list.

#include "controls/IBitmapControls.h"
#include "controls/IFreqResponseGraph.h"
#include "controls/IInvisibleSelectControl.h"
#include "controls/ISVGControls.h"
#include "controls/ITextControl.h"
#include "controls/IVSwitchControls.h"
#include "device/OmnarControl.h"
#include "pages/GroupOps.h"
#include "pages/PageBuilder.h"
#include "pages/PageNames.h"

using namespace omnar::pages;

namespace {

// The two user slots share one row layout, 50 units apart.
struct UserSlot {
    int slot;
    float y;
    int modeParam, knobParam;
    int importTag, listTag, modeTag, knobTag, readoutTag;
};
constexpr UserSlot kUserSlots[] = {
    {7, 0, 40, 42, tag::kIRImportSlot7, tag::kIRListSlot7, tag::kIRModeSlot7, tag::kIRKnobSlot7,
     tag::kIRReadoutSlot7},
    {8, 50, 41, 43, tag::kIRImportSlot8, tag::kIRListSlot8, tag::kIRModeSlot8, tag::kIRKnobSlot8,
     tag::kIRReadoutSlot8},
};
// Enabled while the slot's MODE selects the user response.
constexpr int kDisabledAtStart[] = {tag::kIRKnobSlot7, tag::kIRImportSlot7, tag::kIRListSlot7,
                                    tag::kIRKnobSlot8, tag::kIRImportSlot8, tag::kIRListSlot8};

constexpr int kSliderParam = 82;
constexpr int kListParam = 81;
constexpr int kFactorySlots = 8;
constexpr float kRowPitch = 50.f;
constexpr vx::ui::IColor kCyan{255, 100, 255, 255};

// The display's frame: FFT size, window, axes.
constexpr int kFFTSize = 4096;
constexpr int kRectangularWindow = 0;
constexpr double kMinFreq = 20.0, kMaxFreq = 20480.0, kDbRange = 100.0, kDbOffset = 30.0;

vx::ui::IVStyle ModeSwitchStyle(const PageStyles& s) {
    vx::ui::IVStyle style = s.knob;
    style.roundness = 1.f;
    return style;
}

} // namespace

void OmnarControl::LayoutIRPage(PageBuilder& builder) {
    const PageStyles& s = builder.styles;
    builder.Image(429, 705, "irbg.png", tag::kNone, group::kIR);
    for (const UserSlot& u : kUserSlots)
        builder.Button({984, 1068 + u.y, 1054, 1106 + u.y}, "IMPORT", s.pageButton, u.importTag,
                       group::kIR, [this, slot = u.slot] { OnIRImportButton(slot); });
    // Beside IMPORT, left of the display's click area: the pedal's own IRs to choose from.
    for (const UserSlot& u : kUserSlots)
        builder.Button({1060, 1068 + u.y, 1120, 1106 + u.y}, "LIST", s.pageButton, u.listTag,
                       group::kIR, [this, slot = u.slot] { OnIRListButton(slot); });
    for (const UserSlot& u : kUserSlots)
        builder.Attach(new vx::ui::IVSlideSwitchControl({740, 1072 + u.y, 800, 1100 + u.y},
                                                        u.modeParam, "MODE", ModeSwitchStyle(s),
                                                        true, vx::ui::EDirection::Horizontal),
                       u.modeTag, group::kIR);
    const vx::ui::ISVGHandle knob = builder.Svg("vector-knob.svg");
    for (const UserSlot& u : kUserSlots)
        builder.Attach(
            new vx::ui::ISVGKnobControl({815, 1070 + u.y, 845, 1100 + u.y}, knob, u.knobParam),
            u.knobTag, group::kIR);
    const vx::ui::IText readout = RobotoText(22, {255, 51, 255, 255}, 1, 0);
    builder.Text({905, 1077, 955, 1127}, "0.00", readout, tag::kIRReadoutSlot7, group::kIR);
    builder.Text({905, 1127, 955, 1161}, "0.00", readout, tag::kIRReadoutSlot8, group::kIR);
    for (const int t : kDisabledAtStart)
        DisableTag(builder.canvas, t, true);

    const vx::ui::IBitmapHandle track = builder.Bitmap("micbg.png");
    const vx::ui::IRECT sliderRect{380, 717, 380 + float(track.W), 717 + float(track.H)};
    builder.Attach(new vx::ui::IBSliderControl(sliderRect, builder.Bitmap("mic.png"), track,
                                               kSliderParam, vx::ui::EDirection::Vertical, 4.0),
                   tag::kIRSlider, group::kIR);
    mIRDisplay = builder.Attach(new vx::ui::IFreqResponseGraph({1200, 685, 1872, 1135}, kCyan,
                                                               kFFTSize, kRectangularWindow),
                                tag::kNone, group::kIRDisplay);
    if (mIRDisplay) {
        mIRDisplay->SetRanges(kMinFreq, kMaxFreq, kDbRange, kDbOffset);
        mIRDisplay->SetNoSmoothing(true);
    }

    LayoutDisplayArea(builder);
    LayoutIRSlotList(builder);
    LayoutPresetName(builder);
}

// Names stored in the factory slot files replace the built-in ones; "Flat
// Response" stays.
void OmnarControl::LayoutIRSlotList(PageBuilder& builder) {
    for (int n = 0; n < kFactorySlots; ++n)
        if (FactoryIRFileExists(n))
            LoadFactoryIRName(n);
    vx::ui::IText rowText = builder.styles.brightList;
    for (int i = 0; i < int(mFactoryIRNames.size()); ++i) {
        const float y = kRowPitch * float(i);
        builder.Attach(new vx::ui::ITextControl({495, 713 + y, 725, 756 + y},
                                                mFactoryIRNames[std::size_t(i)].c_str(), rowText,
                                                {0, 38, 38, 38}, false),
                       i == 0 ? tag::kNone : tag::kIRListRow1 + i - 1, group::kIR);
    }
    mIRListSelect =
        builder.Attach(new vx::ui::IInvisibleSelectControl3(kListParam, 0, {445, 713, 695, 1163}),
                       tag::kNone, group::kIR);
}

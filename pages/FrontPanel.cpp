// The front panel: the two knob banks mirroring the pedal, the level knob,
// the preset display and the preset list with its click area and scroll bar.

#include "controls/IBitmapControls.h"
#include "controls/IInvisibleSelectControl.h"
#include "controls/ITextControl.h"
#include "controls/IVSliderControls.h"
#include "device/OmnarControl.h"
#include "pages/PageBuilder.h"
#include "pages/PageNames.h"

#include <cstdio>

using namespace omnar::pages;

namespace {

struct BankKnob {
    float x, y;
    int param;
    const char* group;
};

// Both banks take the same seven places; on the middle ones a pre-mid and a
// post-mid knob share a place.
constexpr BankKnob kBankKnobs[] = {
    {716.5f, 136.f, 5, group::kBankA},         {860.5f, 136.f, 6, group::kBankA},
    {1005.f, 136.f, 12, group::kBankAPostMid}, {1005.f, 136.f, 3, group::kBankAPreMid},
    {1150.f, 136.f, 7, group::kBankA},         {1295.f, 136.f, 4, group::kBankA},
    {933.5f, 294.5f, 10, group::kBankA},       {1077.5f, 294.5f, 71, group::kBankA},
    {716.5f, 136.f, 1, group::kBankB},         {860.5f, 136.f, 61, group::kBankB},
    {1005.f, 136.f, 13, group::kBankBPostMid}, {1005.f, 136.f, 11, group::kBankBPreMid},
    {1150.f, 136.f, 47, group::kBankBPostMid}, {1150.f, 136.f, 45, group::kBankBPreMid},
    {1295.f, 136.f, 8, group::kBankB},         {933.5f, 294.5f, 25, group::kBankB},
    {1077.5f, 294.5f, 68, group::kBankB},
};
constexpr BankKnob kLevelKnob{701.5f, 279.f, 0, group::kFrontPanel};

constexpr vx::ui::IRECT kDisplayRect{1255, 315, 1383, 403};

// The list shows 19 rows of 50 units from y 228; the others wait below.
constexpr float kListTop = 228.f;
constexpr float kRowPitch = 50.f;
constexpr float kListBottom = 1178.f;
constexpr vx::ui::IRECT RowRect(int i) {
    return {1, kListTop + kRowPitch * float(i), 261, kListTop + 48 + kRowPitch * float(i)};
}
constexpr vx::ui::IColor kRowBackground{255, 38, 38, 38};
constexpr int kPresetListRowParam = 80;
constexpr int kPresetListScrollParam = 79;

void AddBitmapKnob(PageBuilder& builder, const BankKnob& knob, const vx::ui::IBitmapHandle& bmp) {
    builder.Attach(
        new vx::ui::IBKnobRotaterControl(FrameRect(knob.x, knob.y, bmp), bmp, knob.param),
        tag::kNone, knob.group);
}

vx::ui::IVStyle ScrollSliderStyle(const vx::ui::IVStyle& base) {
    vx::ui::IVStyle style = base;
    style.showLabel = false;
    style.showValue = false;
    style.roundness = 0.2f;
    return style;
}

} // namespace

void OmnarControl::LayoutFrontPanel(PageBuilder& builder) {
    const PageStyles& s = builder.styles;
    const vx::ui::IBitmapHandle knob = builder.Bitmap("knobrotate.png");
    for (const BankKnob& k : kBankKnobs)
        AddBitmapKnob(builder, k, knob);
    AddBitmapKnob(builder, kLevelKnob, builder.Bitmap("knobrotatebig.png"));
    ArrangeKnobs(builder.canvas);

    builder.Text(kDisplayRect, "188", s.displayShadow, tag::kNone, group::kFrontPanel);
    builder.Text(kDisplayRect, "00", s.display, tag::kPresetDisplay, group::kFrontPanel);

    for (int i = 0; i < int(mPresetRows.size()); ++i) {
        auto* row =
            builder.Attach(new vx::ui::ITextControl(RowRect(i), "", s.list, kRowBackground, false),
                           tag::kNone, group::kNone);
        mPresetRows[std::size_t(i)] = row;
        if (!row)
            continue;
        char number[40];
        std::snprintf(number, sizeof number, " %02d", i + 1);
        row->ClearString();
        row->SetString(number);
        // Only the rows inside the list's frame show; scrolling reveals the others.
        row->Hide(RowRect(i).B > kListBottom);
    }
    mPresetListSelector =
        builder.Attach(new vx::ui::IInvisibleSelectControl3(kPresetListRowParam, 0,
                                                            {1, kListTop, 261, kListBottom}),
                       tag::kNone, group::kNone);
    builder.Attach(new vx::ui::IVSliderControl({260, 230, 300, 1170}, kPresetListScrollParam,
                                               "IVSliderControl", ScrollSliderStyle(s.base), true,
                                               1.0, 12.f, 0.f, 0.f, 0.f,
                                               vx::ui::EDirection::Vertical, true),
                   tag::kNone, group::kMain);
}

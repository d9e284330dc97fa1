// The overlay pages over the whole panel: the custom impulse-response list,
// the about page and the two progress displays. Each is hidden once built.

#include "controls/IInvisibleSelectControl.h"
#include "controls/ITextControl.h"
#include "device/OmnarControl.h"
#include "pages/GroupOps.h"
#include "pages/PageBuilder.h"
#include "pages/PageColumns.h"
#include "pages/PageNames.h"
#include "toolkit/IPanelControl.h"

#include <cstdio>

using namespace omnar::pages;

namespace {

constexpr vx::ui::IRECT kWholePanel{0, 0, 1920, 1200};
constexpr vx::ui::IColor kWhite{255, 255, 255, 255};

// Two columns of sixteen rows, 28 high on a pitch of 30.
constexpr int kRowsPerColumn = 16;
constexpr float kColumnX[] = {460.f, 770.f};
constexpr int kColumnParam[] = {87, 88};
constexpr float kListTop = 550.f;
constexpr float kRowPitch = 30.f;
constexpr int kBankParam = 86;

struct ProgressDisplay {
    const char* title;
    int titleTag, knobTag, textTag;
    const char* group;
};
constexpr ProgressDisplay kProgressDisplays[] = {
    {"Loading Presets...", tag::kProgressTitle, tag::kProgressKnob, tag::kProgressText,
     group::kProgress},
    {"Upgrading Factory Presets...", tag::kFactoryTitle, tag::kFactoryKnob, tag::kFactoryText,
     group::kFactoryPreset},
};

void AddProgressDisplay(PageBuilder& builder, const ProgressDisplay& d) {
    builder.Attach(
        new vx::ui::IPanelControl({850, 400, 1250, 800}, vx::ui::IColor(208, 32, 32, 32)),
        tag::kNone, d.group);
    builder.Text({850, 400, 1250, 470}, d.title, RobotoText(40, kWhite, 1, 1), d.titleTag, d.group);
    AddEffectKnob(builder, {950, 500, 1150, 700}, -1, "PRESET", d.group, d.knobTag);
    builder.Text({850, 400, 1250, 800}, "0 %", RobotoText(60, kWhite, 1, 1), d.textTag, d.group);
    HideGroup(builder.canvas, d.group, true);
}

} // namespace

void OmnarControl::LayoutCustomIRList(PageBuilder& builder) {
    builder.Attach(
        new vx::ui::IPanelControl({314, 470, 1164, 1070}, vx::ui::IColor(223, 16, 16, 16)),
        tag::kNone, group::kCustomIR);
    // Under everything that follows: a click no other control takes closes the list.
    builder.Button(kWholePanel, "", builder.styles.closing, tag::kNone, group::kCustomIR,
                   [this] { OnCloseCustomIRList(); });
    builder.Attach(new vx::ui::ICaptionControl({689, 490, 839, 520}, kBankParam,
                                               RobotoText(24, {255, 0, 0, 0}, 1, 1),
                                               {255, 200, 200, 200}, false),
                   tag::kNone, group::kCustomIR);

    const vx::ui::IText rowText = RobotoText(24, {255, 100, 255, 255}, 0, 1);
    for (int column = 0; column < 2; ++column) {
        const float x = kColumnX[column];
        for (int k = 0; k < kRowsPerColumn; ++k) {
            const int index = column * kRowsPerColumn + k;
            const float y = kListTop + kRowPitch * float(k);
            auto* row = builder.Attach(new vx::ui::ITextControl({x, y, x + 300, y + 28}, "",
                                                                rowText, {255, 38, 38, 38}, false),
                                       tag::kNone, group::kCustomIR);
            mIRListRows[std::size_t(index)] = row;
            if (!row)
                continue;
            char text[32];
            std::snprintf(text, sizeof text, "Empty Slot %d", index + 1);
            row->ClearString();
            row->SetString(text);
        }
        auto* select = builder.Attach(new vx::ui::IInvisibleSelectControl3(
                                          kColumnParam[column], 0, {x, kListTop, x + 300, 1030}),
                                      tag::kNone, group::kCustomIR);
        (column == 0 ? mCustomIRSelectLeft : mCustomIRSelectRight) = select;
    }
    HideGroup(builder.canvas, group::kCustomIR, true);
    for (int slot = 0; slot < kIRNameCount; ++slot)
        BuildIRNameList(slot);
}

void OmnarControl::LayoutAboutAndProgressPages(PageBuilder& builder) {
    builder.HiddenImage(0, 0, "about.png", tag::kNone, group::kAbout);
    VxString version; // "v1.2.0"
    PluginVersionText(version);
    builder.Text({1275, 310, 1375, 360}, version.Get(), RobotoText(45, kWhite, 1, 1), tag::kNone,
                 group::kAbout);
    // Last, so a click anywhere on the page closes it.
    builder.Button(kWholePanel, "", builder.styles.closing, tag::kNone, group::kAbout,
                   [this] { OnCloseAbout(); });
    HideGroup(builder.canvas, group::kAbout, true);

    for (const ProgressDisplay& d : kProgressDisplays)
        AddProgressDisplay(builder, d);
}

// The ambience page (reverb type and three reverb knobs), the amplifier page
// (amp model and three drive knobs) and the pre-amp page.

#include "controls/IBitmapControls.h"
#include "device/OmnarControl.h"
#include "pages/EffectPages.h"
#include "pages/PageBuilder.h"
#include "pages/PageColumns.h"
#include "pages/PageNames.h"

#include <span>

using namespace omnar::pages;

namespace {

// The radio grid shared by the reverb types and the amp models: five
// columns, two rows; button n takes place n.
constexpr float kRadioX[] = {354.f, 517.f, 657.f, 798.f, 938.f};
constexpr float kRadioY[] = {730.f, 765.f};

constexpr const char* kReverbRadios[] = {
    "radio-room.png",   "radio-hall.png", "radio-spring.png",  "radio-plate.png",
    "radio-chorus.png", "radio-echo.png", "radio-echoverb.png"};
constexpr const char* kAmpRadios[] = {
    "amp-bassorvo.png", "amp-kelbass.png",  "amp-twinorvo.png", "amp-eraone.png",  "amp-eratwo.png",
    "amp-hinge.png",    "amp-kelstack.png", "amp-inkplate.png", "amp-isleton.png", "amp-razen.png"};

constexpr float kPreampColumnX = 1160.f;

// Each radio gets its own two-frame bitmap (off, lit) and fires on press and release.
template <class Action>
void AddRadioRow(PageBuilder& builder, std::span<const char* const> bitmaps, int firstTag,
                 const char* group, Action action) {
    for (int n = 0; n < int(bitmaps.size()); ++n) {
        const vx::ui::IBitmapHandle bitmap = builder.Bitmap(bitmaps[std::size_t(n)], 2);
        builder.Attach(new vx::ui::IBButtonControl(kRadioX[n % 5], kRadioY[n / 5], bitmap,
                                                   [action, n](vx::ui::IControl*) { action(n); }),
                       firstTag + n, group);
    }
}

} // namespace

void OmnarControl::LayoutAmbiencePage(PageBuilder& builder) {
    AddRadioRow(builder, kReverbRadios, tag::kReverbRadio0, group::kAmbience,
                [this](int type) { OnReverbRadio(type); });
    // The reverb type shows or hides TIME on its own.
    const struct {
        KnobColumn column;
        const char* group;
    } columns[] = {{{"LEVEL", 8, "50.00", "%", tag::kReverbLevel}, group::kAmbience},
                   {{"DECAY", 17, "0.00", "%", tag::kReverbDecay}, group::kAmbience},
                   {{"TIME", 16, "0.00", "ms", tag::kReverbTime}, group::kAmbienceTime}};
    for (int i = 0; i < 3; ++i)
        AddKnobColumn(builder, kThreeColumnX[i], kLargeColumnTop, columns[i].column,
                      columns[i].group);
}

void OmnarControl::LayoutDrivePages(PageBuilder& builder) {
    AddRadioRow(builder, kAmpRadios, tag::kAmpRadio0, group::kDrive,
                [this](int model) { OnAmpRadio(model); });
    AddThreeColumns(builder, kLargeColumnTop,
                    {{"PRE-AMP", 1, "50.00", "%", tag::kPreampGain},
                     {"DRIVE", 5, "0.00", "%", tag::kDrive},
                     {"PRESENCE", 4, "0.00", "%", tag::kPresence}},
                    group::kDrive);

    AddKnobColumn(builder, kPreampColumnX, kLargeColumnTop,
                  {"PARALLEL CLEAN", 36, "50.0", "%", tag::kParallelClean}, group::kPreamp);
}

void OmnarControl::LayoutEffectPages(PageBuilder& builder) {
    LayoutAmbiencePage(builder);
    AddAnalogSimPage(builder);
    AddLevelPage(builder);
    LayoutDrivePages(builder);
    AddDynamicsPages(builder);
    AddFilterPages(builder);
    AddAutoFilterPage(builder);
    AddChorusPage(builder);
}

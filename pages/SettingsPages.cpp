// The global settings page and its two MIDI sub-pages (controller numbers and
// the program map). All three lie on "globalbg.png" over the whole window.

#include "controls/ITextControl.h"
#include "controls/IVNumberBoxControl.h"
#include "device/OmnarControl.h"
#include "pages/GroupOps.h"
#include "pages/PageBuilder.h"
#include "pages/PageNames.h"

#include <numeric>

using namespace omnar::pages;

namespace {

constexpr vx::ui::IColor kWhite{255, 255, 255, 255};

// A labelled value field: the caption above, the parameter's display text
// below; a click on the value offers the parameter's values.
struct SettingField {
    float x, y; // top-left of the caption
    const char* caption;
    int param;
};
constexpr SettingField kFields[] = {
    {760, 250, "PATCH OFFSET", 91},        {760, 350, "SAFE LEVEL MODE", 100},
    {760, 450, "DISENGAGE ALL POTS", 95},  {760, 550, "PRESET PROTECTION WRITER", 97},
    {760, 650, "TUNER FREQUENCY", 96},     {980, 250, "MIDI MAPPING", 89},
    {980, 350, "MIDI THRU FUNCTION", 90},  {980, 450, "MIDI CC MODE", 92},
    {980, 550, "MIDI CHANNEL SELECT", 93}, {980, 650, "TUNER DETUNE", 98},
};
constexpr SettingField kCabinetBypass{1200, 650, "CABINET BYPASS", 99};

void AddField(PageBuilder& builder, const SettingField& f) {
    builder.Text({f.x, f.y, f.x + 200, f.y + 30}, f.caption, RobotoText(19, kWhite, 1, 0),
                 tag::kNone, group::kGlobalSettings);
    builder.Attach(new vx::ui::ICaptionControl({f.x, f.y + 30, f.x + 200, f.y + 70}, f.param,
                                               RobotoText(24, {255, 240, 240, 240}, 1, 1),
                                               {255, 70, 70, 70}, false),
                   tag::kNone, group::kGlobalSettings);
}

// The MIDI CC page: one row per device function, its controller number beside it.
constexpr const char* kCCFunctions[] = {"DRIVE",  "LOW",  "MID",    "HIGH",
                                        "REVERB", "GATE", "FILTER", "LEVEL"};
constexpr int kFirstCCParam = 101;

struct ProgramBox {
    float x;
    const char* caption;
    int param;
    const char* group;
};
// Each place holds a 0-based and a 1-based box; the patch offset picks one.
constexpr ProgramBox kProgramBoxes[] = {
    {900, "Ctrl. Program (0-127)", 109, group::kMidiProgramOffset0},
    {900, "Ctrl. Program (1-128)", 111, group::kMidiProgramOffset1},
    {1150, "Omnar Program (0-127)", 110, group::kMidiProgramOffset0},
    {1150, "Omnar Program (1-128)", 112, group::kMidiProgramOffset1},
};

// Attaching takes the parameter's range and default in place of these.
void AddNumberBox(PageBuilder& builder, const vx::ui::IRECT& bounds, int param, const char* caption,
                  const char* group) {
    builder.Attach(new vx::ui::IVNumberBoxControl(bounds, param, nullptr, caption,
                                                  builder.styles.base, 50, 1, 100, false, "%0.0f",
                                                  true),
                   tag::kNone, group);
}

} // namespace

void OmnarControl::LayoutGlobalSettingsPage(PageBuilder& builder) {
    const PageStyles& s = builder.styles;
    const vx::ui::IVStyle smallButton = WithLabelSize(s.pageButton, 20);
    const auto close = [this] { OnCloseGlobalSettings(); };
    builder.Button({0, 0, 1920, 1200}, "", s.closing, tag::kNone, group::kGlobalSettings, close);
    // Lets clicks outside the fields through to the closing button below.
    if (vx::ui::IControl* background =
            builder.HiddenImage(0, 0, "globalbg.png", tag::kNone, group::kGlobalSettings))
        background->SetIgnoreMouse(true);
    builder.Button({1444, 220, 1499, 260}, "X", WithLabelSize(s.pageButton, 30), tag::kNone,
                   group::kGlobalSettings, close);
    for (const SettingField& f : kFields)
        AddField(builder, f);
    builder.Button({1200, 283, 1300, 323}, "SETUP", smallButton, tag::kNone, group::kGlobalSettings,
                   [this] { OnOpenMidiProgramMap(); });
    builder.Button({1200, 483, 1300, 523}, "SETUP", smallButton, tag::kNone, group::kGlobalSettings,
                   [this] { OnOpenMidiCCMap(); });
    AddField(builder, kCabinetBypass);
    builder.Text({900, 750, 1300, 780}, "RESET TO FACTORY DEFAULT SETTINGS",
                 RobotoText(28, {255, 240, 240, 240}, 1, 0), tag::kNone, group::kGlobalSettings);
    const char* resets[] = {"ALL", "PRESETS", "SETTINGS"};
    for (int type = 0; type < 3; ++type) {
        const float x = 760 + 220 * float(type);
        builder.Button({x, 800, x + 200, 850}, resets[type], smallButton, tag::kNone,
                       group::kGlobalSettings, [this, type] { OnFactoryResetButton(type); });
    }
}

// Hides the global settings page too, once its sub-pages stand.
void OmnarControl::LayoutMidiPages(PageBuilder& builder) {
    const vx::ui::IVStyle backStyle = WithLabelSize(builder.styles.pageButton, 20);
    // The copies of the background take clicks: the page shields the panel.
    builder.HiddenImage(0, 0, "globalbg.png", tag::kNone, group::kMidiCC);
    for (int i = 0; i < 8; ++i) {
        const float y = 353 + 50 * float(i);
        AddNumberBox(builder, {1103, y, 1217, y + 44}, kFirstCCParam + i, "", group::kMidiCC);
    }
    for (int i = 0; i < 8; ++i) {
        const float y = 353 + 50 * float(i);
        builder.Text({863, y, 1077, y + 44}, kCCFunctions[i], RobotoText(30, kWhite, 2, 1),
                     tag::kNone, group::kMidiCC);
    }
    builder.Button({1040, 250, 1160, 300}, "BACK", backStyle, tag::kNone, group::kMidiCC,
                   [this] { OnMidiCCBack(); });
    HideGroup(builder.canvas, group::kMidiCC, true);

    builder.HiddenImage(0, 0, "globalbg.png", tag::kNone, group::kMidiProgram);
    builder.Button({1040, 250, 1160, 300}, "BACK", backStyle, tag::kNone, group::kMidiProgram,
                   [this] { OnMidiProgramBack(); });
    builder.Image(850, 330, "midizelvit.png", tag::kNone, group::kMidiProgram);
    for (const ProgramBox& b : kProgramBoxes)
        AddNumberBox(builder, {b.x, 500, b.x + 150, 550}, b.param, b.caption, b.group);
    HideGroup(builder.canvas, group::kMidiProgram, true);
    HideGroup(builder.canvas, group::kMidiProgramOffset0, true);
    HideGroup(builder.canvas, group::kMidiProgramOffset1, true);

    std::iota(mProgramMap.begin(), mProgramMap.end(), 0);
    HideGroup(builder.canvas, group::kGlobalSettings, true);
}

// The panel in pixels for a person to look at, in build/test-output/pages/:
// the start-up state, the four knob arrangements and every effect page with
// its groups shown directly.

#include "controls/IInvisibleSelectControl.h"
#include "controls/ITextControl.h"
#include "pages/PageNames.h"
#include "tests/pages/PagesFixture.h"
#include "tests/support/HeadlessCanvas.h"
#include "toolkit/ICanvas.h"
#include "toolkit/IPopupMenuControl.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace omnar::test {
namespace {

using namespace omnar::pages;

using vx::test::AttachingHeadlessCanvas;

class ScreenshotFixture : public PagesFixture {
protected:
    ScreenshotFixture() {
        editor->SetMakeGraphicsFunc(
            [this] { return std::make_unique<AttachingHeadlessCanvas>(*editor, 1920, 1200, 1.f); });
    }
    AttachingHeadlessCanvas& Headless() {
        return static_cast<AttachingHeadlessCanvas&>(*editor->GetGraphics());
    }
    void Show(const char* name, bool show) {
        Headless().ForEachControlInGroup(name, [show](vx::ui::IControl* c) { c->Hide(!show); });
    }
    // Draws a frame and writes it; the frame must hold more than one colour.
    void Shoot(const std::string& name) {
        SCOPED_TRACE(name);
        Headless().MarkAllControlsDirty();
        ASSERT_TRUE(Headless().DrawFrame());
        int w = 0, h = 0;
        const std::vector<unsigned char> frame = Headless().LastFrame(&w, &h);
        ASSERT_EQ(w, 960); // the default scale, 0.5
        ASSERT_EQ(h, 600);
        const bool varied =
            std::any_of(frame.begin(), frame.end(), [&](unsigned char v) { return v != frame[0]; });
        EXPECT_TRUE(varied);
        EXPECT_FALSE(Headless().WriteFramePNG("pages/" + name).empty());
    }
    void HideAll(std::initializer_list<const char*> groups) {
        for (const char* name : groups)
            Show(name, false);
    }
    // A progress display part way: the knob at the fraction, its text the percentage.
    void SetProgress(int knobTag, int textTag, double fraction, const char* text) {
        Headless().FindControlByTag(knobTag)->SetValue(fraction);
        static_cast<vx::ui::ITextControl*>(Headless().FindControlByTag(textTag))->SetString(text);
    }
};

struct EffectPage {
    const char* name;
    std::vector<const char*> groups;
};

const EffectPage kEffectPages[] = {
    {"ambience", {group::kAmbience, group::kAmbienceTime}},
    {"amplifier", {group::kDrive}},
    {"pre-amp", {group::kPreamp}},
    {"analog-sim", {group::kAnalogSim}},
    {"gate-and-master-level", {group::kLevel}},
    {"compressor", {group::kCompressor, group::kDynamics}},
    {"expander", {group::kExpander, group::kDynamics}},
    {"gate", {group::kGate, group::kDynamics}},
    {"buzz-filter", {group::kBuzzFilter}},
    {"punch-filter", {group::kPunchFilter}},
    {"crunch-filter", {group::kCrunchFilter}},
    {"low-filter", {group::kLowFilter}},
    {"mid-filter", {group::kMidFilter}},
    {"high-filter", {group::kHighFilter}},
    {"auto-filter", {group::kAutoFilter}},
    {"chorus", {group::kChorus}},
};

TEST_F(ScreenshotFixture, StartUpAndKnobArrangements) {
    Open();
    LoadParamDefaults();
    Shoot("start-up");
    const struct {
        const char* name;
        uint8_t preMid;
        bool bankB;
    } arrangements[] = {{"bank-a-post-mid", 0, false},
                        {"bank-a-pre-mid", 1, false},
                        {"bank-b-post-mid", 0, true},
                        {"bank-b-pre-mid", 1, true}};
    for (const auto& a : arrangements) {
        editor->mPreMidMode = a.preMid;
        editor->ShowPreMidControls();
        // Bank B through its footswitch, press and release: the switch also
        // lights the LED and swaps the background.
        if (editor->mKnobBankB != a.bankB) {
            editor->OnFootswitch(tag::kFootswitchBank);
            editor->OnFootswitch(tag::kFootswitchBank);
        }
        ASSERT_EQ(editor->mKnobBankB, a.bankB);
        EXPECT_EQ(Headless().FindControlByTag(tag::kRedBackground)->IsHidden(), !a.bankB);
        EXPECT_EQ(Headless().FindControlByTag(tag::kFilterLed)->IsHidden(), !a.bankB);
        Shoot(a.name);
    }
}

TEST_F(ScreenshotFixture, EachEffectPage) {
    Open();
    LoadParamDefaults();
    Show(group::kIR, false);
    for (const EffectPage& page : kEffectPages) {
        for (const char* name : page.groups)
            Show(name, true);
        Shoot(page.name);
        for (const char* name : page.groups)
            Show(name, false);
    }
}

} // namespace
} // namespace omnar::test

namespace omnar::test {
namespace {

TEST_F(ScreenshotFixture, EveryPageThroughItsMethod) {
    Open();
    LoadParamDefaults();
    editor->GetParam(25)->Set(64); // a compressor curve with a bend
    for (const PageMethod& page : kPageMethods) {
        (editor.get()->*page.method)();
        Shoot(std::string("page-") + page.name);
    }
}

TEST_F(ScreenshotFixture, OverlayPages) {
    using namespace omnar::pages;
    Open();
    LoadParamDefaults();
    Show(group::kFirmwareBackground, true);
    Show(group::kFirmwareUpdate, true);
    Shoot("overlay-firmware");
    Show(group::kFirmware, true);
    SetProgress(tag::kFirmwareKnob, tag::kFirmwareText, 0.42, "42 %");
    Shoot("overlay-firmware-progress");
    HideAll({group::kFirmwareBackground, group::kFirmwareUpdate, group::kFirmware});

    Show(group::kGlobalSettings, true);
    Shoot("overlay-global-settings");
    // TUNER FREQUENCY's value menu, in the panel.
    vx::ui::IMouseInfo click;
    click.x = 860;
    click.y = 700;
    click.ms.L = true;
    Headless().OnMouseDown({click});
    Headless().OnMouseUp({click});
    const vx::ui::IPopupMenuControl* menu = Headless().GetPopupMenuControl();
    ASSERT_NE(menu, nullptr);
    for (int i = 0; i < 200 && menu->GetState() != vx::ui::IPopupMenuControl::kExpanded; ++i) {
        Headless().DrawFrame();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(menu->GetState(), vx::ui::IPopupMenuControl::kExpanded);
    Shoot("overlay-value-menu");
    Headless().OnMouseDown({click}); // a click anywhere ends the menu
    Headless().OnMouseUp({click});
    HideAll({group::kGlobalSettings});

    const struct {
        const char* name;
        std::vector<const char*> groups;
    } pages[] = {{"overlay-midi-program-ofs0", {group::kMidiProgram, group::kMidiProgramOffset0}},
                 {"overlay-midi-program-ofs1", {group::kMidiProgram, group::kMidiProgramOffset1}},
                 {"overlay-midi-cc", {group::kMidiCC}},
                 {"overlay-about", {group::kAbout}},
                 {"overlay-custom-ir-list", {group::kCustomIR}}};
    for (const auto& page : pages) {
        for (const char* name : page.groups)
            Show(name, true);
        Shoot(page.name);
        for (const char* name : page.groups)
            Show(name, false);
    }

    Show(group::kProgress, true);
    SetProgress(tag::kProgressKnob, tag::kProgressText, 0.37, "37 %");
    Shoot("overlay-loading-presets");
    Show(group::kProgress, false);
    Show(group::kFactoryPreset, true);
    SetProgress(tag::kFactoryKnob, tag::kFactoryText, 0.37, "37 %");
    Shoot("overlay-upgrading-factory-presets");
}

// The panel after edits made through its own actions.
TEST_F(ScreenshotFixture, EditedPanel) {
    Open();
    LoadParamDefaults();
    editor->mApplyingValues = false;
    editor->mUserEditing = true;
    editor->ShowAmbience();
    editor->OnReverbRadio(5);
    Shoot("edit-ambience-echo");
    editor->ShowDrive();
    editor->OnAmpRadio(8);
    Shoot("edit-amp-model");

    editor->SetParamFromNormalised(79, (109.0 - 40.0) / 109.0);
    const vx::ui::IRECT& list = editor->mPresetListSelector->GetRECT();
    editor->mPresetListSelector->OnMouseDown(list.MW(), list.T + list.H() * 3.5f / 19.f, {});
    Shoot("edit-preset-list");

    editor->mConnected = true; // the device's copy of the values follows the edit
    std::copy_n(editor->mDeviceValues.begin(), 74, editor->mStoredPresetValues.begin());
    editor->SetParamFromNormalised(0, 0.25);
    Shoot("edit-display-edited");
}

} // namespace
} // namespace omnar::test

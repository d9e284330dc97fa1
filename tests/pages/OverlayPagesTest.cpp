// The overlay pages shown directly: which control the toolkit's dispatch
// finds at a point, the value fields with their menus, the MIDI pages'
// number boxes and the firmware page's help link.

#include "controls/ITextControl.h"
#include "controls/IVNumberBoxControl.h"
#include "pages/FirmwareHelp.h"
#include "pages/PageNames.h"
#include "tests/pages/PagesFixture.h"
#include "toolkit/ICanvas.h"
#include "toolkit/IPopupMenuControl.h"

#include <algorithm>
#include <functional>
#include <string>

namespace omnar::test {
namespace {

using namespace omnar::pages;

class OverlayFixture : public PagesFixture {
protected:
    void Show(const char* name) {
        Panel().ForEachControlInGroup(name, [](vx::ui::IControl* c) { c->Hide(false); });
    }
    // What a click at the point reaches, as the toolkit's dispatch finds it.
    vx::ui::IControl* HitAt(float x, float y) {
        const int index = Panel().HitTestControlList(false, x, y);
        return index >= 0 ? Panel().GetControl(index) : nullptr;
    }
    void Click(float x, float y) {
        vx::ui::IMouseInfo info;
        info.x = x;
        info.y = y;
        info.ms.L = true;
        Panel().OnMouseDown({info});
        Panel().OnMouseUp({info});
    }
};

struct HitCase {
    const char* what;
    float x, y;
    int want; // index into the page's group; -1: nothing of the page
};

void ExpectHits(const std::vector<vx::ui::IControl*>& page, std::initializer_list<HitCase> cases,
                const std::function<vx::ui::IControl*(float, float)>& hit) {
    for (const HitCase& c : cases) {
        SCOPED_TRACE(c.what);
        vx::ui::IControl* got = hit(c.x, c.y);
        if (c.want >= 0)
            EXPECT_EQ(got, page[std::size_t(c.want)]);
        else
            EXPECT_TRUE(got == nullptr || std::find(page.begin(), page.end(), got) == page.end());
    }
}

TEST_F(OverlayFixture, CustomIRListClosesOnEveryClickButOnItsControls) {
    Open();
    Show(group::kCustomIR);
    const auto page = Group(group::kCustomIR);
    auto hit = [this](float x, float y) { return HitAt(x, y); };
    // 0 dark panel, 1 closing button, 2 bank caption, 3..18 left rows,
    // 19 left area, 20..35 right rows, 36 right area.
    ExpectHits(page,
               {{"the dark panel between the columns", 765, 700, 1},
                {"the dark panel's margin", 330, 1060, 1},
                {"outside the panel", 100, 100, 1},
                {"the bank caption", 760, 505, 2},
                {"a left row", 600, 565, 19},
                {"a right row", 900, 1000, 36}},
               hit);
}

TEST_F(OverlayFixture, GlobalSettingsClosesOutsideItsFields) {
    Open();
    Show(group::kGlobalSettings);
    const auto page = Group(group::kGlobalSettings);
    auto hit = [this](float x, float y) { return HitAt(x, y); };
    // 0 closing button, 1 bitmap, 2 X, 4 the PATCH OFFSET value, 12 TUNER FREQUENCY's.
    ExpectHits(page,
               {{"the bitmap beside the fields", 500, 600, 0},
                {"between two fields", 860, 335, 0},
                {"a field's caption text", 860, 260, 0},
                {"a field", 860, 300, 4},
                {"TUNER FREQUENCY", 860, 700, 12},
                {"X", 1470, 240, 2}},
               hit);
    EXPECT_TRUE(page[1]->GetIgnoreMouse());
}

TEST_F(OverlayFixture, MidiPagesAndFirmwarePageShieldThePanelBelow) {
    Open();
    for (const char* name : {group::kMidiCC, group::kMidiProgram}) {
        SCOPED_TRACE(name);
        Show(name);
        const auto page = Group(name);
        // The bitmap takes the click: the preset list and IMPORT under it stay out of reach.
        EXPECT_EQ(HitAt(100, 190), page[0]);
        EXPECT_EQ(HitAt(100, 600), page[0]);
        Panel().ForEachControlInGroup(name, [](vx::ui::IControl* c) { c->Hide(true); });
    }
    Show(group::kFirmwareBackground);
    Show(group::kFirmwareUpdate);
    const vx::ui::IControl* background = Panel().FindControlByTag(tag::kFirmwareBackground);
    EXPECT_EQ(HitAt(600, 40), background); // RECONNECT lies under it
    EXPECT_EQ(HitAt(1100, 680), Group(group::kFirmwareUpdate)[0]);
}

TEST_F(OverlayFixture, AboutClosesOnAnyClickTheVersionTextToo) {
    Open();
    Show(group::kAbout);
    const auto page = Group(group::kAbout);
    for (const auto& [x, y] : {std::pair{1325.f, 335.f}, {10.f, 10.f}, {1900.f, 1190.f}})
        EXPECT_EQ(HitAt(x, y), page[2]) << x << "," << y;
}

TEST_F(OverlayFixture, TunerFrequencyOffersItsValuesWithTheCurrentTicked) {
    Open();
    Show(group::kGlobalSettings);
    editor->GetParam(96)->Set(12); // "440Hz"
    Click(860, 700);
    const vx::ui::IPopupMenuControl* menuControl = Panel().GetPopupMenuControl();
    ASSERT_NE(menuControl, nullptr);
    EXPECT_TRUE(menuControl->IsExpanded());
    const vx::ui::IPopupMenu& menu = Panel().GetPromptMenu();
    ASSERT_EQ(menu.NItems(), 25);
    EXPECT_STREQ(menu.GetItem(0)->text.Get(), "428Hz");
    EXPECT_STREQ(menu.GetItem(24)->text.Get(), "452Hz");
    for (int i = 0; i < menu.NItems(); ++i)
        EXPECT_EQ((menu.GetItem(i)->flags & vx::ui::IPopupMenu::kChecked) != 0, i == 12) << i;
}

TEST_F(OverlayFixture, ASettingChangedElsewhereRedrawsItsField) {
    Open();
    Show(group::kGlobalSettings);
    const auto page = Group(group::kGlobalSettings);
    // Value fields at 4, 6, .., 22 and 26, in the order of their parameters below.
    const int fieldParams[] = {91, 100, 95, 97, 96, 89, 90, 92, 93, 98};
    std::vector<std::pair<int, std::size_t>> fields;
    for (std::size_t i = 0; i < std::size(fieldParams); ++i)
        fields.emplace_back(fieldParams[i], 4 + 2 * i);
    fields.emplace_back(99, 26);
    for (const auto& [param, index] : fields) {
        SCOPED_TRACE(param);
        auto* field = static_cast<vx::ui::ITextControl*>(page[index]);
        ASSERT_EQ(field->GetParamIdx(), param);
        vx::IParam* p = editor->GetParam(param);
        const double next = p->CurrentValue() == p->Max() ? p->Min() : p->Max();
        p->Set(next);
        Panel().MarkAllControlsClean();
        editor->SendParameterValueToUI(param, next, false);
        EXPECT_TRUE(field->IsDirty());
        field->Draw(Panel());
        VxString shown;
        p->FormatDisplay(next, false, shown, true);
        EXPECT_STREQ(field->GetString(), shown.Get());
    }
}

TEST_F(OverlayFixture, ProgramBoxesCarryTheirCaptionsAndTheirParametersRanges) {
    Open();
    const struct {
        const char* group;
        int index;
        int param;
        const char* caption;
        double min, max;
    } boxes[] = {{group::kMidiProgramOffset0, 0, 109, "Ctrl. Program (0-127)", 0, 127},
                 {group::kMidiProgramOffset0, 1, 110, "Omnar Program (0-127)", 0, 127},
                 {group::kMidiProgramOffset1, 0, 111, "Ctrl. Program (1-128)", 1, 128},
                 {group::kMidiProgramOffset1, 1, 112, "Omnar Program (1-128)", 1, 128}};
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.caption);
        auto* box = dynamic_cast<vx::ui::IVNumberBoxControl*>(Group(b.group)[std::size_t(b.index)]);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->GetParamIdx(), b.param);
        EXPECT_STREQ(box->GetLabelStr(), b.caption);
        const vx::ui::IMouseMod mod;
        for (int i = 0; i < 200; ++i)
            box->OnMouseWheel(0, 0, mod, -1.f);
        EXPECT_EQ(box->GetRealValue(), b.min);
        for (int i = 0; i < 200; ++i)
            box->OnMouseWheel(0, 0, mod, 1.f);
        EXPECT_EQ(box->GetRealValue(), b.max);
    }
    // The eight controller numbers run 0..127.
    const auto cc = Group(group::kMidiCC);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(cc[std::size_t(1 + i)]->GetParamIdx(), 101 + i);
}

TEST_F(OverlayFixture, TheHelpLinkPointsAtTheManualAndChangesTheCursor) {
    Open();
    Show(group::kFirmwareBackground);
    Show(group::kFirmwareUpdate);
    vx::ui::IControl* link = Group(group::kFirmwareUpdate)[1];
    EXPECT_STREQ(static_cast<vx::ui::ITextControl*>(link)->GetString(), kFirmwareHelpText);
    const std::string address = FirmwareHelpAddress();
    EXPECT_TRUE(address.starts_with("file://")) << address;
    EXPECT_TRUE(address.ends_with("/Vorlix_ZQTR_OM_XN1.pdf")) << address;

    Panel().ClearCalls();
    link->OnMouseOver(848, 360, {});
    link->OnMouseOut();
    const auto shapes = Panel().CallsStartingWith("SetCursorShape");
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0], "SetCursorShape 11");
    EXPECT_EQ(shapes[1], "SetCursorShape 0");

    Click(848, 360);
    const auto opened = Panel().CallsStartingWith("OpenInBrowser");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "OpenInBrowser " + address);
}

} // namespace
} // namespace omnar::test

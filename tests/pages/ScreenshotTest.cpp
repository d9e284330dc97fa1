// The panel in pixels for a person to look at, in build/test-output/pages/:
// the start-up state, the four knob arrangements and every effect page with
// its groups shown directly.

#include "pages/PageNames.h"
#include "tests/pages/PagesFixture.h"
#include "tests/support/HeadlessCanvas.h"
#include "toolkit/ICanvas.h"

#include <algorithm>

namespace omnar::test {
namespace {

using namespace omnar::pages;

// The headless back end, attached as the platform view attaches: the
// drawable first, then the layout.
class AttachingHeadlessCanvas : public vx::test::HeadlessCanvas {
public:
    using HeadlessCanvas::HeadlessCanvas;
    void* AttachToParentWindow(void* parent) override {
        Attach();
        GetDelegate().RunLayoutFunc(this);
        Attach(); // the layout sized the panel to its saved scale
        return parent;
    }
};

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
        editor->mKnobBankB = a.bankB;
        editor->ShowPreMidControls();
        Shoot(a.name);
    }
}

TEST_F(ScreenshotFixture, EachEffectPage) {
    Open();
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

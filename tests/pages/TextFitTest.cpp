// Every text of every page and overlay fits the box it is drawn in, with the
// program's own fonts at scales 0.5, 1 and 2, with no exceptions (the
// display's unlit "188" fits its window as the lit digits do); the preset
// list's rows stay inside the list. The pages at 0.5 and 1 are left in
// build/test-output/pages/fit-<scale>/ to look at.

#include "controls/ITextControl.h"
#include "pages/PageNames.h"
#include "tests/pages/PagesFixture.h"
#include "tests/support/HeadlessCanvas.h"
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace omnar::test {
namespace {

using namespace omnar::pages;
using vx::ui::IRECT;

struct DrawnText {
    std::string str;
    IRECT box;      // the box the control drew the text into
    IRECT clip;     // the control's visible area
    IRECT measured; // where the glyphs go
};

// The real back end, noting every text it draws and where its glyphs land.
class TextNotingCanvas : public vx::test::AttachingHeadlessCanvas {
public:
    using AttachingHeadlessCanvas::AttachingHeadlessCanvas;
    void DrawTextString(const vx::ui::IText& text, const char* str, const IRECT& bounds,
                        const vx::ui::IBlendSetting* blend) override {
        IRECT measured = bounds;
        MeasureTextBounds(text, str, measured);
        drawn.push_back({str, bounds, GetClipRect(), measured});
        AttachingHeadlessCanvas::DrawTextString(text, str, bounds, blend);
    }
    std::vector<DrawnText> drawn;
};

// Horizontal only: a cut word is cut across its width; line heights include
// room above and below the letters that no box needs. Measures come in whole
// pixels, so one pixel of slack.
std::string Misfit(const DrawnText& t, float scale) {
    const float kSlack = std::max(1.f, 1.f / scale);
    char why[64] = "";
    if (t.box.W() > 0.f && t.measured.W() > t.box.W() + kSlack)
        std::snprintf(why, sizeof why, "needs %.1f in a box of %.1f", double(t.measured.W()),
                      double(t.box.W()));
    else if (t.measured.L < t.clip.L - kSlack || t.measured.R > t.clip.R + kSlack)
        std::snprintf(why, sizeof why, "spans %.1f-%.1f outside %.1f-%.1f", double(t.measured.L),
                      double(t.measured.R), double(t.clip.L), double(t.clip.R));
    return *why ? "\"" + t.str + "\" " + why : "";
}

struct Page {
    const char* name;
    void (OmnarControl::*method)();  // an effect page's method, or
    std::vector<const char*> groups; // an overlay's groups, shown directly
};

std::vector<Page> AllPages() {
    std::vector<Page> pages;
    for (const PageMethod& m : kPageMethods)
        pages.push_back({m.name, m.method, {}});
    const Page overlays[] = {
        {"firmware", nullptr, {group::kFirmwareBackground, group::kFirmwareUpdate}},
        {"firmware-progress",
         nullptr,
         {group::kFirmwareBackground, group::kFirmwareUpdate, group::kFirmware}},
        {"global-settings", nullptr, {group::kGlobalSettings}},
        {"midi-program-ofs0", nullptr, {group::kMidiProgram, group::kMidiProgramOffset0}},
        {"midi-program-ofs1", nullptr, {group::kMidiProgram, group::kMidiProgramOffset1}},
        {"midi-cc", nullptr, {group::kMidiCC}},
        {"about", nullptr, {group::kAbout}},
        {"custom-ir-list", nullptr, {group::kCustomIR}},
        {"loading-presets", nullptr, {group::kProgress}},
        {"upgrading-factory-presets", nullptr, {group::kFactoryPreset}},
    };
    pages.insert(pages.end(), std::begin(overlays), std::end(overlays));
    return pages;
}

class TextFitFixture : public PagesFixture {
protected:
    TextNotingCanvas& OpenAt(const char* scale) {
        WriteSettings(std::string("[gui]\nscale=") + scale + "\n");
        editor->SetMakeGraphicsFunc(
            [this] { return std::make_unique<TextNotingCanvas>(*editor, 1920, 1200, 1.f); });
        Open();
        LoadParamDefaults();
        return static_cast<TextNotingCanvas&>(*editor->GetGraphics());
    }
    void ShowGroups(vx::ui::ICanvas& g, const std::vector<const char*>& groups, bool show) {
        for (const char* name : groups)
            g.ForEachControlInGroup(name, [show](vx::ui::IControl* c) { c->Hide(!show); });
    }
};

class TextFitAtScale : public TextFitFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(TextFitAtScale, EveryTextOfEveryPageFitsItsBox) {
    const char* scale = GetParam();
    TextNotingCanvas& g = OpenAt(scale);
    std::set<std::string> misfits;
    for (const Page& page : AllPages()) {
        if (page.method)
            (editor.get()->*page.method)();
        ShowGroups(g, page.groups, true);
        g.drawn.clear();
        g.MarkAllControlsDirty();
        ASSERT_TRUE(g.DrawFrame()) << page.name;
        EXPECT_FALSE(g.drawn.empty()) << page.name;
        for (const DrawnText& t : g.drawn)
            if (const std::string why = Misfit(t, std::stof(scale)); !why.empty())
                misfits.insert(std::string("scale ") + scale + ", " + page.name + ": " + why);
        if (std::string(scale) != "2")
            g.WriteFramePNG(std::string("pages/fit-") + scale + "/" + page.name);
        ShowGroups(g, page.groups, false);
    }
    for (const std::string& m : misfits)
        ADD_FAILURE() << m;
}

INSTANTIATE_TEST_SUITE_P(Scales, TextFitAtScale, ::testing::Values("0.5", "1", "2"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param) == "0.5"
                                        ? std::string("Half")
                                        : "Times" + std::string(info.param);
                         });

// Scrolled anywhere, no row shows past the list's frame.
TEST_F(TextFitFixture, PresetRowsStayInsideTheList) {
    vx::test::RecordingCanvas& panel = Open();
    constexpr float kListTop = 228.f, kListBottom = 1178.f;
    constexpr int kLastScroll = 109;
    for (int offset : {0, 1, 40, kLastScroll}) {
        SCOPED_TRACE("offset " + std::to_string(offset));
        editor->SetParamFromNormalised(79, double(kLastScroll - offset) / kLastScroll);
        int shown = 0;
        for (const vx::ui::ITextControl* row : editor->mPresetRows) {
            if (row->IsHidden())
                continue;
            ++shown;
            EXPECT_GE(row->GetRECT().T, kListTop) << row->GetString();
            EXPECT_LE(row->GetRECT().B, kListBottom) << row->GetString();
        }
        EXPECT_EQ(shown, 19);
    }
    (void)panel;
}

} // namespace
} // namespace omnar::test

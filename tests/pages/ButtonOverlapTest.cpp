// The panel's buttons as a player meets them: on each page no two visible
// buttons of one group overlap, and a click anywhere on a button, its edges
// included, lands on that button and not on a neighbour.

#include "pages/PageNames.h"
#include "tests/pages/LayoutDump.h"
#include "tests/pages/PagesFixture.h"
#include "toolkit/ICanvas.h"

#include <vector>

namespace omnar::test {
namespace {

using namespace omnar::pages;

struct ButtonGroup {
    const char* name;
    void (OmnarControl::*show)(); // the page that shows them; none for the front panel
    std::vector<int> tags;
};

const ButtonGroup kButtonGroups[] = {
    {"reverb types", &OmnarControl::ShowAmbience, {79, 80, 81, 82, 83, 84, 85}},
    {"amp models", &OmnarControl::ShowDrive, {86, 87, 88, 89, 90, 91, 92, 93, 94, 95}},
    {"footswitches and save",
     nullptr,
     {tag::kFootswitchUp, tag::kFootswitchSelect, tag::kFootswitchDown, tag::kFootswitchBank, 61}},
};

bool Overlap(const vx::ui::IRECT& a, const vx::ui::IRECT& b) {
    return a.L < b.R && b.L < a.R && a.T < b.B && b.T < a.B;
}

class ButtonOverlapFixture : public PagesFixture {
protected:
    // Shows the group's page and answers its buttons, each found and visible.
    std::vector<const vx::ui::IControl*> ShownButtons(const ButtonGroup& g) {
        if (g.show)
            (editor.get()->*g.show)();
        else // the front panel takes clicks once a pedal is connected
            Panel().ForEachControlInGroup(group::kFrontPanel,
                                          [](vx::ui::IControl* c) { c->SetDisabled(false); });
        std::vector<const vx::ui::IControl*> buttons;
        for (int t : g.tags) {
            const vx::ui::IControl* c = Panel().FindControlByTag(t);
            EXPECT_NE(c, nullptr) << "tag " << t;
            if (!c)
                continue;
            EXPECT_FALSE(c->IsHidden()) << "tag " << t;
            buttons.push_back(c);
        }
        return buttons;
    }
};

TEST_F(ButtonOverlapFixture, NoTwoVisibleButtonsOfAGroupOverlap) {
    Open();
    for (const ButtonGroup& g : kButtonGroups) {
        SCOPED_TRACE(g.name);
        const auto buttons = ShownButtons(g);
        for (std::size_t i = 0; i < buttons.size(); ++i)
            for (std::size_t j = i + 1; j < buttons.size(); ++j)
                EXPECT_FALSE(Overlap(buttons[i]->GetRECT(), buttons[j]->GetRECT()))
                    << "tags " << TagOf(Panel(), buttons[i]) << " and "
                    << TagOf(Panel(), buttons[j]);
    }
}

// Near a radio's upper and lower edges is where a taller frame of the other
// row would take the click.
TEST_F(ButtonOverlapFixture, AClickNearAButtonsEdgeHitsThatButton) {
    vx::test::RecordingCanvas& panel = Open();
    for (const ButtonGroup& g : kButtonGroups) {
        SCOPED_TRACE(g.name);
        for (const vx::ui::IControl* button : ShownButtons(g)) {
            const vx::ui::IRECT& r = button->GetRECT();
            for (float y : {r.T + 2.f, r.MH(), r.B - 2.f}) {
                const int hit = panel.HitTestControlList(false, r.MW(), y);
                EXPECT_EQ(hit >= 0 ? panel.GetControl(hit) : nullptr, button)
                    << "tag " << TagOf(panel, button) << " at y " << y;
            }
        }
    }
}

} // namespace
} // namespace omnar::test

// The real panel against the simulated pedal, with input through the
// panel's own mouse handling: edits, amp models and the footswitches reach
// the pedal, and a lost link leaves nothing held.

#include "pages/PageNames.h"
#include "tests/device/DeviceRig.h"
#include "tests/devsim/SimFaults.h"
#include "toolkit/ICanvas.h"

#include <gtest/gtest.h>

namespace omnar::test {
namespace {

using namespace omnar::pages;

struct EditRig {
    EditRig() : rig(false) {
        rig.editor->SetMakeGraphicsFunc([this] {
            return std::make_unique<vx::test::AttachingCanvas>(*rig.editor, events, 1920, 1200,
                                                               1.f);
        });
        rig.editor->OpenEditor(nullptr);
    }
    ~EditRig() { rig.editor->CloseEditor(); }
    vx::ui::ICanvas& Panel() { return *rig.editor->GetGraphics(); }

    void Click(float x, float y) {
        Panel().OnMouseDown({vx::ui::IMouseInfo{x, y, 0.f, 0.f, {}}});
        Panel().OnMouseUp({vx::ui::IMouseInfo{x, y, 0.f, 0.f, {}}});
    }
    void ClickTag(int tag) {
        const vx::ui::IRECT& r = Panel().FindControlByTag(tag)->GetRECT();
        Click(r.MW(), r.MH());
    }
    // A drag upward over the first visible control of the parameter.
    void DragUp(int param, float distance) {
        vx::ui::IControl* knob = nullptr;
        Panel().ForEachControlOfParam(param, [&](vx::ui::IControl* c) {
            if (!knob && !c->IsHidden() && !c->IsDisabled())
                knob = c;
        });
        ASSERT_NE(knob, nullptr);
        const vx::ui::IRECT& r = knob->GetRECT();
        vx::ui::IMouseMod left;
        left.L = true;
        Panel().OnMouseDown({vx::ui::IMouseInfo{r.MW(), r.MH(), 0.f, 0.f, left}});
        for (int i = 1; i <= 10; ++i)
            Panel().OnMouseDrag({vx::ui::IMouseInfo{r.MW(), r.MH() - distance * float(i) / 10.f,
                                                    0.f, -distance / 10.f, left}});
        Panel().OnMouseUp({vx::ui::IMouseInfo{r.MW(), r.MH() - distance, 0.f, 0.f, left}});
    }
    int PedalValue(int index) const {
        return rig.pedal.State().editBuffer[devsim::kPresetValuesOffset + std::size_t(index)];
    }
    int EditorValue(int index) const { return int(rig.editor->GetParam(index)->CurrentValue()); }

    std::vector<std::string> events;
    DeviceRig rig;
};

TEST(PanelEdit, AKnobDragReachesThePedal) {
    EditRig p;
    ASSERT_TRUE(p.rig.Connect());
    const int before = p.EditorValue(0);
    p.DragUp(0, before > 64 ? -150.f : 150.f);
    p.rig.Steps(3);
    EXPECT_NE(p.EditorValue(0), before);
    EXPECT_EQ(p.PedalValue(0), p.EditorValue(0));
}

TEST(PanelEdit, AnAmpModelBringsItsValuesToThePedal) {
    EditRig p;
    ASSERT_TRUE(p.rig.Connect());
    p.rig.editor->ShowDrive();
    p.ClickTag(tag::kAmpRadio0 + 8);
    p.rig.Steps(3);
    EXPECT_EQ(p.EditorValue(1), 61);
    EXPECT_EQ(p.PedalValue(1), 61);
    EXPECT_EQ(p.PedalValue(5), 96);
}

TEST(PanelEdit, UpDownAndStoreReachThePedal) {
    EditRig p;
    ASSERT_TRUE(p.rig.Connect());
    const int start = p.rig.pedal.State().currentSlot;
    p.ClickTag(tag::kFootswitchUp);
    p.rig.Steps(3);
    EXPECT_EQ(p.rig.pedal.State().currentSlot, (start + 1) % 128);
    p.ClickTag(tag::kFootswitchDown);
    p.rig.Steps(3);
    EXPECT_EQ(p.rig.pedal.State().currentSlot, start);

    p.ClickTag(tag::kSaveButton);
    p.ClickTag(tag::kFootswitchUp);
    p.ClickTag(tag::kFootswitchUp);
    p.ClickTag(tag::kSaveButton);
    p.rig.Steps(20);
    EXPECT_EQ(p.rig.pedal.State().currentSlot, (start + 2) % 128);
    EXPECT_FALSE(p.rig.editor->mStorePending);
}

// A pedal that stops answering: the edits go nowhere but nothing waits for it.
TEST(PanelEdit, ALostLinkLeavesNothingHeld) {
    for (const char* fault : {"drop:50:always", "disconnect:50"}) {
        EditRig p;
        ASSERT_TRUE(p.rig.Connect());
        p.rig.pedal.AddFault(*devsim::ParseFaultRule(fault).rule);
        p.ClickTag(tag::kFootswitchSelect);
        p.ClickTag(tag::kFootswitchUp);
        p.ClickTag(tag::kFootswitchSelect);
        p.DragUp(0, 60.f);
        p.rig.Steps(20);
        EXPECT_FALSE(p.rig.editor->mRecallPending) << fault;
        EXPECT_FALSE(p.rig.editor->mPresetUpHeld) << fault;
        EXPECT_FALSE(p.rig.editor->mStorePending) << fault;
    }
}

} // namespace
} // namespace omnar::test

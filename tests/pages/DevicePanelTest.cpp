// The real panel driven by the device core against the simulated pedal:
// status texts, the front groups enabled by the identity reply, and the
// progress display of an IR fetch.

#include "pages/PageNames.h"
#include "tests/device/DeviceRig.h"
#include "tests/devsim/SimFaults.h"
#include "tests/devsim/SimWire.h"
#include "toolkit/ICanvas.h"

#include <gtest/gtest.h>

#include <regex>

namespace omnar::test {
namespace {

using namespace omnar::pages;

const char* const kFrontGroups[] = {group::kFrontPanel,  group::kBankA,       group::kBankB,
                                    group::kBankAPreMid, group::kBankBPreMid, group::kBankAPostMid,
                                    group::kBankBPostMid};

// The rig with the editor's own layout in place of the device tests' panel.
struct PanelRig {
    explicit PanelRig(devsim::SimState state = devsim::FactoryState())
        : rig(false, std::move(state)) {
        rig.editor->SetMakeGraphicsFunc([this] {
            return std::make_unique<vx::test::AttachingCanvas>(*rig.editor, events, 1920, 1200,
                                                               1.f);
        });
        rig.editor->OpenEditor(nullptr);
    }
    ~PanelRig() { rig.editor->CloseEditor(); }
    vx::ui::ICanvas& Panel() { return *rig.editor->GetGraphics(); }
    int Count(const char* group, bool (vx::ui::IControl::*flag)() const) {
        int n = 0;
        Panel().ForEachControlInGroup(group, [&](vx::ui::IControl* c) { n += (c->*flag)(); });
        return n;
    }
    int Disabled(const char* group) { return Count(group, &vx::ui::IControl::IsDisabled); }
    int Hidden(const char* group) { return Count(group, &vx::ui::IControl::IsHidden); }

    std::vector<std::string> events;
    DeviceRig rig;
};

// Disabled by the layout until a device answers.
const char* const kDisabledAtStart[] = {group::kFrontPanel, group::kBankA, group::kBankAPostMid,
                                        group::kBankB};

TEST(DevicePanel, TheIdentityReplyWritesTheStatusAndEnablesTheFrontPanel) {
    PanelRig p;
    EXPECT_EQ(p.rig.editor->TagText(tag::kStatusVersion), "Connecting to the device...");
    ASSERT_TRUE(p.rig.Connect());
    EXPECT_EQ(p.rig.editor->TagText(tag::kStatusDevice), "DEVICE: Vorlix Quorbel Omnar");
    EXPECT_EQ(p.rig.editor->TagText(tag::kStatusVersion), "VERSION: 1.2");
    EXPECT_TRUE(p.rig.editor->TagText(tag::kStatusSerial).starts_with("SERIAL: OMN-SIM-000001"));
    for (const char* name : kFrontGroups)
        EXPECT_EQ(p.Disabled(name), 0) << name;
}

TEST(DevicePanel, ACorruptedIdentityReplyEnablesNothing) {
    PanelRig p;
    std::vector<int> before;
    for (const char* name : kDisabledAtStart)
        before.push_back(p.Disabled(name));
    p.rig.pedal.AddFault(*devsim::ParseFaultRule("corrupt:55:always").rule);
    p.rig.Steps(100);
    EXPECT_FALSE(p.rig.editor->mConnected);
    for (std::size_t i = 0; i < std::size(kDisabledAtStart); ++i) {
        EXPECT_GT(before[i], 0) << kDisabledAtStart[i];
        EXPECT_EQ(p.Disabled(kDisabledAtStart[i]), before[i]) << kDisabledAtStart[i];
    }
}

// The parts of an IR dump handed over one by one, as the callback thread would.
TEST(DevicePanel, AnIRFetchShowsItsProgressAndHidesItAtTheEnd) {
    constexpr int kFetched = 3;
    PanelRig p;
    ASSERT_TRUE(p.rig.Connect());
    ASSERT_EQ(p.Hidden(group::kProgress), 4);
    const std::vector<Bytes> parts =
        devsim::BuildIRDump(kFetched, devsim::SyntheticFactoryIR(kFetched));
    ASSERT_GE(parts.size(), 3u);

    int last = -1;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        p.rig.FeedNow(parts[i]);
        ASSERT_EQ(p.Hidden(group::kProgress), 0) << "part " << i;
        const std::string text = p.rig.editor->TagText(tag::kProgressText);
        ASSERT_TRUE(std::regex_match(text, std::regex("[0-9]{1,2} %"))) << text;
        const int percent = std::stoi(text);
        EXPECT_GE(percent, last);
        last = percent;
        EXPECT_NEAR(p.Panel().FindControlByTag(tag::kProgressKnob)->GetValue(), percent / 100.0,
                    0.01);
    }
    EXPECT_GT(last, 0);
    p.rig.FeedNow(parts.back());
    EXPECT_EQ(p.Hidden(group::kProgress), 4);
    EXPECT_EQ(p.rig.editor->TagText(tag::kProgressText), "100 %");
    EXPECT_TRUE(FileExists(p.rig.home.UserIRFolder() + "004.dat"));
}

} // namespace
} // namespace omnar::test

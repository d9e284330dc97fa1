// The real panel driven by the device core against the simulated pedal:
// status texts, the front groups enabled by the identity reply, and the
// progress display of an IR fetch.

#include "pages/PageNames.h"
#include "tests/device/DeviceRig.h"
#include "tests/devsim/SimFaults.h"
#include "tests/devsim/SimWire.h"
#include "toolkit/ICanvas.h"
#include "toolkit/IKeyPress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
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

// An unsaved edit stays on the panel while an overlay that talks to the
// pedal opens and closes: the panel keeps agreeing with the pedal's edit
// buffer, which still plays the edit, instead of taking the stored slot back.
TEST(DevicePanel, OverlaysKeepThePanelsUnsavedEdits) {
    constexpr int kBulkEnd = 0x055B;
    constexpr int kDumpRequest = 0x0540;
    using Editor = RigEditor;
    const auto set = [](Editor& e, int index, int value) {
        e.SetParamFromNormalised(index, e.GetParam(index)->ToNormalised(value));
    };
    const auto bufferValue = [](const PanelRig& p, int index) {
        return int(
            p.rig.pedal.State().editBuffer[devsim::kPresetValuesOffset + std::size_t(index)]);
    };
    const auto bufferName = [](const PanelRig& p) {
        const auto& buffer = p.rig.pedal.State().editBuffer;
        std::string name(buffer.begin() + devsim::kPresetNameOffset,
                         buffer.begin() + devsim::kPresetNameOffset + 32);
        return name.substr(0, name.find_last_not_of(' ') + 1);
    };
    const auto driveReadout = [](int v) {
        char text[16];
        std::snprintf(text, sizeof text, "%.0f", std::max(1.f, float(v) / 127.f * 100.f));
        return std::string(text);
    };

    struct Edit {
        const char* what;
        std::function<void(PanelRig&)> make;
        std::function<void(PanelRig&)> expectKept;
    };
    const Edit edits[] = {
        {"knob", [&](PanelRig& p) { set(*p.rig.editor, 5, 81); },
         [&](PanelRig& p) {
             EXPECT_EQ(bufferValue(p, 5), 81);
             EXPECT_EQ(int(p.rig.editor->GetParam(5)->CurrentValue()), bufferValue(p, 5));
             EXPECT_EQ(p.rig.editor->TagText(tag::kDrive), driveReadout(bufferValue(p, 5)));
         }},
        {"IR choice", [&](PanelRig& p) { set(*p.rig.editor, 14, 100); },
         [&](PanelRig& p) {
             EXPECT_EQ(bufferValue(p, 14), 100);
             EXPECT_EQ(int(p.rig.editor->GetParam(14)->CurrentValue()), bufferValue(p, 14));
         }},
        {"name",
         [&](PanelRig& p) {
             static_cast<vx::ui::ITextControl*>(p.Panel().FindControlByTag(tag::kPresetName))
                 ->SetString("Slap Tone");
             p.rig.editor->OnPresetNameEdited();
         },
         [&](PanelRig& p) {
             EXPECT_EQ(bufferName(p), "Slap Tone");
             EXPECT_EQ(p.rig.editor->TagText(tag::kPresetName), bufferName(p));
         }},
    };
    struct Overlay {
        const char* what;
        std::function<void(Editor&)> open, close;
        int reports; // global settings reports the pedal sends meanwhile
    };
    const Overlay overlays[] = {
        {"global settings", [](Editor&) {}, [](Editor&) {}, 1},
        {"MIDI program map", [](Editor& e) { e.OnOpenMidiProgramMap(); },
         [](Editor& e) { e.OnMidiProgramBack(); }, 2},
        {"MIDI CC map", [](Editor& e) { e.OnOpenMidiCCMap(); }, [](Editor& e) { e.OnMidiCCBack(); },
         2},
    };
    for (const Overlay& overlay : overlays)
        for (const Edit& edit : edits) {
            SCOPED_TRACE(std::string(overlay.what) + " after an edit of the " + edit.what);
            PanelRig p;
            ASSERT_TRUE(p.rig.Connect());
            edit.make(p); // reaches the pedal ahead of the overlay's requests
            const std::size_t from = p.rig.sent.size();
            p.rig.editor->OnHostRequestingMessage(2); // Device > Global Settings...
            overlay.open(*p.rig.editor);
            ASSERT_TRUE(p.rig.RunUntil(
                [&] { return !p.rig.SentWithCommand(kBulkEnd, from).empty(); }, 100));
            overlay.close(*p.rig.editor);
            p.rig.editor->OnCloseGlobalSettings();
            // Each report ends in BulkEnd; a slot asked for after it has
            // arrived once the dump watchdog is disarmed again.
            ASSERT_TRUE(p.rig.RunUntil(
                [&] {
                    return int(p.rig.SentWithCommand(kBulkEnd, from).size()) >= overlay.reports &&
                           !p.rig.editor->mDumpWaitArmed;
                },
                100));
            EXPECT_TRUE(p.rig.SentWithCommand(kDumpRequest, from).empty())
                << "the stored slot was asked for";
            edit.expectKept(p);
        }
}

// IR 12 lives on the pedal only: chosen for slot 7 from the list the LIST
// button opens, it is fetched, and the slot's row takes its name, also when
// the list was closed before the IR arrived.
TEST(DevicePanel, APedalIRChosenFromTheListNamesTheSlot) {
    const std::string name = "Slap Cab Twelve";
    devsim::SimState state = devsim::FactoryState();
    devsim::IRImage ir = devsim::BlankIRImage();
    std::copy(name.begin(), name.end(), ir.begin() + devsim::kIRNameOffset);
    state.userIRs[12] = ir;
    PanelRig p(state);
    ASSERT_TRUE(p.rig.Connect());
    RigEditor& editor = *p.rig.editor;
    editor.SetParamFromNormalised(40, 1.0); // slot 7 plays a user IR
    const vx::ui::IRECT list = p.Panel().FindControlByTag(tag::kIRListSlot7)->GetRECT();
    // A click through the panel's dispatch; a button's work runs once its
    // splash has ended.
    const auto click = [&](float x, float y) {
        const int hit = p.Panel().HitTestControlList(false, x, y);
        ASSERT_GE(hit, 0);
        vx::ui::IMouseInfo info;
        info.x = x;
        info.y = y;
        info.ms.L = true;
        p.Panel().OnMouseDown({info});
        p.Panel().OnMouseUp({info});
        p.Panel().GetControl(hit)->OnAnimationFinished();
    };
    click(list.MW(), list.MH());
    ASSERT_TRUE(p.rig.RunUntil([&] { return !p.rig.SentWithCommand(0x056A).empty(); }, 20));
    const std::size_t from = p.rig.sent.size();
    click(610, 550 + 30 * 12 + 14); // the left column's row 13: IR 12
    // The pedal acknowledges the MSB, the LSB follows, and the editor asks for
    // the IR it lacks; the list is then closed, while the IR is on its way.
    ASSERT_TRUE(p.rig.RunUntil(
        [&] {
            const auto asked = p.rig.SentWithCommand(0x0569, from);
            return !asked.empty() && asked.back()[7] == 0 && asked.back()[8] == 12;
        },
        20));
    click(765, 700); // the dark panel between the columns
    EXPECT_EQ(p.Hidden(group::kCustomIR), 37) << "the list stayed open";
    EXPECT_TRUE(p.rig.RunUntil([&] { return editor.TagText(74) == name; }, 200))
        << "slot 7 reads \"" << editor.TagText(74) << '"';
    EXPECT_EQ(editor.mUserIRNumberA, 12);
}

// A name typed into the panel's entry keeps to what the pedal stores: the
// accented letters made plain, the rest refused, no more than 32 characters;
// the panel, the bytes the pedal gets and the stored library file agree.
TEST(DevicePanel, ATypedNameIsWhatThePedalAndTheLibraryKeep) {
    const std::string kept = "Cafe Grosse - a very long name i";
    PanelRig p;
    ASSERT_TRUE(p.rig.Connect());
    const vx::ui::IRECT box = p.Panel().FindControlByTag(tag::kPresetName)->GetRECT();
    vx::ui::IMouseInfo click;
    click.x = box.MW();
    click.y = box.MH();
    click.ms.L = true;
    p.Panel().OnMouseDown({click});
    p.Panel().OnMouseUp({click});
    const auto press = [&](int vk, const std::string& text) {
        vx::IKeyPress key;
        key.VK = vk;
        std::snprintf(key.utf8, sizeof key.utf8, "%s", text.c_str());
        p.Panel().OnKeyDown(click.x, click.y, key);
    };
    const std::string typed = "Café Größe – a very long name indeed, and more";
    for (std::size_t i = 0; i < typed.size();) {
        std::size_t n = 1;
        while (i + n < typed.size() && (static_cast<unsigned char>(typed[i + n]) & 0xC0) == 0x80)
            ++n;
        const unsigned char lead = static_cast<unsigned char>(typed[i]);
        press(lead < 0x80 ? std::toupper(lead) : 0, typed.substr(i, n));
        i += n;
    }
    press(13, "\r"); // Return

    EXPECT_EQ(p.rig.editor->TagText(tag::kPresetName), kept);
    const auto nameIn = [](auto first) { return std::string(first, first + 32); };
    ASSERT_TRUE(p.rig.RunUntil(
        [&] {
            return nameIn(p.rig.pedal.State().editBuffer.begin() + devsim::kPresetNameOffset) ==
                   kept;
        },
        20))
        << "the pedal's edit buffer reads \""
        << nameIn(p.rig.pedal.State().editBuffer.begin() + devsim::kPresetNameOffset) << '"';

    // SAVE twice stores the edit buffer into the shown slot; its dump fills the library.
    for (int i = 0; i < 4; ++i)
        p.rig.editor->OnFootswitch(tag::kSaveButton);
    const std::string file = p.rig.PresetFile(p.rig.editor->mPresetNumber);
    EXPECT_TRUE(p.rig.RunUntil(
        [&] {
            const Bytes stored = ReadFile(file);
            return stored.size() == 256 &&
                   nameIn(stored.begin() + devsim::kPresetNameOffset) == kept;
        },
        50))
        << "the library's file does not hold the name";
}

} // namespace
} // namespace omnar::test

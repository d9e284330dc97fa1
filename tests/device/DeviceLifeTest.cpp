// The pedal's life around the editor: replies nobody asked for, refusals,
// a device that goes away, and what the status row says meanwhile.
#include "device/TransferMessages.h"
#include "tests/device/DeviceRig.h"
#include "tests/devsim/SimFaults.h"
#include "tests/devsim/SimWire.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

namespace {

using namespace omnar::test;

const Bytes kLoaderReady = {0xF0, 0x00, 0x51, 0x21, 0x04, 0x12, 0xF7};

std::string IRFileName(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.dat", number + 1);
    return name;
}

class ConnectedLife : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(rig.Connect()); }
    DeviceRig rig;
};

// After an IR upload the transfer buffer holds the IR; a loader-ready that
// no firmware update asked for must not send it to the loader.
TEST_F(ConnectedLife, ALoaderReadyNobodyAskedForIsIgnored) {
    rig.editor->mIRUploadSlot = 21;
    OmnarControl::Name name{};
    rig.editor->NormalizeAndPackIR(name, 21, true);
    ASSERT_TRUE(rig.RunUntil([&] { return rig.pedal.State().userIRs[21].has_value(); }, 40));
    rig.Step();
    const std::size_t from = rig.sent.size();
    rig.FeedNow(kLoaderReady);
    // Long enough for every chunk of a prepared image to have gone, and the poll once.
    rig.Steps(40);
    EXPECT_TRUE(rig.SentWithCommand(0x0413, from).empty()) << "a FirmwareStart went to the loader";
    EXPECT_TRUE(rig.SentWithCommand(0x0420, from).empty()) << "a FirmwareChunk went to the loader";
    EXPECT_FALSE(rig.editor->mFirmwareSending);
    EXPECT_TRUE(rig.MessageBoxes().empty());
    EXPECT_TRUE(rig.editor->mConnected);
}

// 'b' outside an IR upload refuses the ordinary message sent last.
TEST_F(ConnectedLife, ARefusedChangeSaysWhatWasRefusedAndTheKnobBankGoesBack) {
    struct Case {
        const char* what;
        std::function<void(DeviceRig&)> send;
        const char* message;
        bool bankB; // the bank shown after the refusal
    };
    const Case cases[] = {
        {"knob bank B",
         [](DeviceRig& r) {
             r.editor->mKnobBankB = true;
             r.editor->SendParamMessage(19, 1);
         },
         "ERROR! The pedal refused the knob bank switch.", false},
        {"a knob",
         [](DeviceRig& r) {
             r.editor->SetParamFromNormalised(0, r.editor->GetParam(0)->ToNormalised(90));
         },
         nullptr, false},
        {"nothing sent", [](DeviceRig&) {}, "ERROR! The pedal refused its last message.", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rig.editor->Panel().ClearCalls();
        c.send(rig);
        rig.Step();
        rig.FeedNow(devsim::BuildShortReply('b'));
        const auto boxes = rig.MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        if (c.message) {
            EXPECT_EQ(boxes[0], c.message);
        } else {
            EXPECT_EQ(boxes[0].rfind("ERROR! The pedal refused the change of ", 0), 0u) << boxes[0];
            EXPECT_NE(boxes[0].find(rig.editor->GetParam(0)->Name()), std::string::npos)
                << boxes[0];
        }
        EXPECT_EQ(rig.editor->mKnobBankB, c.bankB);
        EXPECT_EQ(rig.editor->Panel().FindControlByTag(64)->IsHidden(), !c.bankB);
        EXPECT_TRUE(rig.editor->mConnected);
    }
}

TEST_F(ConnectedLife, AnIncomingIRShowsItsProgressRounded) {
    const auto parts = devsim::BuildIRDump(3, devsim::SyntheticFactoryIR(1));
    ASSERT_GE(parts.size(), 4u);
    // 672 of 2436 bytes after the second middle part: 27.59 %.
    for (std::size_t i = 0; i < 3; ++i)
        rig.FeedNow(parts[i]);
    EXPECT_EQ(rig.editor->TagText(58), "28 %");
}

// The check bytes of the first dump spoilt: the editor asks once more.
TEST_F(ConnectedLife, AnIRDumpFailingItsCheckIsAskedForOnceMore) {
    struct Case {
        int spoilt; // dumps spoilt in a row
        bool stored;
        int requests;
    };
    const Case cases[] = {{1, true, 2}, {2, false, 2}};
    // Only the dumps the test hands over arrive.
    rig.pedal.AddFault(*devsim::ParseFaultRule("drop:69:always").rule);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spoilt);
        const int number = 5 + c.spoilt;
        auto parts = devsim::BuildIRDump(number, devsim::SyntheticFactoryIR(2));
        const std::size_t from = rig.sent.size();
        rig.editor->SendIRDumpRequest(number);
        for (int dump = 0; dump < 2; ++dump) {
            auto sent = parts;
            if (dump < c.spoilt)
                sent.back()[sent.back().size() - 2] ^= 0x01;
            for (const Bytes& part : sent)
                rig.FeedNow(part);
        }
        rig.Step();
        EXPECT_EQ(FileExists(rig.home.UserIRFolder() + IRFileName(number)), c.stored);
        EXPECT_EQ(int(rig.SentWithCommand(0x0569, from).size()), c.requests);
    }
}

TEST_F(ConnectedLife, APortGoneWhileOpenLosesTheDeviceAndThePollLooksAgain) {
    rig.host.portLost = true;
    ASSERT_TRUE(rig.RunUntil([&] { return !rig.editor->mConnected; }, 12))
        << "the port watch did not run within a second and a bit";
    EXPECT_EQ(rig.editor->TagText(152), "Connecting to the device...");
    EXPECT_TRUE(rig.MessageBoxes().empty());
    // The pedal answers the poll again: found with no user action.
    ASSERT_TRUE(rig.RunUntil([&] { return rig.editor->mConnected; }, 60));
    EXPECT_GT(rig.host.refinds, 1);
}

TEST(DeviceLife, TheIRNamesAskedForBeforeIdentificationAreAskedForOnceIdentified) {
    DeviceRig rig;
    const std::size_t from = rig.sent.size();
    rig.editor->SendIRNamesRequest(4); // the IR list's page at start-up
    EXPECT_TRUE(rig.SentWithCommand(0x056A, from).empty()) << "its reply would be dropped";
    ASSERT_TRUE(rig.Connect());
    ASSERT_TRUE(rig.RunUntil(
        [&] { return std::string(rig.editor->mIRListRows[31]->GetString()) == "Empty Slot 32"; },
        20))
        << "the page's names never came";
    std::vector<int> blocks;
    for (const Bytes& m : rig.SentWithCommand(0x056A, from))
        blocks.push_back(m[7]);
    EXPECT_EQ(blocks, (std::vector<int>{4, 5, 6, 7}));
}

TEST(DeviceLife, AVersionRefusedDeviceThatGoesAwayLeavesTheStatusRowSearching) {
    devsim::SimState state = devsim::FactoryState();
    state.versionByte = 9;
    DeviceRig rig(true, state);
    ASSERT_TRUE(rig.RunUntil([&] { return rig.editor->TagText(152) == "VERSION: 0.9"; }, 40));
    rig.pedal.AddFault(*devsim::ParseFaultRule("drop:55:always").rule);
    // Two polls: the first goes unanswered, the second says so.
    ASSERT_TRUE(rig.RunUntil(
        [&] { return rig.editor->TagText(152) == "Connecting to the device..."; }, 70));
    EXPECT_EQ(rig.editor->TagText(151), "");
    EXPECT_FALSE(rig.editor->mConnected);
}

TEST(DeviceLife, WithNoMidiPortChosenTheStatusRowSaysHowToConnect) {
    struct Case {
        bool chosen;
        const char* row;
    };
    const Case cases[] = {
        {false, "Choose the pedal's MIDI ports in File > Preferences..."},
        {true, "Connecting to the device..."},
    };
    for (const Case& c : cases) {
        DeviceRig rig;
        rig.host.portsChosen = c.chosen;
        rig.pedal.AddFault(*devsim::ParseFaultRule("drop:55:always").rule);
        rig.editor->OnReconnectButton();
        EXPECT_EQ(rig.editor->TagText(152), c.row);
        // The poll's unanswered request keeps the same words.
        rig.Steps(70);
        EXPECT_EQ(rig.editor->TagText(152), c.row);
    }
}

} // namespace

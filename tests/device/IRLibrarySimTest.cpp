#include "device/TransferMessages.h"
#include "tests/device/LibraryFixtures.h"
#include "tests/devsim/DeviceSim.h"
#include "tests/devsim/SimFaults.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <span>

namespace {

using namespace omnar::test;

std::string Numbered(const std::string& folder, int number) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.dat", number);
    return folder + name;
}

// The editor's library on one side, the simulated pedal on the other.
class IRLibraryWithPedal : public ::testing::Test {
protected:
    // Sends the IR in the transfer buffer as the timer would, part by part.
    void UploadTransferBuffer(int slot) {
        const std::span<const std::uint8_t> packed(editor->mTransferBuffer.data(),
                                                   std::size_t(editor->mTransferSize));
        const std::size_t part = omnar::kIRPartBytes;
        Deliver(omnar::BuildIRDumpFirst(slot, int(packed.size()), packed.first(part)).Bytes());
        std::size_t at = part;
        for (; packed.size() - at > part; at += part)
            Deliver(omnar::BuildIRDumpMiddle(packed.subspan(at, part)).Bytes());
        Deliver(omnar::BuildIRDumpLast(packed.subspan(at), {std::uint8_t(editor->mTransferCheckHi),
                                                            std::uint8_t(editor->mTransferCheckLo)})
                    .Bytes());
    }
    std::vector<Bytes> Deliver(std::span<const std::uint8_t> message) {
        nowMs += 10;
        return pedal.Receive(Bytes(message.begin(), message.end()), nowMs);
    }
    // Asks the pedal for IR n and hands whatever comes back to the editor.
    void FetchIR(int n) {
        host.output->messages.clear();
        editor->SendIRDumpRequest(n);
        for (const Bytes& message : host.output->messages) {
            std::vector<Bytes> replies = Deliver(message);
            for (Bytes& late : pedal.Poll(nowMs + 5000))
                replies.push_back(std::move(late));
            for (const Bytes& reply : replies)
                editor->mIRReceive.Take(reply);
        }
    }

    TempDataHome home;
    vx::test::FakeHost host;
    std::unique_ptr<LibraryEditor> editor =
        std::make_unique<LibraryEditor>(vx::InstanceInfo{&host});
    devsim::DeviceSim pedal;
    std::int64_t nowMs = 0;
};

TEST_F(IRLibraryWithPedal, ImportedIRReachesThePedalAndComesBackAsTheSameFile) {
    const std::string wav = home.Folder() + "/Round Trip.wav";
    WavSpec spec{1, 1, 44100, 16, {}};
    for (int i = 0; i < 2000; ++i)
        spec.samples.push_back(0.9 * std::exp(-i / 150.0) * std::cos(i * 0.3));
    WriteFile(wav, WavBytes(spec));
    editor->OpenPanel().fileDialogAnswers.push_back(wav);
    editor->mIRUploadSlot = 42;
    editor->mConnected = true;
    editor->LoadWavIR();
    const Bytes slotFile = editor->mStagedIRImage;
    ASSERT_EQ(slotFile.size(), 2436u);

    UploadTransferBuffer(42);
    ASSERT_TRUE(pedal.State().userIRs[42].has_value());
    EXPECT_EQ(Bytes(pedal.State().userIRs[42]->begin(), pedal.State().userIRs[42]->end()),
              slotFile);
    // The pedal's 'a' puts the staged image into the library.
    editor->CommitStagedIR();
    EXPECT_EQ(ReadFile(Numbered(home.UserIRFolder(), 43)), slotFile);

    unlink(Numbered(home.UserIRFolder(), 43).c_str());
    FetchIR(42);
    EXPECT_TRUE(editor->SaveReceivedIR(42));
    EXPECT_EQ(ReadFile(Numbered(home.UserIRFolder(), 43)), slotFile);
}

TEST_F(IRLibraryWithPedal, ReceivedFactoryIRRefreshesItsName) {
    auto& image = pedal.MutableState().factoryIRs[5];
    const std::string name = "Renamed Cab" + std::string(21, ' ');
    std::copy(name.begin(), name.end(), image.begin() + 4);
    FetchIR(389);
    EXPECT_TRUE(editor->SaveReceivedIR(389));
    EXPECT_EQ(ReadFile(Numbered(home.FactoryIRFolder(), 6)), Bytes(image.begin(), image.end()));
    EXPECT_EQ(editor->mFactoryIRNames[6], "Renamed Cab");
}

TEST_F(IRLibraryWithPedal, OnlyAWholeCheckedDumpIsSaved) {
    struct Case {
        const char* fault;
        bool saved;
    };
    const Case cases[] = {
        {"delay=400:69", true},
        {"corrupt:69", false},
        {"drop:69", false},
        {"disconnect:69", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        editor = std::make_unique<LibraryEditor>(vx::InstanceInfo{&host});
        pedal = devsim::DeviceSim();
        pedal.AddFault(*devsim::ParseFaultRule(c.fault).rule);
        const std::string path = Numbered(home.FactoryIRFolder(), 1);
        unlink(path.c_str());
        FetchIR(384);
        EXPECT_EQ(editor->SaveReceivedIR(384), c.saved);
        EXPECT_EQ(FileExists(path), c.saved);
    }
}

} // namespace

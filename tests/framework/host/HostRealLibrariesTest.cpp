// The host on the real MIDI and audio libraries with no JACK server to reach:
// every failure is caught, and the driver list is the one users are offered.
#include "tests/framework/host/HostFixtures.h"

#include <unistd.h>

using namespace host;
using namespace host::test;

class HostRealLibrariesTest : public HostTest {
protected:
    HostRealLibrariesTest() {
        // A server name nobody runs, and no server started on demand.
        const std::string server = "omnar-none-" + std::to_string(getpid());
        setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
        setenv("JACK_NO_START_SERVER", "1", 1);
    }
};

TEST_F(HostRealLibrariesTest, StartsAndAppliesWithoutThrowing) {
    for (int driver = 0; driver < 4; ++driver) {
        WriteSettings("[audio]\ndriver=" + std::to_string(driver) +
                      "\n[midi]\nindev=virtual input\noutdev=Nowhere 20:0\n");
        HostOptions options;
        options.makeProduct = [](const vx::InstanceInfo& info) {
            return std::make_unique<HostProduct>(info);
        };
        options.showMessage = [this](const std::string& text, const std::string&) {
            mMessages.push_back(text);
        };
        mHost = std::make_unique<StandaloneHost>(std::move(options));
        ASSERT_TRUE(mHost->StartUp()) << driver;
        EXPECT_EQ(mHost->DriverNames(), (std::vector<std::string>{"ALSA", "Pulse", "Jack"}));
        EXPECT_EQ(mHost->Audio() != nullptr, driver < 3) << driver;
        // Whatever devices this machine has, the answer is a stream or the message.
        mMessages.clear();
        const bool opened = mHost->ApplyAudioSettings();
        EXPECT_TRUE(opened || mMessages.size() <= 1u) << driver;
        if (mHost->HasMidiObjects()) {
            EXPECT_EQ(mHost->Settings().midiOutput, "Nowhere 20:0")
                << "a port not listed stays chosen";
        }
        mHost.reset();
    }
}

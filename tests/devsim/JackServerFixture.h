#pragma once

// A private JACK server with the dummy driver and, when asked, the device
// simulator on it. Every wait is bounded; both programs are stopped and every
// file removed, whatever happens, and a failing test prints their stderr.

#include "tests/devsim/ChildProcess.h"
#include "tests/devsim/JackServerStart.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace devsim::test {

class JackServerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts jackd at 44,100 Hz and waits up to 10 s for it to answer.
    void StartServer();

    // Set before StartServer by tests that kill a client outright.
    JackClientWait mClientWait = JackClientWait::Synchronous;
    // Starts devsim (ending itself after 60 s) with the extra options.
    void StartDevsim(const std::vector<std::string>& extra);
    // devsim on this server named <server>-sim, reading commands from
    // mSim->WriteLine, its ready line awaited up to 10 s.
    void StartNamedDevsim();
    std::string SimName() const { return mServerName + "-sim"; }
    std::string SimOutPort() const { return SimName() + "-out:midi_out"; }
    std::string SimInPort() const { return SimName() + "-in:midi_in"; }

    std::filesystem::path mDir;
    std::string mServerName;
    std::unique_ptr<ChildProcess> mServer;
    std::unique_ptr<ChildProcess> mSim;
};

} // namespace devsim::test

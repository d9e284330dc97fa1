#include "tests/devsim/JackServerFixture.h"

#include "tests/devsim/JackServerStart.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace devsim::test {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

void JackServerTest::SetUp() {
    // The folder's random suffix also names the server and every client,
    // so parallel runs, and runs after a killed one, never meet: JACK
    // keeps a client's sockets under its name, whatever its server.
    std::string pattern = (fs::temp_directory_path() / "omnar-jack-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr) << "no temporary folder";
    mDir = pattern;
    mServerName = mDir.filename().string();
    // Clients of this process and of its children reach only the private
    // server, and never start one of their own.
    setenv("JACK_DEFAULT_SERVER", mServerName.c_str(), 1);
    setenv("JACK_NO_START_SERVER", "1", 1);
}

void JackServerTest::TearDown() {
    if (mSim) {
        mSim->Stop(5s);
    }
    if (mServer) {
        mServer->Stop(5s);
    }
    if (HasFailure()) {
        std::fprintf(stderr, "--- jackd stderr ---\n%s\n--- devsim stderr ---\n%s\n",
                     mServer ? mServer->StderrText().c_str() : "",
                     mSim ? mSim->StderrText().c_str() : "");
    }
    if (!mDir.empty()) {
        std::error_code ignored;
        fs::remove_all(mDir, ignored);
    }
}

void JackServerTest::StartServer() {
    std::string error;
    // A bound, not a speed: jackd and its first client start slowly under load.
    mServer = StartJackServer(mServerName, mDir, 30s, error, kDefaultJackPeriod, mClientWait);
    ASSERT_TRUE(mServer) << error;
}

void JackServerTest::StartDevsim(const std::vector<std::string>& extra) {
    std::vector<std::string> argv = {DEVSIM_PATH, "--exit-after", "60"};
    argv.insert(argv.end(), extra.begin(), extra.end());
    std::string error;
    mSim = ChildProcess::Start(argv, (mDir / "devsim.err").string(), error);
    ASSERT_TRUE(mSim) << error;
}

void JackServerTest::StartNamedDevsim() {
    ASSERT_NO_FATAL_FAILURE(StartDevsim({"--name", SimName(), "--state", (mDir / "state").string(),
                                         "--log", (mDir / "devsim.log").string(), "--commands"}));
    const auto ready = mSim->ReadLine(10s);
    ASSERT_TRUE(ready) << "no ready line within 10 s";
    ASSERT_EQ(*ready, "devsim ready: in " + SimInPort() + " out " + SimOutPort());
}

} // namespace devsim::test

#include "tests/devsim/JackServerFixture.h"

#include <jack/jack.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace devsim::test {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

namespace {

bool ServerAnswers(const std::string& probeName) {
    // Until the server is up every try complains; the complaints say nothing new.
    jack_set_error_function([](const char*) {});
    jack_status_t status;
    jack_client_t* probe = jack_client_open(probeName.c_str(), JackNoStartServer, &status);
    if (!probe) {
        return false;
    }
    jack_client_close(probe);
    return true;
}

} // namespace

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
    // A long client timeout: on a loaded CI machine a sanitised client can
    // miss the default 500 ms and be thrown out by the server.
    mServer = ChildProcess::Start(
        {"jackd", "-n", mServerName, "--no-realtime", "-t", "5000", "-d", "dummy", "-r", "44100"},
        (mDir / "jackd.err").string(), error);
    ASSERT_TRUE(mServer) << error;
    const auto deadline = Clock::now() + 10s;
    while (!ServerAnswers(mServerName + "-probe")) {
        ASSERT_LT(Clock::now(), deadline) << "the JACK server did not start within 10 s";
        ASSERT_FALSE(mServer->WaitForExit(100ms)) << "jackd ended early";
    }
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

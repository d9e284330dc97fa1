#include "platform/sys/ChildProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

namespace {

using sys::ChildProcess;

// Polls until the child has been reaped; the test's own time limit bounds it.
int WaitForExit(ChildProcess& child) {
    for (;;) {
        if (const std::optional<int> code = child.ExitCode())
            return *code;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

std::string ReadAll(ChildProcess& child) {
    std::string text;
    char buffer[256];
    ssize_t got;
    while ((got = child.Read(ChildProcess::Stream::Output, buffer, sizeof buffer, false)) > 0)
        text.append(buffer, static_cast<std::size_t>(got));
    return text;
}

TEST(ChildProcess, AProgramThatCannotStartGivesNull) {
    EXPECT_EQ(ChildProcess::Spawn("/nonexistent/omnar-program", {}, true), nullptr);
    EXPECT_EQ(ChildProcess::Spawn("/etc/passwd", {}, false), nullptr);
}

TEST(ChildProcess, ArgumentsPassUnchangedAndPipesCarryBothWays) {
    // The quotes and the "$" reach the script as data: no shell parses them.
    auto child = ChildProcess::Spawn(
        "/bin/sh", {"-c", "read line; echo \"$line|$0\"; exit 3", "a 'b' $HOME"}, true);
    ASSERT_NE(child, nullptr);
    char nothing;
    EXPECT_EQ(child->Read(ChildProcess::Stream::Output, &nothing, 1, true), 0);
    EXPECT_EQ(child->Read(ChildProcess::Stream::Input, &nothing, 1, true), -1);

    const std::string line = "hello\n";
    EXPECT_EQ(child->WriteInput(line.data(), line.size()), line.size());
    EXPECT_EQ(ReadAll(*child), "hello|a 'b' $HOME\n");
    EXPECT_EQ(WaitForExit(*child), 3);
    EXPECT_FALSE(child->IsRunning());
    EXPECT_FALSE(child->Terminate());
}

TEST(ChildProcess, WritingToAChildThatHasGoneEndsEarlyWithoutSigpipe) {
    auto child = ChildProcess::Spawn("/bin/true", {}, true);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(WaitForExit(*child), 0);

    const std::vector<char> bytes(1 << 20, 'x');
    EXPECT_EQ(child->WriteInput(bytes.data(), bytes.size()), 0u);
    sigset_t pending;
    sigpending(&pending);
    EXPECT_EQ(sigismember(&pending, SIGPIPE), 0) << "the broken pipe's signal was left pending";
}

TEST(ChildProcess, TerminateEndsARunningChildBySignal) {
    auto child = ChildProcess::Spawn("/bin/sleep", {"1000"}, false);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->Descriptor(ChildProcess::Stream::Output), -1);
    EXPECT_TRUE(child->IsRunning());
    EXPECT_TRUE(child->Terminate());
    EXPECT_EQ(WaitForExit(*child), SIGTERM);
}

} // namespace

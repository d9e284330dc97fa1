#include "platform/ak/Object.h"
#include "platform/ak/RunLoop.h"
#include "platform/ak/TimeoutSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

struct Tracked : ak::Object {
    explicit Tracked(std::vector<std::string>& log) : log(log) {}
    ~Tracked() override { log.push_back("freed"); }
    std::vector<std::string>& log;
};

TEST(Object, RefsShareOneCount) {
    std::vector<std::string> log;
    {
        auto a = ak::MakeRef<Tracked>(log);
        ak::Ref<Tracked> b = a;
        EXPECT_EQ(a->RetainCount(), 2);
        a.Reset();
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(log, std::vector<std::string>{"freed"});
}

TEST(Object, ReleaseLaterFreesAfterTheRunningTickReturns) {
    std::vector<std::string> log;
    ak::RunLoop loop;
    auto* object = new Tracked(log);
    ak::TimeoutSource tick(1, [&] {
        if (!object)
            return loop.Quit();
        object->ReleaseLater();
        log.push_back("still alive: " + std::to_string(object->RetainCount()));
        object = nullptr;
        log.push_back("tick done");
    });
    loop.Run();
    EXPECT_EQ(log, (std::vector<std::string>{"still alive: 1", "tick done", "freed"}));
}

TEST(Object, ReleaseLaterInsideANestedLoopWaitsForTheHolder) {
    std::vector<std::string> log;
    ak::RunLoop outer;
    auto object = ak::MakeRef<Tracked>(log);
    ak::TimeoutSource tick(1, [&] {
        tick.Cancel();
        ak::Ref<Tracked> hold = object;
        object->ReleaseLater();
        object.Reset();
        // A nested loop drains the pending release, yet the holder keeps it.
        while (ak::RunLoop::Iterate(false)) {
        }
        log.push_back("after nested loop");
        outer.Quit();
    });
    object->Retain(); // the reference ReleaseLater gives up
    outer.Run();
    EXPECT_EQ(log, (std::vector<std::string>{"after nested loop", "freed"}));
}

TEST(TimeoutSource, StartsNowOrAfterOneInterval) {
    using Clock = std::chrono::steady_clock;
    ak::RunLoop loop;
    const auto start = Clock::now();
    Clock::duration later = {};
    // The first tick of each; a source started at once comes before one of
    // half its interval, however busy the machine.
    std::vector<std::string> firsts;
    const auto first = [&](const char* name) {
        if (std::find(firsts.begin(), firsts.end(), name) == firsts.end())
            firsts.push_back(name);
    };
    ak::TimeoutSource now(200, [&] { first("now"); });
    ak::TimeoutSource half(
        100, [&] { first("half"); }, ak::TimeoutSource::Start::AfterInterval);
    ak::TimeoutSource after(
        200,
        [&] {
            later = Clock::now() - start;
            first("after");
            loop.Quit();
        },
        ak::TimeoutSource::Start::AfterInterval);
    loop.Run();
    EXPECT_EQ(firsts, (std::vector<std::string>{"now", "half", "after"}));
    EXPECT_GE(later, std::chrono::milliseconds(195));
}

} // namespace

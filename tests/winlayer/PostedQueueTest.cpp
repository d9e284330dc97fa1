#include "winlayer/PostedQueue.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using winlayer::PostedQueue;

HWND Handle(std::uintptr_t n) {
    return reinterpret_cast<HWND>(n * 16);
}

void TickProc(HWND, UINT, UINT_PTR, DWORD) {}
void OtherProc(HWND, UINT, UINT_PTR, DWORD) {}

// Logs every delivery as text; windows listed in `gone` refuse posted messages.
class LogReceiver : public winlayer::QueueReceiver {
public:
    std::vector<std::string> log;
    std::set<HWND> gone;
    std::function<void()> onDeliver;

    bool canPostTo(HWND window) override { return gone.count(window) == 0; }
    void deliverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        log.push_back("msg " + Name(window) + " " + std::to_string(message) + " " +
                      std::to_string(wParam) + " " + std::to_string(lParam));
        if (onDeliver)
            onDeliver();
    }
    void setTimer(HWND window, UINT_PTR id, UINT ms, TIMERPROC proc) override {
        log.push_back("set " + Name(window) + " " + std::to_string(id) + " " + std::to_string(ms) +
                      (proc == &OtherProc ? " other"
                       : proc             ? " tick"
                                          : ""));
    }
    void killTimer(HWND window, UINT_PTR id) override {
        log.push_back("kill " + Name(window) + " " + std::to_string(id));
    }

private:
    static std::string Name(HWND window) {
        return std::to_string(reinterpret_cast<std::uintptr_t>(window) / 16);
    }
};

TEST(PostedQueueTest, DeliversInOrderAndDropsWindowsThatAreGone) {
    PostedQueue queue;
    LogReceiver receiver;
    receiver.gone.insert(Handle(2));
    EXPECT_EQ(queue.post(nullptr, 1, 0, 0), FALSE);
    EXPECT_EQ(queue.post(Handle(1), 0x400, 7, -3), TRUE);
    EXPECT_EQ(queue.post(Handle(2), 0x401, 0, 0), TRUE);
    queue.queueTimerRequest(Handle(2), 5, 100, nullptr);
    EXPECT_EQ(queue.post(Handle(1), 0x402, 1, 2), TRUE);
    queue.flush(receiver);
    const std::vector<std::string> expected = {"msg 1 1024 7 -3", "set 2 5 100", "msg 1 1026 1 2"};
    EXPECT_EQ(receiver.log, expected);
    EXPECT_EQ(queue.queuedCount(), 0u);
}

TEST(PostedQueueTest, FlushDeliversOnlyWhatWasQueuedAtItsStart) {
    PostedQueue queue;
    LogReceiver receiver;
    int reposts = 0;
    receiver.onDeliver = [&] {
        if (reposts++ < 3)
            queue.post(Handle(9), 1, 0, 0);
    };
    queue.post(Handle(1), 1, 0, 0);
    queue.post(Handle(1), 2, 0, 0);
    queue.flush(receiver);
    EXPECT_EQ(receiver.log.size(), 2u);
    EXPECT_EQ(queue.queuedCount(), 2u);
    queue.flush(receiver);
    EXPECT_EQ(receiver.log.size(), 4u);
}

TEST(PostedQueueTest, RefusesThePostPastTheLimitThenReusesRecords) {
    PostedQueue queue;
    LogReceiver receiver;
    for (std::size_t i = 0; i < PostedQueue::kPostLimit; ++i)
        ASSERT_EQ(queue.post(Handle(1), 1, i, 0), TRUE);
    EXPECT_EQ(queue.post(Handle(1), 1, 0, 0), FALSE);
    // Timer requests still get through a full queue.
    queue.queueTimerRequest(Handle(1), 3, PostedQueue::kKillRequest, nullptr);
    queue.flush(receiver);
    EXPECT_EQ(receiver.log.size(), PostedQueue::kPostLimit + 1);
    EXPECT_EQ(receiver.log.back(), "kill 1 3");
    EXPECT_EQ(queue.spareCount(), PostedQueue::kPostLimit + 1);
    for (std::size_t i = 0; i <= PostedQueue::kPostLimit; ++i)
        ASSERT_EQ(queue.post(Handle(1), 1, i, 0), TRUE);
    EXPECT_EQ(queue.spareCount(), 0u);
}

TEST(PostedQueueTest, LastTimerRequestForAWindowAndIdWins) {
    struct Step {
        HWND window;
        UINT_PTR id;
        UINT ms;
        TIMERPROC proc;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"kill replaces set",
         {{Handle(1), 4, 50, nullptr}, {Handle(1), 4, PostedQueue::kKillRequest, nullptr}},
         {"kill 1 4"}},
        {"re-arm replaces interval and proc",
         {{Handle(1), 4, 50, &TickProc}, {Handle(1), 4, 75, &OtherProc}},
         {"set 1 4 75 other"}},
        {"different ids and windows stay apart",
         {{Handle(1), 4, 50, nullptr}, {Handle(1), 5, 60, nullptr}, {Handle(2), 4, 70, nullptr}},
         {"set 1 4 50", "set 1 5 60", "set 2 4 70"}},
        {"a windowless re-arm is carried", {{nullptr, 4, 50, &TickProc}}, {"set 0 4 50 tick"}},
    };
    for (const Case& c : cases) {
        PostedQueue queue;
        LogReceiver receiver;
        for (const Step& s : c.steps)
            queue.queueTimerRequest(s.window, s.id, s.ms, s.proc);
        queue.flush(receiver);
        EXPECT_EQ(receiver.log, c.expected) << c.name;
    }
}

TEST(PostedQueueTest, ClearDropsOneWindowOrEverything) {
    PostedQueue queue;
    LogReceiver receiver;
    queue.post(Handle(1), 1, 0, 0);
    queue.post(Handle(2), 2, 0, 0);
    queue.queueTimerRequest(Handle(1), 3, 10, nullptr);
    queue.post(Handle(2), 4, 0, 0);
    queue.clear(Handle(2));
    EXPECT_EQ(queue.queuedCount(), 2u);
    EXPECT_EQ(queue.spareCount(), 2u);
    // The tail must follow: a new post lands after the surviving entries.
    queue.post(Handle(3), 5, 0, 0);
    queue.flush(receiver);
    const std::vector<std::string> expected = {"msg 1 1 0 0", "set 1 3 10", "msg 3 5 0 0"};
    EXPECT_EQ(receiver.log, expected);

    queue.post(Handle(1), 6, 0, 0);
    queue.queueTimerRequest(Handle(2), 7, 10, nullptr);
    queue.clear(nullptr);
    EXPECT_EQ(queue.queuedCount(), 0u);
    receiver.log.clear();
    queue.flush(receiver);
    EXPECT_TRUE(receiver.log.empty());
}

} // namespace

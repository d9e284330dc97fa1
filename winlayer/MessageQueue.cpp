#include "winlayer/MessageQueue.h"

#include "platform/ak/Responder.h"
#include "platform/ak/TimeoutSource.h"
#include "winlayer/WinBasics.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace winlayer {
namespace {

constexpr uint32_t kFlushIntervalMs = 50;

std::atomic<QueueWindows*> g_windows{nullptr};
std::atomic<bool> g_quitting{false};

QueuedTarget* FindTarget(HWND window, ak::Ref<ak::Responder>* hold) {
    QueueWindows* windows = g_windows.load();
    ak::Responder* object = windows ? windows->find(window) : nullptr;
    auto* target = dynamic_cast<QueuedTarget*>(object);
    if (target && hold)
        *hold = object;
    return target;
}

// A tick that is cancelled before it goes, so a kill inside its own tick
// leaves GLib to free the running callback after it returns.
class TimeoutTick : public TimerTick {
public:
    TimeoutTick(unsigned intervalMs, std::function<void()> fn)
        : source_(intervalMs, std::move(fn), ak::TimeoutSource::Start::AfterInterval) {}

private:
    ak::TimeoutSource source_;
};

class TimeoutTimerHost : public TimerHost {
public:
    std::unique_ptr<TimerTick> startTick(HWND window, UINT_PTR id, unsigned intervalMs,
                                         TIMERPROC proc) override {
        if (proc) {
            return std::make_unique<TimeoutTick>(intervalMs, [=] {
                if (TimerMayTick(window))
                    proc(window, WM_TIMER, id, GetTickCount());
            });
        }
        if (!FindTarget(window, nullptr))
            return nullptr;
        // Found again at every tick: a window that went since is not called.
        return std::make_unique<TimeoutTick>(intervalMs, [=] {
            if (!TimerMayTick(window))
                return;
            ak::Ref<ak::Responder> hold;
            if (QueuedTarget* target = FindTarget(window, &hold))
                target->wispTimer(id);
        });
    }
};

class Receiver : public QueueReceiver {
public:
    bool canPostTo(HWND window) override {
        QueuedTarget* target = FindTarget(window, nullptr);
        return target && target->wispCanPostMessage();
    }
    void deliverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (QueueWindows* windows = g_windows.load())
            windows->deliver(window, message, wParam, lParam);
    }
    // A window gone since the request was queued gets no timer.
    void setTimer(HWND window, UINT_PTR id, UINT intervalMs, TIMERPROC proc) override {
        if (window == nullptr || FindTarget(window, nullptr))
            SetTimer(window, id, intervalMs, proc);
    }
    void killTimer(HWND window, UINT_PTR id) override { KillTimer(window, id); }
};

// The timer list lives from first use; its main thread is the first caller's,
// the thread that later sets the queue up.
struct Center {
    TimeoutTimerHost host;
    TimerList timers{host, std::this_thread::get_id()};
    PostedQueue queue;
    std::atomic<bool> queueReady{false};
    std::once_flag initOnce;
    std::unique_ptr<ak::TimeoutSource> flushTick;
    Receiver receiver;
};

Center& TheCenter() {
    static Center center;
    return center;
}

} // namespace

void SetQueueWindows(QueueWindows* windows) {
    g_windows = windows;
}

void InitPostedQueue(QueueHost& host) {
    Center& center = TheCenter();
    std::call_once(center.initOnce, [&] {
        center.flushTick = std::make_unique<ak::TimeoutSource>(
            kFlushIntervalMs, [&host] { host.wispPostMessageTick(); },
            ak::TimeoutSource::Start::AfterInterval);
        center.timers.setQueue(&center.queue);
        center.queueReady = true;
    });
}

bool PostedQueueReady() {
    return TheCenter().queueReady;
}

bool IsQuitting() {
    return g_quitting;
}

void SetQuitting() {
    g_quitting = true;
}

} // namespace winlayer

using winlayer::TheCenter;

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT intervalMs, TIMERPROC proc) {
    return TheCenter().timers.set(window, id, intervalMs, proc);
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    return TheCenter().timers.kill(window, id);
}

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& center = TheCenter();
    if (!center.queueReady)
        return FALSE;
    return center.queue.post(window, message, wParam, lParam);
}

void WISP_MessageQueue_Flush() {
    auto& center = TheCenter();
    if (center.queueReady)
        center.queue.flush(center.receiver);
}

void WISP_MessageQueue_Clear(HWND window) {
    auto& center = TheCenter();
    if (center.queueReady)
        center.queue.clear(window);
}

#pragma once

#include "winlayer/PostedQueue.h"

#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace winlayer {

inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT_PTR kAllTimers = static_cast<UINT_PTR>(-1);

// A running repeating tick; destroying it stops it.
class TimerTick {
public:
    virtual ~TimerTick() = default;
};

// Starts ticks on the main loop, firing in nested loops too. A window tick
// sends WM_TIMER through the window; a callback tick calls proc.
class TimerHost {
public:
    virtual ~TimerHost() = default;
    // Null when the window cannot take timers.
    virtual std::unique_ptr<TimerTick> startTick(HWND window, UINT_PTR id, unsigned intervalMs,
                                                 TIMERPROC proc) = 0;
};

// The live timers of SetTimer and KillTimer. Calls off the main thread go
// through the posted queue and are carried out by its flush.
class TimerList {
public:
    TimerList(TimerHost& host, std::thread::id mainThread);

    // The queue that carries requests from other threads; null for none.
    void setQueue(PostedQueue* queue);
    UINT_PTR set(HWND window, UINT_PTR id, UINT intervalMs, TIMERPROC proc);
    BOOL kill(HWND window, UINT_PTR id);
    bool exists(HWND window, UINT_PTR id) const;

private:
    struct Record {
        UINT_PTR id = 0;
        HWND window = nullptr;
        std::unique_ptr<TimerTick> tick;
    };

    bool offMainThread() const;
    std::list<Record>::iterator find(HWND window, UINT_PTR id);
    BOOL killAll(HWND window);

    TimerHost& host_;
    const std::thread::id mainThread_;
    mutable std::mutex mutex_;
    PostedQueue* queue_ = nullptr;
    std::list<Record> records_;
};

} // namespace winlayer

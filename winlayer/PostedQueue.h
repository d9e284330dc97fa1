#pragma once

#include "winlayer/WinTypes.h"

#include <cstddef>
#include <list>
#include <mutex>

using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

namespace winlayer {

// Where a flush hands its entries. Delivery runs on the flushing thread with
// the queue unlocked, so a receiver may post and set timers again.
class QueueReceiver {
public:
    virtual ~QueueReceiver() = default;
    // Answers whether the window still exists and takes posted messages.
    virtual bool canPostTo(HWND window) = 0;
    virtual void deliverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void setTimer(HWND window, UINT_PTR id, UINT intervalMs, TIMERPROC proc) = 0;
    virtual void killTimer(HWND window, UINT_PTR id) = 0;
};

// The process queue behind PostMessage and the timer requests made off the
// main thread. Records are kept on a free list once drained, so posting does
// not allocate after the first burst.
class PostedQueue {
public:
    static constexpr std::size_t kPostLimit = 1024;
    static constexpr UINT kKillRequest = 0xFFFFFFFFu;

    // FALSE for a null window or a full queue with no spare record.
    BOOL post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // A later request for the same window and id replaces a queued one.
    // Interval kKillRequest asks for the timer to be killed. A null window
    // stands for a windowless timer; the caller decides whether one may queue.
    void queueTimerRequest(HWND window, UINT_PTR id, UINT intervalMs, TIMERPROC proc);
    // Delivers only the entries queued when the flush starts.
    void flush(QueueReceiver& receiver);
    // Drops the entries of one window, or all of them for a null window.
    void clear(HWND window);

    std::size_t queuedCount() const;
    std::size_t spareCount() const;

private:
    enum class Kind { message, timerRequest };
    struct Record {
        HWND window = nullptr;
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
        TIMERPROC proc = nullptr;
        Kind kind = Kind::message;
    };

    void append(const Record& record);
    static void deliver(const Record& record, QueueReceiver& receiver);

    mutable std::mutex mutex_;
    std::list<Record> queued_;
    std::list<Record> spare_;
};

} // namespace winlayer

#pragma once

#include "winlayer/PostedQueue.h"
#include "winlayer/TimerList.h"

namespace ak {
class Responder;
}

// The process's posted-message queue and timers behind PostMessage, SetTimer,
// KillTimer and WISP_MessageQueue_*. Safe from any thread; delivery happens on
// the main thread. No GTK here: the window layer, or a headless test, supplies
// the windows.

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT intervalMs, TIMERPROC proc);
BOOL KillTimer(HWND window, UINT_PTR id);
BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void WISP_MessageQueue_Flush();
void WISP_MessageQueue_Clear(HWND window);

// Run-loop helpers kept for modules loaded into the process; the program
// itself does not call them. Main thread only.
// Serves the main loop's events and timers for ms milliseconds, then returns.
void WISP_RunLoop_RunFor(unsigned ms);
// The same while only the given window's timers may tick: another window's
// timer (its WM_TIMER or its TIMERPROC) misses its ticks meanwhile;
// windowless timers keep ticking.
void WISP_RunLoop_RunForWindowTimers(HWND window, unsigned ms);
// Serves what is pending now, at most 100 turns of the loop that each found
// something; answers how many did.
int WISP_RunLoop_PumpEvents();

namespace winlayer {

// The application delegate's side of the queue: its tick, every 0.05 s on the
// main thread, drains the queue.
class QueueHost {
public:
    virtual ~QueueHost() = default;
    virtual void wispPostMessageTick() { WISP_MessageQueue_Flush(); }
};

// A window that takes posted messages and WM_TIMER ticks. An HWND is the
// address of an ak::Responder; the layer's window views implement this.
class QueuedTarget {
public:
    virtual ~QueuedTarget() = default;
    virtual bool wispCanPostMessage() const = 0;
    virtual void wispTimer(UINT_PTR id) = 0;
};

// What the queue and the timers ask of the windows.
class QueueWindows {
public:
    virtual ~QueueWindows() = default;
    // The live object a handle names, found by comparing addresses, never by
    // reading the handle; null when there is none.
    virtual ak::Responder* find(HWND window) = 0;
    virtual void deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// Window timers and posted messages reach only windows these find.
void SetQueueWindows(QueueWindows* windows);
// Sets the queue up once, on the calling thread, which becomes the main
// thread: a tick every 0.05 s on its loop calls host.wispPostMessageTick().
// Later calls do nothing.
void InitPostedQueue(QueueHost& host);
bool PostedQueueReady();
// Whether a tick of the window's timer (null: a windowless one) goes out now.
bool TimerMayTick(HWND window);
// Set by WISP_PostQuitMessage.
bool IsQuitting();
void SetQuitting();

} // namespace winlayer

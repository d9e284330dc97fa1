#pragma once

#include "platform/ak/Object.h"
#include "platform/ak/TimeoutSource.h"

#include <functional>
#include <memory>
#include <vector>

namespace ak {

struct Event;

// The chain that mouse, key and gesture events walk until someone handles
// them: a view passes what it does not handle to its next responder (its
// superview, at the top its window).
class Responder : public Object {
public:
    virtual Responder* NextResponder() const { return nullptr; }

    virtual bool AcceptsFirstResponder() const { return false; }
    virtual bool BecomeFirstResponder() { return true; }
    virtual bool ResignFirstResponder() { return true; }

    virtual void MouseDown(const Event& event) { PassOn(&Responder::MouseDown, event); }
    virtual void MouseUp(const Event& event) { PassOn(&Responder::MouseUp, event); }
    virtual void MouseDragged(const Event& event) { PassOn(&Responder::MouseDragged, event); }
    virtual void RightMouseDown(const Event& event) { PassOn(&Responder::RightMouseDown, event); }
    virtual void RightMouseUp(const Event& event) { PassOn(&Responder::RightMouseUp, event); }
    virtual void RightMouseDragged(const Event& event) {
        PassOn(&Responder::RightMouseDragged, event);
    }
    virtual void OtherMouseDown(const Event& event) { PassOn(&Responder::OtherMouseDown, event); }
    virtual void OtherMouseUp(const Event& event) { PassOn(&Responder::OtherMouseUp, event); }
    virtual void MouseMoved(const Event& event) { PassOn(&Responder::MouseMoved, event); }
    virtual void MouseEntered(const Event&) {}
    virtual void MouseExited(const Event&) {}
    virtual void ScrollWheel(const Event& event) { PassOn(&Responder::ScrollWheel, event); }
    virtual void Magnify(const Event& event) { PassOn(&Responder::Magnify, event); }
    virtual void Rotate(const Event& event) { PassOn(&Responder::Rotate, event); }
    virtual void Swipe(const Event& event) { PassOn(&Responder::Swipe, event); }
    virtual void KeyDown(const Event& event) { PassOn(&Responder::KeyDown, event); }
    virtual void KeyUp(const Event& event) { PassOn(&Responder::KeyUp, event); }
    virtual void FlagsChanged(const Event& event) { PassOn(&Responder::FlagsChanged, event); }

    // Timers owned by this responder: they stop when it goes (a window: when
    // it closes), so none ever ticks into an owner that is gone; the owner is
    // held while a tick runs. Answers an id for StopTimer.
    int StartTimer(uint32_t intervalMs, std::function<void()> tick,
                   TimeoutSource::Start start = TimeoutSource::Start::Now);
    // Safe inside the timer's own tick.
    void StopTimer(int id);
    void StopAllTimers();

protected:
    // The end of the chain: the event was not handled.
    virtual void NoResponderFor(const Event&) {}

private:
    struct OwnedTimer {
        int id;
        std::unique_ptr<TimeoutSource> source;
    };
    std::vector<OwnedTimer> m_timers;
    int m_nextTimerId = 1;

    void PassOn(void (Responder::*handler)(const Event&), const Event& event);
};

} // namespace ak

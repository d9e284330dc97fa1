#include "platform/ak/Responder.h"

namespace ak {

void Responder::PassOn(void (Responder::*handler)(const Event&), const Event& event) {
    Ref<Responder> next = NextResponder();
    if (next)
        ((*next).*handler)(event);
    else
        NoResponderFor(event);
}

int Responder::StartTimer(uint32_t intervalMs, std::function<void()> tick,
                          TimeoutSource::Start start) {
    if (!tick)
        throw std::bad_function_call();
    const int id = m_nextTimerId++;
    auto source = std::make_unique<TimeoutSource>(
        intervalMs,
        [this, tick = std::move(tick)] {
            Ref<Responder> hold(this);
            tick();
        },
        start);
    m_timers.push_back({id, std::move(source)});
    return id;
}

void Responder::StopTimer(int id) {
    std::erase_if(m_timers, [id](const OwnedTimer& timer) { return timer.id == id; });
}

void Responder::StopAllTimers() {
    m_timers.clear();
}

} // namespace ak

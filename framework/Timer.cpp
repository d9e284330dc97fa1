#include "framework/Timer.h"

#include "platform/ak/TimeoutSource.h"

namespace vx {

std::unique_ptr<Timer> Timer::Make(Callback callback, uint32_t intervalMs) {
    return std::make_unique<Timer_impl>(std::move(callback), intervalMs);
}

Timer_impl::Timer_impl(Callback callback, uint32_t intervalMs)
    : m_callback(std::move(callback)), m_intervalMs(intervalMs) {
    if (!m_callback)
        throw std::bad_function_call();
    m_source = std::make_unique<ak::TimeoutSource>(intervalMs, [this] { m_callback(*this); });
}

Timer_impl::~Timer_impl() {
    Stop();
}

void Timer_impl::Stop() {
    // The main loop keeps a tick that is running alive until it returns.
    m_source.reset();
}

} // namespace vx

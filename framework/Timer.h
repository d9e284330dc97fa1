#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace ak {
class TimeoutSource;
}

namespace vx {

// A repeating timer on the main loop that calls its callback with itself.
class Timer {
public:
    using Callback = std::function<void(Timer&)>;

    // The first tick comes as soon as the main loop runs. Throws
    // std::bad_function_call for an empty callback.
    static std::unique_ptr<Timer> Make(Callback callback, uint32_t intervalMs);

    virtual ~Timer() = default;
    // Ends the ticking; safe inside the callback and more than once.
    virtual void Stop() = 0;
};

class Timer_impl final : public Timer {
public:
    Timer_impl(Callback callback, uint32_t intervalMs);
    ~Timer_impl() override;

    void Stop() override;
    uint32_t IntervalMs() const { return m_intervalMs; }
    bool IsRunning() const { return m_source != nullptr; }

private:
    std::unique_ptr<ak::TimeoutSource> m_source;
    Callback m_callback;
    uint32_t m_intervalMs;
};

} // namespace vx

#pragma once

#include <cstdint>
#include <functional>

namespace ak {

struct TickSource;

// A repeating timer on the main loop. The first tick comes on the loop's next
// iteration (Start::Now) or one interval later (Start::AfterInterval), then one
// every interval on a fixed grid: a late tick moves to the next point of the
// grid, so ticks are skipped, never bunched. A tick never re-enters itself,
// even when its callback runs a nested loop.
class TimeoutSource {
public:
    enum class Start { Now, AfterInterval };

    // Throws std::bad_function_call for an empty callback.
    TimeoutSource(uint32_t intervalMs, std::function<void()> tick, Start start = Start::Now);
    ~TimeoutSource();
    TimeoutSource(const TimeoutSource&) = delete;
    TimeoutSource& operator=(const TimeoutSource&) = delete;

    // Ends the ticking; safe inside the tick and more than once.
    void Cancel();
    bool IsActive() const { return m_source != nullptr; }

private:
    TickSource* m_source;
};

} // namespace ak

#pragma once

#include "toolkit/Clock.h"

namespace vx::test {

// Stands in for the monotonic clock while it lives.
class TestClock {
public:
    explicit TestClock(double startMs = 1000.0) : m_now(startMs) {
        ui::SetMonotonicClock([this] { return m_now; });
    }
    ~TestClock() { ui::SetMonotonicClock(nullptr); }
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;

    void Advance(double ms) { m_now += ms; }
    double Now() const { return m_now; }

private:
    double m_now;
};

} // namespace vx::test

#pragma once

#include <memory>

namespace ak {

// One level of the main thread's event loop. Loops nest: a Run() inside a
// callback starts an inner level that ends only by its own Quit(), while the
// timers and events of the outer levels keep being served.
class RunLoop {
public:
    RunLoop();
    ~RunLoop();
    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    // Returns once Quit() has been called; a Quit() before Run() makes Run() return at once.
    void Run();
    void Quit();
    bool IsRunning() const;

    // Runs one iteration of the main context: dispatches what is ready and,
    // when mayBlock is true and nothing is, waits for something first.
    // Returns whether anything was dispatched.
    static bool Iterate(bool mayBlock);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace ak

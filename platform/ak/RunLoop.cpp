#include "platform/ak/RunLoop.h"

#include <glib.h>

namespace ak {

struct RunLoop::Impl {
    Impl() = default;
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;
    ~Impl() { g_main_loop_unref(loop); }

    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    bool quitEarly = false;
};

RunLoop::RunLoop() : m_impl(std::make_unique<Impl>()) {}

RunLoop::~RunLoop() = default;

void RunLoop::Run() {
    if (m_impl->quitEarly) {
        m_impl->quitEarly = false;
        return;
    }
    g_main_loop_run(m_impl->loop);
}

void RunLoop::Quit() {
    if (g_main_loop_is_running(m_impl->loop))
        g_main_loop_quit(m_impl->loop);
    else
        m_impl->quitEarly = true;
}

bool RunLoop::IsRunning() const {
    return g_main_loop_is_running(m_impl->loop);
}

bool RunLoop::Iterate(bool mayBlock) {
    return g_main_context_iteration(nullptr, mayBlock ? TRUE : FALSE);
}

} // namespace ak

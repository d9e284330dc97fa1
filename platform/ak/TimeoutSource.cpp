#include "platform/ak/TimeoutSource.h"

#include <glib.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace ak {

// GLib allocates and frees this block, which must start with the GSource so
// that the two pointers convert into each other: hence standard layout, and
// the callback held by pointer.
struct TickSource {
    GSource base;
    std::function<void()>* tick;
    gint64 intervalUs;
    gint64 due;
};
static_assert(std::is_standard_layout_v<TickSource>);

namespace {

gboolean Dispatch(GSource* base, GSourceFunc, gpointer) noexcept {
    auto* source = reinterpret_cast<TickSource*>(base);
    // GLib holds a reference while dispatching, so a Cancel() inside the tick
    // cannot free the callback that is running.
    (*source->tick)();
    if (g_source_is_destroyed(base))
        return G_SOURCE_REMOVE;
    const gint64 now = g_get_monotonic_time();
    source->due += source->intervalUs;
    if (source->due <= now)
        source->due += ((now - source->due) / source->intervalUs + 1) * source->intervalUs;
    g_source_set_ready_time(base, source->due);
    return G_SOURCE_CONTINUE;
}

void Finalize(GSource* base) noexcept {
    delete reinterpret_cast<TickSource*>(base)->tick;
}

GSourceFuncs kFuncs = {nullptr, nullptr, Dispatch, Finalize, nullptr, nullptr};

} // namespace

TimeoutSource::TimeoutSource(uint32_t intervalMs, std::function<void()> tick, Start start) {
    if (!tick)
        throw std::bad_function_call();
    // Made before the source, so that a throw leaves nothing behind.
    auto callback = std::make_unique<std::function<void()>>(std::move(tick));
    GSource* base = g_source_new(&kFuncs, sizeof(TickSource));
    m_source = reinterpret_cast<TickSource*>(base);
    m_source->tick = callback.release(); // freed by Finalize
    m_source->intervalUs = gint64{intervalMs > 0 ? intervalMs : 1} * 1000;
    m_source->due = g_get_monotonic_time();
    if (start == Start::AfterInterval)
        m_source->due += m_source->intervalUs;
    g_source_set_ready_time(base, start == Start::Now ? 0 : m_source->due);
    g_source_attach(base, nullptr);
}

TimeoutSource::~TimeoutSource() {
    Cancel();
}

void TimeoutSource::Cancel() {
    if (!m_source)
        return;
    GSource* base = &m_source->base;
    m_source = nullptr;
    g_source_destroy(base);
    g_source_unref(base);
}

} // namespace ak

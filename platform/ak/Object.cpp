#include "platform/ak/Object.h"

#include <glib.h>

#include <vector>

namespace ak {

namespace {

// Objects waiting for the end of the dispatch that released them. A
// high-priority idle source drains them on the next iteration of whichever
// loop level runs; a caller still on the stack holds its own reference.
struct PendingReleases {
    std::vector<Object*> objects;
    guint source = 0;
};

PendingReleases& Pending() {
    static PendingReleases pending;
    return pending;
}

gboolean DrainPending(gpointer) noexcept {
    auto& pending = Pending();
    pending.source = 0;
    auto objects = std::move(pending.objects);
    pending.objects.clear();
    for (Object* object : objects)
        object->Release();
    return G_SOURCE_REMOVE;
}

} // namespace

void Object::Release() {
    if (--m_count == 0)
        delete this;
}

void Object::ReleaseLater() {
    auto& pending = Pending();
    pending.objects.push_back(this);
    if (pending.source == 0)
        pending.source = g_idle_add_full(G_PRIORITY_HIGH, DrainPending, nullptr, nullptr);
}

} // namespace ak

#include "winlayer/GdiRecords.h"

#include <mutex>

namespace winlayer {

namespace {

constexpr int kMaxPooledContexts = 100;
constexpr int kMaxPooledObjects = 200;

struct Pools {
    std::mutex mutex;
    HDC contexts = nullptr;
    int contextCount = 0;
    HGDIOBJ objects = nullptr;
    int objectCount = 0;

    ~Pools() {
        while (HDC hdc = contexts) {
            contexts = hdc->next;
            delete hdc;
        }
        while (HGDIOBJ object = objects) {
            objects = object->next;
            delete object;
        }
    }
};

Pools& ThePools() {
    static Pools pools;
    return pools;
}

} // namespace

GdiColor GdiColor::FromValue(int value, double alpha) {
    return {((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0, (value & 0xFF) / 255.0,
            alpha};
}

HDC AllocContext() {
    Pools& pools = ThePools();
    {
        std::lock_guard lock(pools.mutex);
        if (HDC hdc = pools.contexts) {
            pools.contexts = hdc->next;
            --pools.contextCount;
            *hdc = HDC__{};
            return hdc;
        }
    }
    return new HDC__;
}

void FreeContext(HDC hdc) {
    // Release what the record holds before it is pooled or freed.
    HDC__ cleared;
    std::swap(*hdc, cleared);
    hdc->inPool = true;
    Pools& pools = ThePools();
    std::lock_guard lock(pools.mutex);
    if (pools.contextCount >= kMaxPooledContexts) {
        delete hdc;
        return;
    }
    hdc->next = pools.contexts;
    pools.contexts = hdc;
    ++pools.contextCount;
}

HGDIOBJ AllocObject(int type) {
    HGDIOBJ object = nullptr;
    Pools& pools = ThePools();
    {
        std::lock_guard lock(pools.mutex);
        if ((object = pools.objects)) {
            pools.objects = object->next;
            --pools.objectCount;
        }
    }
    if (object)
        *object = HGDIOBJ__{};
    else
        object = new HGDIOBJ__;
    object->type = type;
    return object;
}

void FreeObject(HGDIOBJ object) {
    {
        HGDIOBJ__ cleared;
        std::swap(*object, cleared);
    }
    object->inPool = true;
    Pools& pools = ThePools();
    std::lock_guard lock(pools.mutex);
    if (pools.objectCount >= kMaxPooledObjects) {
        delete object;
        return;
    }
    object->next = pools.objects;
    pools.objects = object;
    ++pools.objectCount;
}

int PooledObjectCount() {
    Pools& pools = ThePools();
    std::lock_guard lock(pools.mutex);
    return pools.objectCount;
}

} // namespace winlayer

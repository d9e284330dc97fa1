#pragma once

#include "framework/VxString.h"

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

namespace vx::ui {

class APIBitmap;
namespace svg {
struct Image;
}

// A process-wide cache of loaded resources keyed by name and scale. Entries
// are owned; lookups are linear, guarded by a hash of the key. The caller
// holds Mutex() around every use.
template <class T>
class ResourceCache {
public:
    std::recursive_mutex& Mutex() { return mutex; }

    // The oldest entry under exactly this name and scale, or null.
    T* Find(const char* name, double scale) const;
    // Appends without looking for an existing entry.
    void Add(std::unique_ptr<T> object, const char* name, double scale);
    // Removes and deletes the first entry holding the object; false when none does.
    bool Remove(const T* object);
    // Deletes every entry, the last first.
    void Clear();
    int Size() const { return static_cast<int>(entries.size()); }

    // Live graphics contexts; the last one to go empties the cache.
    int users = 0;

private:
    struct Entry {
        size_t hash;
        VxString name;
        double scale;
        std::unique_ptr<T> object;
    };
    static size_t KeyHash(const char* name, double scale);

    std::recursive_mutex mutex;
    std::vector<Entry> entries;
};

ResourceCache<APIBitmap>& BitmapCache();
ResourceCache<svg::Image>& SVGCache();

} // namespace vx::ui

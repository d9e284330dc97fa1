#pragma once

// A process-wide list of owned entries keyed by name and scale (key text
// "<name>-<scale %.1f>x"; its hash only speeds the lookup). The caller holds
// Mutex() around Find, Add and Clear.

#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vx::ui {

template <class T>
class ScaledCache {
public:
    static std::string Key(const char* name, double scale) {
        char suffix[64];
        std::snprintf(suffix, sizeof(suffix), "-%.1fx", scale);
        return std::string(name ? name : "") + suffix;
    }
    static size_t Hash(const std::string& key) { return std::hash<std::string>{}(key); }

    T* Find(const char* name, double scale) const {
        const size_t hash = Hash(Key(name, scale));
        for (const Entry& e : entries)
            if (e.hash == hash && e.scale == scale && e.name == (name ? name : ""))
                return e.data.get();
        return nullptr;
    }
    void Add(std::unique_ptr<T> data, const char* name, double scale) {
        entries.push_back({Hash(Key(name, scale)), name ? name : "", scale, std::move(data)});
    }
    // Deletes every entry, the last first.
    void Clear() {
        while (!entries.empty())
            entries.pop_back();
    }
    int Size() const { return static_cast<int>(entries.size()); }
    std::mutex& Mutex() { return mutex; }

    int users = 0; // live canvases; the last one clears the cache

private:
    struct Entry {
        size_t hash;
        std::string name;
        double scale;
        std::unique_ptr<T> data;
    };

    std::mutex mutex;
    std::vector<Entry> entries;
};

} // namespace vx::ui

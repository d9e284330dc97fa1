#include "toolkit/ResourceCache.h"

#include "toolkit/IResourceRecords.h"
#include "toolkit/svg/SvgImage.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

namespace vx::ui {

template <class T>
size_t ResourceCache<T>::KeyHash(const char* name, double scale) {
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, "-%.1fx", scale);
    return std::hash<std::string>()(std::string(name) + suffix);
}

template <class T>
T* ResourceCache<T>::Find(const char* name, double scale) const {
    const size_t hash = KeyHash(name, scale);
    for (const Entry& e : entries)
        if (e.hash == hash && e.scale == scale && std::strcmp(e.name.Get(), name) == 0)
            return e.object.get();
    return nullptr;
}

template <class T>
void ResourceCache<T>::Add(std::unique_ptr<T> object, const char* name, double scale) {
    Entry e{KeyHash(name, scale), VxString(name), scale, std::move(object)};
    entries.push_back(std::move(e));
}

template <class T>
bool ResourceCache<T>::Remove(const T* object) {
    for (auto it = entries.begin(); it != entries.end(); ++it)
        if (it->object.get() == object) {
            entries.erase(it);
            return true;
        }
    return false;
}

template <class T>
void ResourceCache<T>::Clear() {
    while (!entries.empty())
        entries.pop_back();
}

template class ResourceCache<APIBitmap>;
template class ResourceCache<svg::Image>;

ResourceCache<APIBitmap>& BitmapCache() {
    static ResourceCache<APIBitmap> cache;
    return cache;
}

ResourceCache<svg::Image>& SVGCache() {
    static ResourceCache<svg::Image> cache;
    return cache;
}

} // namespace vx::ui

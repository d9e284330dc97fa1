#include "winlayer/WindowProps.h"

#include <algorithm>

namespace winlayer {

bool WindowProps::IsAtom(const char* name) {
    return reinterpret_cast<std::uintptr_t>(name) < 0x10000;
}

const char* WindowProps::Entry::name() const {
    return atom != 0 ? reinterpret_cast<const char*>(atom) : text.c_str();
}

std::list<WindowProps::Entry>::iterator WindowProps::find(const char* name) {
    if (IsAtom(name)) {
        const auto atom = reinterpret_cast<std::uintptr_t>(name);
        return std::find_if(entries_.begin(), entries_.end(),
                            [&](const Entry& e) { return e.atom != 0 && e.atom == atom; });
    }
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const Entry& e) { return e.atom == 0 && e.text == name; });
}

bool WindowProps::set(const char* name, void* data) {
    if (name == nullptr)
        return false;
    auto entry = find(name);
    if (entry == entries_.end()) {
        Entry fresh;
        if (IsAtom(name))
            fresh.atom = reinterpret_cast<std::uintptr_t>(name);
        else
            fresh.text = name;
        entries_.push_front(std::move(fresh));
        entry = entries_.begin();
    }
    entry->data = data;
    return true;
}

void* WindowProps::get(const char* name, bool remove) {
    const auto entry = name != nullptr ? find(name) : entries_.end();
    if (entry == entries_.end())
        return nullptr;
    void* data = entry->data;
    if (remove)
        entries_.erase(entry);
    return data;
}

int WindowProps::enumerate(HWND window, EnumProc proc, LPARAM lParam) const {
    if (entries_.empty())
        return -1;
    // A callback may remove properties: walk a copy.
    const std::list<Entry> snapshot = entries_;
    for (const Entry& e : snapshot) {
        if (proc(window, e.name(), e.data, lParam) == 0)
            return 0;
    }
    return 1;
}

} // namespace winlayer

#include "winlayer/metal/MetalFrame.h"

#include <algorithm>

namespace winlayer {

namespace {

constexpr int kWholeView = 0x10000000;

bool Empty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

RECT Union(const RECT& a, const RECT& b) {
    if (Empty(a))
        return b;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

} // namespace

void NeedRefreshList::Add(View view, const RECT* area, bool keep) {
    if (area && !keep && Empty(*area))
        return;
    auto entry = std::find_if(entries_.begin(), entries_.end(),
                              [&](const Entry& e) { return e.view == view; });
    if (entry == entries_.end()) {
        entries_.push_back(Entry{view, RECT{}});
        entry = entries_.end() - 1;
    }
    if (keep)
        return;
    entry->area = area ? Union(entry->area, *area) : RECT{0, 0, kWholeView, kWholeView};
}

void NeedRefreshList::Remove(View view) {
    std::erase_if(entries_, [&](const Entry& e) { return e.view == view; });
}

bool NeedRefreshList::Contains(View view) const {
    return AreaOf(view).has_value();
}

std::optional<RECT> NeedRefreshList::AreaOf(View view) const {
    for (const Entry& e : entries_)
        if (e.view == view)
            return e.area;
    return std::nullopt;
}

void NeedRefreshList::Flush(const std::function<const void*(View)>& windowOf,
                            const std::function<bool(const void*)>& visible,
                            const std::function<void(View, RECT)>& draw) {
    if (flushing_)
        return;
    flushing_ = true;
    const std::vector<Entry> snapshot = entries_;
    const void* lastWindow = nullptr;
    bool lastVisible = false;
    bool first = true;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        const std::optional<RECT> area = AreaOf(it->view);
        if (!area)
            continue; // an earlier paint took it off or destroyed it
        const void* window = windowOf(it->view);
        if (first || window != lastWindow) {
            lastVisible = window && visible(window);
            lastWindow = window;
            first = false;
        }
        if (!lastVisible)
            continue;
        Remove(it->view);
        draw(it->view, *area);
    }
    flushing_ = false;
}

} // namespace winlayer

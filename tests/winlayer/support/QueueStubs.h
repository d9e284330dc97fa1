#pragma once

// GTK-free stand-in windows for the posted queue and the timers: each counts
// its timer ticks and the posts delivered to it, noting any out of order.
#include "platform/ak/Responder.h"
#include "winlayer/MessageQueue.h"

#include <cstddef>
#include <vector>

namespace winlayer::test {

class StubWindow : public ak::Responder, public QueuedTarget {
public:
    bool wispCanPostMessage() const override { return true; }
    void wispTimer(UINT_PTR) override { ++ticks; }
    int ticks = 0;
    WPARAM nextExpected = 0;
    std::size_t delivered = 0;
    std::size_t outOfOrder = 0;
};

inline HWND HandleOf(StubWindow* window) {
    return reinterpret_cast<HWND>(static_cast<ak::Responder*>(window));
}

class StubWindows : public QueueWindows {
public:
    std::vector<ak::Ref<StubWindow>> windows;
    ak::Responder* find(HWND handle) override {
        for (const auto& window : windows)
            if (HandleOf(window.Get()) == handle)
                return window.Get();
        return nullptr;
    }
    void deliver(HWND handle, UINT, WPARAM wParam, LPARAM) override {
        auto* window = static_cast<StubWindow*>(find(handle));
        if (wParam < window->nextExpected)
            ++window->outOfOrder;
        window->nextExpected = wParam + 1;
        ++window->delivered;
    }
};

} // namespace winlayer::test

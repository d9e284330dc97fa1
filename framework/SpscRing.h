#pragma once

#include "framework/VxHeapBuf.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace vx {

// A single-producer single-consumer ring of N + 1 slots for N entries, sized
// once. Each index is stored by one side only, with release stores and acquire
// loads, so an entry is visible before the index that publishes it.
template <class Entry>
class SpscRing {
    static_assert(std::is_trivially_copyable_v<Entry>, "entries are copied as bytes");

public:
    explicit SpscRing(int capacity) {
        m_storage.Resize((capacity + 1) * int{sizeof(Entry)}, false);
        // A ring whose storage could not be had has one slot and is always full.
        m_slots = std::max<int64_t>(1, m_storage.GetSize() / int64_t{sizeof(Entry)});
    }
    SpscRing(const SpscRing&) = delete;
    SpscRing& operator=(const SpscRing&) = delete;

    // Producer side. A full ring keeps its contents and drops the new entry.
    bool Push(const Entry& entry) {
        const int64_t write = m_write.load(std::memory_order_relaxed);
        const int64_t next = (write + 1) % m_slots;
        if (next == m_read.load(std::memory_order_acquire))
            return false;
        std::memcpy(Slot(write), &entry, sizeof(Entry));
        m_write.store(next, std::memory_order_release);
        return true;
    }

    // Consumer side.
    bool Pop(Entry& entry) {
        const int64_t read = m_read.load(std::memory_order_relaxed);
        if (read == m_write.load(std::memory_order_acquire))
            return false;
        std::memcpy(&entry, Slot(read), sizeof(Entry));
        m_read.store((read + 1) % m_slots, std::memory_order_release);
        return true;
    }

    int Available() const {
        int64_t count =
            m_write.load(std::memory_order_acquire) - m_read.load(std::memory_order_acquire);
        if (count < 0)
            count += m_slots;
        return static_cast<int>(count);
    }

    int Capacity() const { return static_cast<int>(m_slots - 1); }

private:
    void* Slot(int64_t index) const {
        return static_cast<unsigned char*>(m_storage.Get()) + index * int64_t{sizeof(Entry)};
    }

    VxHeapBuf m_storage{4096};
    int64_t m_slots = 1;
    alignas(64) std::atomic<int64_t> m_write{0};
    alignas(64) std::atomic<int64_t> m_read{0};
};

} // namespace vx

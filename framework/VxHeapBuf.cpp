#include "framework/VxHeapBuf.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

namespace {

constexpr int64_t kPage = 4096;
constexpr int64_t kAllocatorHeader = 96;
constexpr int64_t kMaxStep = 4 * 1024 * 1024;

// Large-granularity buffers grow in whole pages, counting the allocator's own
// header, so a block fills its pages exactly.
int64_t NextAllocation(int64_t newSize, int64_t granularity) {
    if (granularity < kPage)
        return newSize + std::max(newSize / 2, granularity);
    int64_t step = std::max(newSize / 2, granularity) / kPage * kPage;
    step = std::min(step, kMaxStep);
    return (newSize + step + kAllocatorHeader) / kPage * kPage - kAllocatorHeader;
}

} // namespace

VxHeapBuf::~VxHeapBuf() {
    std::free(m_buf);
}

VxHeapBuf::VxHeapBuf(const VxHeapBuf& other) : m_granul(other.m_granul) {
    if (other.m_size > 0 && Resize(other.m_size, false) && m_size == other.m_size)
        std::memcpy(m_buf, other.m_buf, static_cast<size_t>(m_size));
}

VxHeapBuf& VxHeapBuf::operator=(const VxHeapBuf& other) {
    if (this != &other) {
        VxHeapBuf copy(other);
        *this = std::move(copy);
    }
    return *this;
}

VxHeapBuf::VxHeapBuf(VxHeapBuf&& other) noexcept
    : m_buf(std::exchange(other.m_buf, nullptr)), m_alloc(std::exchange(other.m_alloc, 0)),
      m_size(std::exchange(other.m_size, 0)), m_granul(other.m_granul) {}

VxHeapBuf& VxHeapBuf::operator=(VxHeapBuf&& other) noexcept {
    if (this != &other) {
        std::free(m_buf);
        m_buf = std::exchange(other.m_buf, nullptr);
        m_alloc = std::exchange(other.m_alloc, 0);
        m_size = std::exchange(other.m_size, 0);
        m_granul = other.m_granul;
    }
    return *this;
}

void VxHeapBuf::Free() {
    std::free(m_buf);
    m_buf = nullptr;
    m_alloc = 0;
    m_size = 0;
}

void* VxHeapBuf::Resize(int newSize, bool resizeDown) {
    newSize = std::max(newSize, 0);
    if (newSize == m_size)
        return m_size ? m_buf : nullptr;

    int64_t threshold = 0;
    if (resizeDown && newSize < m_size)
        threshold = std::max<int64_t>(
            1, std::min<int64_t>(int64_t{m_alloc} - 4 * int64_t{m_granul}, m_alloc / 2));
    if (newSize <= m_alloc && newSize >= threshold) {
        m_size = newSize;
        return m_size ? m_buf : nullptr;
    }

    const int64_t newAlloc = newSize ? NextAllocation(newSize, m_granul) : 0;
    // Sizes are int32; a block that cannot be described fails like a refused allocation.
    if (newAlloc > std::numeric_limits<int32_t>::max())
        return m_size ? m_buf : nullptr;
    if (newAlloc <= 0) {
        Free();
        return nullptr;
    }
    if (newAlloc != m_alloc) {
        void* bytes = std::realloc(m_buf, static_cast<size_t>(newAlloc));
        if (!bytes) {
            bytes = std::malloc(static_cast<size_t>(newAlloc));
            if (!bytes)
                return m_size ? m_buf : nullptr;
            if (m_buf)
                std::memcpy(bytes, m_buf, static_cast<size_t>(std::min(newSize, m_size)));
            std::free(m_buf);
        }
        m_buf = bytes;
        m_alloc = static_cast<int32_t>(newAlloc);
    }
    m_size = newSize;
    return m_buf;
}

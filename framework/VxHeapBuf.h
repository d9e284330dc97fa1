#pragma once

#include <cstdint>

// A growable byte buffer with a growth granularity. Growth and shrink follow
// fixed rules because callers detect a failed resize by comparing GetSize()
// with the size they asked for.
class VxHeapBuf {
public:
    explicit VxHeapBuf(int granularity = 4096) : m_granul(granularity) {}
    ~VxHeapBuf();
    VxHeapBuf(const VxHeapBuf& other);
    VxHeapBuf& operator=(const VxHeapBuf& other);
    VxHeapBuf(VxHeapBuf&& other) noexcept;
    VxHeapBuf& operator=(VxHeapBuf&& other) noexcept;

    // Returns the bytes, or null when the resulting size is 0. A failed resize
    // leaves the buffer as it was and returns the old bytes.
    void* Resize(int newSize, bool resizeDown = true);

    void* Get() const { return m_buf; }
    int GetSize() const { return m_size; }
    int GetAlloc() const { return m_alloc; }
    int GetGranularity() const { return m_granul; }

private:
    void Free();

    void* m_buf = nullptr;
    int32_t m_alloc = 0;
    int32_t m_size = 0;
    int32_t m_granul;
};

#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>
#include <vector>

namespace vx {

// A growable byte chunk for state, presets and editor sizes. Values are stored
// in the machine's byte order; reads never go past the end.
class IByteChunk {
public:
    void PutBytes(const void* data, int size) {
        if (size <= 0)
            return;
        const size_t end = m_bytes.size();
        m_bytes.resize(end + static_cast<size_t>(size));
        std::memcpy(m_bytes.data() + end, data, static_cast<size_t>(size));
    }
    template <class T>
    void Put(const T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        PutBytes(&value, int{sizeof(T)});
    }
    void PutChunk(const IByteChunk& other) { PutBytes(other.Data(), other.Size()); }

    // The position after the bytes, or -1 (nothing copied) when they are not all there.
    int GetBytes(void* out, int size, int position) const {
        if (position < 0 || size < 0 || position > Size() - size)
            return -1;
        if (size > 0)
            std::memcpy(out, m_bytes.data() + position, static_cast<size_t>(size));
        return position + size;
    }
    template <class T>
    int Get(T& value, int position) const {
        static_assert(std::is_trivially_copyable_v<T>);
        return GetBytes(&value, int{sizeof(T)}, position);
    }

    int Size() const { return static_cast<int>(m_bytes.size()); }
    const uint8_t* Data() const { return m_bytes.data(); }
    std::span<const uint8_t> Bytes() const { return m_bytes; }
    void Clear() { m_bytes.clear(); }
    bool operator==(const IByteChunk&) const = default;

private:
    std::vector<uint8_t> m_bytes;
};

} // namespace vx

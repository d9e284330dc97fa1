#pragma once

#include <cstdint>
#include <cstring>
#include <span>

// Sequential bytes with a movable position: a file, or memory under a fuzzer.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Bytes copied, 0 at the end or on an error.
    virtual int32_t Read(void* bytes, int32_t count) = 0;
    // 0 on success; the position is clamped to 0..size.
    virtual int SetPosition(int64_t position) = 0;
    virtual int64_t GetPosition() const = 0;
    virtual int64_t GetSize() = 0;
};

class MemoryByteSource : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const uint8_t> bytes) : mBytes(bytes) {}
    int32_t Read(void* bytes, int32_t count) override {
        const int64_t left = int64_t(mBytes.size()) - mPosition;
        const int32_t n = count <= 0 ? 0 : int32_t(count < left ? count : left);
        if (n > 0)
            std::memcpy(bytes, mBytes.data() + mPosition, std::size_t(n));
        mPosition += n;
        return n;
    }
    int SetPosition(int64_t position) override {
        mPosition = position < 0 ? 0 : (position > GetSize() ? GetSize() : position);
        return 0;
    }
    int64_t GetPosition() const override { return mPosition; }
    int64_t GetSize() override { return int64_t(mBytes.size()); }

private:
    std::span<const uint8_t> mBytes;
    int64_t mPosition = 0;
};

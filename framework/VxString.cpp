#include "framework/VxString.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

int BoundedLength(const char* text, int maximum) {
    const size_t length =
        maximum > 0 ? strnlen(text, static_cast<size_t>(maximum)) : std::strlen(text);
    return static_cast<int>(std::min<size_t>(length, INT32_MAX - 1));
}

} // namespace

const char* VxString::Get() const {
    return m_buf.GetSize() ? static_cast<const char*>(m_buf.Get()) : "";
}

int VxString::GetLength() const {
    return static_cast<int>(std::strlen(Get()));
}

void VxString::Write(int offset, const char* text, int length) {
    if (offset == 0 && length == 0) {
        if (char* bytes = static_cast<char*>(m_buf.Resize(1, false)); bytes && m_buf.GetSize() == 1)
            bytes[0] = '\0';
        return;
    }
    if (length <= 0 || offset < 0)
        return;
    const int64_t newSize = int64_t{offset} + length + 1;
    if (newSize > INT32_MAX)
        return;

    const int oldSize = m_buf.GetSize();
    if (newSize > oldSize) {
        // Appending a string to itself: the source moves with the buffer.
        const auto oldStart = reinterpret_cast<uintptr_t>(m_buf.Get());
        const auto source = reinterpret_cast<uintptr_t>(text);
        const bool inside = oldStart && source >= oldStart && source < oldStart + oldSize;
        m_buf.Resize(static_cast<int>(newSize), false);
        if (m_buf.GetSize() != newSize)
            return;
        if (inside)
            text = static_cast<const char*>(m_buf.Get()) + (source - oldStart);
    }
    char* bytes = static_cast<char*>(m_buf.Get());
    std::memmove(bytes + offset, text, static_cast<size_t>(length));
    bytes[offset + length] = '\0';
    if (newSize < oldSize)
        m_buf.Resize(static_cast<int>(newSize), false);
}

void VxString::SetBounded(const char* text, int maximum) {
    if (!text) {
        Write(0, nullptr, 0);
        return;
    }
    Write(0, text, BoundedLength(text, maximum));
}

void VxString::AppendBounded(const char* text, int maximum) {
    if (text)
        Append(text, BoundedLength(text, maximum));
}

void VxString::SetFormatted(int maximumLength, const char* format, ...) {
    if (maximumLength < 0 || maximumLength == INT32_MAX)
        return;
    m_buf.Resize(maximumLength + 1, false);
    if (m_buf.GetSize() != maximumLength + 1)
        return;
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(static_cast<char*>(m_buf.Get()),
                                       static_cast<size_t>(maximumLength) + 1, format, args);
    va_end(args);
    m_buf.Resize(std::clamp(written, 0, maximumLength) + 1, false);
    if (written < 0)
        static_cast<char*>(m_buf.Get())[0] = '\0';
}

void VxString::AppendFormatted(int maximumLength, const char* format, ...) {
    const int old = GetLength();
    if (maximumLength < 0 || int64_t{old} + maximumLength + 1 > INT32_MAX)
        return;
    m_buf.Resize(old + maximumLength + 1, false);
    if (m_buf.GetSize() != old + maximumLength + 1)
        return;
    char* bytes = static_cast<char*>(m_buf.Get());
    bytes[old] = '\0';
    va_list args;
    va_start(args, format);
    const int written =
        std::vsnprintf(bytes + old, static_cast<size_t>(maximumLength) + 1, format, args);
    va_end(args);
    m_buf.Resize(old + std::clamp(written, 0, maximumLength) + 1, false);
    if (written < 0)
        static_cast<char*>(m_buf.Get())[old] = '\0';
}

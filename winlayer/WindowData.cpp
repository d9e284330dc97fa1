#include "winlayer/WindowData.h"

#include "platform/sys/Utf8.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace winlayer {

namespace {
bool InRange(int byteIndex) {
    return byteIndex >= 0 && byteIndex < ExtraData::kByteCount;
}
} // namespace

std::int64_t ExtraData::get(int byteIndex) const {
    return InRange(byteIndex) ? slots_[static_cast<std::size_t>(byteIndex / 8)] : 0;
}

void ExtraData::set(int byteIndex, std::int64_t value) {
    if (InRange(byteIndex))
        slots_[static_cast<std::size_t>(byteIndex / 8)] = value;
}

void WindowText::set(std::string_view text) {
    text_.assign(text.substr(0, sys::Utf8PrefixLength(text, kMaxBytes)));
}

LPARAM PackMoveParam(double x, double y) {
    const auto px = static_cast<std::int64_t>(std::floor(x + 0.5));
    const auto py = static_cast<std::int64_t>(std::floor(y + 0.5));
    return static_cast<LPARAM>((static_cast<std::uint64_t>(py) << 16) |
                               (static_cast<std::uint64_t>(px) & 0xFFFF));
}

int ParseDialogInt(const char* text, BOOL* ok, BOOL isSigned) {
    auto answer = [ok](int value, bool good) {
        if (ok != nullptr)
            *ok = good ? TRUE : FALSE;
        return good ? value : 0;
    };
    if (text == nullptr)
        return answer(0, false);
    while (*text == ' ' || *text == '\t')
        ++text;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return answer(0, false);
    if (value < 0 && !isSigned)
        return answer(0, false);
    return answer(static_cast<int>(value), true);
}

} // namespace winlayer

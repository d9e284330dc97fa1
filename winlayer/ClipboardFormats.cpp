#include "winlayer/ClipboardFormats.h"

#include <cstdint>
#include <cstring>

namespace winlayer {

namespace {

constexpr UINT kFirstRegistered = 3;
constexpr std::size_t kDropHeader = 16;
constexpr std::size_t kWideFlagAt = 13;

// The names GTK offers text under.
constexpr std::string_view kTextTypes[] = {
    "UTF8_STRING", "TEXT", "STRING", "COMPOUND_TEXT", "text/plain", "text/plain;charset=utf-8"};

} // namespace

UINT ClipboardFormatTable::Register(const char* name) {
    if (!name || !*name)
        return 0;
    if (std::strcmp(name, kTextFormatName) == 0)
        return CF_TEXT;
    for (std::size_t i = 0; i < registered_.size(); ++i)
        if (registered_[i] == name)
            return UINT(i) + kFirstRegistered;
    registered_.emplace_back(name);
    return UINT(registered_.size() - 1) + kFirstRegistered;
}

std::optional<std::string> ClipboardFormatTable::NameOf(UINT format) const {
    if (format < kFirstRegistered || format - kFirstRegistered >= registered_.size())
        return std::nullopt;
    return registered_[format - kFirstRegistered];
}

UINT ClipboardFormatTable::FormatOfType(std::string_view type) const {
    for (const std::string_view text : kTextTypes)
        if (type == text)
            return CF_TEXT;
    for (std::size_t i = 0; i < registered_.size(); ++i)
        if (registered_[i] == type)
            return UINT(i) + kFirstRegistered;
    return 0;
}

std::string TextOfBlock(const char* bytes, std::size_t size) {
    if (!bytes)
        return {};
    const void* end = std::memchr(bytes, 0, size);
    return std::string(bytes, end ? static_cast<const char*>(end) - bytes : size);
}

std::optional<std::vector<std::string>> PathsOfDropBlock(const char* bytes, std::size_t size) {
    if (!bytes || size <= kDropHeader || bytes[kWideFlagAt] != 0)
        return std::nullopt;
    const auto* u = reinterpret_cast<const unsigned char*>(bytes);
    const std::uint32_t offset = u[0] | u[1] << 8 | u[2] << 16 | std::uint32_t(u[3]) << 24;
    if (offset < kDropHeader || offset >= size)
        return std::nullopt;
    std::vector<std::string> paths;
    for (std::size_t at = offset; at < size && bytes[at] != 0;) {
        const std::string path = TextOfBlock(bytes + at, size - at);
        paths.push_back(path);
        at += path.size() + 1;
    }
    return paths;
}

} // namespace winlayer

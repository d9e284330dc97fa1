#include "winlayer/PrivateProfile.h"

#include "winlayer/IniCache.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <string_view>

using winlayer::IniCacheEntry;
using winlayer::IniSection;

namespace {

// Copies at most size - 1 bytes and terminates; answers the bytes copied.
DWORD CopyTerminated(std::string_view text, char* buffer, DWORD size) {
    const std::size_t length = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return static_cast<DWORD>(length);
}

// A list of names, each followed by a NUL, ended by one more NUL; a list that
// does not fit is cut and still ends with two NULs.
template <class Map>
DWORD CopyNameList(const Map* names, char* buffer, DWORD size) {
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    std::string gathered;
    if (names) {
        for (const auto& pair : *names) {
            if (!pair.key.empty())
                gathered.append(pair.key).push_back('\0');
        }
    }
    const std::size_t copied =
        gathered.empty() ? 0 : std::min<std::size_t>(gathered.size() - 1, size - 2);
    std::memcpy(buffer, gathered.data(), copied);
    buffer[copied] = '\0';
    buffer[copied + 1] = '\0';
    return static_cast<DWORD>(copied);
}

// The value of section/key as callers see it, or the default.
std::string ReadValue(const char* section, const char* key, const char* defaultValue,
                      const char* file) {
    winlayer::IniFiles& files = winlayer::SharedIniFiles();
    std::lock_guard lock(files.mutex);
    const IniCacheEntry& entry = files.cache.Lookup(winlayer::ResolveIniFileName(file));
    const IniSection* keys = entry.image.sections.Find(section);
    const std::string* value = keys ? keys->Find(key) : nullptr;
    if (!value)
        return defaultValue ? defaultValue : "";
    return std::string(winlayer::TrimIniValue(*value));
}

// atoi's reading of a number, saturating instead of overflowing.
long long ParseLeadingInteger(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::strchr(" \t\n\v\f\r", text[i]))
        ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL << 32);
    return negative ? -value : value;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

DWORD GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                              char* buffer, DWORD size, const char* file) {
    if (!buffer || size < 1)
        return 0;
    if (section && key)
        return CopyTerminated(ReadValue(section, key, defaultValue, file), buffer, size);
    winlayer::IniFiles& files = winlayer::SharedIniFiles();
    std::lock_guard lock(files.mutex);
    const IniCacheEntry& entry = files.cache.Lookup(winlayer::ResolveIniFileName(file));
    if (!section)
        return CopyNameList(&entry.image.sections, buffer, size);
    return CopyNameList(entry.image.sections.Find(section), buffer, size);
}

int GetPrivateProfileInt(const char* section, const char* key, int defaultValue, const char* file) {
    char text[512];
    GetPrivateProfileString(section, key, "", text, sizeof text, file);
    const long long value = ParseLeadingInteger(text);
    if (!text[0] || (value == 0 && text[0] != '0'))
        return defaultValue;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

DWORD GetPrivateProfileSection(const char* section, char* buffer, DWORD size, const char* file) {
    if (!buffer || size < 1)
        return 0;
    buffer[0] = '\0';
    if (size < 2 || !section)
        return 0;
    winlayer::IniFiles& files = winlayer::SharedIniFiles();
    std::lock_guard lock(files.mutex);
    const IniCacheEntry& entry = files.cache.Lookup(winlayer::ResolveIniFileName(file));
    const IniSection* keys = entry.image.sections.Find(section);
    std::size_t position = 0;
    const std::size_t limit = size - 2;
    const auto append = [&](std::string_view text) {
        const std::size_t length = std::min(text.size(), limit - std::min(limit, position));
        std::memcpy(buffer + position, text.data(), length);
        position += length;
    };
    if (keys) {
        for (const auto& [key, value] : *keys) {
            append(key);
            if (size - position >= 3)
                buffer[position++] = '=';
            if (size - position > 2)
                append(winlayer::TrimIniValue(value));
            if (position < size - 1)
                buffer[position++] = '\0';
            if (position >= size - 1) {
                buffer[size - 1] = '\0';
                return size - 2;
            }
        }
    }
    buffer[position] = '\0';
    if (position == 0)
        buffer[1] = '\0';
    return static_cast<DWORD>(position);
}

BOOL GetPrivateProfileStruct(const char* section, const char* key, void* data, int size,
                             const char* file) {
    if (!section || !key || size < 0 || (size > 0 && !data) || size > (INT_MAX - 17) / 2)
        return FALSE;
    const std::string text = ReadValue(section, key, "", file);
    const std::size_t count = static_cast<std::size_t>(size);
    if (text.size() != 2 * count + 2)
        return FALSE;
    auto* bytes = static_cast<unsigned char*>(data);
    unsigned int sum = 0;
    for (std::size_t i = 0; i <= count; ++i) {
        const int high = HexDigit(text[2 * i]);
        const int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return FALSE;
        const auto byte = static_cast<unsigned char>(high * 16 + low);
        if (i == count)
            return byte == (sum & 0xFF);
        bytes[i] = byte;
        sum += byte;
    }
    return FALSE;
}

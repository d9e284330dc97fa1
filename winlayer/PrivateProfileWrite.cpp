#include "winlayer/PrivateProfile.h"

#include "winlayer/IniCache.h"
#include "winlayer/IniWriteLock.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using winlayer::IniCacheEntry;
using winlayer::IniFiles;
using winlayer::IniSection;
using winlayer::IniSections;

namespace {

// Applies change to the file's image as read under the file's write lock;
// change answers whether it changed anything, and only a changed image is
// written back. FALSE, errno kept, when the file must not be written or the
// write failed; nothing has changed then.
template <class Change>
BOOL ChangeIniFile(const char* file, Change change) {
    IniFiles& files = winlayer::SharedIniFiles();
    std::lock_guard lock(files.mutex);
    const std::string path = winlayer::ResolveIniFileName(file);
    winlayer::IniWriteLock fileLock;
    if (!fileLock.Acquire(path))
        return FALSE;
    IniCacheEntry& entry = files.cache.Reread(path);
    if (!entry.AcceptsWrites()) {
        errno = EPERM;
        return FALSE;
    }
    return !change(entry.image.sections) || files.cache.Store(entry);
}

} // namespace

BOOL WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* file) {
    using namespace winlayer;
    if (!section || (key && !*key) || !IsStorableSectionName(section) ||
        (key && !IsStorableKey(key)) || (value && !IsStorableValue(value)))
        return FALSE;
    return ChangeIniFile(file, [&](IniSections& sections) {
        IniSection* keys = sections.Find(section);
        if (!key)
            return keys && sections.Remove(section);
        if (!value)
            return keys && keys->Remove(key);
        if (!keys)
            keys = &sections.Insert(section, NewIniSection());
        const std::string* stored = keys->Find(key);
        if (stored && *stored == value)
            return false;
        keys->Insert(key, value);
        return true;
    });
}

BOOL WritePrivateProfileStrings(const PrivateProfileEntry* entries, int count, const char* file) {
    using namespace winlayer;
    if (count < 0 || (count > 0 && !entries))
        return FALSE;
    for (int i = 0; i < count; ++i) {
        const PrivateProfileEntry& e = entries[i];
        if (!e.section || !e.key || !e.value || !*e.key || !IsStorableSectionName(e.section) ||
            !IsStorableKey(e.key) || !IsStorableValue(e.value))
            return FALSE;
    }
    return ChangeIniFile(file, [&](IniSections& sections) {
        bool changed = false;
        for (int i = 0; i < count; ++i) {
            const PrivateProfileEntry& e = entries[i];
            IniSection* keys = sections.Find(e.section);
            if (!keys)
                keys = &sections.Insert(e.section, NewIniSection());
            const std::string* stored = keys->Find(e.key);
            if (stored && *stored == e.value)
                continue;
            keys->Insert(e.key, e.value);
            changed = true;
        }
        return changed;
    });
}

BOOL WritePrivateProfileSection(const char* section, const char* list, const char* file) {
    using namespace winlayer;
    if (!section || !IsStorableSectionName(section))
        return FALSE;
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char* item = list; item && *item; item += std::strlen(item) + 1) {
        const std::string_view text(item, strnlen(item, 8191));
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = text.substr(0, equals);
        const std::string_view value(item + equals + 1);
        if (!IsStorableKey(key) || !IsStorableValue(value))
            return FALSE;
        pairs.emplace_back(key, value);
    }
    return ChangeIniFile(file, [&](IniSections& sections) {
        if (!sections.Find(section) && pairs.empty())
            return false;
        IniSection& keys = sections.Insert(section, NewIniSection());
        for (auto& [key, value] : pairs)
            keys.Insert(key.c_str(), std::move(value));
        return true;
    });
}

BOOL WritePrivateProfileStruct(const char* section, const char* key, const void* data, int size,
                               const char* file) {
    if (!key || !data)
        return WritePrivateProfileString(section, key, nullptr, file);
    if (size < 0)
        return FALSE;
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(2 * static_cast<std::size_t>(size) + 2);
    unsigned int sum = 0;
    const auto appendByte = [&text](unsigned int byte) {
        text.push_back(kDigits[(byte >> 4) & 0xF]);
        text.push_back(kDigits[byte & 0xF]);
    };
    for (int i = 0; i < size; ++i) {
        const unsigned int byte = static_cast<const unsigned char*>(data)[i];
        appendByte(byte);
        sum += byte;
    }
    appendByte(sum & 0xFF);
    return WritePrivateProfileString(section, key, text.c_str(), file);
}

#pragma once

#include "winlayer/IniImage.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <mutex>
#include <string>
#include <sys/types.h>

namespace winlayer {

// The path an ini function's file argument names: full paths (with '/') as
// they are; null or "" the default file (the one set with "INIFILE", else
// $HOME/.varOzori.ini); any other bare name a sibling of the default named
// after it, e.g. ".varOzori_plugin.ini".
std::string ResolveIniFileName(const char* name);

// What tells a changed file from the one that was read.
struct IniFileStamp {
    std::int64_t seconds = 0;
    long nanoseconds = 0;
    off_t size = 0;
    bool operator==(const IniFileStamp&) const = default;
};

struct IniCacheEntry {
    std::uint64_t useStamp = 0;
    IniFileStamp stamp;
    std::string path;
    IniImage image;
    // The file exists but could not be read; writing would destroy it.
    bool unreadable = false;

    bool AcceptsWrites() const { return !image.notAnIniFile && !unreadable; }
};

// The images of the 32 most recently used files. Not locked itself: the
// caller holds the ini mutex around every use.
class IniCache {
public:
    static constexpr std::size_t kEntries = 32;

    // The entry for path, re-read when the file changed since it was read.
    IniCacheEntry& Lookup(const std::string& path);
    // The entry for path read afresh, for a write that holds the file's lock:
    // another process may have written it within the stamp's resolution.
    IniCacheEntry& Reread(const std::string& path);
    // Rewrites the entry's file from its image. False, errno kept, when the
    // write failed; the entry is then read again on its next use, so the
    // image never shows a change the file does not hold.
    bool Store(IniCacheEntry& entry);

private:
    IniCacheEntry& EntryFor(const std::string& path);
    static void Reload(IniCacheEntry& entry, const std::string& path);

    std::array<IniCacheEntry, kEntries> m_entries;
    std::uint64_t m_useCounter = 0;
};

// The process's one cache and the ini mutex, held around every public call.
struct IniFiles {
    std::mutex mutex;
    IniCache cache;
};
IniFiles& SharedIniFiles();

} // namespace winlayer

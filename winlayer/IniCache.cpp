#include "winlayer/IniCache.h"

#include "winlayer/FileReplace.h"
#include "winlayer/Runtime.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace winlayer {

namespace {

IniFileStamp StampOf(const struct stat& status) {
    return {static_cast<std::int64_t>(status.st_mtim.tv_sec), status.st_mtim.tv_nsec,
            status.st_size};
}

IniFileStamp StampOfPath(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? StampOf(status) : IniFileStamp{};
}

std::string DefaultIniFile() {
    if (auto configured = DefaultIniFileOverride())
        return *configured;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.varOzori.ini";
}

bool HasIniExtension(const std::string& name) {
    const std::size_t separator = name.find_last_of("/\\");
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        return false;
    return strcasecmp(name.c_str() + dot, ".ini") == 0;
}

} // namespace

std::string ResolveIniFileName(const char* name) {
    if (name && std::strchr(name, '/'))
        return name;
    std::string path = DefaultIniFile();
    if (!name || !*name)
        return path;
    const std::size_t end = path.find_last_of("./\\");
    if (end != std::string::npos && path[end] == '.')
        path.erase(end);
    path += '_';
    path += name;
    if (!HasIniExtension(name))
        path += ".ini";
    return path;
}

IniCacheEntry& IniCache::Lookup(const std::string& path) {
    IniCacheEntry& entry = EntryFor(path);
    if (entry.path != path || StampOfPath(path) != entry.stamp)
        Reload(entry, path);
    return entry;
}

IniCacheEntry& IniCache::Reread(const std::string& path) {
    IniCacheEntry& entry = EntryFor(path);
    Reload(entry, path);
    return entry;
}

IniCacheEntry& IniCache::EntryFor(const std::string& path) {
    IniCacheEntry* chosen = nullptr;
    for (auto& entry : m_entries) {
        if (entry.path.empty() || entry.path == path) {
            chosen = &entry;
            break;
        }
        if (!chosen || entry.useStamp < chosen->useStamp)
            chosen = &entry;
    }
    chosen->useStamp = ++m_useCounter;
    return *chosen;
}

void IniCache::Reload(IniCacheEntry& entry, const std::string& path) {
    entry.path = path;
    entry.image = IniImage();
    entry.stamp = {};
    entry.unreadable = false;
    // Non-blocking, so a FIFO planted at the path cannot hang the open.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        entry.unreadable = errno != ENOENT && errno != ENOTDIR;
        return;
    }
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        entry.unreadable = true;
        close(fd);
        return;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = fdopen(fd, "r");
    if (!file) {
        entry.unreadable = true;
        close(fd);
        return;
    }
    flock(fd, LOCK_SH);
    entry.image = ReadIni(file);
    if (std::ferror(file))
        entry.unreadable = true;
    if (fstat(fd, &status) == 0)
        entry.stamp = StampOf(status);
    flock(fd, LOCK_UN);
    std::fclose(file);
}

bool IniCache::Store(IniCacheEntry& entry) {
    if (!ReplaceFileContents(entry.path, SerializeIni(entry.image))) {
        const int error = errno;
        entry.path.clear();
        errno = error;
        return false;
    }
    entry.stamp = StampOfPath(entry.path);
    return true;
}

IniFiles& SharedIniFiles() {
    static IniFiles files;
    return files;
}

} // namespace winlayer

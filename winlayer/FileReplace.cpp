#include "winlayer/FileReplace.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace winlayer {

namespace {

// The process's umask, read without changing it (umask() would race with
// threads creating files).
mode_t CurrentUmask() {
    mode_t mask = 022;
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            unsigned int value;
            if (std::sscanf(line, "Umask: %o", &value) == 1) {
                mask = static_cast<mode_t>(value);
                break;
            }
        }
        std::fclose(status);
    }
    return mask;
}

// The file a write to path really replaces: a symbolic link's target.
bool ResolveTarget(const std::string& path, std::string& target) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
        target = path;
        return true;
    }
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved))
        return false;
    target = resolved;
    return true;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

struct SplitPath {
    std::string folder; // "" or ending in '/'
    std::string name;
};

SplitPath Split(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {"", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

std::string TemporaryPrefix(const std::string& name) {
    return "." + name + ".tmp-";
}

bool SyncFolder(const std::string& folder) {
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = fsync(fd) == 0;
    const int error = errno;
    close(fd);
    errno = error;
    return synced;
}

// Cleans up after a failed step without losing the errno that explains it.
bool FailRemoving(const std::string& temporary) {
    const int error = errno;
    unlink(temporary.c_str());
    errno = error;
    return false;
}

} // namespace

unsigned int ModeForReplacing(const std::string& target) {
    struct stat existing {};
    return stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0666 & ~CurrentUmask();
}

bool ReplaceFileContents(const std::string& path, std::string_view contents) {
    std::string target;
    if (!ResolveTarget(path, target))
        return false;
    const SplitPath parts = Split(target);
    std::string temporary = parts.folder + TemporaryPrefix(parts.name) + "XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;

    bool written =
        fchmod(fd, ModeForReplacing(target)) == 0 && WriteAll(fd, contents) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) {
        errno = error;
        return FailRemoving(temporary);
    }
    if (rename(temporary.c_str(), target.c_str()) != 0)
        return FailRemoving(temporary);
    return SyncFolder(parts.folder);
}

void RemoveStaleTemporaryFiles(const std::string& target) {
    const SplitPath parts = Split(target);
    const std::string prefix = TemporaryPrefix(parts.name);
    DIR* folder = opendir(parts.folder.empty() ? "." : parts.folder.c_str());
    if (!folder)
        return;
    // The suffix mkostemp fills in is six characters long.
    while (const dirent* item = readdir(folder)) {
        const std::string_view name = item->d_name;
        if (name.size() == prefix.size() + 6 && name.starts_with(prefix))
            unlinkat(dirfd(folder), item->d_name, 0);
    }
    closedir(folder);
}

} // namespace winlayer

#include "winlayer/FileReplace.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

} // namespace

bool ReplaceFileContents(const std::string& path, std::string_view contents) {
    std::string target;
    if (!ResolveTarget(path, target))
        return false;
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = target.substr(slash == std::string::npos ? 0 : slash + 1);
    std::string temporary = folder + "." + name + ".newXXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;

    struct stat existing {};
    const mode_t mode =
        stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0666 & ~CurrentUmask();
    const bool written = fchmod(fd, mode) == 0 && flock(fd, LOCK_EX) == 0 &&
                         WriteAll(fd, contents) && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (!written || !closed || rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace winlayer

#include "winlayer/IniWriteLock.h"

#include "winlayer/FileReplace.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace winlayer {

namespace {

bool NamedAsIniFile(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash) &&
           strcasecmp(path.c_str() + dot, ".ini") == 0;
}

// The file a write to path changes, or false (errno set) when it must not be
// written. Links are followed only to ini files: a settings write must never
// replace the text of whatever other file a link happens to point at.
bool WritableTarget(const std::string& path, std::string& target) {
    struct stat status {};
    target = path;
    if (lstat(path.c_str(), &status) != 0)
        return errno == ENOENT;
    if (S_ISLNK(status.st_mode)) {
        char resolved[PATH_MAX];
        if (!realpath(path.c_str(), resolved))
            return false;
        target = resolved;
        if (!NamedAsIniFile(target) || stat(target.c_str(), &status) != 0) {
            errno = EPERM;
            return false;
        }
    }
    // A file without write bits is read-only even to root, whom access()
    // would let through.
    if (access(target.c_str(), W_OK) != 0 || (status.st_mode & 0222) == 0) {
        errno = EACCES;
        return false;
    }
    return true;
}

} // namespace

IniWriteLock::~IniWriteLock() {
    if (m_fd >= 0)
        close(m_fd); // releases the flock
}

bool IniWriteLock::Acquire(const std::string& path) {
    std::string target;
    if (!WritableTarget(path, target))
        return false;
    const std::string lockPath = target + ".lock";
    m_fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC,
                static_cast<mode_t>(ModeForReplacing(target)));
    if (m_fd < 0)
        return false;
    while (flock(m_fd, LOCK_EX) != 0) {
        if (errno != EINTR)
            return false;
    }
    RemoveStaleTemporaryFiles(target);
    return true;
}

} // namespace winlayer

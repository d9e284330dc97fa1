#include "platform/sys/StagedFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

namespace {

// Removes a file without losing the errno of the failure that made it go.
void RemoveKeepingErrno(const std::string& path) {
    const int error = errno;
    unlink(path.c_str());
    errno = error;
}

} // namespace

std::string FolderOfPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
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

bool StagedFile::Create(const std::string& target, mode_t mode) {
    Discard();
    const std::string folder = FolderOfPath(target);
    std::string path = folder + TemporaryPrefix(target.substr(folder.size())) + "XXXXXX";
    const int fd = mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    if (fchmod(fd, mode) != 0 || flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        RemoveKeepingErrno(path);
        return false;
    }
    mFd = fd;
    mPath = std::move(path);
    mTarget = target;
    return true;
}

bool StagedFile::Commit(CommitMode mode) {
    if (mFd < 0)
        return false;
    bool written = fsync(mFd) == 0;
    int error = errno;
    if (close(mFd) != 0 && written) {
        written = false;
        error = errno;
    }
    mFd = -1;
    const std::string temporary = std::move(mPath);
    mPath.clear();
    errno = error;
    if (!written) {
        RemoveKeepingErrno(temporary);
        return false;
    }
    if (mode == kReplace ? rename(temporary.c_str(), mTarget.c_str()) != 0
                         : link(temporary.c_str(), mTarget.c_str()) != 0) {
        RemoveKeepingErrno(temporary);
        return false;
    }
    if (mode == kKeepExisting)
        RemoveKeepingErrno(temporary);
    return SyncFolder(FolderOfPath(mTarget));
}

void StagedFile::Discard() {
    if (mFd < 0 && mPath.empty())
        return;
    const int error = errno;
    if (mFd >= 0)
        close(mFd);
    mFd = -1;
    if (!mPath.empty())
        unlink(mPath.c_str());
    mPath.clear();
    errno = error;
}

void RemoveAbandonedTemporaries(const std::string& folder, bool (*staged)(std::string_view name)) {
    DIR* listing = opendir(folder.empty() ? "." : folder.c_str());
    if (!listing)
        return;
    const int at = dirfd(listing);
    constexpr std::string_view kMarker = ".tmp-";
    constexpr std::size_t kSuffix = 6; // what mkostemp fills in
    while (const dirent* item = readdir(listing)) {
        const std::string_view name = item->d_name;
        const std::size_t marker = name.rfind(kMarker);
        if (name.size() < 1 + kMarker.size() + kSuffix || name[0] != '.' ||
            marker == std::string_view::npos || name.size() - marker != kMarker.size() + kSuffix ||
            !staged(name.substr(1, marker - 1)))
            continue;
        const int fd = openat(at, item->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat status {};
        if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
            unlinkat(at, item->d_name, 0);
        close(fd);
    }
    closedir(listing);
}

mode_t ReplacementMode(const std::string& target, mode_t fallback) {
    struct stat existing {};
    return stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : fallback;
}

} // namespace sys
